#include "catalogue/ui/reportsetupform.h"
#include "support/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

const char* const kChecks[] = {"s1Chk", "s2chk", "s3chk", "s4chk"};

// Which of the four boxes are marked, as "1000".
QString marks(const TReportSetupFrm& form)
{
    QString marked;
    for (const char* name : kChecks)
        marked += findControl<QCheckBox>(form, name)->isChecked() ? u'1' : u'0';
    return marked;
}

std::unique_ptr<TReportSetupFrm> shown()
{
    auto form = std::make_unique<TReportSetupFrm>();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qFatal("the chooser did not show");
    return form;
}

}  // namespace

class TestReportSetupForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnCategoryAndTall();
    void checkBoxesChooseOne_data();
    void checkBoxesChooseOne();
    void closingGivesTheAction_data();
    void closingGivesTheAction();
    void controlsFollowTheWindowsSize();
};

// The first resize, as the window shows, makes it 268 pixels tall; the controls follow that
// height, fonts included.
void TestReportSetupForm::opensOnCategoryAndTall()
{
    const auto form = shown();
    QCOMPARE(form->windowTitle(), QStringLiteral("Report"));
    QCOMPARE(form->size(), QSize(120, 268));
    QCOMPARE(marks(*form), QStringLiteral("1000"));
    QCOMPARE(form->ReportKind(), 1);
    QCOMPARE(form->ReportAction(), 0);
    QStringList captions;
    for (const char* name : kChecks)
        captions << findControl<QCheckBox>(*form, name)->text();
    QCOMPARE(captions, (QStringList{"  Category", "  Frequency", "  Source", "  SubCategory"}));
    const auto* heading = findControl<QLabel>(*form, "Label2");
    QCOMPARE(heading->text(), QStringLiteral("Select Report"));
    QVERIFY(heading->font().underline());
    const auto* exit = findControl<QLabel>(*form, "ExitLbl");
    QCOMPARE(exit->text(), QStringLiteral("Exit"));
    QVERIFY(exit->font().bold());
    QCOMPARE(findControl<QLabel>(*form, "PrVw")->text(), QStringLiteral("Preview"));
    QCOMPARE(findControl<QLabel>(*form, "Prnt")->text(), QStringLiteral("Print"));

    const double vertical = 268.0 / 169.0;
    const auto* source = findControl<QCheckBox>(*form, "s3chk");
    QCOMPARE(source->geometry(),
             QRect(14, int(std::lround(60 * vertical)), 102, int(std::lround(15 * vertical))));
    QCOMPARE(source->font().pointSize(), int(std::lround(8 * vertical)));
    QCOMPARE(findControl(*form, "LowerPanel")->geometry().bottom() + 1, 268);
}

void TestReportSetupForm::checkBoxesChooseOne_data()
{
    QTest::addColumn<QList<int>>("clicked");  // box numbers 1..4
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("marked");
    QTest::newRow("frequency") << QList<int>{2} << 2 << "0100";
    QTest::newRow("source then subcategory") << QList<int>{3, 4} << 4 << "0001";
    QTest::newRow("the marked box again") << QList<int>{1} << 1 << "1000";
    QTest::newRow("back to category") << QList<int>{4, 1} << 1 << "1000";
    QTest::newRow("source twice") << QList<int>{3, 3} << 3 << "0010";
}

void TestReportSetupForm::checkBoxesChooseOne()
{
    QFETCH(QList<int>, clicked);
    QFETCH(int, kind);
    QFETCH(QString, marked);
    const auto form = shown();
    for (const int box : clicked) {
        auto* check = findControl<QCheckBox>(*form, kChecks[box - 1]);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    }
    QCOMPARE(form->ReportKind(), kind);
    QCOMPARE(marks(*form), marked);
    QVERIFY(form->isVisible());
}

void TestReportSetupForm::closingGivesTheAction_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("action");
    QTest::newRow("Preview") << "PrVw" << 1;
    QTest::newRow("Print") << "Prnt" << 2;
    QTest::newRow("Exit") << "ExitLbl" << 0;
    QTest::newRow("Esc") << "Esc" << 0;
    QTest::newRow("close button") << "close" << 0;
}

void TestReportSetupForm::closingGivesTheAction()
{
    QFETCH(QString, how);
    QFETCH(int, action);
    const auto form = shown();
    auto* source = findControl<QCheckBox>(*form, "s3chk");
    QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(8, source->height() / 2));
    if (how == u"Esc") {
        // Pressed, the key does nothing yet; let go, it closes.
        QTest::keyPress(source, Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QTest::keyRelease(source, Qt::Key_Escape);
    } else if (how == u"close") {
        form->close();
    } else {
        QTest::mouseClick(findControl(*form, how.toLatin1().constData()), Qt::LeftButton);
    }
    QVERIFY(!form->isVisible());
    QCOMPARE(form->ReportAction(), action);
    QCOMPARE(form->ReportKind(), 3);
}

// At twice the designed size every control is twice as large; at the designed size each is
// back where the form puts it; fonts stay between 8 and 48 points.
void TestReportSetupForm::controlsFollowTheWindowsSize()
{
    const auto form = shown();
    auto* print = findControl<QLabel>(*form, "Prnt");
    auto* lower = findControl(*form, "LowerPanel");
    form->setFixedSize(240, 338);
    QCOMPARE(print->geometry(), QRect(56, 56, 120, 30));
    QCOMPARE(lower->geometry(), QRect(0, 210, 240, 128));
    QCOMPARE(print->font().pointSize(), 16);
    QCOMPARE(form->size(), QSize(240, 338));  // only the first resize sets the window's size

    form->setFixedSize(120, 169);
    QCOMPARE(print->geometry(), QRect(28, 28, 60, 15));
    QCOMPARE(print->font().pointSize(), 8);
    QVERIFY(findControl<QLabel>(*form, "ExitLbl")->font().bold());

    form->setFixedSize(120, 1690);
    QCOMPARE(print->font().pointSize(), 48);
    form->setFixedSize(120, 100);
    QCOMPARE(print->font().pointSize(), 8);
}

QTEST_MAIN(TestReportSetupForm)
#include "tst_reportsetupform.moc"
