#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/reportsetupform.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/yform.h"
#include "support/controls.h"
#include "support/documents.h"
#include "support/printqueue.h"
#include "support/recordinguiservices.h"

#include <QCheckBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// US Letter in points.
const QSizeF kLetter(612, 792);

bool isLetter(const QSizeF& size)
{
    return std::abs(size.width() - kLetter.width()) < 1 &&
           std::abs(size.height() - kLetter.height()) < 1;
}

}  // namespace

// Printing as a user meets it, on a real print server: the print dialog is answered with the
// test queue chosen, and what the queue's backend wrote is read back.
class TestPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void numerologyReportIsPrinted();
    void catalogueListingIsPrinted_data();
    void catalogueListingIsPrinted();

private:
    // Answers the print dialog by choosing the test queue, and the pages first..last when
    // given.
    void chooseTheQueue(int first = 0, int last = 0)
    {
        services_.systemPrinters = true;
        services_.printAnswer = [first, last](QPrinter& printer) {
            printer.setPrinterName(PrintQueue::name());
            if (first > 0) {
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(first, last);
            }
            return true;
        };
    }

    RecordingUiServices services_;
};

void TestPrinting::initTestCase()
{
    if (PrintQueue::name().isEmpty())
        QSKIP(PrintQueue::missingReason());
    QVERIFY2(QPrinterInfo::availablePrinterNames().contains(PrintQueue::name()),
             qPrintable(QPrinterInfo::availablePrinterNames().join(u' ')));
}

void TestPrinting::init()
{
    services_.clear();
}

// "Print" in the numerology calculator: one Letter page with the analysis, laid out from the
// paper's corner although the queue's paper is A4 and its printer has margins of its own.
void TestPrinting::numerologyReportIsPrinted()
{
    TCalcFrm form;
    TYFrm yForm;
    form.SetYForm(&yForm);
    form.SetDataText(QStringLiteral("MARY"));
    chooseTheQueue();
    PrintQueue queue;
    findControl<QPushButton>(form, "PrintBtn")->click();
    QCOMPARE(services_.printRequests.size(), 1);
    QCOMPARE(services_.printRequests[0].copies, 1);
    QVERIFY(services_.printRequests[0].collate);
    QCOMPARE(services_.printRequests[0].pageCount, 1);
    QVERIFY2(services_.messages.isEmpty(), qPrintable(services_.messages.value(0).text));

    QString error;
    const std::optional<QString> printed = queue.waitForPrinted(30000, &error);
    QVERIFY2(printed, qPrintable(error));
    const std::optional<QString> text = documents::pdfText(*printed, &error);
    QVERIFY2(text, qPrintable(error));
    QCOMPARE(text->count(u'\f'), 1);
    for (const QString& expected :
         {QStringLiteral("MARY"), QStringLiteral("Vowels:"), QStringLiteral("21 / 3"),
          QStringLiteral("Pythagorean"), QStringLiteral("Notes:"), QStringLiteral("Printed:"),
          QStringLiteral("https://sonarith.org")})
        QVERIFY2(text->contains(expected), qPrintable(expected + u'\n' + *text));
    const auto pages = documents::pdfPageSizes(*printed, &error);
    QVERIFY2(pages && pages->size() == 1, qPrintable(error));
    QVERIFY2(
        isLetter(pages->front()),
        qPrintable(
            QStringLiteral("%1 x %2").arg(pages->front().width()).arg(pages->front().height())));
    // The title starts 92 units (72.4 pt) from the left and 96 units (75.6 pt) from the top.
    const auto words = documents::pdfWords(*printed, &error);
    QVERIFY2(words && !words->isEmpty(), qPrintable(error));
    const QRectF title = words->front().box;
    QCOMPARE(words->front().text, QStringLiteral("MARY"));
    QVERIFY2(std::abs(title.left() - 72.4) < 1.5 && std::abs(title.top() - 75.6) < 6,
             qPrintable(QStringLiteral("%1, %2").arg(title.left()).arg(title.top())));
}

void TestPrinting::catalogueListingIsPrinted_data()
{
    QTest::addColumn<int>("first");  // 0: all pages
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("footers");
    QTest::newRow("all pages") << 0 << 0 << QStringList{"1 of 3", "2 of 3", "3 of 3"};
    QTest::newRow("pages 2 to 3") << 2 << 3 << QStringList{"2 of 3", "3 of 3"};
    QTest::newRow("page 2") << 2 << 2 << QStringList{"2 of 3"};
}

// "Reports", the listing by frequency and "Print" in the maintenance window: the pages chosen
// of the whole listing, each on a Letter page of its own.
void TestPrinting::catalogueListingIsPrinted()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QStringList, footers);
    // 100 rows: three pages of the frequency listing.
    QList<catalogue::ToneRecord> records;
    for (int k = 1; k <= 100; ++k)
        records.append({QStringLiteral("Tone %1").arg(k), QStringLiteral("Part"), 1000 + k,
                        QStringLiteral("Workshop")});
    QTemporaryDir folder;
    const QString path = folder.filePath(QLatin1String(catalogue::kFileName));
    QString error;
    QVERIFY2(catalogue::createCatalogueFile(path, records, false, &error), qPrintable(error));
    catalogue::TonesDatabase database;
    QVERIFY2(database.open(path, catalogue::TonesDatabase::Missing::Refuse),
             qPrintable(database.errorString()));
    TAddFrm form(database);
    form.show();

    chooseTheQueue(first, last);
    services_.whileShown = [](QDialog* dialog) {
        auto* check = findControl<QCheckBox>(*dialog, "s2chk");
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
        QTest::mouseClick(findControl(*dialog, "Prnt"), Qt::LeftButton);
    };
    PrintQueue queue;
    findControl<QPushButton>(form, "ReportBtn")->click();
    QCOMPARE(form.ReportAction(), int(TReportSetupFrm::PrintAction));
    QCOMPARE(services_.printRequests.size(), 1);
    QCOMPARE(services_.printRequests[0].copies, 1);
    QVERIFY(services_.printRequests[0].collate);
    QCOMPARE(services_.printRequests[0].pageCount, 3);
    QVERIFY2(services_.messages.isEmpty(), qPrintable(services_.messages.value(0).text));

    const std::optional<QString> printed = queue.waitForPrinted(30000, &error);
    QVERIFY2(printed, qPrintable(error));
    const std::optional<QString> text = documents::pdfText(*printed, &error);
    QVERIFY2(text, qPrintable(error));
    QStringList pages = text->split(u'\f');
    QCOMPARE(pages.takeLast().trimmed(), QString());
    QCOMPARE(pages.size(), footers.size());
    for (int k = 0; k < pages.size(); ++k) {
        const QString page = pages[k].simplified();
        QVERIFY2(page.startsWith(k == 0 && first <= 1 ? QStringLiteral("Tones Listed by Frequency")
                                                      : QStringLiteral("CPS Category")),
                 qPrintable(page));
        QVERIFY2(page.endsWith(QStringLiteral("https://sonarith.org ") + footers[k]),
                 qPrintable(page));
    }
    QVERIFY2(pages.constLast().simplified().contains(QStringLiteral("1,100 Tone 100 Part")) ==
                 (footers.constLast() == u"3 of 3"),
             qPrintable(pages.constLast()));
    const auto sizes = documents::pdfPageSizes(*printed, &error);
    QVERIFY2(sizes, qPrintable(error));
    QCOMPARE(sizes->size(), footers.size());
    for (const QSizeF& size : *sizes)
        QVERIFY(isLetter(size));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
