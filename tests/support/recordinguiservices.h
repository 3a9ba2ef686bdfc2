#pragma once

#include "controls/uiservices.h"

#include <QList>
#include <QStringList>
#include <functional>

// Stands in for the desktop while a test runs: counts beeps, keeps every message and
// answers questions and file dialogs from queues (an empty queue answers Cancel). Installs
// itself for its lifetime.
class RecordingUiServices final : public UiServices
{
public:
    struct Message
    {
        QString text;
        MessageKind kind;
    };

    RecordingUiServices();
    ~RecordingUiServices() override;

    void beep() override { ++beeps; }
    void showMessage(QWidget* parent, const QString& text, MessageKind kind) override;
    bool ask(QWidget* parent, const QString& text) override;
    QString chooseSaveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseOpenFile(QWidget* parent, const FileRequest& request) override;
    // The printers of the list, or the print server's own queues when systemPrinters is set.
    QStringList printerNames() override;
    // Records what the dialog was asked to show and answers with printAnswer (Cancel when
    // there is none), which may make choices on the printer as a user would.
    bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) override;
    // Shows the window, runs whileShown on it (a test's user of a window that is destroyed as
    // soon as it closes) and answers Rejected without waiting.
    int execDialog(QDialog* dialog) override;
    // Answers drawAnswer, so that a test decides whether the donation window shows.
    int randomDraw(int) override { return drawAnswer; }
    // Keeps the address and answers openAnswer: false stands for a desktop without a browser.
    bool openUrl(const QString& address) override
    {
        openedAddresses.append(address);
        return openAnswer;
    }

    void clear();

    int beeps = 0;
    QList<Message> messages;
    QStringList questions;
    QList<bool> answers;
    struct PrintRequest
    {
        int copies;
        bool collate;
        int pageCount;
    };

    QList<FileRequest> fileRequests;
    QStringList fileAnswers;
    QStringList printers;
    bool systemPrinters = false;
    QList<PrintRequest> printRequests;
    std::function<bool(QPrinter&)> printAnswer;
    QList<QDialog*> dialogs;
    std::function<void(QDialog*)> whileShown;
    int drawAnswer = 0;
    QStringList openedAddresses;
    bool openAnswer = true;
};
