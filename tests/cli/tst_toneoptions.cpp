#include "cli/cliutil.h"
#include "cli/toneoptions.h"

#include <QTest>
#include <climits>

// What the tone command reads from its numbers and lists; the command's runs are in tst_cli.
class TestToneOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeNumber_data();
    void wholeNumber();
    void envelope_data();
    void envelope();
    void amLayer_data();
    void amLayer();
};

void TestToneOptions::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<qlonglong>("value");

    QTest::newRow("digits") << "440" << true << 440LL;
    QTest::newRow("signs") << "-0007" << true << -7LL;
    QTest::newRow("plus") << "+12" << true << 12LL;
    QTest::newRow("lowest") << "-9223372036854775808" << true << LLONG_MIN;
    QTest::newRow("beyond 64 bits") << "9223372036854775808" << false << 0LL;
    QTest::newRow("empty") << "" << false << 0LL;
    QTest::newRow("sign alone") << "-" << false << 0LL;
    QTest::newRow("blank around") << " 5" << false << 0LL;
    QTest::newRow("group separator") << "1,000" << false << 0LL;
    QTest::newRow("other digits") << "\u0663" << false << 0LL;
    // The conversion stopped at a NUL as if the text ended there.
    QTest::newRow("NUL after digits") << QString::fromLatin1("-5\0\0\0", 5) << false << 0LL;
}

void TestToneOptions::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    QFETCH(qlonglong, value);
    QCOMPARE(cli::wholeNumber(text), read ? std::optional(value) : std::nullopt);
}

void TestToneOptions::envelope_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("shares");  // empty: refused

    QTest::newRow("five") << "10,20,30,40,50" << QList<int>{10, 20, 30, 40, 50};
    QTest::newRow("beyond int: nearest")
        << "99999999999,-99999999999,0,0,+1" << QList<int>{INT_MAX, INT_MIN, 0, 0, 1};
    QTest::newRow("four") << "1,2,3,4" << QList<int>{};
    QTest::newRow("six") << "1,2,3,4,5,6" << QList<int>{};
    QTest::newRow("empty share") << "1,2,,4,5" << QList<int>{};
    QTest::newRow("blank") << "1,2, 3,4,5" << QList<int>{};
}

void TestToneOptions::envelope()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, shares);
    const std::optional<std::array<int, 5>> read = cli::envelopeShares(text);
    QCOMPARE(read.has_value(), !shares.isEmpty());
    if (read)
        QCOMPARE(QList<int>(read->begin(), read->end()), shares);
}

void TestToneOptions::amLayer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("layer");
    QTest::addColumn<int>("amplitude");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<int>("wave");

    QTest::newRow("layer 0") << "0:30:0.5:sine" << true << 0 << 30 << 0.5f << int(tgSine);
    QTest::newRow("layer 7, lowest amplitude, any case")
        << "7:-32768:1e3:NOISE" << true << 7 << -32768 << 1000.0f << int(tgNoise);
    QTest::newRow("layer 8") << "8:30:0.5:sine" << false << 0 << 0 << 0.0f << 0;
    QTest::newRow("amplitude beyond 16 bits") << "1:32768:1:sine" << false << 0 << 0 << 0.0f << 0;
    QTest::newRow("frequency no number") << "1:30:x:sine" << false << 0 << 0 << 0.0f << 0;
    QTest::newRow("unknown wave") << "1:30:1:organ" << false << 0 << 0 << 0.0f << 0;
    QTest::newRow("three parts") << "1:30:1" << false << 0 << 0 << 0.0f << 0;
}

void TestToneOptions::amLayer()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    const std::optional<cli::AMLayerOption> layer = cli::amLayer(text);
    QCOMPARE(layer.has_value(), read);
    if (!layer)
        return;
    QTEST(layer->layer, "layer");
    QTEST(int(layer->amplitude), "amplitude");
    QTEST(layer->frequency, "frequency");
    QTEST(int(layer->wave), "wave");
}

QTEST_GUILESS_MAIN(TestToneOptions)
#include "tst_toneoptions.moc"
