#include "controls/linklabel.h"
#include "shell/ui/donateform.h"
#include "shell/ui/internetform.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QCursor>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <memory>

// The donation window as the end of the program shows it.
class TestDonateForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void donationAddress();
    void linksOpenTheirPages_data();
    void linksOpenTheirPages();
    void donateOpensTheDonationPageAndStays();
    void exitHides();

private:
    QPushButton* button(const char* name) const { return findControl<QPushButton>(*form_, name); }
    LinkLabel* link(const char* name) const { return findControl<LinkLabel>(*form_, name); }

    RecordingUiServices services_;
    std::unique_ptr<TDonateFrm> form_;
};

void TestDonateForm::init()
{
    services_.clear();
    form_ = std::make_unique<TDonateFrm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestDonateForm::cleanup()
{
    form_.reset();
}

void TestDonateForm::window()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("Kindlyware - Good Karma for All of Us."));
    QCOMPARE(form_->size(), QSize(397, 368));
    QVERIFY(form_->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(findControl<QLabel>(*form_, "Label3")->text(), QStringLiteral("Sonarith"));
    QCOMPARE(button("DonateBtn")->geometry(), QRect(56, 328, 75, 25));
    QCOMPARE(button("ExitBtn")->geometry(), QRect(256, 328, 75, 25));
    QCOMPARE(button("DonateBtn")->text(), QStringLiteral("Donate"));
    QCOMPARE(button("ExitBtn")->text(), QStringLiteral("Exit"));

    auto* memo = findControl<QPlainTextEdit>(*form_, "Memo1");
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->frameShape(), QFrame::NoFrame);
    const QStringList rows = memo->toPlainText().split(u'\n');
    QCOMPARE(rows.size(), 11);
    QCOMPARE(rows.first(9), (QStringList{
                                "This program is offered as Kindlyware.  The",
                                "intent is to generate and foster good karma",
                                "for all of us.",
                                "",
                                "If you find this program useful, please consider ",
                                "making a donation to support our programming ",
                                "efforts and operation of the web site.",
                                "",
                                "Thank you for your continued support.",
                            }));
    QCOMPARE(rows[9], QString());
    QVERIFY(!rows[10].trimmed().isEmpty());
    // Every row is seen whole: none is wider than the field, and all of them fit its height.
    for (const QString& row : rows)
        QVERIFY2(memo->fontMetrics().horizontalAdvance(row) < memo->viewport()->width(),
                 qPrintable(row));
    QVERIFY(memo->fontMetrics().lineSpacing() * rows.size() <= memo->viewport()->height());
}

// The payment page's request fields, the same address in both windows.
void TestDonateForm::donationAddress()
{
    const QString address = link("OvcURL1")->address();
    const QUrlQuery fields(QUrl(address).query());
    const std::pair<const char*, const char*> expected[] = {
        {"item_name", "Software+Donation"},
        {"item_number", "DN-101"},
        {"no_shipping", "1"},
        {"cn", "Optional+Note"},
        {"tax", "0"},
        {"currency_code", "USD"},
    };
    for (const auto& [field, value] : expected)
        QCOMPARE(fields.queryItemValue(QLatin1String(field)), QLatin1String(value));
    QVERIFY(!fields.queryItemValue(QStringLiteral("business")).isEmpty());
    QVERIFY(address.startsWith(QLatin1String("https://sonarith.org/")));
    TInternetFrm links;
    QCOMPARE(findControl<LinkLabel>(links, "OvcURL1")->address(), address);
}

void TestDonateForm::linksOpenTheirPages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("page");
    QTest::newRow("donation") << "OvcURL1" << QPoint(88, 229) << "Make PayPal Donation"
                              << "https://sonarith.org/donate/pay";
    QTest::newRow("the scheme") << "OvcURL2" << QPoint(88, 261) << "Kindlyware"
                                << "https://sonarith.org/kindlyware";
}

void TestDonateForm::linksOpenTheirPages()
{
    QFETCH(QString, name);
    QFETCH(QPoint, at);
    QFETCH(QString, caption);
    QFETCH(QString, page);
    LinkLabel* label = link(name.toLatin1().constData());
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), at);
    QCOMPARE(label->font().pixelSize(), 16);
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(caption));
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(services_.openedAddresses.size(), 1);
    QCOMPARE(QUrl(services_.openedAddresses[0]).adjusted(QUrl::RemoveQuery).toString(), page);
    QVERIFY(form_->isVisible());
}

// "Donate" twice hands the donation page to the browser twice; the window stays, and the
// donation link, visited, turns maroon once the pointer has been over it and left.
void TestDonateForm::donateOpensTheDonationPageAndStays()
{
    const QString donation = link("OvcURL1")->address();
    button("DonateBtn")->click();
    button("DonateBtn")->click();
    QCOMPARE(services_.openedAddresses, QStringList({donation, donation}));
    QVERIFY(form_->isVisible());
    QVERIFY(link("OvcURL1")->visited());
    QVERIFY(!link("OvcURL2")->visited());

    LinkLabel* label = link("OvcURL1");
    QCursor::setPos(label->mapToGlobal(label->rect().center()));
    QTRY_COMPARE(label->colour(), LinkLabel::kHover);
    QCursor::setPos(form_->mapToGlobal(QPoint(4, 4)));
    QTRY_COMPARE(label->colour(), LinkLabel::kVisited);

    // With no browser "Donate" beeps and the window still stays.
    services_.openAnswer = false;
    button("DonateBtn")->click();
    QCOMPARE(services_.beeps, 1);
    QVERIFY(form_->isVisible());
}

// The end of the program waits for the window: "Exit" hides it and ends the wait.
void TestDonateForm::exitHides()
{
    form_->hide();
    QTimer::singleShot(0, button("ExitBtn"), &QPushButton::click);
    QTimer::singleShot(5000, form_.get(), [this] { form_->done(-1); });
    QCOMPARE(form_->exec(), int(QDialog::Rejected));
    QVERIFY(!form_->isVisible());
    QVERIFY(services_.openedAddresses.isEmpty());
}

QTEST_MAIN(TestDonateForm)
#include "tst_donateform.moc"
