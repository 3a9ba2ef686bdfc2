#include "shell/ui/helpviewer.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/hookhelpsystem.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"
#include "support/textlinks.h"

#include <QDialog>
#include <QFile>
#include <QHelpContentWidget>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWindow>

namespace {

const QString kHelpFile = QStringLiteral(SONARITH_HELP_FILE);

// The page shown, as its path inside the help file ("html/index.htm").
QString pageShown(const HelpWindow& window)
{
    return window.currentPage().path().section(u'/', 2);
}

}  // namespace

// The help viewer on the help file the build makes, as the program's windows use it.
class TestHelpViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { services_.clear(); }
    void showsTheTopicOfAnAddress_data();
    void showsTheTopicOfAnAddress();
    void oneWindowFollowsLinksBackAndForwardBesideAModalWindow();
    void contentsAndIndexLeadToPages();
    void unreadableFileIsSaidOnce_data();
    void unreadableFileIsSaidOnce();
    void missingPageIsSaidInTheWindow();
    void contextRequest_data();
    void contextRequest();
    void hookIsInForceWhileItLives();

private:
    RecordingUiServices services_;
};

void TestHelpViewer::showsTheTopicOfAnAddress_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("file alone: default page") << QString() << "html/index.htm"
                                              << "Sonarith Help - The tone console";
    QTest::newRow("numerology calculator") << "::/html/veln7lf6.htm"
                                           << "html/veln7lf6.htm"
                                           << "Sonarith Help - Numerology calculator";
    QTest::newRow("date calculator") << "::/html/veln3x2q.htm"
                                     << "html/veln3x2q.htm"
                                     << "Sonarith Help - Date calculator";
    QTest::newRow("math calculator") << "::/html/veln5n02.htm"
                                     << "html/veln5n02.htm"
                                     << "Sonarith Help - Math calculator";
    QTest::newRow("catalogue") << "::/html/veln9eat.htm"
                               << "html/veln9eat.htm"
                               << "Sonarith Help - Tone database maintenance";
}

void TestHelpViewer::showsTheTopicOfAnAddress()
{
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, title);
    HelpViewer viewer;
    QVERIFY(viewer.DisplayTopic(kHelpFile + topic));
    HelpWindow* window = viewer.window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(pageShown(*window), page);
    QCOMPARE(window->windowTitle(), title);
    // The page's text is there, not just its address.
    QVERIFY(findControl<QTextBrowser>(*window, "Browser")->toPlainText().size() > 500);
    QVERIFY(services_.messages.isEmpty());
}

// A modal window blocks the others; the help opened from it is read and used all the same.
void TestHelpViewer::oneWindowFollowsLinksBackAndForwardBesideAModalWindow()
{
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&modal));

    HelpViewer viewer;
    QVERIFY(viewer.DisplayTopic(kHelpFile));
    QPointer<HelpWindow> window = viewer.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* browser = findControl<QTextBrowser>(*window, "Browser");
    auto* back = findControl<QToolButton>(*window, "BackBtn");
    auto* forward = findControl<QToolButton>(*window, "ForwardBtn");
    QVERIFY(!back->isEnabled());

    const QPoint link = linkPoint(*browser, QStringLiteral("veln5n02.htm"));
    QVERIFY(!link.isNull());
    // Clicked through the window system, which drops the input of a blocked window.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      browser->viewport()->mapTo(window, link));
    QTRY_COMPARE(pageShown(*window), QStringLiteral("html/veln5n02.htm"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Sonarith Help - Math calculator"));

    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(pageShown(*window), QStringLiteral("html/index.htm"));
    QVERIFY(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    QCOMPARE(pageShown(*window), QStringLiteral("html/veln5n02.htm"));

    // The next request shows its page in the same window.
    QVERIFY(viewer.DisplayTopic(kHelpFile + QStringLiteral("::/html/veln9eat.htm")));
    QCOMPARE(viewer.window(), window.data());
    QCOMPARE(pageShown(*window), QStringLiteral("html/veln9eat.htm"));
    QTest::mouseClick(findControl<QToolButton>(*window, "HomeBtn"), Qt::LeftButton);
    QCOMPARE(pageShown(*window), QStringLiteral("html/index.htm"));

    viewer.CloseAll();
    QVERIFY(window.isNull());
    QVERIFY(modal.isVisible());
}

void TestHelpViewer::contentsAndIndexLeadToPages()
{
    HelpViewer viewer;
    QVERIFY(viewer.DisplayTopic(kHelpFile));
    HelpWindow& window = *viewer.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The contents, read in the background, mark the page shown.
    auto* contents = findControl<QHelpContentWidget>(window, "Contents");
    QTRY_COMPARE(contents->model()->rowCount(), 4);
    QTRY_COMPARE(contents->currentIndex().data().toString(),
                 QStringLiteral("Sonarith: the tone console"));
    const QModelIndex numerology = contents->model()->index(1, 0);
    QCOMPARE(numerology.data().toString(), QStringLiteral("Numerology calculator"));
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualRect(numerology).center());
    QTRY_COMPARE(pageShown(window), QStringLiteral("html/veln7lf6.htm"));

    // A keyword typed in the index and Enter show its page.
    findControl<QTabWidget>(window, "NavTabs")->setCurrentIndex(1);
    auto* find = findControl<QLineEdit>(window, "IndexFind");
    QTest::qWait(0);
    QTRY_VERIFY(findControl<QAbstractItemView>(window, "Index")->model()->rowCount() > 20);
    QTest::keyClicks(find, QStringLiteral("Sum"));
    QTest::keyClick(find, Qt::Key_Return);
    QTRY_COMPARE(pageShown(window), QStringLiteral("html/veln5n02.htm"));
}

void TestHelpViewer::unreadableFileIsSaidOnce_data()
{
    QTest::addColumn<QByteArray>("content");  // empty: no file at all
    QTest::addColumn<QString>("said");
    QTest::newRow("missing") << QByteArray() << "The help file %1 was not found.";
    QTest::newRow("not a help file")
        << QByteArray("plain text\n") << "The help file %1 cannot be read.";
}

void TestHelpViewer::unreadableFileIsSaidOnce()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Velnora.chm"));
    if (!content.isEmpty()) {
        QFile written(file);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(content);
    }
    HelpViewer viewer;
    QVERIFY(!viewer.DisplayTopic(file + QStringLiteral("::/html/veln7lf6.htm")));
    QCOMPARE(services_.messages.size(), 1);
    QCOMPARE(services_.messages.first().text, said.arg(file));
    QCOMPARE(services_.messages.first().kind, UiServices::MessageKind::Warning);
    QVERIFY(!viewer.window());
}

void TestHelpViewer::missingPageIsSaidInTheWindow()
{
    HelpViewer viewer;
    QVERIFY(viewer.DisplayTopic(kHelpFile + QStringLiteral("::/html/nothere.htm")));
    QVERIFY(viewer.window()->isVisible());
    QCOMPARE(findControl<QTextBrowser>(*viewer.window(), "Browser")->toPlainText(),
             QStringLiteral("This page is not in the help file: html/nothere.htm"));
    QVERIFY(services_.messages.isEmpty());
}

void TestHelpViewer::contextRequest_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("help file there") << true;
    QTest::newRow("no help file") << false;
}

// A context number opens the help file at its default page; without a help file that can be
// shown there is no viewer to open, and the program says so.
void TestHelpViewer::contextRequest()
{
    QFETCH(bool, fileThere);
    QTemporaryDir folder;
    const QString file = fileThere ? kHelpFile : folder.filePath(QStringLiteral("Velnora.chm"));
    HelpViewer viewer;
    THookHelpSystem hook(file, viewer);
    for (THookHelpSystem::Command command :
         {THookHelpSystem::HelpContext, THookHelpSystem::HelpContextPopup}) {
        services_.clear();
        viewer.CloseAll();
        QVERIFY(THookHelpSystem::Request(command, 42));
        if (fileThere) {
            QVERIFY(services_.messages.isEmpty());
            QVERIFY(viewer.window() && viewer.window()->isVisible());
            QCOMPARE(pageShown(*viewer.window()), QStringLiteral("html/index.htm"));
        } else {
            QCOMPARE(services_.messages.size(), 1);
            QCOMPARE(services_.messages.first().text,
                     QStringLiteral("MS Html Help is not installed on this PC."));
            QCOMPARE(services_.messages.first().kind, UiServices::MessageKind::Warning);
            QVERIFY(!viewer.window());
        }
    }
}

void TestHelpViewer::hookIsInForceWhileItLives()
{
    QCOMPARE(THookHelpSystem::current(), nullptr);
    QVERIFY(!THookHelpSystem::Request(THookHelpSystem::HelpContext, 1));
    HelpViewer viewer;
    QPointer<HelpWindow> window;
    {
        THookHelpSystem hook(kHelpFile, viewer);
        QCOMPARE(THookHelpSystem::current(), &hook);
        QVERIFY(THookHelpSystem::Request(THookHelpSystem::HelpSetPopupPos, (20 << 16) | 10));
        QCOMPARE(hook.PopupPosition(), QPoint(10, 20));
        QVERIFY(!THookHelpSystem::Request(THookHelpSystem::Command(2), 0));
        {
            // A second handler asks the first before it answers, and hands back to it.
            HelpViewer second;
            THookHelpSystem inner(kHelpFile, second);
            QCOMPARE(THookHelpSystem::current(), &inner);
            QVERIFY(THookHelpSystem::Request(THookHelpSystem::HelpContext, 7));
            QVERIFY(viewer.window() && second.window());
        }
        QCOMPARE(THookHelpSystem::current(), &hook);
        window = viewer.window();
        QVERIFY(window && window->isVisible());
    }
    // The hook closes the help windows as it goes.
    QCOMPARE(THookHelpSystem::current(), nullptr);
    QVERIFY(window.isNull());
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
