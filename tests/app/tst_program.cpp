#include "app/program.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/deleteform.h"
#include "console/ui/toneform.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "numerology/ui/yform.h"
#include "shell/ui/donateform.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsInOrder();
    void screenshots();
    void consoleOpensTheCalculators();
    void numerologyAsksAboutYAndOpensTheCalculator();
    void exitShowsTheDonationWindowOnTheDraw_data();
    void exitShowsTheDonationWindowOnTheDraw();

private:
    RecordingUiServices services;
};

void TestProgram::windowsInOrder()
{
    Program program;
    QStringList classes;
    QStringList titles;
    for (const QWidget* window : program.windows()) {
        classes << QString::fromLatin1(window->metaObject()->className());
        titles << window->windowTitle();
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());
    }
    QCOMPARE(classes,
             QStringList({"TToneFrm", "TCalcFrm", "TYFrm", "TCalculatorFrm", "TDonateFrm"}));
    QCOMPARE(titles, QStringList({"Sonarith Ver. 1.50", "Numerology Calculator", "Y Character",
                                  "Math Calculator", "Kindlyware - Good Karma for All of Us."}));
}

void TestProgram::screenshots()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString target = folder.filePath(QStringLiteral("shots"));
    // The working folder is the data folder: the picture of the console shows its catalogue,
    // made from the shipped one there.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    Program program;
    QString error;
    const bool saved = program.saveScreenshots(target, &error);
    QDir::setCurrent(previous);
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(findControl<QTableView>(program.ToneFrm(), "DBGrid1")->model()->rowCount(), 220);

    // The catalogue's windows live only while they are pictured: these give their sizes.
    TAddFrm maintenance(program.ToneFrm().catalogueDatabase());
    TDeleteFrm deletion(maintenance.Table1());
    QList<const QWidget*> pictured{&maintenance, &deletion};
    for (const QWidget* window : program.windows()) {
        QVERIFY2(!window->isVisible(), qPrintable(window->metaObject()->className()));
        pictured << window;
    }
    for (const QWidget* window : std::as_const(pictured)) {
        const QString name = QString::fromLatin1(window->metaObject()->className());
        const QImage image(QDir(target).filePath(name + QStringLiteral(".png")));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size() / image.devicePixelRatio(), window->size());
    }
}

// The windows reach each other exactly as the program builds them: no wiring by the test.
void TestProgram::consoleOpensTheCalculators()
{
    services.clear();
    Program program;
    TToneFrm& console = program.ToneFrm();
    findControl<QLineEdit>(console, "DataBx")->setText(QStringLiteral(" Mary Ann "));
    findControl<QPushButton>(console, "NumCalcBtn")->click();
    QCOMPARE(services.dialogs.value(0), &program.CalcFrm());
    QCOMPARE(program.CalcFrm().DataText(), QStringLiteral("MARY ANN"));
    QCOMPARE(findControl<QLineEdit>(program.CalcFrm(), "Total")->text(), QStringLiteral("32 / 5"));
    program.CalcFrm().hide();

    services.clear();
    findControl<QPushButton>(console, "CalcBtn")->click();
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.CalculatorFrm()});
}

void TestProgram::numerologyAsksAboutYAndOpensTheCalculator()
{
    services.clear();
    Program program;
    TCalcFrm& numerology = program.CalcFrm();
    numerology.show();
    QVERIFY(QTest::qWaitForWindowExposed(&numerology));
    auto* data = findControl<QLineEdit>(numerology, "Data");
    data->setFocus();
    QTest::keyClicks(data, QStringLiteral("may"));
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.YFrm()});
    findControl<QPushButton>(program.YFrm(), "NoBtn")->click();
    QCOMPARE(numerology.DataText(), QStringLiteral("MAY"));

    services.clear();
    findControl<QPushButton>(numerology, "CalculatorBtn")->click();
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.CalculatorFrm()});
}

void TestProgram::exitShowsTheDonationWindowOnTheDraw_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<bool>("asks");
    QTest::newRow("one in four") << 3 << true;
    QTest::newRow("the others") << 2 << false;
}

void TestProgram::exitShowsTheDonationWindowOnTheDraw()
{
    QFETCH(int, draw);
    QFETCH(bool, asks);
    services.clear();
    services.drawAnswer = draw;
    Program program;
    program.ToneFrm().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program.ToneFrm()));
    findControl<QPushButton>(program.ToneFrm(), "CloseBtn")->click();
    QVERIFY(!program.ToneFrm().isVisible());
    QCOMPARE(services.dialogs.contains(&program.DonateFrm()), asks);
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
