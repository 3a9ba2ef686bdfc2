#include "controls/uiservices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>
#include <memory>

namespace {

UiServices* installed = nullptr;

// "Display text|pattern|Display text|pattern" becomes the dialog's
// "Display text (pattern);;Display text (pattern)".
QStringList dialogFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return {filter};
    QStringList filters;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2)
        filters << parts[k].trimmed() + QStringLiteral(" (") + parts[k + 1] + u')';
    return filters;
}

std::unique_ptr<QFileDialog> makeDialog(QWidget* parent, const UiServices::FileRequest& request)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.folder);
    dialog->setNameFilters(dialogFilters(request.filter));
    dialog->setDefaultSuffix(request.defaultSuffix);
    // A name typed without an extension takes that of the kind of file chosen.
    QObject::connect(dialog.get(), &QFileDialog::filterSelected, dialog.get(),
                     [dialog = dialog.get()](const QString& chosen) {
                         static const QRegularExpression extension(
                             QStringLiteral("\\*\\.([\\w]+)"));
                         const QRegularExpressionMatch match = extension.match(chosen);
                         if (match.hasMatch())
                             dialog->setDefaultSuffix(match.captured(1));
                     });
    if (!request.proposedName.isEmpty())
        dialog->selectFile(request.proposedName);
    return dialog;
}

QString runDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

UiServices& UiServices::instance()
{
    static DesktopUiServices desktop;
    return installed ? *installed : desktop;
}

void UiServices::install(UiServices* services)
{
    installed = services;
}

void DesktopUiServices::beep()
{
    QApplication::beep();
}

void DesktopUiServices::showMessage(QWidget* parent, const QString& text, MessageKind kind)
{
    const QString title = QApplication::applicationDisplayName();
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(parent, title, text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(parent, title, text);
        break;
    case MessageKind::Error:
        QMessageBox::critical(parent, title, text);
        break;
    }
}

bool DesktopUiServices::ask(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

int DesktopUiServices::execDialog(QDialog* dialog)
{
    return dialog->exec();
}

int DesktopUiServices::randomDraw(int count)
{
    return int(QRandomGenerator::global()->bounded(count));
}

bool DesktopUiServices::openUrl(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString DesktopUiServices::chooseSaveFile(QWidget* parent, const FileRequest& request)
{
    const auto dialog = makeDialog(parent, request);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The program's save dialogs replace an existing file without asking.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return runDialog(*dialog);
}

QString DesktopUiServices::chooseOpenFile(QWidget* parent, const FileRequest& request)
{
    const auto dialog = makeDialog(parent, request);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted too.
    dialog->setFileMode(QFileDialog::AnyFile);
    return runDialog(*dialog);
}

QStringList DesktopUiServices::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

bool DesktopUiServices::choosePrinter(QWidget* parent, QPrinter& printer, int pageCount)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}
