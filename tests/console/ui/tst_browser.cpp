#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "console/ui/toneform.h"
#include "controls/numericedit.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using catalogue::ToneRecord;

namespace {

// Five records whose orders all differ. By Category (then CPS): 100, 300, 200, 400, 50.
const QList<ToneRecord> kRecords{
    {QStringLiteral("Alpha"), QStringLiteral("a1"), 300, QStringLiteral("S3")},
    {QStringLiteral("alpha"), QStringLiteral("a2"), 100, QStringLiteral("S1")},
    {QStringLiteral("Beta"), QStringLiteral("b1"), 200, QStringLiteral("S2")},
    {QStringLiteral("Gamma"), QStringLiteral("g1"), 50, QStringLiteral("S4")},
    {QStringLiteral("Beta"), QStringLiteral("b2"), 400, QStringLiteral("S0")},
};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// The catalogue on the console, in a data folder of the test's own: the console looks for
// "Tones.abs" in the working folder it starts in.
class TestBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void gridShowsTheCatalogue();
    void titleClickSortsAndKeepsTheRecord_data();
    void titleClickSortsAndKeepsTheRecord();
    void navigatorMovesTheSelection_data();
    void navigatorMovesTheSelection();
    void tonesFillsTheSlotAndMovesBothOn_data();
    void tonesFillsTheSlotAndMovesBothOn();
    void tonesWithAnEmptyCatalogue();
    void orderSurvivesReopening();
    void dataMaintainsTheCatalogue();
    void catalogueFiles_data();
    void catalogueFiles();

private:
    // Makes the catalogue (none: no file), then starts and shows the console in the folder.
    void start(const std::optional<QList<ToneRecord>>& records = kRecords);
    QString cataloguePath() const { return folder->filePath(QLatin1String(catalogue::kFileName)); }
    QTableView* grid() const { return findControl<QTableView>(*form, "DBGrid1"); }
    NumericEdit* slotField(int slot) const
    {
        return findControl<NumericEdit>(*form, ("Tbx" + QByteArray::number(slot)).constData());
    }
    // The CPS column from top to bottom, as the grid shows it.
    QStringList cpsColumn() const;
    // The one selected row; -1 when none or several are selected.
    int selectedRow() const;
    void clickRow(int row);
    void clickTitle(int column);

    RecordingUiServices services;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TToneFrm> form;
    QString previousFolder;
};

void TestBrowser::init()
{
    services.clear();
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    previousFolder = QDir::currentPath();
}

void TestBrowser::cleanup()
{
    form.reset();
    QDir::setCurrent(previousFolder);
    folder.reset();
}

void TestBrowser::start(const std::optional<QList<ToneRecord>>& records)
{
    if (records) {
        QString error;
        QVERIFY2(catalogue::createCatalogueFile(cataloguePath(), *records, false, &error),
                 qPrintable(error));
    }
    QVERIFY(QDir::setCurrent(folder->path()));
    form = std::make_unique<TToneFrm>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

QStringList TestBrowser::cpsColumn() const
{
    const QAbstractItemModel* model = grid()->model();
    QStringList column;
    for (int row = 0; row < model->rowCount(); ++row)
        column << model->index(row, 0).data().toString();
    return column;
}

int TestBrowser::selectedRow() const
{
    const QModelIndexList rows = grid()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
}

void TestBrowser::clickRow(int row)
{
    const QRect cell = grid()->visualRect(grid()->model()->index(row, 1));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
}

void TestBrowser::clickTitle(int column)
{
    QHeaderView* titles = grid()->horizontalHeader();
    const QPoint at(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                    titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, at);
}

void TestBrowser::gridShowsTheCatalogue()
{
    start();
    QTableView* view = grid();
    const QAbstractItemModel* model = view->model();
    const QHeaderView* titles = view->horizontalHeader();
    QStringList names;
    for (int column = 0; column < model->columnCount(); ++column)
        names << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(names, QStringList({"CPS", "Category", "SubCategory", "Source"}));
    QVERIFY(titles->font().bold());
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignCenter);
    QCOMPARE(model->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignCenter);
    QVERIFY(model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
    QCOMPARE(view->columnWidth(0), 55);
    QCOMPARE(view->columnWidth(1), 252);
    QCOMPARE(view->columnWidth(2), 252);
    QVERIFY(titles->stretchLastSection());
    QCOMPARE(titles->sectionResizeMode(0), QHeaderView::Interactive);
    QVERIFY(!titles->sectionsMovable());
    QVERIFY(!titles->isSortIndicatorShown());
    QVERIFY(view->verticalHeader()->isVisible());
    QVERIFY(view->showGrid());
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(model->index(0, 0).flags() & Qt::ItemIsEditable));
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view->toolTip(), QStringLiteral("Click column heading to sort."));
    const char* hints[][2] = {{"NavFirst", "First record"},
                              {"NavPrior", "Prior record"},
                              {"NavNext", "Next record"},
                              {"NavLast", "Last record"}};
    for (const auto& [name, hint] : hints)
        QCOMPARE(findControl(*form, name)->toolTip(), QString::fromLatin1(hint));

    // Opened on the first record in the order of Category, CPS, SubCategory.
    QCOMPARE(cpsColumn(), QStringList({"100", "300", "200", "400", "50"}));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("alpha"));
    QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("S1"));
    QCOMPARE(selectedRow(), 0);
    QVERIFY(services.messages.isEmpty());

    // A click on a row makes it the current record, which "Tones" reads.
    clickRow(3);
    QCOMPARE(selectedRow(), 3);
    findControl<QPushButton>(*form, "ToneDB")->click();
    QCOMPARE(slotField(0)->text(), QStringLiteral("400"));
}

void TestBrowser::titleClickSortsAndKeepsTheRecord_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("row");  // where the record of CPS 300 stands then

    QTest::newRow("CPS") << 0 << QStringList{"50", "100", "200", "300", "400"} << 3;
    QTest::newRow("Category") << 1 << QStringList{"100", "300", "200", "400", "50"} << 1;
    QTest::newRow("SubCategory") << 2 << QStringList{"300", "100", "200", "400", "50"} << 0;
    QTest::newRow("Source") << 3 << QStringList{"400", "100", "200", "300", "50"} << 3;
}

void TestBrowser::titleClickSortsAndKeepsTheRecord()
{
    QFETCH(int, column);
    QFETCH(QStringList, order);
    QFETCH(int, row);
    start();
    clickRow(1);  // CPS 300, in the middle of the list
    clickTitle(column);
    QCOMPARE(cpsColumn(), order);
    QCOMPARE(selectedRow(), row);
    QVERIFY(
        grid()->viewport()->rect().intersects(grid()->visualRect(grid()->model()->index(row, 0))));

    // Ascending only: the same title again changes nothing.
    clickTitle(column);
    QCOMPARE(cpsColumn(), order);
    QCOMPARE(selectedRow(), row);
}

void TestBrowser::navigatorMovesTheSelection_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");

    QTest::newRow("first") << QByteArray("NavFirst") << 2 << 0;
    QTest::newRow("prior") << QByteArray("NavPrior") << 2 << 1;
    QTest::newRow("next") << QByteArray("NavNext") << 2 << 3;
    QTest::newRow("last") << QByteArray("NavLast") << 2 << 4;
    QTest::newRow("prior at the first") << QByteArray("NavPrior") << 0 << 0;
    QTest::newRow("next at the last") << QByteArray("NavNext") << 4 << 4;
}

void TestBrowser::navigatorMovesTheSelection()
{
    QFETCH(QByteArray, button);
    QFETCH(int, from);
    QFETCH(int, to);
    start();
    clickRow(from);
    QCOMPARE(selectedRow(), from);
    findControl<QToolButton>(*form, button.constData())->click();
    QCOMPARE(selectedRow(), to);
    QCOMPARE(grid()->selectionModel()->currentIndex().row(), to);
}

void TestBrowser::tonesFillsTheSlotAndMovesBothOn_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("filled");  // the slots from slot on, after the presses
    QTest::addColumn<int>("nextSlot");
    QTest::addColumn<int>("nextRow");

    QTest::newRow("one press") << 2 << 1 << 1 << QStringList{"300"} << 3 << 2;
    QTest::newRow("presses in a row") << 0 << 0 << 3 << QStringList{"100", "300", "200"} << 3 << 3;
    QTest::newRow("slot 9 to slot 0") << 9 << 0 << 1 << QStringList{"100"} << 0 << 1;
    QTest::newRow("the last record stays") << 4 << 4 << 2 << QStringList{"50", "50"} << 6 << 4;
    // The slot already holds the value: it is flagged all the same.
    QTest::newRow("same value") << 3 << 1 << 1 << QStringList{"300"} << 4 << 2;
}

void TestBrowser::tonesFillsTheSlotAndMovesBothOn()
{
    QFETCH(int, slot);
    QFETCH(int, row);
    QFETCH(int, presses);
    QFETCH(QStringList, filled);
    QFETCH(int, nextSlot);
    QFETCH(int, nextRow);
    start();
    clickRow(row);
    slotField(slot)->setFocus();
    QCOMPARE(form->CurrentSlot(), slot);
    if (QTest::currentDataTag() == QByteArray("same value"))
        slotField(slot)->setNumber(300);
    // Playing the slot clears its flag.
    findControl<QLineEdit>(*form, "NTime")->setText(QStringLiteral("0.010"));
    form->NTimeAfterExit();
    findControl<QPushButton>(*form, ("BitBtn" + QByteArray::number(slot)).constData())->click();
    QVERIFY(!form->ToneFlags()[slot]);

    auto* tones = findControl<QPushButton>(*form, "ToneDB");
    for (int i = 0; i < presses; ++i)
        tones->click();
    for (int i = 0; i < presses; ++i)
        QCOMPARE(slotField((slot + i) % 10)->text(), filled[i]);
    QVERIFY(form->ToneFlags()[slot]);
    QCOMPARE(form->CurrentSlot(), nextSlot);
    QCOMPARE(QApplication::focusWidget(), slotField(nextSlot));
    QCOMPARE(selectedRow(), nextRow);
}

void TestBrowser::tonesWithAnEmptyCatalogue()
{
    start(QList<ToneRecord>{});
    QCOMPARE(grid()->model()->rowCount(), 0);
    QVERIFY(grid()->isEnabled());
    slotField(3)->setFocus();
    findControl<QPushButton>(*form, "ToneDB")->click();
    QCOMPARE(slotField(3)->text(), QStringLiteral("396"));
    QVERIFY(form->ToneFlags()[3]);
    QCOMPARE(form->CurrentSlot(), 4);
    QVERIFY(services.messages.isEmpty());
}

void TestBrowser::orderSurvivesReopening()
{
    start();
    clickRow(2);
    clickTitle(0);
    findControl<QPushButton>(*form, "EditBtn")->click();
    QCOMPARE(cpsColumn(), QStringList({"50", "100", "200", "300", "400"}));
    QCOMPARE(selectedRow(), 0);

    form->close();
    QCOMPARE(grid()->model()->rowCount(), 0);
}

// "Data " runs the maintenance window on the console's catalogue, with the console's cursor
// closed meanwhile; a record added there is in the console's grid afterwards, in the order the
// user had chosen.
void TestBrowser::dataMaintainsTheCatalogue()
{
    start();
    clickTitle(0);
    QPointer<QDialog> shown;
    bool maintenanceWindow = false;
    int rowsWhileShown = -1;
    services.whileShown = [&](QDialog* dialog) {
        shown = dialog;
        maintenanceWindow = qobject_cast<TAddFrm*>(dialog) && dialog->parentWidget() == form.get();
        rowsWhileShown = grid()->model()->rowCount();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        findControl<QPushButton>(*dialog, "AddBtn")->click();
        const std::pair<const char*, QString> typed[] = {{"CatBx", QStringLiteral("Delta")},
                                                         {"SubBx", QStringLiteral("d1")},
                                                         {"CpsBx", QStringLiteral("250")},
                                                         {"SrcBx", QStringLiteral("S9")}};
        for (const auto& [box, text] : typed) {
            auto* edit = findControl<QLineEdit>(*dialog, box);
            edit->setFocus();
            QTest::keyClicks(edit, text);
        }
        findControl<QPushButton>(*dialog, "CloseBtn")->click();
        QVERIFY(!dialog->isVisible());
    };
    findControl<QPushButton>(*form, "EditBtn")->click();

    QCOMPARE(services.dialogs.size(), 1);
    QVERIFY(maintenanceWindow);
    QVERIFY(shown.isNull());  // destroyed once closed
    QCOMPARE(rowsWhileShown, 0);
    QVERIFY(services.messages.isEmpty());
    QCOMPARE(cpsColumn(), QStringList({"50", "100", "200", "250", "300", "400"}));
    const QAbstractItemModel* model = grid()->model();
    QCOMPARE(model->index(3, 1).data().toString(), QStringLiteral("Delta"));
    QCOMPARE(model->index(3, 2).data().toString(), QStringLiteral("d1"));
    QCOMPARE(model->index(3, 3).data().toString(), QStringLiteral("S9"));
    QVERIFY(grid()->isEnabled());
}

void TestBrowser::catalogueFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("usable");

    // A missing catalogue is made from the shipped one.
    QTest::newRow("missing") << "missing" << 220 << true;
    QTest::newRow("read-only") << "read-only" << 5 << true;
    QTest::newRow("not a catalogue") << "not a catalogue" << 0 << false;
}

void TestBrowser::catalogueFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, rows);
    QFETCH(bool, usable);
    const QString path = cataloguePath();
    if (kind == QLatin1String("read-only")) {
        QString error;
        QVERIFY2(catalogue::createCatalogueFile(path, kRecords, false, &error), qPrintable(error));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (kind == QLatin1String("not a catalogue")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("Category,SubCategory,CPS,Source\nA,B,1,C\n").repeated(40));
    }
    const QByteArray before = contentsOf(path);
    start(std::nullopt);

    QCOMPARE(grid()->model()->rowCount(), rows);
    for (const char* name : {"DBGrid1", "DBNavigator1", "ToneDB"})
        QVERIFY2(findControl(*form, name)->isEnabled() == usable, name);
    if (usable) {
        QVERIFY(services.messages.isEmpty());
        QVERIFY(QFile::exists(path));
    } else {
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages[0].kind, UiServices::MessageKind::Error);
        QVERIFY2(services.messages[0].text.contains(QLatin1String(catalogue::kFileName)),
                 qPrintable(services.messages[0].text));
        // "Data " opens no maintenance window on it and says nothing more.
        findControl<QPushButton>(*form, "EditBtn")->click();
        QCOMPARE(services.messages.size(), 1);
        QVERIFY(services.dialogs.isEmpty());
    }
    form->close();
    if (kind != QLatin1String("missing"))
        QCOMPARE(contentsOf(path), before);
}

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
