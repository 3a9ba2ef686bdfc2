#include "console/ui/toneform.h"
#include "support/recordinguiservices.h"
#include "tonegen/tonegen.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

class TestToneForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void startupDefaults();
    void foldersFollowTheWorkingFolder();

    void typingConvertsAtOnce();
    void dataFieldHoldsSixtyCharacters();
    void methodButtonSwitchesAndRewrites();
    void spaceOptionRewrites();
    void clearEmptiesBothAndFocusesData();
    void numerologyKeyFilter_data();
    void numerologyKeyFilter();
    void stopIsPerformed_data();
    void stopIsPerformed();
    void anyKeyDisarmsTimers();

private:
    template <typename T = QWidget> T* control(const char* name) const
    {
        T* widget = form->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    QTimer* timer(const char* name) const { return control<QTimer>(name); }
    void showActive();

    RecordingUiServices services;
    std::unique_ptr<TToneFrm> form;
};

void TestToneForm::init()
{
    services.clear();
    form = std::make_unique<TToneFrm>();
}

void TestToneForm::cleanup()
{
    form.reset();
}

void TestToneForm::showActive()
{
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestToneForm::window()
{
    QCOMPARE(form->objectName(), QStringLiteral("TToneFrm"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Sonarith Ver. 1.50"));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(timer("Timer1")->interval(), 500);
    QCOMPARE(timer("Timer2")->interval(), 500);
    QVERIFY(!timer("Timer1")->isActive());
    QVERIFY(!timer("Timer2")->isActive());

    // Both fields line up so that each digit stands under its character.
    const QLineEdit* data = field("DataBx");
    const QLineEdit* numbers = field("NumbBx");
    QCOMPARE(data->x(), numbers->x());
    QCOMPARE(data->width(), numbers->width());
    QCOMPARE(data->font(), numbers->font());
    QCOMPARE(data->font().pixelSize(), 13);
    QVERIFY(QFontInfo(data->font()).fixedPitch());

    // Every control lies inside the window.
    for (const QWidget* child : form->findChildren<QWidget*>()) {
        if (child->parentWidget() == form.get() && !child->objectName().startsWith(u"qt_"))
            QVERIFY2(form->rect().contains(child->geometry()), qPrintable(child->objectName()));
    }
}

void TestToneForm::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");

    const auto row = [](const char* name, const char* caption, const char* hint) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                            << QString::fromLatin1(hint);
    };
    row("DataBx", "", "Enter Data Here");
    row("NumbBx", "", "Numerology - This field may be edited.");
    row("MthBtn", "Pythagorean", "Click to Change System");
    row("ClearBtn", "", "Clear Data Entry");
    row("PlayBtn", "Play ", "Play Data Entry Analysis");
    row("BitBtn10", "Stop Play", "Stop All Tone Play");
    row("StopBtn", "Stop Play", "Stop All Tone Play");
    row("NTime", "", "Time Range 0.01 to 30.0 Seconds");
    row("TrackBar25", "", "Octave");
    row("OctaveBx", "", "Octave");
    row("PlayAllBtn", "Play All", "Play All Tones in Order.");
    row("LoopBx", " Loop Play", "");
    row("SpaceBx", " Space as Tone 0", "");
    row("DBGrid1", "", "Click column heading to sort.");
    row("ToneDB", "Tones", "Select Tones");
    row("EditBtn", "Data ", "Maintain Tone Data");
    row("CalcBtn", "Calculator", "Math Calculator");
    row("NumCalcBtn", "Numerology", "Numerology Calculator");
    row("SaveBtn", "Save", "Save Data and Tone Settings");
    row("LoadBtn", "Load", "Load Data and Tone Settings");
    row("HelpBtn", " Help", "Open Help");
    row("CloseBtn", "Exit", "Close Program");
    const char* notes[] = {"A", " A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    for (int i = 0; i < 12; ++i) {
        const QByteArray name = "ToolButton" + QByteArray::number(i + 1);
        row(name.constData(), notes[i], "Tempered Scale in half steps.");
    }
    for (int i = 0; i < 10; ++i) {
        row(("Tbx" + QByteArray::number(i)).constData(), "", "");
        row(("BitBtn" + QByteArray::number(i)).constData(), "", "");
    }
    for (const char* name : {"TrackBar1", "TrackBar7", "TrackBar2", "TrackBar3", "TrackBar4"})
        row(name, "", "");
    for (const char* name : {"Panel1", "Panel5", "Panel2", "Panel3", "Panel4"})
        row(name, "", "");
    row("RadioGroup3", "", "");
    row("DBNavigator1", "", "");
}

void TestToneForm::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    const QWidget* widget = form->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->toolTip(), hint);
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        QCOMPARE(button->text(), caption);
}

void TestToneForm::startupDefaults()
{
    QCOMPARE(field("DataBx")->text(), QStringLiteral("Enter Date Here"));
    QCOMPARE(field("NumbBx")->text(), QString());
    QCOMPARE(control<QPushButton>("MthBtn")->text(), QStringLiteral("Pythagorean"));
    QCOMPARE(form->ConsoleMethod(), 0);
    const int frequencies[] = {0, 174, 285, 396, 417, 528, 639, 741, 852, 963};
    for (int i = 0; i < 10; ++i)
        QCOMPARE(field(("Tbx" + QByteArray::number(i)).constData())->text().toInt(),
                 frequencies[i]);
    QCOMPARE(field("OctaveBx")->text(), QStringLiteral("4"));
    QCOMPARE(control<QSlider>("TrackBar25")->value(), 4);
    QCOMPARE(QLocale().toDouble(field("NTime")->text()), 0.5);
    const std::pair<const char*, int> sliders[] = {{"TrackBar1", 90},
                                                   {"TrackBar7", 70},
                                                   {"TrackBar2", 80},
                                                   {"TrackBar3", 50},
                                                   {"TrackBar4", 90}};
    for (const auto& [name, position] : sliders)
        QCOMPARE(control<QSlider>(name)->value(), position);
    QVERIFY(control<QCheckBox>("LoopBx")->isChecked());
    QVERIFY(control<QCheckBox>("SpaceBx")->isChecked());
    QCOMPARE(control<QButtonGroup>("WaveItems")->checkedId(), -1);
    QCOMPARE(form->CurrentSlot(), 0);
    for (bool flag : form->ToneFlags())
        QVERIFY(flag);
    QVERIFY(!form->StopRequest());

    // The slot generators sound for the duration shown, with the envelope the sliders show.
    for (int i = 0; i < 10; ++i) {
        const auto* generator = form->findChild<TToneGen*>(QStringLiteral("Tg%1").arg(i));
        QVERIFY(generator);
        QCOMPARE(generator->Duration(), 500);
        QCOMPARE((QList<int>{generator->Attack(), generator->Hold(), generator->Decay(),
                             generator->Sustain(), generator->Release()}),
                 (QList<int>{10, 30, 20, 50, 10}));
        QVERIFY(!generator->Async());
        QCOMPARE(generator->AMWaveforms(0), tgSawtooth);
    }
}

void TestToneForm::foldersFollowTheWorkingFolder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    TToneFrm started;
    QDir::setCurrent(previous);

    const QString dataFolder = QDir(folder.path()).canonicalPath();
    QCOMPARE(started.DataFolder(), dataFolder);
    QCOMPARE(started.SettingsFolder(), dataFolder + QStringLiteral("/ToneData"));
    QCOMPARE(started.HelpFilePath(), dataFolder + QStringLiteral("/Velnora.chm"));
}

void TestToneForm::typingConvertsAtOnce()
{
    QLineEdit* data = field("DataBx");
    data->clear();
    QTest::keyClicks(data, QStringLiteral("ma"));
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("41"));
    QTest::keyClicks(data, QStringLiteral("ry"));
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("4197"));
    QTest::keyClick(data, Qt::Key_Backspace);
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("419"));
}

void TestToneForm::dataFieldHoldsSixtyCharacters()
{
    QLineEdit* data = field("DataBx");
    data->clear();
    QTest::keyClicks(data, QString(61, u'a'));
    QCOMPARE(data->text().size(), 60);
    QCOMPARE(field("NumbBx")->text(), QString(60, u'1'));
}

void TestToneForm::methodButtonSwitchesAndRewrites()
{
    auto* method = control<QPushButton>("MthBtn");
    field("DataBx")->setText(QStringLiteral("MARY"));
    field("NumbBx")->setText(QStringLiteral("P9 9"));  // a hand edit

    QTest::mouseClick(method, Qt::LeftButton);
    QCOMPARE(method->text(), QStringLiteral("Chaldean"));
    QCOMPARE(form->ConsoleMethod(), 1);
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("4121"));

    // Typing now converts with the new table.
    QTest::keyClicks(field("DataBx"), QStringLiteral("F"));
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("41218"));

    field("NumbBx")->setText(QStringLiteral("P"));
    QTest::mouseClick(method, Qt::LeftButton);
    QCOMPARE(method->text(), QStringLiteral("Pythagorean"));
    QCOMPARE(form->ConsoleMethod(), 0);
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("41976"));
}

void TestToneForm::spaceOptionRewrites()
{
    auto* space = control<QCheckBox>("SpaceBx");
    control<QPushButton>("MthBtn")->click();  // Chaldean
    field("DataBx")->setText(QStringLiteral("MARY ANN"));
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("41210155"));

    QTest::mouseClick(space, Qt::LeftButton);
    QVERIFY(!space->isChecked());
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("4121 155"));

    space->setChecked(true);  // set by the program: the same reaction
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("41210155"));
}

void TestToneForm::clearEmptiesBothAndFocusesData()
{
    showActive();
    field("NumbBx")->setFocus();
    field("DataBx")->setText(QStringLiteral("A B"));
    QTest::mouseClick(control<QPushButton>("ClearBtn"), Qt::LeftButton);
    QCOMPARE(field("DataBx")->text(), QString());
    QCOMPARE(field("NumbBx")->text(), QString());
    QTRY_VERIFY(field("DataBx")->hasFocus());
}

void TestToneForm::numerologyKeyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    const int none = Qt::NoModifier;
    QTest::newRow("digit 0") << int(Qt::Key_0) << none << "0" << true;
    QTest::newRow("digit 9") << int(Qt::Key_9) << none << "9" << true;
    QTest::newRow("blank") << int(Qt::Key_Space) << none << " " << true;
    QTest::newRow("P") << int(Qt::Key_P) << int(Qt::ShiftModifier) << "P" << true;
    QTest::newRow("p") << int(Qt::Key_P) << none << "p" << true;
    QTest::newRow("q") << int(Qt::Key_Q) << none << "q" << false;
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << "-" << false;
    QTest::newRow("accented letter") << int(Qt::Key_Eacute) << none << "\u00e9" << false;
    QTest::newRow("paste shortcut") << int(Qt::Key_V) << int(Qt::ControlModifier) << "" << false;
    QTest::newRow("copy shortcut") << int(Qt::Key_C) << int(Qt::ControlModifier) << "" << false;
    QTest::newRow("enter") << int(Qt::Key_Return) << none << "\r" << false;
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << "\x1b" << false;
}

void TestToneForm::numerologyKeyFilter()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    QApplication::clipboard()->setText(QStringLiteral("7"));
    QLineEdit* numbers = field("NumbBx");
    numbers->setText(QStringLiteral("12"));
    numbers->setCursorPosition(2);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), typed);
    QApplication::sendEvent(numbers, &press);

    QCOMPARE(numbers->text(), accepted ? QStringLiteral("12") + typed : QStringLiteral("12"));
    QCOMPARE(services.beeps, accepted ? 0 : 1);
}

void TestToneForm::stopIsPerformed_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("method button") << "MthBtn";
    QTest::newRow("space option") << "SpaceBx";
    QTest::newRow("loop option") << "LoopBx";
    QTest::newRow("stop button") << "StopBtn";
    QTest::newRow("second stop button") << "BitBtn10";
}

void TestToneForm::stopIsPerformed()
{
    QFETCH(QString, control);
    timer("Timer1")->start();
    timer("Timer2")->start();
    QVERIFY(!form->StopRequest());
    QTest::mouseClick(form->findChild<QAbstractButton*>(control), Qt::LeftButton);
    QVERIFY(form->StopRequest());
    QVERIFY(!timer("Timer1")->isActive());
    QVERIFY(!timer("Timer2")->isActive());
}

void TestToneForm::anyKeyDisarmsTimers()
{
    showActive();
    for (const char* name : {"DataBx", "NumbBx", "MthBtn"}) {
        timer("Timer1")->start();
        timer("Timer2")->start();
        QTest::keyClick(control(name), Qt::Key_Shift);
        QVERIFY2(!timer("Timer1")->isActive(), name);
        QVERIFY2(!timer("Timer2")->isActive(), name);
    }
    // A key does not ask for a Stop: a pass in progress goes on.
    QVERIFY(!form->StopRequest());
}

QTEST_MAIN(TestToneForm)
#include "tst_toneform.moc"
