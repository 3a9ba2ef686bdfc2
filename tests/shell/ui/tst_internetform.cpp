#include "controls/linklabel.h"
#include "shell/ui/internetform.h"
#include "shell/webaddresses.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QCursor>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <memory>

// The links window as its user meets it: the project's pages, each opened in the browser by
// a click on its link, and the look of a link under the pointer.
class TestInternetForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void clickOpensTheLinksPage_data();
    void clickOpensTheLinksPage();
    void linkColoursFollowThePointer();
    void withoutABrowserAClickBeeps();
    void closesOnlyByCloseAndEscape_data();
    void closesOnlyByCloseAndEscape();

private:
    LinkLabel* link(const char* name) const { return findControl<LinkLabel>(*form_, name); }
    // Puts the real pointer on a point of the window, or far from it.
    void pointAt(const QWidget* control) const
    {
        QCursor::setPos(control->mapToGlobal(control->rect().center()));
    }
    void pointAway() const { QCursor::setPos(form_->mapToGlobal(QPoint(4, 4))); }

    RecordingUiServices services_;
    std::unique_ptr<TInternetFrm> form_;
};

void TestInternetForm::init()
{
    services_.clear();
    form_ = std::make_unique<TInternetFrm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestInternetForm::cleanup()
{
    form_.reset();
}

void TestInternetForm::window()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("Numerology Calculator"));
    QCOMPARE(form_->size(), QSize(346, 382));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    // No title-bar buttons at all.
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(findControl<QLabel>(*form_, "Panel1")->text(), QStringLiteral("Internet Resources"));
    QCOMPARE(findControl<QLabel>(*form_, "Label6")->text(), QStringLiteral("The Sonarith Project"));
    QCOMPARE(findControl<QLabel>(*form_, "Label4")->text(),
             QStringLiteral("If you would like to help support our programming efforts, please "
                            "consider making a donation."));
    // 10-point bold throughout (13 pixels), the header 14-point regular.
    for (const char* name : {"Label6", "Label4", "Button1"}) {
        const QFont font = findControl(*form_, name)->font();
        QVERIFY2(font.pixelSize() == 13 && font.bold(), name);
    }
    const QFont header = findControl(*form_, "Panel1")->font();
    QVERIFY(header.pixelSize() == 19 && !header.bold());
    QCOMPARE(findControl<QPushButton>(*form_, "Button1")->text(), QStringLiteral("Close"));
    QCOMPARE(findControl<QPushButton>(*form_, "Button1")->geometry(), QRect(135, 342, 75, 25));
    // The white panel with every link inside it.
    auto* panel = findControl<QWidget>(*form_, "Panel2");
    QCOMPARE(panel->geometry(), QRect(13, 47, 323, 282));
    QCOMPARE(panel->grab().toImage().pixelColor(panel->width() - 6, panel->height() - 6),
             QColor(Qt::white));
    for (const LinkLabel* label : form_->findChildren<LinkLabel*>()) {
        QCOMPARE(label->parentWidget(), panel);
        QVERIFY2(panel->rect().contains(label->geometry()), label->objectName().toLatin1());
    }
}

void TestInternetForm::clickOpensTheLinksPage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("address");
    const QString site = QStringLiteral("https://sonarith.org");
    QTest::newRow("update") << "OvcURL6" << QPoint(56, 39) << "Check for Program Update" << 11
                            << site + "/update";
    QTest::newRow("software") << "OvcURL2" << QPoint(56, 63) << "Sonarith Project Software" << 11
                              << site + "/software";
    QTest::newRow("home page") << "OvcURL8" << QPoint(56, 87) << "Sonarith" << 11 << site;
    QTest::newRow("first program")
        << "OvcURL3" << QPoint(56, 108) << "Digit Wheel" << 11 << site + "/software/digit-wheel";
    QTest::newRow("second program")
        << "OvcURL4" << QPoint(56, 132) << "Letter Chart" << 11 << site + "/software/letter-chart";
    QTest::newRow("third program")
        << "OvcURL5" << QPoint(56, 156) << "Tone Table" << 11 << site + "/software/tone-table";
    QTest::newRow("donation") << "OvcURL1" << QPoint(107, 245) << "Make Donation" << 13
                              << shell::webAddress(shell::WebPage::Donation);
}

void TestInternetForm::clickOpensTheLinksPage()
{
    QFETCH(QString, name);
    QFETCH(QPoint, at);
    QFETCH(QString, caption);
    QFETCH(int, pixels);
    QFETCH(QString, address);
    LinkLabel* label = link(name.toLatin1().constData());
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), at);
    QCOMPARE(label->font().pixelSize(), pixels);
    // The whole caption is in the label, so every letter of it can be clicked.
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(caption));

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() - 2, label->height() / 2));
    QCOMPARE(services_.openedAddresses, QStringList{address});
    QVERIFY(label->visited());
    QCOMPARE(services_.beeps, 0);
    QVERIFY(form_->isVisible());
    // A press elsewhere released on the link is no click.
    QTest::mousePress(form_.get(), Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(services_.openedAddresses.size(), 1);
}

// Navy, bold and underlined under a hand; red while the pointer is over it, back within the
// check's 100 ms after it left: navy before a click, maroon after one.
void TestInternetForm::linkColoursFollowThePointer()
{
    LinkLabel* label = link("OvcURL6");
    const auto shows = [label](const QColor& colour) {
        const QImage picture = label->grab().toImage();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    QVERIFY(label->font().bold());
    QVERIFY(label->font().underline());
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(label->colour(), QColor(0, 0, 128));
    QVERIFY(shows(QColor(0, 0, 128)));

    pointAt(label);
    QTRY_COMPARE(label->colour(), QColor(255, 0, 0));
    QVERIFY(shows(QColor(255, 0, 0)));
    QTest::qWait(3 * LinkLabel::kHoverCheckMs);
    QCOMPARE(label->colour(), QColor(255, 0, 0));  // still over it
    pointAway();
    QTRY_COMPARE_WITH_TIMEOUT(label->colour(), QColor(0, 0, 128), 2 * LinkLabel::kHoverCheckMs);

    pointAt(label);
    QTRY_COMPARE(label->colour(), QColor(255, 0, 0));
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(label->colour(), QColor(255, 0, 0));
    pointAway();
    QTRY_COMPARE_WITH_TIMEOUT(label->colour(), QColor(128, 0, 0), 2 * LinkLabel::kHoverCheckMs);
    QVERIFY(shows(QColor(128, 0, 0)));
    // The other links are not visited.
    QCOMPARE(link("OvcURL2")->colour(), QColor(0, 0, 128));
}

// With no browser the click only beeps: the window stays, the link counts as visited.
void TestInternetForm::withoutABrowserAClickBeeps()
{
    services_.openAnswer = false;
    LinkLabel* label = link("OvcURL8");
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(services_.openedAddresses, QStringList{QStringLiteral("https://sonarith.org")});
    QCOMPARE(services_.beeps, 1);
    QVERIFY(label->visited());
    QVERIFY(form_->isVisible());
    QVERIFY(services_.messages.isEmpty());
}

void TestInternetForm::closesOnlyByCloseAndEscape_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Close") << "Close" << true;
    QTest::newRow("Escape") << "Escape" << true;
    QTest::newRow("the window system") << "window system" << false;
}

void TestInternetForm::closesOnlyByCloseAndEscape()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    auto* close = findControl<QPushButton>(*form_, "Button1");
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    if (how == QLatin1String("Close"))
        QTest::mouseClick(close, Qt::LeftButton);
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(form_.get(), Qt::Key_Escape);
    else
        form_->windowHandle()->close();
    QCOMPARE(form_->isVisible(), !closes);
    if (closes)
        QCOMPARE(form_->result(), int(QDialog::Rejected));
    QVERIFY(services_.openedAddresses.isEmpty());
}

QTEST_MAIN(TestInternetForm)
#include "tst_internetform.moc"
