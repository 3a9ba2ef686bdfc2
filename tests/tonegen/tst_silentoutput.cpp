#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

// Without a sound server the output is silent, keeps the timing of the sound, and says so once.
class TestSilentOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void silentButTimed();
};

void TestSilentOutput::silentButTimed()
{
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/native"));
    player.setProcessEnvironment(environment);
    player.start(QStringLiteral(SONARITH_SILENT_PLAYER), {});
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitCode(), 0);
    const QStringList printed = QString::fromUtf8(player.readAllStandardOutput()).split(u' ');
    QCOMPARE(printed.value(1).trimmed(), QStringLiteral("0"));
    const int elapsed = printed.value(0).toInt();
    QVERIFY2(elapsed >= 480 && elapsed < 600, qPrintable(QString::number(elapsed)));
    QCOMPARE(QString::fromUtf8(player.readAllStandardError()),
             QStringLiteral("No sound device found: sound output is silent.\n"));
}

QTEST_GUILESS_MAIN(TestSilentOutput)
#include "tst_silentoutput.moc"
