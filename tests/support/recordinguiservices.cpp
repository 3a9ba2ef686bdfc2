#include "support/recordinguiservices.h"

#include <QDialog>
#include <QPrinter>

RecordingUiServices::RecordingUiServices()
{
    UiServices::install(this);
}

RecordingUiServices::~RecordingUiServices()
{
    UiServices::install(nullptr);
}

void RecordingUiServices::showMessage(QWidget*, const QString& text, MessageKind kind)
{
    messages.append({text, kind});
}

bool RecordingUiServices::ask(QWidget*, const QString& text)
{
    questions.append(text);
    return !answers.isEmpty() && answers.takeFirst();
}

QString RecordingUiServices::chooseSaveFile(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString RecordingUiServices::chooseOpenFile(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QStringList RecordingUiServices::printerNames()
{
    return systemPrinters ? DesktopUiServices().printerNames() : printers;
}

bool RecordingUiServices::choosePrinter(QWidget*, QPrinter& printer, int pageCount)
{
    printRequests.append({printer.copyCount(), printer.collateCopies(), pageCount});
    return printAnswer && printAnswer(printer);
}

int RecordingUiServices::execDialog(QDialog* dialog)
{
    dialogs.append(dialog);
    dialog->show();
    if (whileShown)
        whileShown(dialog);
    return QDialog::Rejected;
}

void RecordingUiServices::clear()
{
    beeps = 0;
    messages.clear();
    questions.clear();
    answers.clear();
    fileRequests.clear();
    fileAnswers.clear();
    printers.clear();
    systemPrinters = false;
    printRequests.clear();
    printAnswer = nullptr;
    dialogs.clear();
    whileShown = nullptr;
    drawAnswer = 0;
    openedAddresses.clear();
    openAnswer = true;
}
