#include "journeys/desktop.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

}  // namespace

void dieWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

bool VirtualScreen::start(QString* error)
{
    // The server picks a free display itself and names it: no race with another server
    // started at the same moment.
    for (int attempt = 0; attempt < 2; ++attempt) {
        dieWithParent(server_);
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QElapsedTimer waited;
        waited.start();
        QByteArray display;
        while (!display.endsWith('\n') && server_.state() != QProcess::NotRunning &&
               waited.elapsed() < 10000) {
            server_.waitForReadyRead(100);
            display += server_.readAllStandardOutput();
        }
        if (display.endsWith('\n')) {
            qputenv("DISPLAY", ":" + display.trimmed());
            return true;
        }
        // Now and then the server's first start dies at once: a second try follows.
        server_.kill();
        server_.waitForFinished();
    }
    *error = QStringLiteral("Xvfb did not start: ") +
             QString::fromLocal8Bit(server_.readAllStandardError());
    return false;
}

void VirtualScreen::stop()
{
    server_.terminate();
    if (!server_.waitForFinished(5000)) {
        server_.kill();
        server_.waitForFinished();
    }
}

namespace desktop {

QString xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

void moveTo(QPoint at)
{
    // A move to where the pointer already is would wait for a motion that never comes.
    const QString here = xdotool({QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
    if (here.contains(QStringLiteral("X=%1\n").arg(at.x())) &&
        here.contains(QStringLiteral("Y=%1\n").arg(at.y())))
        return;
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
             QString::number(at.y())});
}

void click(QPoint at)
{
    moveTo(at);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QThread::msleep(150);
}

void type(const QString& text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
    QThread::msleep(150);
}

void key(const QString& keys)
{
    xdotool({QStringLiteral("key"), keys});
    QThread::msleep(150);
}

QString clipboard()
{
    return run(QStringLiteral("xclip"),
               {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
               3000);
}

QString saveScreen(const QString& name)
{
    QDir().mkpath(QStringLiteral(SONARITH_JOURNEY_OUTPUT));
    const QString path =
        QDir(QStringLiteral(SONARITH_JOURNEY_OUTPUT)).filePath(name + QStringLiteral(".png"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(path, "PNG");
    return path;
}

}  // namespace desktop

RunningProgram::~RunningProgram()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

bool RunningProgram::start(QString* error)
{
    if (!folder_.isValid() || !copyFolder(QStringLiteral(SONARITH_DATA), folder_.path())) {
        *error = QStringLiteral("cannot copy the data folder");
        return false;
    }
    process_.setWorkingDirectory(folder_.path());
    dieWithParent(process_);
    // SONARITH_JOURNEY_COMMAND starts the program another way, such as the launcher of an
    // installed package inside a Debian root; it must exec the program in the end, since the
    // program's windows are found by the process id.
    QStringList command = QProcess::splitCommand(qEnvironmentVariable("SONARITH_JOURNEY_COMMAND"));
    if (command.isEmpty())
        command << QStringLiteral(SONARITH_PROGRAM);
    process_.start(command.takeFirst(), command);
    if (!process_.waitForStarted(10000)) {
        *error = QStringLiteral("sonarith did not start: ") + process_.errorString();
        return false;
    }
    if (!waitForWindow(QStringLiteral("Sonarith Ver. 1.50"), 20000)) {
        *error = QStringLiteral("the main window did not show: ") + errors();
        return false;
    }
    return true;
}

qulonglong RunningProgram::waitForWindow(const QString& title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    do {
        if (const QList<qulonglong> found = windows(title); !found.isEmpty())
            return found.constLast();
        QThread::msleep(50);
    } while (waited.elapsed() < timeoutMs);
    return 0;
}

QList<qulonglong> RunningProgram::windows(const QString& title) const
{
    const QStringList found =
        desktop::xdotool(
            // --all: the pid and the title must both match (xdotool's default is either).
            {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
             QStringLiteral("--pid"), QString::number(process_.processId()),
             QStringLiteral("--name"),
             QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QList<qulonglong> ids;
    for (const QString& id : found)
        ids << id.toULongLong();
    return ids;
}

bool RunningProgram::waitUntilGone(const QString& title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (windowTitles().contains(title)) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

QStringList RunningProgram::windowTitles() const
{
    QStringList titles;
    const QStringList windows =
        desktop::xdotool({QStringLiteral("search"), QStringLiteral("--all"),
                          QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                          QString::number(process_.processId()), QStringLiteral("--name"),
                          QStringLiteral(".+")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& window : windows)
        titles << desktop::xdotool({QStringLiteral("getwindowname"), window});
    titles.removeAll(QString());
    return titles;
}

QRect RunningProgram::geometry(qulonglong window) const
{
    const QString shell = desktop::xdotool(
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
    QRect rect;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char('='), 1);
        if (line.startsWith(QLatin1String("X=")))
            rect.moveLeft(value.toInt());
        else if (line.startsWith(QLatin1String("Y=")))
            rect.moveTop(value.toInt());
        else if (line.startsWith(QLatin1String("WIDTH=")))
            rect.setWidth(value.toInt());
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            rect.setHeight(value.toInt());
    }
    return rect;
}

bool RunningProgram::waitForExit(int timeoutMs)
{
    return process_.waitForFinished(timeoutMs);
}

QPoint centreOf(const QWidget& window, const char* control)
{
    const auto* child = window.findChild<QWidget*>(QLatin1String(control));
    if (!child)
        qFatal("no control %s", control);
    return child->mapTo(&window, child->rect().center());
}

bool screenShows(const QRect& window, QWidget& form, const char* control)
{
    auto* child = form.findChild<QWidget*>(QLatin1String(control));
    if (!child)
        qFatal("no control %s", control);
    const QPoint origin = window.topLeft() + child->mapTo(&form, QPoint(0, 0));
    const QImage shown =
        QGuiApplication::primaryScreen()
            ->grabWindow(0, origin.x(), origin.y(), child->width(), child->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage expected = child->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return shown == expected;
}
