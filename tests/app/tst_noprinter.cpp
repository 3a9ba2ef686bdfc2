#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/reportsetupform.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/yform.h"
#include "report/ui/reportpreview.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QCheckBox>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// With no printer installed every "Print" does nothing: no print dialog, no message, no file.
// The print server named to the program does not exist; it is named before anything in this
// process asks for printers, since the print library keeps the first server it was given.
class TestNoPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printDoesNothing_data();
    void printDoesNothing();

private:
    QTemporaryDir folder_;
};

void TestNoPrinter::initTestCase()
{
    QVERIFY(folder_.isValid());
    qputenv("CUPS_SERVER", QFile::encodeName(folder_.filePath(QStringLiteral("no-server.sock"))));
    QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());
}

void TestNoPrinter::printDoesNothing_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("numerology calculator") << "numerology";
    QTest::newRow("catalogue listing") << "catalogue";
    QTest::newRow("preview") << "preview";
}

void TestNoPrinter::printDoesNothing()
{
    QFETCH(QString, window);
    RecordingUiServices services;
    services.systemPrinters = true;
    // A dialog that would print into the folder, were it shown.
    services.printAnswer = [this](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath(QStringLiteral("printed.pdf")));
        return true;
    };
    const QString working = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder_.path()));

    if (window == u"numerology") {
        TCalcFrm form;
        TYFrm yForm;
        form.SetYForm(&yForm);
        form.SetDataText(QStringLiteral("MARY"));
        findControl<QPushButton>(form, "PrintBtn")->click();
    } else if (window == u"catalogue") {
        const QString path = folder_.filePath(QLatin1String(catalogue::kFileName));
        QString error;
        QVERIFY2(
            catalogue::createCatalogueFile(path, {{"Body", "Heart", 528, "Puleo"}}, true, &error),
            qPrintable(error));
        catalogue::TonesDatabase database;
        QVERIFY2(database.open(path, catalogue::TonesDatabase::Missing::Refuse),
                 qPrintable(database.errorString()));
        TAddFrm form(database);
        services.whileShown = [](QDialog* dialog) {
            QTest::mouseClick(findControl(*dialog, "Prnt"), Qt::LeftButton);
        };
        findControl<QPushButton>(form, "ReportBtn")->click();
        QCOMPARE(form.ReportAction(), int(TReportSetupFrm::PrintAction));
    } else {
        report::PreparedReport prepared;
        prepared.pages = {report::Page{
            {{QRectF(100, 100, 400, 40), QStringLiteral("Alpha"), {}, report::Align::Left}}, {}}};
        ReportPreview preview(prepared, QStringLiteral("Greek"));
        findControl<QPushButton>(preview, "PrintBtn")->click();
    }
    QDir::setCurrent(working);

    QVERIFY(services.printRequests.isEmpty());
    QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.value(0).text));
    const QStringList files = QDir(folder_.path()).entryList({QStringLiteral("*.pdf")});
    QVERIFY2(files.isEmpty(), qPrintable(files.join(u' ')));
}

QTEST_MAIN(TestNoPrinter)
#include "tst_noprinter.moc"
