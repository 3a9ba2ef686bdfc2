#include "fileio/files.h"
#include "report/render.h"
#include "report/ui/reportpreview.h"
#include "support/controls.h"
#include "support/documents.h"
#include "support/recordinguiservices.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace report;

namespace {

constexpr QRgb kMark = qRgb(255, 255, 0);

TextObject textAt(double top, const QString& text, Align align = Align::Left)
{
    return {QRectF(100, top, 400, 40), text, {QStringLiteral("Arial"), 12, false}, align};
}

// Three pages; "gamma" stands twice on the second, once in another letter case.
PreparedReport threePages()
{
    PreparedReport report;
    report.pages = {
        Page{{textAt(100, QStringLiteral("Alpha"))}, {}},
        Page{{textAt(100, QStringLiteral("Gamma ray")), textAt(200, QStringLiteral("a gamma"))},
             {}},
        Page{{textAt(100, QStringLiteral("Omega"))}, {}},
    };
    return report;
}

// The columns and rows of the picture that show the mark, as a rectangle; empty for none.
QRect marked(const QImage& image)
{
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == kMark)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

}  // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pagesTurn();
    void zoomScalesThePage_data();
    void zoomScalesThePage();
    void findMarksEveryPlace();
    void marksSitUnderTheirLetters_data();
    void marksSitUnderTheirLetters();
    void printsAndSaves();
    void savedReportOpensAgain();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void closes_data();
    void closes();

private:
    template <typename T = QWidget> T* control(const char* name)
    {
        return findControl<T>(*preview_, name);
    }
    QString page() { return control<QLabel>("PageLbl")->text(); }
    void find(const QString& text)
    {
        auto* box = control<QLineEdit>("FindBx");
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUiServices> services_;
    std::unique_ptr<ReportPreview> preview_;
};

void TestReportPreview::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    services_ = std::make_unique<RecordingUiServices>();
    preview_ = std::make_unique<ReportPreview>(threePages(), QStringLiteral("Greek"));
    preview_->show();
    preview_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(preview_.get()));
}

void TestReportPreview::cleanup()
{
    preview_.reset();
    services_.reset();
    dir_.reset();
}

void TestReportPreview::pagesTurn()
{
    QCOMPARE(preview_->windowTitle(), QStringLiteral("Preview - Greek"));
    QCOMPARE(page(), QStringLiteral("Page 1 of 3"));
    QVERIFY(!control("FirstBtn")->isEnabled());
    QVERIFY(!control("PriorBtn")->isEnabled());
    control<QToolButton>("NextBtn")->click();
    QCOMPARE(page(), QStringLiteral("Page 2 of 3"));
    QCOMPARE(preview_->currentPage(), 1);
    control<QToolButton>("LastBtn")->click();
    QCOMPARE(page(), QStringLiteral("Page 3 of 3"));
    QVERIFY(!control("NextBtn")->isEnabled());
    QVERIFY(!control("LastBtn")->isEnabled());
    QTest::keyClick(control("FindBx"), Qt::Key_PageUp);
    QCOMPARE(page(), QStringLiteral("Page 2 of 3"));
    control<QToolButton>("FirstBtn")->click();
    QCOMPARE(page(), QStringLiteral("Page 1 of 3"));
    // What shows is the page itself, as the renderer paints it.
    QCOMPARE(preview_->shownPage(), pageImage(threePages(), 0, ReportPreview::kScreenDpi));
}

void TestReportPreview::zoomScalesThePage_data()
{
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QSize>("size");  // Letter: 8.5 x 11 inches at 96 dots per inch and zoom
    QTest::newRow("50%") << "50%" << QSize(408, 528);
    QTest::newRow("100%") << "100%" << QSize(816, 1056);
    QTest::newRow("200%") << "200%" << QSize(1632, 2112);
}

void TestReportPreview::zoomScalesThePage()
{
    QFETCH(QString, zoom);
    QFETCH(QSize, size);
    control<QToolButton>("NextBtn")->click();
    auto* zoomBox = control<QComboBox>("ZoomBx");
    zoomBox->setCurrentIndex(zoomBox->findText(zoom));
    QCOMPARE(preview_->shownPage().size(), size);
    QCOMPARE(control<QLabel>("PageView")->size(), size);
    QCOMPARE(preview_->currentPage(), 1);
}

// Find goes from place to place, turning to the page; every place is marked, and a new text
// takes the marks away until it is looked for.
void TestReportPreview::findMarksEveryPlace()
{
    auto* found = control<QLabel>("FoundLbl");
    find(QStringLiteral("GAMMA"));
    QCOMPARE(page(), QStringLiteral("Page 2 of 3"));
    QCOMPARE(found->text(), QStringLiteral("1 of 2"));
    const QRect marks = marked(preview_->shownPage());
    // Both lines of the page are marked: the texts stand 100 units apart, 26.7 pixels at 100 %.
    QVERIFY2(marks.height() > 26, qPrintable(QStringLiteral("%1").arg(marks.height())));
    QTest::keyClick(control("FindBx"), Qt::Key_Return);
    QCOMPARE(found->text(), QStringLiteral("2 of 2"));
    control<QPushButton>("FindBtn")->click();
    QCOMPARE(found->text(), QStringLiteral("1 of 2"));

    QTest::keyClicks(control("FindBx"), QStringLiteral("x"));
    QVERIFY(marked(preview_->shownPage()).isEmpty());
    QCOMPARE(found->text(), QString());
    control<QToolButton>("LastBtn")->click();
    find(QStringLiteral("zeta"));
    QCOMPARE(found->text(), QStringLiteral("Not found"));
    QCOMPARE(page(), QStringLiteral("Page 3 of 3"));
    find(QStringLiteral("omega"));
    QCOMPARE(found->text(), QStringLiteral("1 of 1"));
    QVERIFY(!marked(preview_->shownPage()).isEmpty());
}

void TestReportPreview::marksSitUnderTheirLetters_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::newRow("left, the whole text") << int(Align::Left) << "Gamma"
                                          << "gamma";
    QTest::newRow("right, the whole text") << int(Align::Right) << "Gamma"
                                           << "Gamma";
    QTest::newRow("centred, the whole text") << int(Align::Centre) << "Gamma"
                                             << "gamma";
    QTest::newRow("left, the end of the second line") << int(Align::Left) << "Ray\nof gamma"
                                                      << "gamma";
    QTest::newRow("right, the start") << int(Align::Right) << "Gamma ray"
                                      << "gamma";
}

// A mark covers the place its letters are painted: the letters are what the text without them
// lacks (the rows place the needle so that the other letters stay where they are).
void TestReportPreview::marksSitUnderTheirLetters()
{
    QFETCH(int, align);
    QFETCH(QString, text);
    QFETCH(QString, needle);
    PreparedReport report;
    report.pages = {Page{{textAt(100, text, Align(align))}, {}}};
    const QList<TextHit> hits = findText(report, needle);
    QCOMPARE(hits.size(), 1);
    constexpr double dpi = 192;
    const QRect mark = marked(pageImage(report, 0, dpi, hits));
    QVERIFY(!mark.isEmpty());

    PreparedReport others = report;
    others.pages[0].texts[0].text.remove(hits[0].start, hits[0].length);
    const QImage all = pageImage(report, 0, dpi);
    const QImage rest = pageImage(others, 0, dpi);
    QRect ink;
    for (int y = 0; y < all.height(); ++y) {
        for (int x = 0; x < all.width(); ++x) {
            if (qGray(all.pixel(x, y)) < 128 && qGray(rest.pixel(x, y)) >= 128)
                ink |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!ink.isEmpty());
    const auto place = [](const QRect& r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QVERIFY2(mark.adjusted(-2, -2, 2, 2).contains(ink),
             qPrintable(QStringLiteral("mark %1, letters %2").arg(place(mark), place(ink))));
    // ... and the mark is not much wider than they are.
    QVERIFY(mark.width() < ink.width() + 12);
}

void TestReportPreview::printsAndSaves()
{
    control<QPushButton>("PrintBtn")->click();
    QVERIFY(services_->printRequests.isEmpty());

    const QString printed = dir_->filePath(QStringLiteral("printed.pdf"));
    services_->printers << QStringLiteral("Office");
    services_->printAnswer = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    };
    control<QPushButton>("PrintBtn")->click();
    QCOMPARE(services_->printRequests.size(), 1);
    QCOMPARE(services_->printRequests[0].pageCount, 3);

    // Save offers both kinds of file, a saved report first.
    const QString saved = dir_->filePath(QStringLiteral("saved.PDF"));
    control<QPushButton>("SaveBtn")->click();  // cancelled
    QCOMPARE(services_->fileRequests.size(), 1);
    QCOMPARE(services_->fileRequests[0].filter,
             QStringLiteral("Saved Report  (*.srp)|*.srp|PDF Document  (*.pdf)|*.pdf"));
    QCOMPARE(services_->fileRequests[0].defaultSuffix, QStringLiteral("srp"));
    QCOMPARE(services_->fileRequests[0].proposedName, QStringLiteral("Greek.srp"));
    QVERIFY(!QFile::exists(saved));
    services_->fileAnswers << saved;
    control<QPushButton>("SaveBtn")->click();

    for (const QString& path : {printed, saved}) {
        QString error;
        const std::optional<QString> text = documents::pdfText(path, &error);
        QVERIFY2(text, qPrintable(error));
        QCOMPARE(text->count(u'\f'), 3);
        for (const char* expected : {"Alpha", "Gamma ray", "Omega"})
            QVERIFY2(text->contains(QLatin1String(expected)), qPrintable(*text));
    }

    const QString unwritable = dir_->filePath(QStringLiteral("missing/saved.pdf"));
    services_->fileAnswers << unwritable;
    control<QPushButton>("SaveBtn")->click();
    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(services_->messages[0].text,
             QStringLiteral("Cannot create file %1. No such file or directory").arg(unwritable));
}

// A report saved from one preview opens in another, in place of what that one showed.
void TestReportPreview::savedReportOpensAgain()
{
    const QString saved = dir_->filePath(QStringLiteral("greek.srp"));
    services_->fileAnswers << saved;
    control<QPushButton>("SaveBtn")->click();
    QVERIFY2(services_->messages.isEmpty(), qPrintable(services_->messages.value(0).text));

    PreparedReport other;
    other.pages = {Page{{textAt(300, QStringLiteral("Delta"))}, {}}};
    ReportPreview preview(other, QStringLiteral("Other"));
    findControl<QLineEdit>(preview, "FindBx")->setText(QStringLiteral("delta"));
    preview.FindBtnClick();
    services_->fileAnswers << saved;
    findControl<QPushButton>(preview, "OpenBtn")->click();
    QCOMPARE(services_->fileRequests.last().title, QStringLiteral("Open Report"));
    QCOMPARE(services_->fileRequests.last().filter, QStringLiteral("Saved Report  (*.srp)|*.srp"));
    QVERIFY2(services_->messages.isEmpty(), qPrintable(services_->messages.value(0).text));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Preview - Greek"));
    QCOMPARE(findControl<QLabel>(preview, "PageLbl")->text(), QStringLiteral("Page 1 of 3"));
    QCOMPARE(findControl<QLabel>(preview, "FoundLbl")->text(), QString());
    // The same pages, painted alike, without the marks of the text found before.
    QCOMPARE(preview.shownPage(), pageImage(threePages(), 0, ReportPreview::kScreenDpi));
    findControl<QToolButton>(preview, "LastBtn")->click();
    QCOMPARE(preview.shownPage(), pageImage(threePages(), 2, ReportPreview::kScreenDpi));
    // Printing and finding work on the report opened.
    findControl<QLineEdit>(preview, "FindBx")->setText(QStringLiteral("gamma"));
    preview.FindBtnClick();
    QCOMPARE(findControl<QLabel>(preview, "FoundLbl")->text(), QStringLiteral("1 of 2"));
}

void TestReportPreview::badFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");  // none: no file at all
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("cut");  // content is a saved report cut short

    QTest::newRow("cut short") << QByteArray() << "damaged: " << true;
    QTest::newRow("garbage") << QByteArray("\x00\xff\xfe garbage\n\x01", 13) << "not a saved report"
                             << false;
    QTest::newRow("rich text export")
        << QByteArray("{\\rtf1\\ansi MARY\\par}") << "not a saved report" << false;
    QTest::newRow("missing") << QByteArray() << "No such file or directory" << false;
}

// Opening a file that holds no report says why and leaves the preview as it was.
void TestReportPreview::badFileChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QFETCH(bool, cut);
    const QString path = dir_->filePath(QStringLiteral("bad.srp"));
    if (cut) {
        services_->fileAnswers << path;
        control<QPushButton>("SaveBtn")->click();
        QString error;
        std::optional<QByteArray> whole = fileio::readFile(path, &error);
        QVERIFY2(whole, qPrintable(error));
        QVERIFY(fileio::saveFile(path, whole->left(whole->size() * 2 / 3)));
    } else if (!content.isEmpty()) {
        QVERIFY(fileio::saveFile(path, content));
    }
    control<QToolButton>("NextBtn")->click();
    find(QStringLiteral("gamma"));
    const QImage before = preview_->shownPage();

    services_->fileAnswers << path;
    control<QPushButton>("OpenBtn")->click();
    QCOMPARE(services_->messages.size(), 1);
    QVERIFY2(services_->messages[0].text.startsWith(
                 QStringLiteral("Cannot open file %1: %2").arg(path, reason)),
             qPrintable(services_->messages[0].text));
    QCOMPARE(services_->messages[0].kind, UiServices::MessageKind::Error);
    QCOMPARE(preview_->windowTitle(), QStringLiteral("Preview - Greek"));
    QCOMPARE(page(), QStringLiteral("Page 2 of 3"));
    QCOMPARE(control<QLabel>("FoundLbl")->text(), QStringLiteral("1 of 2"));
    QCOMPARE(preview_->shownPage(), before);
}

void TestReportPreview::closes_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Close") << false;
    QTest::newRow("Esc") << true;
}

void TestReportPreview::closes()
{
    QFETCH(bool, escape);
    if (escape)
        QTest::keyClick(control("FindBx"), Qt::Key_Escape);
    else
        control<QPushButton>("CloseBtn")->click();
    QVERIFY(!preview_->isVisible());
}

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
