#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QWidget;

// Everything a window asks of the desktop that a test cannot answer for real: message boxes and
// questions, the beep, the file dialogs, the print dialog and the web browser. The program
// installs the desktop version once at start-up; tests install one that records and answers
// without blocking.
class UiServices
{
public:
    enum class MessageKind { Information, Warning, Error };

    // What a file dialog is asked to show. An empty answer means the user cancelled.
    struct FileRequest
    {
        QString title;
        QString folder;
        QString proposedName;
        // One entry, "Text  [*.ext]|*.ext", or several joined by "|": the first is chosen.
        QString filter;
        // Without the dot; once the user chooses another entry, that entry's extension.
        QString defaultSuffix;
    };

    virtual ~UiServices() = default;

    virtual void beep() = 0;
    virtual void showMessage(QWidget* parent, const QString& text, MessageKind kind) = 0;
    // A question with the buttons OK and Cancel; true for OK.
    virtual bool ask(QWidget* parent, const QString& text) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString chooseOpenFile(QWidget* parent, const FileRequest& request) = 0;
    // The names of the printers installed; none means that printing does nothing.
    virtual QStringList printerNames() = 0;
    // The print dialog for printer, offering pages 1 to pageCount; true when the user chose
    // to print, the printer then holding the choices made.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) = 0;
    // Shows a window modally and returns how it was closed.
    virtual int execDialog(QDialog* dialog) = 0;
    // A whole number from 0 to count - 1, drawn at random.
    virtual int randomDraw(int count) = 0;
    // Opens a web address in the user's default browser; false when no browser took it.
    virtual bool openUrl(const QString& address) = 0;

    // The services in force; the desktop version until another is installed.
    static UiServices& instance();
    // Takes effect at once; the caller keeps ownership and must outlive every use.
    static void install(UiServices* services);
};

class DesktopUiServices final : public UiServices
{
public:
    void beep() override;
    void showMessage(QWidget* parent, const QString& text, MessageKind kind) override;
    bool ask(QWidget* parent, const QString& text) override;
    QString chooseSaveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseOpenFile(QWidget* parent, const FileRequest& request) override;
    QStringList printerNames() override;
    bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) override;
    int execDialog(QDialog* dialog) override;
    int randomDraw(int count) override;
    bool openUrl(const QString& address) override;
};
