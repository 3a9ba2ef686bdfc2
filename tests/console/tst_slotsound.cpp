#include "console/slotsound.h"

#include <QTest>

class TestSlotSound : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shares_data();
    void shares();
    void milliseconds_data();
    void milliseconds();
};

void TestSlotSound::shares_data()
{
    QTest::addColumn<QList<int>>("positions");  // Attack, Hold, Decay, Sustain, Release
    QTest::addColumn<QList<int>>("shares");

    QTest::newRow("start-up sliders")
        << QList<int>{90, 70, 80, 50, 90} << QList<int>{10, 30, 20, 50, 10};
    QTest::newRow("all shares full")
        << QList<int>{0, 0, 0, 50, 0} << QList<int>{25, 25, 25, 50, 25};
    QTest::newRow("just over 100")
        << QList<int>{60, 60, 60, 0, 80} << QList<int>{28, 28, 28, 100, 14};
    QTest::newRow("exactly 100: no scaling")
        << QList<int>{75, 75, 75, 100, 75} << QList<int>{25, 25, 25, 0, 25};
    QTest::newRow("all at the bottom")
        << QList<int>{100, 100, 100, 100, 100} << QList<int>{0, 0, 0, 0, 0};
}

void TestSlotSound::shares()
{
    QFETCH(QList<int>, positions);
    QFETCH(QList<int>, shares);
    const slotsound::Shares s =
        slotsound::sharesOf({positions[0], positions[1], positions[2], positions[3], positions[4]});
    QCOMPARE((QList<int>{s.attack, s.hold, s.decay, s.sustain, s.release}), shares);
}

void TestSlotSound::milliseconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("ms");
    QTest::newRow("half a second") << 0.5 << 500;
    QTest::newRow("1.5") << 1.5 << 1500;
    QTest::newRow("half a millisecond rounds up") << 0.0005 << 1;
    QTest::newRow("longest field value") << 99.999 << 99999;
    QTest::newRow("beyond int") << 1e12 << 2147483647;
}

void TestSlotSound::milliseconds()
{
    QFETCH(double, seconds);
    QFETCH(int, ms);
    QCOMPARE(slotsound::milliseconds(seconds), ms);
}

QTEST_GUILESS_MAIN(TestSlotSound)
#include "tst_slotsound.moc"
