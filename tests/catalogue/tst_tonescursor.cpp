#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace catalogue;

Q_DECLARE_METATYPE(catalogue::ToneRecord)

namespace catalogue {
char* toString(const ToneRecord& record)
{
    const QStringList fields{record.category, record.subCategory, record.text(Field::Cps),
                             record.source};
    return QTest::toString(fields.join(u'|'));
}
}  // namespace catalogue

namespace {

// Categories in three spellings, two records at 528 Hz, one with empty fields.
const QList<ToneRecord> kRecords{
    {"Solfeggio", "MI", 528, "Puleo"},   {"solfeggio", "RE", 417, "puleo"},
    {"Planets", "Earth", 136, "Cousto"}, {"SOLFEGGIO", "UT", 396, "Horowitz"},
    {"Body", "", std::nullopt, ""},      {"planets", "Moon", 210, "cousto"},
    {"Body", "Heart", 528, "x"},
};

// Each record by its SubCategory, which tells them apart; the empty one shows as "-".
QStringList shown(const TonesCursor& cursor)
{
    QStringList names;
    for (int row = 0; row < cursor.rowCount(); ++row) {
        const QString name = cursor.record(row).subCategory;
        names << (name.isEmpty() ? QStringLiteral("-") : name);
    }
    return names;
}

QStringList stored(TonesDatabase& database)
{
    TonesCursor reader(database);
    reader.setIndex(ToneIndex::PrimaryKey);
    return reader.open() ? shown(reader) : QStringList{QStringLiteral("unreadable")};
}

}  // namespace

class TestTonesCursor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void orders_data();
    void orders();
    void orderChangeKeepsTheRecord();
    void orderChangeSavesTheEditFirst();
    void navigationStopsAtTheEnds();
    void duplicatesRefused_data();
    void duplicatesRefused();
    void fieldWrites_data();
    void fieldWrites();
    void leavingARecord();
    void appendAndCancel();
    void deleting();
    void emptyTable();
    void twoCursors();

private:
    QTemporaryDir* dir_ = nullptr;
    TonesDatabase* database_ = nullptr;
    void openWith(const QList<ToneRecord>& records);
};

void TestTonesCursor::openWith(const QList<ToneRecord>& records)
{
    const QString path = dir_->filePath(QStringLiteral("Tones.abs"));
    QFile::remove(path);
    QString error;
    QVERIFY2(createCatalogueFile(path, records, false, &error), qPrintable(error));
    QVERIFY2(database_->open(path), qPrintable(database_->errorString()));
}

void TestTonesCursor::init()
{
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    database_ = new TonesDatabase;
    openWith(kRecords);
}

void TestTonesCursor::cleanup()
{
    delete database_;
    delete dir_;
}

void TestTonesCursor::orders_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QStringList>("order");

    // Text keys ignore letter case: the three spellings of Solfeggio interleave by CPS.
    QTest::newRow("icategory") << "icategory"
                               << QStringList{"-", "Heart", "Earth", "Moon", "UT", "RE", "MI"};
    QTest::newRow("icps") << "icps" << QStringList{"-", "Earth", "Moon", "UT", "RE", "Heart", "MI"};
    QTest::newRow("isubcategory") << "isubcategory"
                                  << QStringList{"-", "Earth", "Heart", "MI", "Moon", "RE", "UT"};
    QTest::newRow("isource") << "isource"
                             << QStringList{"-", "Earth", "Moon", "UT", "MI", "RE", "Heart"};
    QTest::newRow("index names ignore case")
        << "ICPS" << QStringList{"-", "Earth", "Moon", "UT", "RE", "Heart", "MI"};
    // The unique key compares exactly.
    QTest::newRow("idxPrimaryKey")
        << "idxPrimaryKey" << QStringList{"-", "Heart", "Earth", "UT", "MI", "Moon", "RE"};
}

void TestTonesCursor::orders()
{
    QFETCH(QString, index);
    QFETCH(QStringList, order);
    TonesCursor cursor(*database_);
    QCOMPARE(cursor.indexName(), QStringLiteral("icategory"));
    QVERIFY(cursor.setIndexName(index));
    QVERIFY(cursor.open());
    QCOMPARE(shown(cursor), order);
    QCOMPARE(cursor.currentRow(), 0);
}

void TestTonesCursor::orderChangeKeepsTheRecord()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.next());
    QVERIFY(cursor.next());
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("Earth"));
    for (const char* index : {"icps", "isubcategory", "isource", "icategory", "icps"}) {
        QVERIFY(cursor.setIndexName(QLatin1String(index)));
        QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("Earth"));
        QCOMPARE(cursor.fieldText(Field::Cps), QStringLiteral("136"));
    }
    QCOMPARE(cursor.currentRow(), 1);
    // A closed cursor keeps its order for the next opening, which starts at the first record.
    cursor.close();
    QVERIFY(cursor.open());
    QCOMPARE(cursor.indexName(), QStringLiteral("icps"));
    QCOMPARE(cursor.fieldText(Field::SubCategory), QString());
    QVERIFY(!cursor.setIndexName(QStringLiteral("iname")));
    QCOMPARE(cursor.errorString(), QStringLiteral("The table Tones has no index named 'iname'."));
    QCOMPARE(cursor.indexName(), QStringLiteral("icps"));
}

void TestTonesCursor::orderChangeSavesTheEditFirst()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.last());  // MI, Solfeggio 528
    QVERIFY(cursor.edit());
    QVERIFY(cursor.setFieldText(Field::Cps, QStringLiteral("100")));
    QVERIFY(cursor.setIndexName(QStringLiteral("icps")));
    QCOMPARE(cursor.state(), TonesCursor::Browse);
    QCOMPARE(cursor.currentRow(), 1);
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("MI"));
    QCOMPARE(cursor.fieldText(Field::Cps), QStringLiteral("100"));

    // A refused save keeps the order and the record in editing.
    QVERIFY(cursor.edit());
    QVERIFY(cursor.setFieldText(Field::Category, QStringLiteral("Body")));
    QVERIFY(cursor.setFieldText(Field::SubCategory, QStringLiteral("Heart")));
    QVERIFY(cursor.setFieldText(Field::Cps, QStringLiteral("528")));
    QVERIFY(cursor.setFieldText(Field::Source, QStringLiteral("x")));
    QVERIFY(!cursor.setIndexName(QStringLiteral("isource")));
    QCOMPARE(cursor.errorString(), messages::duplicate());
    QCOMPARE(cursor.indexName(), QStringLiteral("icps"));
    QCOMPARE(cursor.state(), TonesCursor::Edit);
    QCOMPARE(cursor.fieldText(Field::Category), QStringLiteral("Body"));
}

void TestTonesCursor::navigationStopsAtTheEnds()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.prior());
    QCOMPARE(cursor.currentRow(), 0);
    QVERIFY(cursor.last());
    QVERIFY(cursor.next());
    QCOMPARE(cursor.currentRow(), 6);
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("MI"));
    QVERIFY(cursor.prior());
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("RE"));
    QVERIFY(cursor.first());
    // The record with empty fields reads as empty texts.
    for (const Field field : {Field::SubCategory, Field::Cps, Field::Source})
        QCOMPARE(cursor.fieldText(field), QString());
    QVERIFY(cursor.moveTo(3));
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("Moon"));
}

void TestTonesCursor::duplicatesRefused_data()
{
    QTest::addColumn<ToneRecord>("record");
    QTest::addColumn<bool>("stored");

    QTest::newRow("equal in all four") << ToneRecord{"Planets", "Earth", 136, "Cousto"} << false;
    QTest::newRow("empty CPS, equal") << ToneRecord{"Body", "", std::nullopt, ""} << false;
    QTest::newRow("differs in Source only")
        << ToneRecord{"Planets", "Earth", 136, "Cousteau"} << true;
    QTest::newRow("differs in letter case")
        << ToneRecord{"planets", "Earth", 136, "Cousto"} << true;
    QTest::newRow("0 is not empty") << ToneRecord{"Body", "", 0, ""} << true;
}

void TestTonesCursor::duplicatesRefused()
{
    QFETCH(ToneRecord, record);
    QFETCH(bool, stored);
    const QStringList before = stored ? QStringList() : ::stored(*database_);
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.append());
    for (const Field field : kFields)
        QVERIFY(cursor.setFieldText(field, record.text(field)));
    QCOMPARE(cursor.post(), stored);
    if (stored) {
        QCOMPARE(cursor.state(), TonesCursor::Browse);
        QCOMPARE(cursor.currentRecord(), record);
        QCOMPARE(cursor.rowCount(), 8);
        // And it is the other records' duplicate now.
        QVERIFY(cursor.append());
        for (const Field field : kFields)
            QVERIFY(cursor.setFieldText(field, record.text(field)));
        QVERIFY(!cursor.post());
    } else {
        QCOMPARE(cursor.errorString(), messages::duplicate());
        QCOMPARE(cursor.state(), TonesCursor::Insert);
        QCOMPARE(cursor.currentRecord(), record);
        QCOMPARE(::stored(*database_), before);
    }
}

void TestTonesCursor::fieldWrites_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");  // empty: accepted
    QTest::addColumn<QString>("read");   // the field read back as text

    const int cps = int(Field::Cps);
    QTest::newRow("whole number") << cps << "963"
                                  << ""
                                  << "963";
    QTest::newRow("plus sign") << cps << "+7"
                               << ""
                               << "7";
    QTest::newRow("negative") << cps << "-20"
                              << ""
                              << "-20";
    QTest::newRow("empty CPS") << cps << ""
                               << ""
                               << "";
    QTest::newRow("lone minus") << cps << "-" << messages::notAnInteger("-", Field::Cps) << "";
    QTest::newRow("fraction") << cps << "52.5" << messages::notAnInteger("52.5", Field::Cps) << "";
    QTest::newRow("blank around") << cps << " 52" << messages::notAnInteger(" 52", Field::Cps)
                                  << "";
    QTest::newRow("beyond 32 bits")
        << cps << "2147483648" << messages::notAnInteger("2147483648", Field::Cps) << "";
    QTest::newRow("32-bit minimum") << cps << "-2147483648"
                                    << ""
                                    << "-2147483648";
    QTest::newRow("category at 40")
        << int(Field::Category) << QString(40, u'c') << "" << QString(40, u'c');
    QTest::newRow("category at 41") << int(Field::Category) << QString(41, u'c')
                                    << "Category holds at most 40 characters; the text has 41."
                                    << "";
    QTest::newRow("subcategory at 41")
        << int(Field::SubCategory) << QString(41, u's')
        << "SubCategory holds at most 40 characters; the text has 41."
        << "";
    QTest::newRow("source at 60") << int(Field::Source) << QString(60, u'r') << ""
                                  << QString(60, u'r');
    QTest::newRow("source at 61") << int(Field::Source) << QString(61, u'r')
                                  << "Source holds at most 60 characters; the text has 61."
                                  << "";
    QTest::newRow("line break") << int(Field::Source) << "a\nb"
                                << "Source may not hold tabs, line breaks or other control "
                                   "characters."
                                << "";
}

// A refused text leaves the field and the table as they were; an accepted one is stored.
void TestTonesCursor::fieldWrites()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(QString, read);
    const QStringList before = stored(*database_);
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.append());
    QCOMPARE(cursor.setFieldText(Field(field), text), error.isEmpty());
    if (!error.isEmpty()) {
        QCOMPARE(cursor.errorString(), error);
        QVERIFY(!cursor.isModified());
        return;
    }
    QCOMPARE(cursor.fieldText(Field(field)), read);
    QVERIFY2(cursor.post(), qPrintable(cursor.errorString()));
    QCOMPARE(cursor.fieldText(Field(field)), read);
    QCOMPARE(stored(*database_).size(), before.size() + 1);
}

void TestTonesCursor::leavingARecord()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    // A write outside editing is refused.
    QVERIFY(!cursor.setFieldText(Field::Category, QStringLiteral("X")));
    QCOMPARE(cursor.errorString(), messages::notEditing());
    QCOMPARE(cursor.fieldText(Field::Category), QStringLiteral("Body"));

    // Moving on saves a changed record...
    QVERIFY(cursor.next());  // Heart
    QVERIFY(cursor.edit());
    QVERIFY(cursor.setFieldText(Field::Source, QStringLiteral("Ancient")));
    QVERIFY(cursor.next());
    QCOMPARE(cursor.state(), TonesCursor::Browse);
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("Earth"));
    QVERIFY(cursor.prior());
    QCOMPARE(cursor.fieldText(Field::Source), QStringLiteral("Ancient"));
    QCOMPARE(cursor.state(), TonesCursor::Browse);

    // ...and stays when the save is refused, the record still in editing.
    QVERIFY(cursor.edit());
    QVERIFY(cursor.setFieldText(Field::SubCategory, QString()));
    QVERIFY(cursor.setFieldText(Field::Cps, QString()));
    QVERIFY(cursor.setFieldText(Field::Source, QString()));
    QVERIFY(!cursor.next());
    QCOMPARE(cursor.errorString(), messages::duplicate());
    QCOMPARE(cursor.currentRow(), 1);
    QCOMPARE(cursor.state(), TonesCursor::Edit);
    cursor.cancel();
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("Heart"));

    // An unchanged new record is dropped on leaving it; a changed one is saved.
    QVERIFY(cursor.append());
    QCOMPARE(cursor.rowCount(), 8);
    QVERIFY(cursor.first());
    QCOMPARE(cursor.rowCount(), 7);
    QVERIFY(cursor.append());
    QVERIFY(cursor.setFieldText(Field::Cps, QStringLiteral("1")));
    QVERIFY(cursor.append());
    QCOMPARE(cursor.rowCount(), 9);
    QCOMPARE(cursor.currentRow(), 8);
    QCOMPARE(cursor.record(0), (ToneRecord{"", "", 1, ""}));
    QCOMPARE(stored(*database_).size(), 8);
}

void TestTonesCursor::appendAndCancel()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.moveTo(2));
    QVERIFY(cursor.append());
    QCOMPARE(cursor.state(), TonesCursor::Insert);
    QCOMPARE(cursor.currentRow(), 7);
    QCOMPARE(cursor.currentRecord(), ToneRecord());
    QVERIFY(cursor.setFieldText(Field::Category, QStringLiteral("Chakra")));
    QCOMPARE(cursor.record(7).category, QStringLiteral("Chakra"));
    cursor.cancel();
    QCOMPARE(cursor.state(), TonesCursor::Browse);
    QCOMPARE(cursor.rowCount(), 7);
    QCOMPARE(cursor.currentRow(), 2);
    // Deleting while adding abandons the new record, not a stored one.
    QVERIFY(cursor.append());
    QVERIFY(cursor.setFieldText(Field::Category, QStringLiteral("Chakra")));
    QVERIFY(cursor.deleteRecord());
    QCOMPARE(cursor.rowCount(), 7);
    QCOMPARE(stored(*database_).size(), 7);
    // An explicit save stores even a blank record.
    QVERIFY(cursor.append());
    QVERIFY(cursor.post());
    QCOMPARE(cursor.rowCount(), 8);
    QCOMPARE(cursor.currentRecord(), ToneRecord());
}

void TestTonesCursor::deleting()
{
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QVERIFY(cursor.moveTo(4));  // UT; RE follows
    QVERIFY(cursor.edit());
    QVERIFY(cursor.setFieldText(Field::Source, QStringLiteral("dropped with it")));
    QVERIFY(cursor.deleteRecord());
    QCOMPARE(cursor.state(), TonesCursor::Browse);
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("RE"));
    QVERIFY(cursor.last());
    QVERIFY(cursor.deleteRecord());
    QCOMPARE(cursor.fieldText(Field::SubCategory), QStringLiteral("RE"));
    QCOMPARE(stored(*database_), (QStringList{"-", "Heart", "Earth", "Moon", "RE"}));
}

void TestTonesCursor::emptyTable()
{
    database_->close();
    openWith({});
    TonesCursor cursor(*database_);
    QVERIFY(cursor.open());
    QCOMPARE(cursor.currentRow(), -1);
    QCOMPARE(cursor.fieldText(Field::Cps), QString());
    QVERIFY(cursor.next());
    QVERIFY(cursor.last());
    QVERIFY(!cursor.deleteRecord());
    QCOMPARE(cursor.errorString(),
             QStringLiteral("Cannot perform this operation on an empty dataset"));
    // Typing into an empty table starts a new record.
    QVERIFY(cursor.edit());
    QCOMPARE(cursor.state(), TonesCursor::Insert);
    QVERIFY(cursor.setFieldText(Field::Cps, QStringLiteral("432")));
    QVERIFY(cursor.post());
    QCOMPARE(cursor.rowCount(), 1);
    QCOMPARE(cursor.currentRow(), 0);
}

// Two windows' cursors on one catalogue: each sees what the other saved when it reads again.
void TestTonesCursor::twoCursors()
{
    TonesCursor browser(*database_);
    TonesCursor maintenance(*database_);
    QVERIFY(browser.open());
    QVERIFY(browser.setIndexName(QStringLiteral("icps")));
    QVERIFY(browser.moveTo(2));  // Moon
    QVERIFY(maintenance.open());

    QVERIFY(maintenance.append());
    QVERIFY(maintenance.setFieldText(Field::SubCategory, QStringLiteral("Aum")));
    QVERIFY(maintenance.setFieldText(Field::Cps, QStringLiteral("136")));
    QVERIFY(maintenance.post());
    QVERIFY(maintenance.locate(ToneRecord{"Planets", "Earth", 136, "Cousto"}));
    QVERIFY(maintenance.deleteRecord());

    QCOMPARE(browser.rowCount(), 7);
    QVERIFY(browser.refresh());
    QCOMPARE(shown(browser), (QStringList{"-", "Aum", "Moon", "UT", "RE", "Heart", "MI"}));
    QCOMPARE(browser.fieldText(Field::SubCategory), QStringLiteral("Moon"));

    // A record deleted under an edit is not brought back by the save.
    QVERIFY(browser.moveTo(1));
    QVERIFY(browser.edit());
    QVERIFY(browser.setFieldText(Field::Source, QStringLiteral("Om")));
    QVERIFY(maintenance.refresh());
    QVERIFY(maintenance.locate(ToneRecord{"", "Aum", 136, ""}));
    QVERIFY(maintenance.deleteRecord());
    QVERIFY(!browser.post());
    QCOMPARE(browser.errorString(),
             QStringLiteral("The record was not saved: another window has deleted it meanwhile."));
    browser.cancel();
    QVERIFY(browser.refresh());
    QCOMPARE(shown(browser), (QStringList{"-", "Moon", "UT", "RE", "Heart", "MI"}));
}

QTEST_GUILESS_MAIN(TestTonesCursor)
#include "tst_tonescursor.moc"
