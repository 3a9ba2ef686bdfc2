#pragma once

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

// A virtual X server of the tests' own, started before the test program connects to it.
class VirtualScreen
{
public:
    // Starts Xvfb on a free display and points DISPLAY at it; false with the reason.
    bool start(QString* error);
    void stop();

private:
    QProcess server_;
};

// Real input and what the screen shows, through xdotool and xclip.
namespace desktop {

// Runs xdotool; its standard output, trimmed.
QString xdotool(const QStringList& arguments);
// Moves the pointer to a point of the screen and waits until it is there.
void moveTo(QPoint at);
void click(QPoint at);
// Types text as keys on the keyboard, into whatever window is under the pointer.
void type(const QString& text);
// Presses keys such as "ctrl+a", "Escape" or "Return".
void key(const QString& keys);
QString clipboard();
// The whole screen, saved as a PNG file; the path of the file.
QString saveScreen(const QString& name);

}  // namespace desktop

// The built sonarith, started as a user starts it: its own main, in a copy of the ready
// data folder as its working folder.
class RunningProgram
{
public:
    ~RunningProgram();

    bool start(QString* error);
    // The id of the program's visible window with this title, once it shows; 0 otherwise.
    qulonglong waitForWindow(const QString& title, int timeoutMs = 10000) const;
    bool waitUntilGone(const QString& title, int timeoutMs = 10000) const;
    // The ids of the program's visible windows with this title: several windows may share one.
    QList<qulonglong> windows(const QString& title) const;
    QStringList windowTitles() const;
    // The window's client area on the screen.
    QRect geometry(qulonglong window) const;
    bool waitForExit(int timeoutMs);
    int exitCode() const { return process_.exitCode(); }
    QString dataFolder() const { return folder_.path(); }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QTemporaryDir folder_;
    QProcess process_;
};

// Whether the screen shows, where the control sits in the window on the screen, exactly the
// pixels that form (a window of the same class built here) paints for that control.
bool screenShows(const QRect& window, QWidget& form, const char* control);

// A child process that the test starts ends with the test, however the test ends.
void dieWithParent(QProcess& process);

// Where a control sits in its window: the window class is built here, off the screen,
// exactly as the program builds it, and asked for the centre of its child.
QPoint centreOf(const QWidget& window, const char* control);
