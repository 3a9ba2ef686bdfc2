#include "catalogue/seedfile.h"

#include <QTest>

using namespace catalogue;

class TestSeedFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRecords();
    void badLines_data();
    void badLines();
    void shippedCatalogueReads();
};

// Quoting, empty fields and both line ends, as written by a spreadsheet.
void TestSeedFile::readsRecords()
{
    const QByteArray csv = "Category,SubCategory,CPS,Source\r\n"
                           "Solfeggio,MI,528,\"Puleo, J.\"\r\n"
                           "\"Body\",\"Heart \"\"center\"\"\",,\n"
                           ",,-7,\"\"\n"
                           "Planets,Earth,+136, spaced ";
    QString error;
    const std::optional<QList<ToneRecord>> records = readSeed(csv, &error);
    QVERIFY2(records, qPrintable(error));
    const QList<ToneRecord> expected{
        {"Solfeggio", "MI", 528, "Puleo, J."},
        {"Body", "Heart \"center\"", std::nullopt, ""},
        {"", "", -7, ""},
        {"Planets", "Earth", 136, " spaced "},
    };
    QCOMPARE(*records, expected);
}

void TestSeedFile::badLines_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("error");

    const QByteArray header = "Category,SubCategory,CPS,Source\n";
    QTest::newRow("empty file") << QByteArray()
                                << "line 1: the header must be \"Category,SubCategory,CPS,Source\"";
    QTest::newRow("other header") << QByteArray("Category,CPS,SubCategory,Source\nA,1,B,C\n")
                                  << "line 1: the header must be \"Category,SubCategory,CPS,"
                                     "Source\"";
    QTest::newRow("three fields") << header + "A,B,1,S\nA,B,2\n"
                                  << "line 3: 3 fields where a record has 4 "
                                     "(Category,SubCategory,CPS,Source)";
    QTest::newRow("five fields") << header + "A,B,1,S,T\n"
                                 << "line 2: 5 fields where a record has 4 "
                                    "(Category,SubCategory,CPS,Source)";
    QTest::newRow("CPS not whole") << header + "A,B,52.8,S\n"
                                   << "line 2: '52.8' is not a valid integer value for field "
                                      "'CPS'";
    QTest::newRow("CPS beyond 32 bits")
        << header + "A,B,2147483648,S\n"
        << "line 2: '2147483648' is not a valid integer value for field 'CPS'";
    QTest::newRow("category too long")
        << header + QByteArray(41, 'c') + ",B,1,S\n"
        << "line 2: Category holds at most 40 characters; the text has 41.";
    QTest::newRow("source too long")
        << header + "A,B,1," + QByteArray(61, 's') + "\n"
        << "line 2: Source holds at most 60 characters; the text has 61.";
    QTest::newRow("quote left open") << header + "A,\"B,1,S\nC\",D,2,E\n"
                                     << "line 2: a quoted field is not closed (a field cannot "
                                        "span lines)";
    QTest::newRow("text after a quote") << header + "A,\"B\"x,1,S\n"
                                        << "line 2: text follows the closing quote of field 2";
    QTest::newRow("bare quote") << header + "A,B\"c,1,S\n"
                                << "line 2: a quote inside field 2, which is not quoted";
    QTest::newRow("blank line inside") << header + "A,B,1,S\n\nC,D,2,E\n"
                                       << "line 3: the line is empty";
    QTest::newRow("not UTF-8") << header + "Caf\xe9,B,1,S\n"
                               << "line 2: the text is not UTF-8";
    QTest::newRow("tab in a field") << header + "A,B\tC,1,S\n"
                                    << "line 2: SubCategory may not hold tabs, line breaks or "
                                       "other control characters.";
    QTest::newRow("repeated record") << header + "A,B,1,S\nA,B,2,S\n\"A\",B,1,\"S\"\n"
                                     << "line 4: the record repeats line 2";
    QTest::newRow("repeated with empty CPS") << header + "A,B,,S\nA,B,,S\n"
                                             << "line 3: the record repeats line 2";
}

// A bad line is named with its number, and nothing of the file is taken.
void TestSeedFile::badLines()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, error);
    QString reported;
    QVERIFY(!readSeed(csv, &reported));
    QCOMPARE(reported, error);
}

// The catalogue built into the program is a valid seed.
void TestSeedFile::shippedCatalogueReads()
{
    const QByteArray csv = shippedSeed();
    QVERIFY(csv.startsWith(kSeedHeader));
    QString error;
    const std::optional<QList<ToneRecord>> records = readSeed(csv, &error);
    QVERIFY2(records, qPrintable(error));
    QVERIFY(!records->isEmpty());
}

QTEST_GUILESS_MAIN(TestSeedFile)
#include "tst_seedfile.moc"
