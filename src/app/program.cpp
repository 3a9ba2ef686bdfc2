#include "app/program.h"

#include "catalogue/cataloguereports.h"
#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/deleteform.h"
#include "catalogue/ui/reportsetupform.h"
#include "console/ui/toneform.h"
#include "controls/datefield.h"
#include "controls/uiservices.h"
#include "fileio/files.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "numerology/ui/yform.h"
#include "report/ui/reportpreview.h"
#include "shell/ui/donateform.h"
#include "shell/ui/helpviewer.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/internetform.h"
#include "tonegen/soundoutput.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QPointer>

Program::Program()
    : toneFrm_(std::make_unique<TToneFrm>()), calcFrm_(std::make_unique<TCalcFrm>()),
      yFrm_(std::make_unique<TYFrm>()), calculatorFrm_(std::make_unique<TCalculatorFrm>()),
      donateFrm_(std::make_unique<TDonateFrm>())
{
    toneFrm_->SetNumerologyForm(calcFrm_.get());
    toneFrm_->SetCalculatorForm(calculatorFrm_.get());
    toneFrm_->SetDonateForm(donateFrm_.get());
    calcFrm_->SetYForm(yFrm_.get());
    calcFrm_->SetCalculatorForm(calculatorFrm_.get());
    // Every window's help opens in the main window's help viewer, on its help file.
    QObject::connect(calcFrm_.get(), &TCalcFrm::HelpRequested, toneFrm_.get(),
                     &TToneFrm::OpenHelpTopic);
    QObject::connect(calculatorFrm_.get(), &TCalculatorFrm::HelpRequested, toneFrm_.get(),
                     &TToneFrm::OpenHelpTopic);
    // A sound server that goes away while the program plays is told over the console; the
    // output goes on silently and finds the server again when it is back.
    SoundOutput::instance().setLossHandler([console = QPointer<QWidget>(toneFrm_.get())] {
        QMetaObject::invokeMethod(
            qApp,
            [console] {
                if (console)
                    UiServices::instance().showMessage(console, soundLostMessage(),
                                                       UiServices::MessageKind::Warning);
            },
            Qt::QueuedConnection);
    });
}

Program::~Program()
{
    SoundOutput::instance().setLossHandler({});
}

QString Program::soundLostMessage()
{
    return QStringLiteral(
        "The sound server stopped answering, so the tones go on without sound. Sound comes "
        "back with the next tones once the sound server runs again.");
}

QList<QWidget*> Program::windows() const
{
    return {toneFrm_.get(), calcFrm_.get(), yFrm_.get(), calculatorFrm_.get(), donateFrm_.get()};
}

// The numerology calculator shows an analysis and an open date calculator in its picture.
void Program::prepareScreenshots() const
{
    calcFrm_->HandOver(0, QStringLiteral("Mary Ann Lee"));
    calcFrm_->SetYPos(0);
    calcFrm_->CalendarBtnClick();
    calcFrm_->findChild<DateField*>(QStringLiteral("EsDateEdit1"))
        ->setText(DateField::format(QDate(1990, 12, 25)));
    calcFrm_->DtCalcBtnClick();
}

namespace {

// Shows the window as it is called up, grabs it into "<class name>.png" and leaves it as it was.
bool saveScreenshot(const QDir& dir, QWidget* window, QString* error)
{
    const bool wasVisible = window->isVisible();
    window->show();
    QApplication::processEvents();
    const QString path = dir.filePath(QString::fromLatin1(window->metaObject()->className()) +
                                      QStringLiteral(".png"));
    // Made in memory first, so that a picture that cannot be written whole leaves the one
    // before it in place.
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    const bool encoded = window->grab().save(&png, "PNG");
    if (!wasVisible)
        window->hide();
    QString reason = QStringLiteral("The picture could not be made");
    if (!encoded || !fileio::saveFile(path, png.data(), &reason)) {
        *error = QStringLiteral("Cannot create file %1. %2").arg(path, reason);
        return false;
    }
    return true;
}

}  // namespace

bool Program::saveScreenshots(const QString& folder, QString* error) const
{
    prepareScreenshots();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create folder %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    for (QWidget* window : windows()) {
        if (!saveScreenshot(dir, window, error))
            return false;
    }
    // The windows built for one opening each: the links window and the report chooser.
    TInternetFrm links(toneFrm_.get());
    TReportSetupFrm chooser(toneFrm_.get());
    for (QWidget* window : QList<QWidget*>{&links, &chooser}) {
        if (!saveScreenshot(dir, window, error))
            return false;
    }
    // The help window on the numerology page of the help file in the data folder, when the
    // folder has one.
    if (QFileInfo::exists(toneFrm_->HelpFilePath())) {
        toneFrm_->OpenHelpTopic(QStringLiteral("::/html/veln7lf6.htm"));
        HelpWindow* help = toneFrm_->helpViewer().window();
        if (!help) {
            *error = QStringLiteral("Cannot show help file %1").arg(toneFrm_->HelpFilePath());
            return false;
        }
        const bool saved = saveScreenshot(dir, help, error);
        toneFrm_->helpViewer().CloseAll();
        if (!saved)
            return false;
    }
    // The catalogue's windows live for one opening each: they are pictured on the catalogue
    // the console opened when it was shown above, as "Data " and then "Delete" open them, and
    // the preview shows its listing by source.
    catalogue::TonesDatabase& database = toneFrm_->catalogueDatabase();
    if (!database.isOpen())
        return true;
    TAddFrm maintenance(database, toneFrm_.get());
    TDeleteFrm deletion(maintenance.Table1(), &maintenance);
    for (QWidget* window : QList<QWidget*>{&maintenance, &deletion}) {
        if (!saveScreenshot(dir, window, error))
            return false;
    }
    const catalogue::ReportOrder order = catalogue::ReportOrder::Source;
    const std::optional<report::PreparedReport> listing =
        catalogue::prepareListing(database, order, error);
    if (!listing)
        return false;
    ReportPreview preview(*listing, catalogue::listingTitle(order), &maintenance);
    return saveScreenshot(dir, &preview, error);
}
