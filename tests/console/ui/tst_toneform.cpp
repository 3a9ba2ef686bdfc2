#include "console/render.h"
#include "console/tonesettings.h"
#include "console/ui/toneform.h"
#include "controls/numericedit.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"
#include "tonegen/tonegen.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
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

    void calculatorOpensModally();
    void enterPressesTheFocusedButton();
    void slotHighlightFollowsFocus();
    void noteEntersCurrentSlot();
    void octaveSliderAndField();
    void fieldsRefuseBadValues_data();
    void fieldsRefuseBadValues();
    void slotPreparesOnlyWhenFlagged();
    void slidersSetPanelsAndGenerators_data();
    void slidersSetPanelsAndGenerators();
    void waveChoiceSetsGeneratorsWithoutStop();
    void durationGoesToGenerators();
    void envelopeDrawing_data();
    void envelopeDrawing();

    void settingsRoundTrip();
    void settingsSavedAfterStartup();
    void settingsFileFailures_data();
    void settingsFileFailures();
    void unreadableSettingsFile_data();
    void unreadableSettingsFile();
    void octaveLineGoesThroughTheField_data();
    void octaveLineGoesThroughTheField();
    void saveProposesAFileName_data();
    void saveProposesAFileName();
    void defaultSettingsAtStartup();
    void exportedSoundIsTheRenderedPass_data();
    void exportedSoundIsTheRenderedPass();
    void exportFailuresLeaveFilesAlone_data();
    void exportFailuresLeaveFilesAlone();

private:
    template <typename T = QWidget> T* control(const char* name) const
    {
        return findControl<T>(*form, name);
    }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    NumericEdit* slotField(int slot) const
    {
        return control<NumericEdit>(("Tbx" + QByteArray::number(slot)).constData());
    }
    TToneGen* generator(int slot) const
    {
        return control<TToneGen>(("Tg" + QByteArray::number(slot)).constData());
    }
    // Tones this short keep the tests quick.
    void setDuration(const char* seconds)
    {
        field("NTime")->setText(QString::fromLatin1(seconds));
        form->NTimeAfterExit();
    }
    QString writeFile(const QString& name, const QStringList& lines);
    QTimer* timer(const char* name) const { return control<QTimer>(name); }
    void showActive();

    RecordingUiServices services;
    std::unique_ptr<TToneFrm> form;
    QTemporaryDir folder;
};

QString TestToneForm::writeFile(const QString& name, const QStringList& lines)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tonesettings::fileBytes(lines)) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

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
    QTest::newRow("exit") << "CloseBtn";
    QTest::newRow("export sound, cancelled") << "ExportBtn";
}

void TestToneForm::stopIsPerformed()
{
    QFETCH(QString, control);
    form->PlayBtnClick();
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
    form->PlayBtnClick();
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

void TestToneForm::calculatorOpensModally()
{
    QDialog calculator;
    form->SetCalculatorForm(&calculator);
    control<QPushButton>("CalcBtn")->click();
    QCOMPARE(services.dialogs, QList<QDialog*>{&calculator});
}

void TestToneForm::enterPressesTheFocusedButton()
{
    QDialog calculator;
    form->SetCalculatorForm(&calculator);
    showActive();
    auto* button = control<QPushButton>("CalcBtn");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(services.dialogs.size(), 1);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(services.dialogs.size(), 2);
    // Enter in a field is the field's: the data field does not press anything.
    field("DataBx")->setFocus();
    QTest::keyClick(field("DataBx"), Qt::Key_Return);
    QCOMPARE(services.dialogs.size(), 2);
}

void TestToneForm::slotHighlightFollowsFocus()
{
    showActive();
    const QColor window = form->palette().color(QPalette::Base);
    const auto highlighted = [&] {
        QList<int> current;
        for (int i = 0; i < 10; ++i) {
            const QColor color = slotField(i)->palette().color(QPalette::Base);
            if (color == window)
                current << i;
            else if (color != QColor(Qt::yellow))
                current << -1;
        }
        return current;
    };
    QCOMPARE(highlighted(), QList<int>{0});
    slotField(7)->setFocus();
    QCOMPARE(form->CurrentSlot(), 7);
    QCOMPARE(highlighted(), QList<int>{7});
}

void TestToneForm::noteEntersCurrentSlot()
{
    showActive();
    setDuration("0.010");
    slotField(3)->setFocus();
    auto* octave = control<QSlider>("TrackBar25");
    octave->setValue(4);
    QTest::mouseClick(control<QToolButton>("ToolButton1"), Qt::LeftButton);  // A
    QCOMPARE(slotField(3)->wholeValue(), 440);
    QCOMPARE(generator(3)->Frequency(), 440);
    QVERIFY(!form->ToneFlags()[3]);  // it sounded at once
    QCOMPARE(slotField(0)->wholeValue(), 0);
    QCOMPARE(slotField(4)->wholeValue(), 417);

    octave->setValue(0);
    control<QToolButton>("ToolButton1")->click();
    QCOMPARE(slotField(3)->wholeValue(), 28);
    octave->setValue(5);
    control<QToolButton>("ToolButton2")->click();  // " A#"
    QCOMPARE(slotField(3)->wholeValue(), 932);
}

void TestToneForm::octaveSliderAndField()
{
    auto* octave = control<QSlider>("TrackBar25");
    const auto enabledNotes = [&] {
        QString notes;
        for (int i = 1; i <= 12; ++i)
            notes += control<QToolButton>(("ToolButton" + QByteArray::number(i)).constData())
                             ->isEnabled()
                         ? u'1'
                         : u'0';
        return notes;
    };
    QCOMPARE(enabledNotes(), QStringLiteral("111111111111"));
    octave->setValue(9);
    QCOMPARE(field("OctaveBx")->text(), QStringLiteral("9"));
    QCOMPARE(enabledNotes(), QStringLiteral("111111100000"));
    octave->setValue(8);
    QCOMPARE(enabledNotes(), QStringLiteral("111111111111"));

    field("OctaveBx")->selectAll();  // typing over the digit
    QTest::keyClicks(field("OctaveBx"), QStringLiteral("9"));
    QCOMPARE(octave->value(), 9);
    QCOMPARE(enabledNotes(), QStringLiteral("111111100000"));
    QTest::keyClicks(field("OctaveBx"), QStringLiteral("7"));  // one digit only
    QCOMPARE(field("OctaveBx")->text(), QStringLiteral("9"));
}

void TestToneForm::fieldsRefuseBadValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted, shown as
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("refusedKeys");  // each one beeps

    QTest::newRow("frequency too high") << "Tbx2"
                                        << "25000" << NumericEdit::kOutOfRange << "" << 0;
    QTest::newRow("frequency empty") << "Tbx2"
                                     << "" << NumericEdit::kNotValid << "" << 0;
    QTest::newRow("frequency grouped") << "Tbx2"
                                       << "20000"
                                       << "" << QLocale().toString(20000) << 0;
    QTest::newRow("frequency with a point") << "Tbx2"
                                            << "440.5"
                                            << "" << QLocale().toString(4405) << 1;
    QTest::newRow("duration too long") << "NTime"
                                       << "45" << NumericEdit::kOutOfRange << "" << 0;
    QTest::newRow("duration too short") << "NTime"
                                        << "0" << NumericEdit::kOutOfRange << "" << 0;
    QTest::newRow("duration") << "NTime"
                              << "1.5"
                              << "" << QLocale().toString(1.5, 'f', 3) << 0;
    QTest::newRow("duration with a comma") << "NTime"
                                           << "1,5"
                                           << "" << QLocale().toString(1.5, 'f', 3) << 0;
    QTest::newRow("duration with a letter") << "NTime"
                                            << "1x"
                                            << "" << QLocale().toString(1.0, 'f', 3) << 1;
}

void TestToneForm::fieldsRefuseBadValues()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QFETCH(int, refusedKeys);

    showActive();
    auto* edit = form->findChild<NumericEdit*>(name);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(services.beeps, refusedKeys);
    field("DataBx")->setFocus();
    if (message.isEmpty()) {
        QVERIFY(services.messages.isEmpty());
        QCOMPARE(edit->text(), shown);
        return;
    }
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.front().text, message);
    QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::red));
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
    QTRY_VERIFY(edit->hasFocus());  // the field is not left
}

void TestToneForm::slotPreparesOnlyWhenFlagged()
{
    setDuration("0.010");
    auto* play = control<QPushButton>("BitBtn0");
    QVERIFY(form->ToneFlags()[0]);
    play->click();
    QCOMPARE(generator(0)->Frequency(), 20);  // a slot at 0 Hz sounds at 20 Hz
    QVERIFY(!form->ToneFlags()[0]);
    QVERIFY(!generator(0)->ToneChanged());

    slotField(0)->setNumber(300);
    QVERIFY(form->ToneFlags()[0]);
    play->click();
    QCOMPARE(generator(0)->Frequency(), 300);
    generator(0)->SetFrequency(301);  // changed behind the console's back:
    play->click();                    // no flag, so no new preparation from the field
    QCOMPARE(generator(0)->Frequency(), 301);
}

void TestToneForm::slidersSetPanelsAndGenerators_data()
{
    QTest::addColumn<QList<int>>("positions");  // Attack, Hold, Decay, Sustain, Release
    QTest::addColumn<QStringList>("panels");

    QTest::newRow("start-up") << QList<int>{90, 70, 80, 50, 90}
                              << QStringList{"10%", "30%", "20%", "50%", "10%"};
    QTest::newRow("over 100 scaled")
        << QList<int>{60, 60, 60, 50, 80} << QStringList{"28%", "28%", "28%", "50%", "14%"};
    QTest::newRow("all full") << QList<int>{0, 0, 0, 50, 0}
                              << QStringList{"25%", "25%", "25%", "50%", "25%"};
}

void TestToneForm::slidersSetPanelsAndGenerators()
{
    QFETCH(QList<int>, positions);
    QFETCH(QStringList, panels);
    const char* sliders[] = {"TrackBar1", "TrackBar7", "TrackBar2", "TrackBar3", "TrackBar4"};
    const char* panelNames[] = {"Panel1", "Panel5", "Panel2", "Panel3", "Panel4"};
    control<QSlider>("TrackBar3")->setValue(0);  // a move from somewhere else
    form->PlayBtnClick();
    for (int i = 0; i < 5; ++i)
        control<QSlider>(sliders[i])->setValue(positions[i]);
    QVERIFY(form->StopRequest());
    QVERIFY(!timer("Timer1")->isActive());
    for (bool flag : form->ToneFlags())
        QVERIFY(flag);
    QStringList shown;
    for (const char* panel : panelNames)
        shown << control<QLabel>(panel)->text();
    QCOMPARE(shown, panels);
    for (int slot : {0, 9}) {
        const TToneGen* g = generator(slot);
        QCOMPARE((QStringList{
                     QStringLiteral("%1%").arg(g->Attack()), QStringLiteral("%1%").arg(g->Hold()),
                     QStringLiteral("%1%").arg(g->Decay()), QStringLiteral("%1%").arg(g->Sustain()),
                     QStringLiteral("%1%").arg(g->Release())}),
                 panels);
    }
}

void TestToneForm::waveChoiceSetsGeneratorsWithoutStop()
{
    form->PlayBtnClick();
    QTest::mouseClick(control<QAbstractButton>("WaveItem1"), Qt::LeftButton);
    for (int slot = 0; slot < 10; ++slot)
        QCOMPARE(generator(slot)->Waveform(), tgSquare);
    QVERIFY(!form->StopRequest());
    QVERIFY(timer("Timer1")->isActive());
    timer("Timer1")->stop();
}

void TestToneForm::durationGoesToGenerators()
{
    showActive();
    form->PlayBtnClick();
    auto* duration = control<NumericEdit>("NTime");
    duration->setFocus();
    QVERIFY(form->StopRequest());  // entering the field stops
    duration->clear();
    QTest::keyClicks(duration,
                     QStringLiteral("1") + QLocale().decimalPoint() + QStringLiteral("5"));
    field("DataBx")->setFocus();
    for (int slot = 0; slot < 10; ++slot) {
        QCOMPARE(generator(slot)->Duration(), 1500);
        QVERIFY(form->ToneFlags()[slot]);
    }
}

void TestToneForm::envelopeDrawing_data()
{
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<QColor>>("colors");

    const QColor red(0xff, 0, 0), purple(0x80, 0, 0x80), blue(0, 0, 0xff), green(0, 0x80, 0),
        navy(0, 0, 0x80), white(Qt::white);
    // Bevel1 at 281, 101, 197 x 122: x0 282, y0 105, w 196, h 116, bottom 221.
    QTest::newRow("start-up: 10, 30, 20, sustain 50, 10")
        << QList<int>{90, 70, 80, 50, 90}
        << QList<QPoint>{{290, 110}, {299, 215}, {330, 150}, {380, 200}, {380, 120},
                         {430, 190}, {430, 150}, {470, 215}, {476, 170}}
        << QList<QColor>{white, red, purple, blue, white, green, white, navy, white};
    QTest::newRow("shares over 100: no sustain band")
        << QList<int>{0, 0, 0, 50, 0}
        << QList<QPoint>{{330, 215}, {350, 150}, {400, 200}, {450, 215}, {440, 170}}
        << QList<QColor>{red, purple, blue, navy, white};
    QTest::newRow("sustain at the top")
        << QList<int>{90, 70, 80, 0, 90} << QList<QPoint>{{380, 107}, {430, 106}, {430, 221}}
        << QList<QColor>{blue, green, green};
}

void TestToneForm::envelopeDrawing()
{
    QFETCH(QList<int>, positions);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<QColor>, colors);
    const char* sliders[] = {"TrackBar1", "TrackBar7", "TrackBar2", "TrackBar3", "TrackBar4"};
    for (int i = 0; i < 5; ++i)
        control<QSlider>(sliders[i])->setValue(positions[i]);
    const QImage picture = form->grab().toImage();
    for (qsizetype i = 0; i < points.size(); ++i)
        QVERIFY2(picture.pixelColor(points[i]) == colors[i],
                 qPrintable(QStringLiteral("(%1, %2) is %3, expected %4")
                                .arg(points[i].x())
                                .arg(points[i].y())
                                .arg(picture.pixelColor(points[i]).name(), colors[i].name())));
}

void TestToneForm::settingsRoundTrip()
{
    const QString path = folder.filePath(QStringLiteral("round.tns"));
    control<QPushButton>("MthBtn")->click();  // Chaldean
    control<QCheckBox>("SpaceBx")->setChecked(false);
    field("DataBx")->setText(QStringLiteral("Ann Lee"));
    field("NumbBx")->setText(QStringLiteral("15P 3"));  // edited by hand
    for (int i = 0; i < 10; ++i)
        slotField(i)->setNumber(1000 + i);
    field("NTime")->setText(QLocale().toString(1.25, 'f', 3));
    const char* sliders[] = {"TrackBar1", "TrackBar7", "TrackBar2", "TrackBar3", "TrackBar4"};
    for (int i = 0; i < 5; ++i)
        control<QSlider>(sliders[i])->setValue(10 * (i + 1));
    control<QAbstractButton>("WaveItem2")->click();
    control<QSlider>("TrackBar25")->setValue(6);
    control<QCheckBox>("LoopBx")->setChecked(false);

    services.fileAnswers << path;
    control<QPushButton>("SaveBtn")->click();
    QCOMPARE(services.fileRequests.size(), 1);
    const UiServices::FileRequest& asked = services.fileRequests.front();
    QCOMPARE(asked.title, QStringLiteral("Save Tone Settings"));
    QCOMPARE(asked.folder, form->DataFolder() + QStringLiteral("/ToneData"));
    QCOMPARE(asked.proposedName, QStringLiteral("Ann Lee"));
    QCOMPARE(asked.filter, QStringLiteral("Tone Settings  [*.tns]|*.tns"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("tns"));
    QCOMPARE(form->SettingsFolder(), folder.path());

    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QCOMPARE(bytes.count("\r\n"), 24);
    QVERIFY(bytes.startsWith("1\r\nAnn Lee\r\n15P 3\r\n1\r\n1000\r\n"));

    TToneFrm loaded;
    services.fileAnswers << path.chopped(4);  // the extension is added to a name without one
    loaded.findChild<QPushButton*>(QStringLiteral("LoadBtn"))->click();
    const auto text = [&](const char* name) {
        return loaded.findChild<QLineEdit*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("DataBx"), QStringLiteral("Ann Lee"));
    QCOMPARE(text("NumbBx"), QStringLiteral("15P 3"));
    QCOMPARE(loaded.ConsoleMethod(), 1);
    QCOMPARE(loaded.findChild<QPushButton*>(QStringLiteral("MthBtn"))->text(),
             QStringLiteral("Chaldean"));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(loaded.findChild<NumericEdit*>(QStringLiteral("Tbx%1").arg(i))->wholeValue(),
                 1000 + i);
    QCOMPARE(text("NTime"), QLocale().toString(1.25, 'f', 3));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(loaded.findChild<QSlider*>(QLatin1String(sliders[i]))->value(), 10 * (i + 1));
    QCOMPARE(loaded.findChild<QButtonGroup*>(QStringLiteral("WaveItems"))->checkedId(), 2);
    QCOMPARE(text("OctaveBx"), QStringLiteral("6"));
    QCOMPARE(loaded.findChild<QSlider*>(QStringLiteral("TrackBar25"))->value(), 6);
    QVERIFY(!loaded.findChild<QCheckBox*>(QStringLiteral("LoopBx"))->isChecked());
    QVERIFY(!loaded.findChild<QCheckBox*>(QStringLiteral("SpaceBx"))->isChecked());
    for (int i = 0; i < 10; ++i) {
        QVERIFY(loaded.ToneFlags()[i]);
        const auto* g = loaded.findChild<TToneGen*>(QStringLiteral("Tg%1").arg(i));
        QCOMPARE(g->Duration(), 1250);
        QCOMPARE(g->Waveform(), tgTriangle);
    }
}

void TestToneForm::settingsSavedAfterStartup()
{
    const QString path = folder.filePath(QStringLiteral("Enter Date Here.tns"));
    services.fileAnswers << path;
    control<QPushButton>("SaveBtn")->click();
    QCOMPARE(services.fileRequests.front().proposedName, QStringLiteral("Enter Date Here"));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QStringList lines = tonesettings::readLines(saved.readAll());
    QCOMPARE(lines.first(), QStringLiteral("1"));
    QCOMPARE(lines.mid(15), (QStringList{"90", "70", "80", "50", "90", "-1", "4", "1", "1"}));
}

void TestToneForm::settingsFileFailures_data()
{
    QTest::addColumn<int>("lines");         // lines kept of a full file
    QTest::addColumn<QString>("duration");  // line 15 when kept
    QTest::addColumn<QString>("message");

    QTest::newRow("ten lines") << 10 << ""
                               << "'' is not a valid floating point value";
    QTest::newRow("bad duration") << 24 << "half"
                                  << "'half' is not a valid floating point value";
    QTest::newRow("twenty lines") << 20 << "2.000"
                                  << "";
}

void TestToneForm::settingsFileFailures()
{
    QFETCH(int, lines);
    QFETCH(QString, duration);
    QFETCH(QString, message);

    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.dataText = QStringLiteral("ZZ");
    settings.numerologyText = QStringLiteral("12");
    for (int i = 0; i < 10; ++i)
        settings.frequencies[std::size_t(i)] = 500 + i;
    QStringList file = tonesettings::linesOf(settings);
    file[14] = duration;
    const QString path = writeFile(QStringLiteral("short.tns"), file.mid(0, lines));
    const QString shownBefore = field("NTime")->text();
    form->loadSettingsFile(path);

    if (!message.isEmpty()) {
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().text, message);
        QCOMPARE(field("NTime")->text(), shownBefore);
        // The data text went in before the failure and was converted as usual.
        QCOMPARE(field("NumbBx")->text(), lines > 2 ? QStringLiteral("12") : QStringLiteral("88"));
        QCOMPARE(slotField(9)->wholeValue(), lines >= 14 ? 509 : 0);
        QCOMPARE(slotField(5)->wholeValue(), 505);
        return;
    }
    QVERIFY(services.messages.isEmpty());
    // Missing whole-number lines count as 0: no wave chosen becomes sine, options unchecked.
    QCOMPARE(control<QButtonGroup>("WaveItems")->checkedId(), 0);
    QCOMPARE(field("OctaveBx")->text(), QStringLiteral("0"));
    QVERIFY(!control<QCheckBox>("LoopBx")->isChecked());
    QVERIFY(!control<QCheckBox>("SpaceBx")->isChecked());
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("12"));
    QCOMPARE(generator(0)->Duration(), 2000);
}

void TestToneForm::unreadableSettingsFile_data()
{
    QTest::addColumn<bool>("folder");  // a folder by the file's name; else a file nobody may read
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << true << "Is a directory";
    QTest::newRow("not readable") << false << "Permission denied";
}

// Load and the start-up read say why the system refused the file, and change nothing.
void TestToneForm::unreadableSettingsFile()
{
    QFETCH(bool, folder);
    QFETCH(QString, reason);
    QTemporaryDir data;
    QVERIFY(data.isValid());
    const QString path = data.filePath(QStringLiteral("default.tns"));
    if (folder) {
        QVERIFY(QDir(data.path()).mkdir(QStringLiteral("default.tns")));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(tonesettings::fileBytes(tonesettings::linesOf(ConsoleSettings())));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::Permissions()));
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("this user may read any file");
    }

    services.fileAnswers << path;
    control<QPushButton>("LoadBtn")->click();
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.front().text,
             QStringLiteral("Cannot open file %1. %2").arg(path, reason));
    QCOMPARE(field("DataBx")->text(), QStringLiteral("Enter Date Here"));

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(data.path()));
    TToneFrm started;
    QDir::setCurrent(previous);
    QCOMPARE(services.messages.size(), 2);
    QCOMPARE(
        services.messages.back().text,
        QStringLiteral("Cannot open file %1/default.tns. %2").arg(started.DataFolder(), reason));
}

void TestToneForm::octaveLineGoesThroughTheField_data()
{
    QTest::addColumn<int>("before");  // the octave slider's position before the load
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("octave");

    QTest::newRow("one digit") << 4 << "6" << 6;
    QTest::newRow("two digits: the slider's end") << 4 << "12" << 9;
    QTest::newRow("two digits, slider already at its end") << 9 << "12" << 9;
    QTest::newRow("below the slider") << 4 << "-3" << 0;
}

void TestToneForm::octaveLineGoesThroughTheField()
{
    QFETCH(int, before);
    QFETCH(QString, line);
    QFETCH(int, octave);
    control<QSlider>("TrackBar25")->setValue(before);
    QStringList lines = tonesettings::linesOf(ConsoleSettings::builtInDefaults());
    lines[tonesettings::Octave - 1] = line;
    form->loadSettingsFile(writeFile(QStringLiteral("octave.tns"), lines));
    QVERIFY(services.messages.isEmpty());
    QCOMPARE(control<QSlider>("TrackBar25")->value(), octave);
    QCOMPARE(field("OctaveBx")->text(), QString::number(octave));
    QCOMPARE(field("OctaveBx")->maxLength(), 1);  // typing still takes one digit
}

void TestToneForm::saveProposesAFileName_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("proposed");

    QTest::newRow("as typed") << "Enter Date Here"
                              << "Enter Date Here";
    QTest::newRow("a date's slashes") << "Born 12/25/1990"
                                      << "Born 12-25-1990";
    QTest::newRow("blanks and control characters") << " \tAnn\tLee\x01 "
                                                   << "Ann-Lee";
}

// The name proposed is one the file can have: saved under it, the file is there.
void TestToneForm::saveProposesAFileName()
{
    QFETCH(QString, data);
    QFETCH(QString, proposed);
    field("DataBx")->setText(data);
    services.fileAnswers << folder.filePath(proposed);
    control<QPushButton>("SaveBtn")->click();
    QCOMPARE(services.fileRequests.front().proposedName, proposed);
    QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.value(0).text));
    QVERIFY(QFileInfo(folder.filePath(proposed + QStringLiteral(".tns"))).isFile());
}

// A file whose space option differs: loaded, its numerology text stays; at start-up the
// numerology field is rewritten from the data text.
void TestToneForm::defaultSettingsAtStartup()
{
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.dataText = QStringLiteral("A B");
    settings.numerologyText = QStringLiteral("9 9");
    settings.spaceAsZero = false;
    settings.durationSeconds = 0.75;
    const QString path = writeFile(QStringLiteral("default.tns"), tonesettings::linesOf(settings));

    form->loadSettingsFile(path);
    QCOMPARE(field("NumbBx")->text(), QStringLiteral("9 9"));

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    TToneFrm started;
    QDir::setCurrent(previous);
    QCOMPARE(started.findChild<QLineEdit*>(QStringLiteral("DataBx"))->text(),
             QStringLiteral("A B"));
    QCOMPARE(started.findChild<QLineEdit*>(QStringLiteral("NumbBx"))->text(),
             QStringLiteral("1 2"));
    QCOMPARE(started.findChild<TToneGen*>(QStringLiteral("Tg4"))->Duration(), 750);
}

void TestToneForm::exportedSoundIsTheRenderedPass_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QStringList>("cliInput");  // what the command line is given to play

    QTest::newRow("a name typed at start-up")
        << false << "Mary Lee"
        << "Mary Lee" << QStringList{QStringLiteral("Mary Lee")};
    QTest::newRow("every setting changed, digits edited")
        << true << " Ann/Lee "
        << "Ann-Lee" << QStringList{QStringLiteral("--digits"), QStringLiteral("15P 3p90")};
}

// The file holds one pass of the numerology field, byte for byte what the command line renders
// from the settings "Save" writes for the same state.
void TestToneForm::exportedSoundIsTheRenderedPass()
{
    QFETCH(bool, edited);
    QFETCH(QString, data);
    QFETCH(QString, proposed);
    QFETCH(QStringList, cliInput);
    field("DataBx")->setText(data);
    if (edited) {
        control<QPushButton>("MthBtn")->click();  // Chaldean
        control<QCheckBox>("SpaceBx")->setChecked(false);
        field("NumbBx")->setText(QStringLiteral("15P 3p90"));
        for (int i = 0; i < 10; ++i)
            slotField(i)->setNumber(300 + 50 * i);
        setDuration("0.125");
        const char* sliders[] = {"TrackBar1", "TrackBar7", "TrackBar2", "TrackBar3", "TrackBar4"};
        for (int i = 0; i < 5; ++i)
            control<QSlider>(sliders[i])->setValue(15 * (i + 1));
        control<QAbstractButton>("WaveItem3")->click();
        control<QSlider>("TrackBar25")->setValue(7);
    }
    const QString settings = folder.filePath(QStringLiteral("state.tns"));
    services.fileAnswers << settings;
    control<QPushButton>("SaveBtn")->click();
    const QString sound = folder.filePath(QStringLiteral("state"));  // ".wav" is added
    services.fileAnswers << sound;
    control<QPushButton>("ExportBtn")->click();
    QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.value(0).text));

    QCOMPARE(services.fileRequests.size(), 2);
    const UiServices::FileRequest& asked = services.fileRequests.back();
    QCOMPARE(asked.title, QStringLiteral("Export Sound"));
    QCOMPARE(asked.folder, folder.path());  // where the settings went
    QCOMPARE(asked.proposedName, proposed);
    QCOMPARE(asked.filter, QStringLiteral("Wave Sound  (*.wav)|*.wav"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("wav"));
    QCOMPARE(form->SettingsFolder(), folder.path());

    QFile exportedFile(sound + QStringLiteral(".wav"));
    QVERIFY(exportedFile.open(QIODevice::ReadOnly));
    const QByteArray exported = exportedFile.readAll();
    QVERIFY(exported.startsWith("RIFF"));

    QFile savedFile(settings);
    QVERIFY(savedFile.open(QIODevice::ReadOnly));
    QString error;
    const std::optional<ConsoleSettings> saved =
        tonesettings::settingsOf(tonesettings::readLines(savedFile.readAll()), &error);
    QVERIFY2(saved, qPrintable(error));
    const std::optional<QByteArray> rendered = renderPass(field("NumbBx")->text(), *saved, &error);
    QVERIFY2(rendered, qPrintable(error));
    QVERIFY2(exported == *rendered, qPrintable(QStringLiteral("%1 bytes exported, %2 rendered")
                                                   .arg(exported.size())
                                                   .arg(rendered->size())));

    const QString byCli = folder.filePath(QStringLiteral("cli.wav"));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              QStringList{QStringLiteral("render"), QStringLiteral("--settings"), settings,
                          QStringLiteral("-o"), byCli} +
                  cliInput);
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    QFile cliFile(byCli);
    QVERIFY(cliFile.open(QIODevice::ReadOnly));
    QVERIFY2(exported == cliFile.readAll(), "the command line renders another sound");
}

void TestToneForm::exportFailuresLeaveFilesAlone_data()
{
    QTest::addColumn<QString>("chosen");  // in the test's folder; empty: the dialog is cancelled
    QTest::addColumn<QString>("reason");  // empty: no message

    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("too long for a WAVE file")
        << "old.wav"
        << "The sound would be longer than a WAVE file can hold";
    QTest::newRow("a folder by that name") << "taken.wav"
                                           << "Filename refers to a directory";
    QTest::newRow("a folder nobody may write in") << "locked/old.wav"
                                                  << "Permission denied";
}

// An export that is cancelled or fails writes nothing, and a file it would have replaced keeps
// its content.
void TestToneForm::exportFailuresLeaveFilesAlone()
{
    QFETCH(QString, chosen);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QDir here(folder.path());
    QVERIFY(here.mkdir(QStringLiteral("taken.wav")));
    QVERIFY(here.mkdir(QStringLiteral("locked")));
    const QStringList earlierFiles{QStringLiteral("old.wav"), QStringLiteral("locked/old.wav")};
    for (const QString& name : earlierFiles) {
        QFile earlier(folder.filePath(name));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier sound");
    }
    const auto contents = [&] {
        QStringList listing;
        for (const QString& name : earlierFiles) {
            QFile file(folder.filePath(name));
            listing << name + u'=' +
                           QString::fromLatin1(file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                              : "unreadable");
        }
        QDirIterator all(folder.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
        while (all.hasNext())
            listing << all.next();
        listing.sort();
        return listing;
    };
    const QStringList before = contents();

    QFile locked(folder.filePath(QStringLiteral("locked")));
    if (chosen.startsWith(u"locked/")) {
        QVERIFY(locked.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(folder.filePath(QStringLiteral("locked/probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QVERIFY(locked.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner));
            QSKIP("this user may write in any folder");
        }
    }
    if (reason.startsWith(u"The sound")) {
        // 1,700 tones of 30 seconds: more than 4 GiB of samples.
        field("NumbBx")->setText(QString(1700, u'1'));
        setDuration("30.000");
    }
    if (!chosen.isEmpty())
        services.fileAnswers << folder.filePath(chosen);
    control<QPushButton>("ExportBtn")->click();
    QVERIFY(locked.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner));

    QCOMPARE(services.fileRequests.size(), 1);
    if (reason.isEmpty()) {
        QVERIFY(services.messages.isEmpty());
    } else {
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().text,
                 QStringLiteral("Cannot create file %1. %2").arg(folder.filePath(chosen), reason));
        QCOMPARE(services.messages.front().kind, UiServices::MessageKind::Error);
    }
    QCOMPARE(contents(), before);
}

QTEST_MAIN(TestToneForm)
#include "tst_toneform.moc"
