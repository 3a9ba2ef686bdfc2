#include "controls/calculatorwidget.h"
#include "numerology/ui/calculatorform.h"
#include "support/recordinguiservices.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <memory>

class TestCalculatorForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void window();
    void arithmetic_data();
    void arithmetic();
    void reduceAndSumSteps();
    void resultsWithDecimalsAndSign();
    void tooLongForReduce();
    void memory();
    void keyboardAndPaste();
    void keepsItsDisplayBetweenOpenings();

private:
    void keys(const QStringList& pressed)
    {
        for (const QString& key : pressed)
            form->calculator().press(key);
    }
    void click(const char* name) { form->findChild<QPushButton*>(QLatin1String(name))->click(); }
    QString shown() const { return form->calculator().displayText(); }

    RecordingUiServices services;
    std::unique_ptr<TCalculatorFrm> form;
};

void TestCalculatorForm::init()
{
    services.clear();
    form = std::make_unique<TCalculatorFrm>();
}

void TestCalculatorForm::window()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Math Calculator"));
    QCOMPARE(form->size(), QSize(226, 203));
    const auto hint = [&](const char* name) {
        return form->findChild<QPushButton*>(QLatin1String(name))->toolTip();
    };
    QCOMPARE(hint("ReduceBtn"), QStringLiteral("Numerology reduce number to single digit."));
    QCOMPARE(hint("SumBtn"), QStringLiteral("Numerology - sum all intergers."));
    QCOMPARE(hint("HelpBtn"), QStringLiteral("Open Help"));
    QCOMPARE(shown(), QStringLiteral("0"));
}

void TestCalculatorForm::arithmetic_data()
{
    QTest::addColumn<QStringList>("pressed");
    QTest::addColumn<QString>("display");
    QTest::newRow("typing") << QStringList{"1", "2", ".", "5"} << "12.5";
    QTest::newRow("leading zero replaced") << QStringList{"0", "7"} << "7";
    QTest::newRow("sum") << QStringList{"7", "+", "8", "="} << "15.00";
    QTest::newRow("chained") << QStringList{"2", "*", "3", "+", "4", "="} << "10.00";
    QTest::newRow("division") << QStringList{"1", "/", "3", "="} << "0.33";
    QTest::newRow("negative") << QStringList{"2", "-", "1", "7", "="} << "-15.00";
    QTest::newRow("square root") << QStringList{"8", "1", "Sqrt"} << "9.00";
    QTest::newRow("back") << QStringList{"1", "2", "3", "Back"} << "12";
    QTest::newRow("clear entry") << QStringList{"5", "+", "9", "CE", "2", "="} << "7.00";
    QTest::newRow("clear") << QStringList{"5", "+", "9", "C"} << "0";
    QTest::newRow("division by zero") << QStringList{"5", "/", "0", "="} << "0";
}

void TestCalculatorForm::arithmetic()
{
    QFETCH(QStringList, pressed);
    QFETCH(QString, display);
    keys(pressed);
    QCOMPARE(shown(), display);
}

void TestCalculatorForm::reduceAndSumSteps()
{
    keys({"1", "2", "3", "4"});
    QStringList reduced;
    for (int i = 0; i < 5; ++i) {
        click("ReduceBtn");
        reduced << shown();
    }
    QCOMPARE(reduced, (QStringList{"127", "19", "10", "1", "1"}));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1"));

    keys({"C", "1", "2", "3", "4"});
    click("SumBtn");
    QCOMPARE(shown(), QStringLiteral("10"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("10"));
    click("SumBtn");
    QCOMPARE(shown(), QStringLiteral("1"));

    keys({"C", "1", "9", "9"});
    click("ReduceBtn");
    QCOMPARE(shown(), QStringLiteral("28"));
}

void TestCalculatorForm::resultsWithDecimalsAndSign()
{
    keys({"7", "+", "8", "="});
    click("ReduceBtn");
    QCOMPARE(shown(), QStringLiteral("6.00"));
    keys({"C", "2", "-", "1", "7", "="});
    click("ReduceBtn");
    QCOMPARE(shown(), QStringLiteral("-6.00"));
    keys({"C", "2", "-", "1", "7", "="});
    click("SumBtn");
    QCOMPARE(shown(), QStringLiteral("-6.00"));
    QVERIFY(services.messages.isEmpty());
}

void TestCalculatorForm::tooLongForReduce()
{
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (int i = 0; i < 21; ++i)
        keys({QString::number(i % 9 + 1)});
    const QString before = shown();
    auto* reduce = form->findChild<QPushButton*>(QStringLiteral("ReduceBtn"));
    QTest::mouseClick(reduce, Qt::LeftButton);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.front().text,
             QStringLiteral("Number must be twenty (20) integers or less."));
    QCOMPARE(shown(), before);
    // After the message, typing goes on in the calculator, not on the button clicked.
    QVERIFY(form->calculator().hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(shown(), before.chopped(1));
    keys({QString::number(3)});
    click("SumBtn");  // no limit
    QCOMPARE(shown(), QStringLiteral("96"));
}

void TestCalculatorForm::memory()
{
    CalculatorWidget& calculator = form->calculator();
    QVERIFY(!calculator.hasMemory());
    QVERIFY(!form->findChild<QPushButton*>(QStringLiteral("KeyMR"))->isEnabled());
    keys({"4", "MS", "C", "6", "M+", "C", "MR"});
    QCOMPARE(shown(), QStringLiteral("10.00"));
    keys({"1", "M-", "C", "MR"});
    QCOMPARE(shown(), QStringLiteral("9.00"));
    keys({"MC"});
    QVERIFY(!calculator.hasMemory());
    QVERIFY(!form->findChild<QPushButton*>(QStringLiteral("KeyMR"))->isEnabled());
}

void TestCalculatorForm::keyboardAndPaste()
{
    CalculatorWidget& calculator = form->calculator();
    QTest::keyClicks(&calculator, QStringLiteral("12+3"));
    QTest::keyClick(&calculator, Qt::Key_Return);
    QCOMPARE(shown(), QStringLiteral("15.00"));
    QApplication::clipboard()->setText(QStringLiteral("a1b2.5x"));
    QTest::keyClick(&calculator, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(), QStringLiteral("12.5"));
    QTest::keyClick(&calculator, Qt::Key_Backspace);
    QCOMPARE(shown(), QStringLiteral("12."));
}

void TestCalculatorForm::keepsItsDisplayBetweenOpenings()
{
    keys({"4", "2", "MS"});
    form->show();
    click("CloseBtn");
    QVERIFY(!form->isVisible());
    form->show();
    QCOMPARE(shown(), QStringLiteral("42"));
    QVERIFY(form->calculator().hasMemory());
}

QTEST_MAIN(TestCalculatorForm)
#include "tst_calculatorform.moc"
