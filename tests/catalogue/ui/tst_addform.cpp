#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/deleteform.h"
#include "catalogue/ui/reportsetupform.h"
#include "report/ui/reportpreview.h"
#include "support/cataloguefaults.h"
#include "support/controls.h"
#include "support/documents.h"
#include "support/recordinguiservices.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace catalogue;

namespace {

// In the order "icategory": Body comes first and is current when the window opens.
const QList<ToneRecord> kRecords{
    {"Body", "Heart", 528, "Puleo"},
    {"Planets", "Earth", 136, "Cousto"},
    {"Solfeggio", "UT", 396, "Horowitz"},
};

// Every stored record as "CPS|Category|SubCategory|Source", sorted as text.
QStringList stored(TonesDatabase& database)
{
    TonesCursor reader(database);
    reader.setIndex(ToneIndex::PrimaryKey);
    if (!reader.open())
        return {QStringLiteral("unreadable")};
    QStringList rows;
    for (int row = 0; row < reader.rowCount(); ++row) {
        const ToneRecord r = reader.record(row);
        rows << QStringList{r.text(Field::Cps), r.category, r.subCategory, r.source}.join(u'|');
    }
    rows.sort();
    return rows;
}

QStringList storedWith(QStringList rows, const QString& added)
{
    rows << added;
    rows.sort();
    return rows;
}

QStringList sorted(QStringList rows)
{
    rows.sort();
    return rows;
}

}  // namespace

class TestAddForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void typedRecordsAreStored_data();
    void typedRecordsAreStored();
    void blankRecordsAreNotKept_data();
    void blankRecordsAreNotKept();
    void addNewRemembersForDitto();
    void dittoOutsideEditingIsRefused();
    void cpsBoxTakesOnlyANumber_data();
    void cpsBoxTakesOnlyANumber();
    void notANumberKeepsTheRecord();
    void duplicateKeepsTheWindowOpen();
    void ctrlDeleteAsksFirst_data();
    void ctrlDeleteAsksFirst();
    void deleteWindowDeletesOneAfterAnother();
    void readOnlyCatalogueRefusesEdits_data();
    void readOnlyCatalogueRefusesEdits();
    void lockTakenMeanwhile_data();
    void lockTakenMeanwhile();
    void reportsListTheCatalogue_data();
    void reportsListTheCatalogue();
    void typedRecordIsListed();
    void helpAndInternet();

private:
    enum class Access { Writable, ReadOnly, Immutable };
    void openWith(const QList<ToneRecord>& records, Access access = Access::Writable);
    QString path() const { return dir_->filePath(QLatin1String(kFileName)); }
    template <typename T = QWidget> T* control(const char* name)
    {
        return findControl<T>(*form_, name);
    }
    void type(const char* box, const QString& text)
    {
        QLineEdit* edit = control<QLineEdit>(box);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    // Presses "Reports", picks a listing and a way to leave the chooser, and answers the print
    // dialog by printing to a PDF file; the lines printed, blanks folded, or none.
    std::optional<QStringList> report(const char* box, const QString& leave);

    QStringList previews_;  // the titles of the preview windows shown
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<cataloguefaults::ReadOnlyFile> readOnly_;
    std::unique_ptr<RecordingUiServices> services_;
    std::unique_ptr<TonesDatabase> database_;
    std::unique_ptr<TAddFrm> form_;
    QStringList before_;
};

void TestAddForm::init()
{
    previews_.clear();
    dir_ = std::make_unique<QTemporaryDir>();
    services_ = std::make_unique<RecordingUiServices>();
}

void TestAddForm::cleanup()
{
    form_.reset();
    database_.reset();
    services_.reset();
    readOnly_.reset();
    dir_.reset();
}

void TestAddForm::openWith(const QList<ToneRecord>& records, Access access)
{
    QString error;
    QVERIFY2(createCatalogueFile(path(), records, false, &error), qPrintable(error));
    if (access != Access::Writable) {
        readOnly_ =
            std::make_unique<cataloguefaults::ReadOnlyFile>(path(), access == Access::Immutable);
        if (!readOnly_->isReadOnly())
            QSKIP(qPrintable(readOnly_->errorString()));
    }
    database_ = std::make_unique<TonesDatabase>();
    QVERIFY2(database_->open(path(), TonesDatabase::Missing::Refuse),
             qPrintable(database_->errorString()));
    QCOMPARE(database_->isReadOnly(), access != Access::Writable);
    before_ = stored(*database_);
    form_ = std::make_unique<TAddFrm>(*database_);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestAddForm::typedRecordsAreStored_data()
{
    QTest::addColumn<bool>("addNew");
    QTest::addColumn<QString>("cps");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("expected");

    const QStringList others{"136|Planets|Earth|Cousto", "396|Solfeggio|UT|Horowitz"};
    QTest::newRow("new record") << true << "432"
                                << "Tuning"
                                << ""
                                << storedWith(sorted(others + QStringList{"528|Body|Heart|Puleo"}),
                                              "432|Tuning||");
    QTest::newRow("new record, CPS alone")
        << true << "-7"
        << ""
        << "" << storedWith(sorted(others + QStringList{"528|Body|Heart|Puleo"}), "-7|||");
    QTest::newRow("current record edited") << false << ""
                                           << "Lungs"
                                           << "" << storedWith(others, "528|BodyLungs|Heart|Puleo");
    QTest::newRow("CPS and Source typed on") << false << "9"
                                             << ""
                                             << "!" << storedWith(others, "5289|Body|Heart|Puleo!");
}

// What the user types is stored when the window closes, by the button, Esc or the title bar.
void TestAddForm::typedRecordsAreStored()
{
    QFETCH(bool, addNew);
    QFETCH(QString, cps);
    QFETCH(QString, category);
    QFETCH(QString, source);
    QFETCH(QStringList, expected);
    openWith(kRecords);

    if (addNew)
        control<QPushButton>("AddBtn")->click();
    QLineEdit* cpsBox = control<QLineEdit>("CpsBx");
    cpsBox->setFocus();
    cpsBox->end(false);
    QTest::keyClicks(cpsBox, cps);
    QLineEdit* catBox = control<QLineEdit>("CatBx");
    catBox->setFocus();
    catBox->end(false);
    QTest::keyClicks(catBox, category);
    QLineEdit* srcBox = control<QLineEdit>("SrcBx");
    srcBox->setFocus();
    srcBox->end(false);
    QTest::keyClicks(srcBox, source);
    QTest::keyClick(srcBox, Qt::Key_Escape);

    QVERIFY(!form_->isVisible());
    QVERIFY(services_->messages.isEmpty());
    QVERIFY(!form_->Table1().isOpen());
    QCOMPARE(stored(*database_), expected);
}

void TestAddForm::blankRecordsAreNotKept_data()
{
    QTest::addColumn<bool>("blankStored");
    QTest::addColumn<bool>("addNew");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("removed");

    QTest::newRow("Add New, closed at once") << false << true << "" << 0;
    QTest::newRow("Add New, a Source alone") << false << true << "Book" << 0;
    QTest::newRow("stored record without Category, SubCategory, CPS") << true << false << "" << 1;
}

// A record without Category, SubCategory and CPS is not kept when the window closes.
void TestAddForm::blankRecordsAreNotKept()
{
    QFETCH(bool, blankStored);
    QFETCH(bool, addNew);
    QFETCH(QString, source);
    QFETCH(int, removed);
    QList<ToneRecord> records = kRecords;
    if (blankStored)
        records.prepend({"", "", std::nullopt, "Loose note"});
    openWith(records);

    if (addNew)
        control<QPushButton>("AddBtn")->click();
    if (!source.isEmpty())
        type("SrcBx", source);
    control<QPushButton>("CloseBtn")->click();

    QVERIFY(!form_->isVisible());
    QVERIFY(services_->messages.isEmpty());
    QCOMPARE(stored(*database_).size(), before_.size() - removed);
    if (removed)
        QVERIFY(!stored(*database_).contains(QStringLiteral("||Loose note")));
}

// Select a record, Add New, type a frequency and copy the rest from the record before.
void TestAddForm::addNewRemembersForDitto()
{
    openWith(kRecords);
    auto* ditto1 = control<QPushButton>("Ditto1Btn");
    auto* ditto2 = control<QPushButton>("Ditto2Btn");
    auto* ditto3 = control<QPushButton>("Ditto3Btn");
    QVERIFY(!ditto1->isEnabled() && !ditto2->isEnabled() && !ditto3->isEnabled());

    control<QToolButton>("NavNext")->click();  // Planets, Earth, 136, Cousto
    type("SubBx", "2");                        // typed, not yet saved, remembered too
    control<QPushButton>("AddBtn")->click();
    QCOMPARE(form_->PrevCategory(), QStringLiteral("Planets"));
    QCOMPARE(form_->PrevSubCategory(), QStringLiteral("Earth2"));
    QCOMPARE(form_->PrevSource(), QStringLiteral("Cousto"));
    QVERIFY(ditto1->isEnabled() && ditto2->isEnabled() && ditto3->isEnabled());
    QCOMPARE(form_->Table1().state(), TonesCursor::Insert);
    QCOMPARE(control<QLineEdit>("CatBx")->text(), QString());

    type("CpsBx", "194");
    ditto1->click();
    ditto3->click();
    QCOMPARE(control<QLineEdit>("CatBx")->text(), QStringLiteral("Planets"));
    QCOMPARE(control<QLineEdit>("SrcBx")->text(), QStringLiteral("Cousto"));
    QCOMPARE(control<QLineEdit>("SubBx")->text(), QString());
    ditto2->click();
    control<QPushButton>("CloseBtn")->click();

    QVERIFY(services_->messages.isEmpty());
    const QStringList all = stored(*database_);
    QVERIFY(all.contains(QStringLiteral("136|Planets|Earth2|Cousto")));
    QVERIFY(all.contains(QStringLiteral("194|Planets|Earth2|Cousto")));
    QCOMPARE(all.size(), before_.size() + 1);
}

// A Ditto writes only into a record being edited or added; a second Add New remembers empty
// texts, so the Ditto buttons stay enabled but copy nothing.
void TestAddForm::dittoOutsideEditingIsRefused()
{
    openWith(kRecords);
    control<QPushButton>("AddBtn")->click();
    type("CpsBx", "11");
    control<QPushButton>("AddBtn")->click();  // the record of 11 Hz is saved
    control<QPushButton>("AddBtn")->click();  // the blank one is dropped, empty texts remembered
    QVERIFY(control<QPushButton>("Ditto1Btn")->isEnabled());
    control<QPushButton>("Ditto1Btn")->click();
    QCOMPARE(control<QLineEdit>("CatBx")->text(), QString());
    QVERIFY(services_->messages.isEmpty());

    control<QToolButton>("NavLast")->click();  // leaves the blank record: dropped
    QCOMPARE(form_->Table1().state(), TonesCursor::Browse);
    form_->AddBtnClick();
    control<QToolButton>("NavFirst")->click();
    // Remembered from the last record, but the record now current is only browsed.
    control<QPushButton>("Ditto1Btn")->click();
    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(services_->messages.first().text, messages::notEditing());
    QCOMPARE(stored(*database_), storedWith(before_, "11|||"));
}

void TestAddForm::cpsBoxTakesOnlyANumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digits and signs") << "+-09"
                                      << "+-09" << 0;
    QTest::newRow("letters and a point refused") << "4a3.2 "
                                                 << "432" << 3;
    QTest::newRow("five characters at most") << "1234567"
                                             << "12345" << 0;
}

void TestAddForm::cpsBoxTakesOnlyANumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    openWith(kRecords);
    control<QPushButton>("AddBtn")->click();
    type("CpsBx", typed);
    QCOMPARE(control<QLineEdit>("CpsBx")->text(), shown);
    QCOMPARE(services_->beeps, beeps);
}

// A lone "-" is no number: leaving the record is refused and the box keeps the focus.
void TestAddForm::notANumberKeepsTheRecord()
{
    openWith(kRecords);
    QLineEdit* cpsBox = control<QLineEdit>("CpsBx");
    cpsBox->setFocus();
    cpsBox->selectAll();
    QTest::keyClicks(cpsBox, "-");
    control<QToolButton>("NavNext")->click();

    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(services_->messages.first().text,
             QStringLiteral("'-' is not a valid integer value for field 'CPS'"));
    QCOMPARE(form_->Table1().currentRow(), 0);
    QCOMPARE(cpsBox->text(), QStringLiteral("-"));
    QCOMPARE(cpsBox->selectedText(), QStringLiteral("-"));
    QVERIFY(cpsBox->hasFocus());

    // A click on another row of the grid is refused once, in one message.
    auto* grid = control<QTableView>("DBGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 1)).center());
    QCOMPARE(services_->messages.size(), 2);
    QCOMPARE(form_->Table1().currentRow(), 0);
    QCOMPARE(grid->currentIndex().row(), 0);
    QTRY_VERIFY(grid->selectionModel()->isRowSelected(0) &&
                !grid->selectionModel()->isRowSelected(2));
    QVERIFY(cpsBox->hasFocus());

    // Closing is refused the same way; an empty box leaves the field empty.
    control<QPushButton>("CloseBtn")->click();
    QVERIFY(form_->isVisible());
    cpsBox->clear();
    control<QPushButton>("CloseBtn")->click();
    QVERIFY(!form_->isVisible());
    QVERIFY(stored(*database_).contains(QStringLiteral("|Body|Heart|Puleo")));
}

// A record equal to another in all four fields is refused with the store's message; the
// window stays open with the record in editing, and once corrected the record is saved.
void TestAddForm::duplicateKeepsTheWindowOpen()
{
    openWith(kRecords);
    control<QPushButton>("AddBtn")->click();
    type("CpsBx", "136");
    type("CatBx", "Planets");
    type("SubBx", "Earth");
    type("SrcBx", "Cousto");
    control<QPushButton>("CloseBtn")->click();

    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(services_->messages.first().text, messages::duplicate());
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->Table1().state(), TonesCursor::Insert);
    QCOMPARE(control<QLineEdit>("SrcBx")->text(), QStringLiteral("Cousto"));
    QCOMPARE(stored(*database_), before_);

    type("SrcBx", " 2");
    control<QPushButton>("CloseBtn")->click();
    QVERIFY(!form_->isVisible());
    QCOMPARE(stored(*database_), storedWith(before_, "136|Planets|Earth|Cousto 2"));
}

void TestAddForm::ctrlDeleteAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestAddForm::ctrlDeleteAsksFirst()
{
    QFETCH(bool, answer);
    openWith(kRecords);
    services_->answers = {answer};
    auto* grid = control<QTableView>("DBGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);

    QCOMPARE(services_->questions, QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(stored(*database_).size(), before_.size() - int(answer));
    QCOMPARE(stored(*database_).contains(QStringLiteral("528|Body|Heart|Puleo")), !answer);
    QCOMPARE(control<QLineEdit>("CatBx")->text(),
             answer ? QStringLiteral("Planets") : QStringLiteral("Body"));
    QCOMPARE(grid->currentIndex().row(), 0);
}

// The delete window deletes the shared current record at once, again and again, until the
// table is empty; the maintenance window shows what is left.
void TestAddForm::deleteWindowDeletesOneAfterAnother()
{
    openWith(kRecords.mid(0, 2));
    control<QToolButton>("NavLast")->click();
    bool ran = false;
    QSignalSpy help(form_.get(), &TAddFrm::HelpRequested);
    services_->whileShown = [&](QDialog* dialog) {
        ran = true;
        auto* window = qobject_cast<TDeleteFrm*>(dialog);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Delete Tone Data"));
        auto* cps = findControl<QLineEdit>(*window, "CpsBx");
        QVERIFY(cps->isReadOnly());
        QCOMPARE(cps->text(), QStringLiteral("136"));
        findControl<QToolButton>(*window, "NavFirst")->click();
        QCOMPARE(findControl<QLineEdit>(*window, "CatBx")->text(), QStringLiteral("Body"));

        auto* deleteBtn = findControl<QPushButton>(*window, "DeleteBtn");
        deleteBtn->click();
        QCOMPARE(findControl<QLineEdit>(*window, "CatBx")->text(), QStringLiteral("Planets"));
        QCOMPARE(control<QLineEdit>("CatBx")->text(), QStringLiteral("Planets"));
        deleteBtn->click();
        QCOMPARE(cps->text(), QString());
        QVERIFY(services_->messages.isEmpty());
        deleteBtn->click();
        QCOMPARE(services_->messages.size(), 1);
        QCOMPARE(services_->messages.first().text, messages::emptyDataset());

        QTest::keyClick(window, Qt::Key_F1);
        findControl<QPushButton>(*window, "HelpBtn")->click();
        QTest::keyClick(cps, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    };
    control<QPushButton>("DeleteBtn")->click();

    QVERIFY(ran);
    QCOMPARE(help.size(), 2);
    QCOMPARE(help.at(0).at(0).toString(), QStringLiteral("::/html/veln9eat.htm"));
    QCOMPARE(stored(*database_), QStringList());
    QCOMPARE(form_->Table1().rowCount(), 0);
    // Closing with the table empty discards nothing and says nothing.
    control<QPushButton>("CloseBtn")->click();
    QVERIFY(!form_->isVisible());
    QCOMPARE(services_->messages.size(), 1);
}

void TestAddForm::readOnlyCatalogueRefusesEdits_data()
{
    QTest::addColumn<Access>("access");
    QTest::newRow("nobody may write it") << Access::ReadOnly;
    QTest::newRow("immutable, writable by its mode") << Access::Immutable;
}

// A catalogue that may not be written is browsed; each change is refused in words, once for
// each try, and the file stays byte for byte as it was.
void TestAddForm::readOnlyCatalogueRefusesEdits()
{
    QFETCH(Access, access);
    openWith(kRecords, access);
    const QByteArray digest = cataloguefaults::digestOf(path());
    const auto refusals = [&](int count) {
        QCOMPARE(services_->messages.size(), count);
        for (const auto& message : std::as_const(services_->messages))
            QCOMPARE(message.text, database_->readOnlyMessage());
        QCOMPARE(form_->Table1().state(), TonesCursor::Browse);
    };
    type("CatBx", "x");
    QCOMPARE(control<QLineEdit>("CatBx")->text(), QStringLiteral("Body"));
    refusals(1);
    control<QPushButton>("AddBtn")->click();
    refusals(2);
    services_->whileShown = [&](QDialog* dialog) {
        findControl<QPushButton>(*dialog, "DeleteBtn")->click();
        QCOMPARE(findControl<QLineEdit>(*dialog, "CatBx")->text(), QStringLiteral("Body"));
        dialog->close();
    };
    control<QPushButton>("DeleteBtn")->click();
    refusals(3);
    services_->answers = {true};
    control("DBGrid1")->setFocus();
    QTest::keyClick(control("DBGrid1"), Qt::Key_Delete, Qt::ControlModifier);
    refusals(4);

    control<QToolButton>("NavLast")->click();
    QCOMPARE(control<QLineEdit>("CatBx")->text(), QStringLiteral("Solfeggio"));
    control<QPushButton>("CloseBtn")->click();
    QVERIFY(!form_->isVisible());
    QCOMPARE(services_->messages.size(), 4);
    QCOMPARE(stored(*database_), before_);
    database_->close();
    QCOMPARE(cataloguefaults::digestOf(path()), digest);
    QCOMPARE(cataloguefaults::entriesOf(dir_->path()), QStringList{QLatin1String(kFileName)});
}

void TestAddForm::lockTakenMeanwhile_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("writing");  // the other program has changed records, uncommitted
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");  // stored once the change goes through

    const QString notSaved =
        QStringLiteral("The record was not saved: the catalogue is locked by another program.");
    const QString notDeleted =
        QStringLiteral("The record was not deleted: the catalogue is locked by another program.");
    const QStringList others{"136|Planets|Earth|Cousto", "396|Solfeggio|UT|Horowitz"};
    const QStringList all = sorted(others + QStringList{"528|Body|Heart|Puleo"});
    QTest::newRow("edited record, Close")
        << "edit" << false << notSaved << storedWith(others, "528|BodyLungs|Heart|Puleo");
    QTest::newRow("new record, Close, other program writing")
        << "add" << true << notSaved << storedWith(all, "432|Tuning||");
    QTest::newRow("delete window") << "delete window" << true << notDeleted << others;
    QTest::newRow("Ctrl+Delete") << "Ctrl+Delete" << false << notDeleted << others;
}

// Another program locks the catalogue while the window is open: the change is refused after a
// moment with one message, the window keeps the record as it was typed, the file stays as it
// was, and once the lock is gone the same change goes through.
void TestAddForm::lockTakenMeanwhile()
{
    QFETCH(QString, change);
    QFETCH(bool, writing);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    openWith(kRecords);
    const QByteArray digest = cataloguefaults::digestOf(path());
    const QStringList entries = cataloguefaults::entriesOf(dir_->path());

    if (change == QLatin1String("edit")) {
        QLineEdit* box = control<QLineEdit>("CatBx");
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, "Lungs");
    } else if (change == QLatin1String("add")) {
        control<QPushButton>("AddBtn")->click();
        type("CpsBx", "432");
        type("CatBx", "Tuning");
    }
    const TonesCursor::State state = form_->Table1().state();
    const int rows = form_->Table1().rowCount();
    QStringList boxes;
    for (const char* box : {"CpsBx", "CatBx", "SubBx", "SrcBx"})
        boxes << control<QLineEdit>(box)->text();
    // The delete window's own boxes, as it shows them just after its Delete.
    QStringList deleteWindowShows;
    const auto makeChange = [&] {
        if (change == QLatin1String("delete window")) {
            services_->whileShown = [&](QDialog* dialog) {
                findControl<QPushButton>(*dialog, "DeleteBtn")->click();
                deleteWindowShows.clear();
                for (const char* box : {"CpsBx", "CatBx", "SubBx", "SrcBx"})
                    deleteWindowShows << findControl<QLineEdit>(*dialog, box)->text();
                dialog->close();
            };
            control<QPushButton>("DeleteBtn")->click();
        } else if (change == QLatin1String("Ctrl+Delete")) {
            services_->answers = {true};
            control("DBGrid1")->setFocus();
            QTest::keyClick(control("DBGrid1"), Qt::Key_Delete, Qt::ControlModifier);
        } else {
            control<QPushButton>("CloseBtn")->click();
        }
    };

    {
        cataloguefaults::CatalogueLock lock(path(), writing);
        QVERIFY2(lock.isHeld(), qPrintable(lock.errorString()));
        QElapsedTimer waited;
        waited.start();
        makeChange();
        QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(services_->messages.size(), 1);
        QCOMPARE(services_->messages.first().text, message);
        QCOMPARE(services_->messages.first().kind, UiServices::MessageKind::Error);
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->Table1().state(), state);
        QCOMPARE(form_->Table1().rowCount(), rows);
        QStringList shown;
        for (const char* box : {"CpsBx", "CatBx", "SubBx", "SrcBx"})
            shown << control<QLineEdit>(box)->text();
        QCOMPARE(shown, boxes);
        if (change == QLatin1String("delete window"))
            QCOMPARE(deleteWindowShows, boxes);
        QVERIFY2(lock.release(), qPrintable(lock.errorString()));
    }
    QCOMPARE(cataloguefaults::digestOf(path()), digest);
    QCOMPARE(cataloguefaults::entriesOf(dir_->path()), entries);

    makeChange();
    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(stored(*database_), after);
    if (form_->isVisible())
        control<QPushButton>("CloseBtn")->click();
    QVERIFY(!form_->isVisible());
    QCOMPARE(services_->messages.size(), 1);
    QCOMPARE(stored(*database_), after);
}

std::optional<QStringList> TestAddForm::report(const char* box, const QString& leave)
{
    const QString printed = dir_->filePath(QStringLiteral("printed.pdf"));
    QFile::remove(printed);
    services_->printAnswer = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    };
    services_->whileShown = [&](QDialog* dialog) {
        auto* chooser = qobject_cast<TReportSetupFrm*>(dialog);
        if (!chooser) {
            previews_ << dialog->windowTitle();
            return;
        }
        auto* check = findControl<QCheckBox>(*chooser, box);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
        if (leave == u"Esc")
            QTest::keyClick(check, Qt::Key_Escape);
        else
            QTest::mouseClick(findControl(*chooser, leave.toLatin1().constData()), Qt::LeftButton);
    };
    control<QPushButton>("ReportBtn")->click();
    services_->whileShown = nullptr;
    if (!QFile::exists(printed))
        return std::nullopt;
    QString error;
    const std::optional<QString> text = documents::pdfText(printed, &error);
    if (!text)
        return QStringList{error};
    QStringList lines;
    for (const QString& line : text->split(u'\n')) {
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    }
    return lines;
}

void TestAddForm::reportsListTheCatalogue_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<bool>("printer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("printed");  // the lines above the footer
    QTest::addColumn<QString>("previewed");    // the preview's title

    const QStringList none;
    QTest::newRow("frequency printed")
        << "s2chk"
        << "Prnt" << true << 2 << 2
        << QStringList{"Tones Listed by Frequency", "CPS Category SubCategory", "136 Planets Earth",
                       "396 Solfeggio UT", "528 Body Heart"}
        << "";
    QTest::newRow("category printed") << "s1Chk"
                                      << "Prnt" << true << 1 << 2
                                      << QStringList{"Tones Listed by Category",
                                                     "CPS SubCategory",
                                                     "Body",
                                                     "528 Heart",
                                                     "Planets",
                                                     "136 Earth",
                                                     "Solfeggio",
                                                     "396 UT"}
                                      << "";
    QTest::newRow("no printer, nothing printed") << "s1Chk"
                                                 << "Prnt" << false << 1 << 2 << none << "";
    QTest::newRow("source previewed")
        << "s3chk"
        << "PrVw" << true << 3 << 1 << none << "Preview - Tones Listed by Source";
    QTest::newRow("exit") << "s4chk"
                          << "ExitLbl" << true << 4 << 0 << none << "";
    QTest::newRow("Esc") << "s4chk"
                         << "Esc" << true << 4 << 0 << none << "";
}

// The chooser's listing and action: printed on the printer chosen, shown in the preview, or
// nothing at all.
void TestAddForm::reportsListTheCatalogue()
{
    QFETCH(QString, box);
    QFETCH(QString, leave);
    QFETCH(bool, printer);
    QFETCH(int, kind);
    QFETCH(int, action);
    QFETCH(QStringList, printed);
    QFETCH(QString, previewed);
    openWith(kRecords);
    if (printer)
        services_->printers << QStringLiteral("Office");

    const std::optional<QStringList> lines = report(box.toLatin1().constData(), leave);
    QCOMPARE(form_->ReportKind(), kind);
    QCOMPARE(form_->ReportAction(), action);
    QVERIFY2(services_->messages.isEmpty(), qPrintable(services_->messages.value(0).text));
    QCOMPARE(services_->printRequests.size(), action == 2 && printer ? 1 : 0);
    if (printed.isEmpty()) {
        QVERIFY(!lines);
    } else {
        QVERIFY(lines);
        QStringList body = *lines;
        QVERIFY2(body.takeLast().endsWith(QStringLiteral("https://sonarith.org 1 of 1")),
                 qPrintable(lines->join(u'\n')));
        QCOMPARE(body, printed);
    }
    QCOMPARE(services_->dialogs.size(), previewed.isEmpty() ? 1 : 2);
    QCOMPARE(previews_, previewed.isEmpty() ? QStringList() : QStringList{previewed});
    QVERIFY(form_->isVisible());
    QCOMPARE(stored(*database_), before_);
}

// A record typed and not yet saved is saved first and is in the listing.
void TestAddForm::typedRecordIsListed()
{
    openWith(kRecords);
    services_->printers << QStringLiteral("Office");
    control<QPushButton>("AddBtn")->click();
    type("CpsBx", "1000");
    type("CatBx", "Zither");
    type("SubBx", "A string");
    const std::optional<QStringList> lines = report("s2chk", QStringLiteral("Prnt"));
    QVERIFY(lines);
    QVERIFY2(lines->contains(QStringLiteral("1,000 Zither A string")),
             qPrintable(lines->join(u'\n')));
    QCOMPARE(form_->Table1().state(), TonesCursor::Browse);
    QCOMPARE(stored(*database_), storedWith(before_, "1000|Zither|A string|"));

    // A new record nothing was typed into is not kept.
    control<QPushButton>("AddBtn")->click();
    QVERIFY(report("s2chk", QStringLiteral("Prnt")));
    QCOMPARE(stored(*database_), storedWith(before_, "1000|Zither|A string|"));
    QVERIFY(services_->messages.isEmpty());
}

void TestAddForm::helpAndInternet()
{
    openWith(kRecords);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Maintain Tone Database"));
    QSignalSpy help(form_.get(), &TAddFrm::HelpRequested);
    QTest::keyClick(control("CatBx"), Qt::Key_F1);
    control<QPushButton>("HelpBtn")->click();
    QCOMPARE(help.size(), 2);
    QCOMPARE(help.at(1).at(0).toString(), QStringLiteral("::/html/veln9eat.htm"));

    // "Internet" shows the links window modally over this one, for one opening.
    QPointer<QDialog> links;
    services_->whileShown = [&](QDialog* dialog) {
        links = dialog;
        QVERIFY(dialog->inherits("TInternetFrm"));
        QCOMPARE(dialog->parentWidget(), form_.get());
    };
    control<QPushButton>("InternetBtn")->click();
    QCOMPARE(services_->dialogs.size(), 1);
    QVERIFY(links.isNull());
    QVERIFY(services_->messages.isEmpty());
    QVERIFY(form_->isVisible());
}

QTEST_MAIN(TestAddForm)
#include "tst_addform.moc"
