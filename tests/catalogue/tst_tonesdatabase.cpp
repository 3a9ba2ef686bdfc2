#include "catalogue/seedfile.h"
#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"
#include "support/cataloguefaults.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>

using namespace catalogue;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Runs statements on a file through a connection of its own, as another program would.
void runOn(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& sql : statements)
            QVERIFY2(query.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

// Enough records to fill several pages.
QList<ToneRecord> manyRecords()
{
    QList<ToneRecord> records;
    for (int i = 0; i < 400; ++i)
        records << ToneRecord{QStringLiteral("Category %1").arg(i % 7),
                              QStringLiteral("Sub %1").arg(i), i,
                              QStringLiteral("Source %1").arg(i % 11)};
    return records;
}

QStringList sorted(const QList<ToneRecord>& records)
{
    QStringList keys;
    for (const ToneRecord& record : records)
        keys << QStringList{record.category, record.subCategory, record.text(Field::Cps),
                            record.source}
                    .join(u'|');
    keys.sort();
    return keys;
}

QList<ToneRecord> recordsIn(TonesDatabase& database)
{
    TonesCursor cursor(database);
    QList<ToneRecord> records;
    if (cursor.open()) {
        for (int row = 0; row < cursor.rowCount(); ++row)
            records << cursor.record(row);
    }
    return records;
}

}  // namespace

class TestTonesDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingFileGetsTheShippedCatalogue();
    void dataFolderHoldsTheShippedCatalogue();
    void creationRefusesBadRecords();
    void unreadableFilesLeftAsTheyAre_data();
    void unreadableFilesLeftAsTheyAre();
    void lockedFileLeftAsItIs_data();
    void lockedFileLeftAsItIs();
    void readOnlyFileBrowsedNeverChanged_data();
    void readOnlyFileBrowsedNeverChanged();
    void distinctQuery_data();
    void distinctQuery();
};

void TestTonesDatabase::missingFileGetsTheShippedCatalogue()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    TonesDatabase database;
    QVERIFY(!database.open(path, TonesDatabase::Missing::Refuse));
    QCOMPARE(database.errorString(),
             QStringLiteral("There is no tone catalogue \"%1\".").arg(path));
    QVERIFY(!QFile::exists(path));

    QVERIFY2(database.open(path), qPrintable(database.errorString()));
    QVERIFY(!database.isReadOnly());
    const std::optional<QList<ToneRecord>> shipped = readSeed(shippedSeed(), nullptr);
    QVERIFY(shipped);
    QCOMPARE(sorted(recordsIn(database)), sorted(*shipped));
    // Built beside it and moved into place: nothing else is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Tones.abs")});
}

// The build's ready data folder holds the shipped catalogue.
void TestTonesDatabase::dataFolderHoldsTheShippedCatalogue()
{
    TonesDatabase database;
    QVERIFY2(
        database.open(QStringLiteral(SONARITH_DATA "/Tones.abs"), TonesDatabase::Missing::Refuse),
        qPrintable(database.errorString()));
    QCOMPARE(sorted(recordsIn(database)), sorted(*readSeed(shippedSeed(), nullptr)));
}

void TestTonesDatabase::creationRefusesBadRecords()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    QString error;
    QVERIFY(!createCatalogueFile(path, {{"A", "", std::nullopt, ""}, {"A", "", std::nullopt, ""}},
                                 false, &error));
    QCOMPARE(error, QStringLiteral("two records are equal in all four fields"));
    QVERIFY(!createCatalogueFile(path, {{QString(41, u'a'), "", 1, ""}}, false, &error));
    QCOMPARE(error, QStringLiteral("Category holds at most 40 characters; the text has 41."));
    QVERIFY(QDir(dir.path()).isEmpty());

    // An existing file is replaced only when asked.
    writeBytes(path, "keep");
    QVERIFY(!createCatalogueFile(path, {}, false, &error));
    QCOMPARE(bytesOf(path), QByteArray("keep"));
    QVERIFY(createCatalogueFile(path, {}, true, &error));
    TonesDatabase database;
    QVERIFY2(database.open(path), qPrintable(database.errorString()));
}

void TestTonesDatabase::unreadableFilesLeftAsTheyAre_data()
{
    QTest::addColumn<std::function<void(const QString&)>>("make");
    QTest::addColumn<QString>("message");  // %1: the file's path

    const auto catalogue = [](const QString& path) {
        QString error;
        QVERIFY2(createCatalogueFile(path, manyRecords(), false, &error), qPrintable(error));
    };
    const QString notADatabase =
        QStringLiteral("\"%1\" is not a tone catalogue: it is not a database file.");
    const QString notOurs = QStringLiteral("\"%1\" is not a tone catalogue of Sonarith.");
    const QString damaged =
        QStringLiteral("The tone catalogue \"%1\" is damaged and cannot be read.");

    QTest::newRow("text") << std::function([](const QString& path) {
        writeBytes(path, "Category,SubCategory,CPS,Source\nA,B,1,C\n");
    }) << notADatabase;
    QTest::newRow("empty") << std::function([](const QString& path) { writeBytes(path, {}); })
                           << QStringLiteral("\"%1\" is not a tone catalogue: it is empty.");
    QTest::newRow("cut inside the header") << std::function([catalogue](const QString& path) {
        catalogue(path);
        writeBytes(path, bytesOf(path).left(60));
    }) << damaged;
    QTest::newRow("cut after the first page") << std::function([catalogue](const QString& path) {
        catalogue(path);
        writeBytes(path, bytesOf(path).left(4096));
    }) << damaged;
    QTest::newRow("cut in half") << std::function([catalogue](const QString& path) {
        catalogue(path);
        const QByteArray bytes = bytesOf(path);
        writeBytes(path, bytes.left(bytes.size() / 2));
    }) << damaged;
    QTest::newRow("page overwritten") << std::function([catalogue](const QString& path) {
        catalogue(path);
        QByteArray bytes = bytesOf(path);
        bytes.replace(3 * 4096, 4096, QByteArray(4096, '\x5a'));
        writeBytes(path, bytes);
    }) << damaged;
    // Records or index entries changed in place pass a check of the pages' structure alone.
    QTest::newRow("bytes inverted in a page of records") << std::function([catalogue](
                                                                              const QString& path) {
        catalogue(path);
        QString error;
        QVERIFY2(cataloguefaults::invertPage(path, cataloguefaults::PageKind::TableLeaf, 2, &error),
                 qPrintable(error));
    }) << damaged;
    QTest::newRow("bytes inverted in a page of an index")
        << std::function([catalogue](const QString& path) {
               catalogue(path);
               QString error;
               QVERIFY2(cataloguefaults::invertPage(path, cataloguefaults::PageKind::IndexLeaf, 1,
                                                    &error),
                        qPrintable(error));
           })
        << damaged;
    QTest::newRow("another program's database") << std::function([](const QString& path) {
        runOn(path, {QStringLiteral("CREATE TABLE Tones (Name TEXT, Hz INTEGER)")});
    }) << notOurs;
    QTest::newRow("an index missing")
        << std::function([catalogue](const QString& path) {
               catalogue(path);
               runOn(path, {QStringLiteral("DROP INDEX isource")});
           })
        << QStringLiteral("The tone catalogue \"%1\" does not hold the table Tones with its fields "
                          "and indexes.");
    QTest::newRow("newer version")
        << std::function([catalogue](const QString& path) {
               catalogue(path);
               runOn(path, {QStringLiteral("PRAGMA user_version = 2")});
           })
        << QStringLiteral("The tone catalogue \"%1\" was written by a newer version of Sonarith "
                          "and cannot be read.");
    QTest::newRow("a folder") << std::function([](const QString& path) {
        QVERIFY(QDir().mkdir(path));
    }) << QStringLiteral("\"%1\" is not a tone catalogue: it is not a file.");
}

// The open says what is wrong, and the file (and its folder) stays byte for byte as it was.
void TestTonesDatabase::unreadableFilesLeftAsTheyAre()
{
    QFETCH(std::function<void(const QString&)>, make);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    make(path);
    const QByteArray before = bytesOf(path);
    const QStringList files = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    TonesDatabase database;
    QVERIFY(!database.open(path));
    QCOMPARE(database.errorString(), message.arg(path));
    QVERIFY(!database.isOpen());
    TonesCursor cursor(database);
    QVERIFY(!cursor.open());
    QCOMPARE(bytesOf(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
}

void TestTonesDatabase::lockedFileLeftAsItIs_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("another connection of this program") << "connection";
    QTest::newRow("another program") << "program";
    QTest::newRow("another program, in the middle of a write") << "writing program";
}

// The open gives up after a moment, says so, and the file stays as it was.
void TestTonesDatabase::lockedFileLeftAsItIs()
{
    QFETCH(QString, holder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    QString error;
    QVERIFY(createCatalogueFile(path, manyRecords(), false, &error));
    const QByteArray before = cataloguefaults::digestOf(path);
    const QString locked =
        QStringLiteral("The tone catalogue \"%1\" is locked by another program.").arg(path);
    const auto refused = [&] {
        QElapsedTimer waited;
        waited.start();
        TonesDatabase database;
        QVERIFY(!database.open(path));
        QCOMPARE(database.errorString(), locked);
        QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
    };
    if (holder == QLatin1String("connection")) {
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            refused();
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    } else {
        cataloguefaults::CatalogueLock lock(path, holder.startsWith(u'w'));
        QVERIFY2(lock.isHeld(), qPrintable(lock.errorString()));
        refused();
        QVERIFY2(lock.release(), qPrintable(lock.errorString()));
    }
    QCOMPARE(cataloguefaults::digestOf(path), before);
    QCOMPARE(cataloguefaults::entriesOf(dir.path()), QStringList{QStringLiteral("Tones.abs")});
    // Once the other program is done, the catalogue opens.
    TonesDatabase database;
    QVERIFY2(database.open(path), qPrintable(database.errorString()));
}

void TestTonesDatabase::readOnlyFileBrowsedNeverChanged_data()
{
    QTest::addColumn<bool>("keepModeBits");
    QTest::newRow("nobody may write it") << false;
    // Only the file system refuses: the mode bits still say it may be written.
    QTest::newRow("immutable, writable by its mode") << true;
}

// A file that may not be written can be browsed; every change is refused and it stays as it
// was.
void TestTonesDatabase::readOnlyFileBrowsedNeverChanged()
{
    QFETCH(bool, keepModeBits);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    QString error;
    QVERIFY(createCatalogueFile(path, manyRecords(), false, &error));
    const cataloguefaults::ReadOnlyFile readOnly(path, keepModeBits);
    if (!readOnly.isReadOnly())
        QSKIP(qPrintable(readOnly.errorString()));
    const QByteArray before = cataloguefaults::digestOf(path);

    TonesDatabase database;
    QVERIFY2(database.open(path), qPrintable(database.errorString()));
    QVERIFY(database.isReadOnly());
    TonesCursor cursor(database);
    QVERIFY(cursor.open());
    QCOMPARE(cursor.rowCount(), 400);
    QVERIFY(cursor.setIndexName(QStringLiteral("icps")));
    QVERIFY(cursor.last());
    QCOMPARE(cursor.fieldText(Field::Cps), QStringLiteral("399"));

    const QString refused =
        QStringLiteral("The tone catalogue \"%1\" is read-only; it cannot be changed.").arg(path);
    for (const auto& change : std::initializer_list<std::function<bool()>>{
             [&] { return cursor.edit(); }, [&] { return cursor.append(); },
             [&] { return cursor.deleteRecord(); }}) {
        QVERIFY(!change());
        QCOMPARE(cursor.errorString(), refused);
        QCOMPARE(cursor.state(), TonesCursor::Browse);
    }
    QVERIFY(!cursor.setFieldText(Field::Cps, QStringLiteral("1")));
    QVERIFY(database.distinctTones(ReportOrder::Source, nullptr));
    cursor.close();
    database.close();
    QCOMPARE(cataloguefaults::digestOf(path), before);
    QCOMPARE(cataloguefaults::entriesOf(dir.path()), QStringList{QStringLiteral("Tones.abs")});
}

void TestTonesDatabase::distinctQuery_data()
{
    QTest::addColumn<ReportOrder>("order");
    QTest::addColumn<QStringList>("rows");  // by SubCategory, "-" for the empty one

    // Text keys sort without regard to case; each spelling of a group stays one run of rows.
    QTest::newRow("category") << ReportOrder::Category
                              << QStringList{"-",    "Heart", "Earth", "earth",
                                             "Moon", "UT",    "MI",    "RE"};
    QTest::newRow("frequency") << ReportOrder::Frequency
                               << QStringList{"-",  "Earth", "earth", "Moon",
                                              "UT", "RE",    "Heart", "MI"};
    QTest::newRow("source") << ReportOrder::Source << QStringList{"-",  "Earth", "earth", "Moon",
                                                                  "UT", "MI",    "RE",    "Heart"};
    QTest::newRow("subcategory") << ReportOrder::SubCategory
                                 << QStringList{"-",  "Earth", "earth", "Heart",
                                                "MI", "Moon",  "RE",    "UT"};
}

void TestTonesDatabase::distinctQuery()
{
    QFETCH(ReportOrder, order);
    QFETCH(QStringList, rows);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    const QList<ToneRecord> records{
        {"Solfeggio", "MI", 528, "Puleo"},   {"solfeggio", "RE", 417, "puleo"},
        {"Planets", "Earth", 136, "Cousto"}, {"SOLFEGGIO", "UT", 396, "Puleo"},
        {"Body", "", std::nullopt, ""},      {"planets", "Moon", 210, "cousto"},
        {"Body", "Heart", 528, "x"},         {"Planets", "earth", 136, "Cousto"},
    };
    QString error;
    QVERIFY(createCatalogueFile(path, records, false, &error));
    TonesDatabase database;
    QVERIFY(database.open(path));
    const std::optional<QList<ToneRecord>> result = database.distinctTones(order, &error);
    QVERIFY2(result, qPrintable(error));
    QStringList shown;
    for (const ToneRecord& record : *result)
        shown << (record.subCategory.isEmpty() ? QStringLiteral("-") : record.subCategory);
    QCOMPARE(shown, rows);
    QCOMPARE(sorted(*result), sorted(records));
}

QTEST_GUILESS_MAIN(TestTonesDatabase)
#include "tst_tonesdatabase.moc"
