#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <unistd.h>

// "sonarith-cli render" killed outright over an earlier file, as it starts and while it writes
// the sound: the earlier file stays byte for byte.
class TestKilledRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void earlierFileSurvives_data();
    void earlierFileSurvives();

private:
    QTemporaryDir folder_;
    QString target_;
    QByteArray earlier_;
};

namespace {

// 2,000 tones of half a second: about 190 MB of sound, long enough to be killed while
// writing it.
const QString kDigits = QString(2000, u'7');

// Whether the process holds a file of folder open: the file it saves into.
bool writesInto(qint64 pid, const QString& folder)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t length =
            ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target);
        if (length > 0 &&
            QFile::decodeName(QByteArray(target, int(length))).startsWith(folder + u'/'))
            return true;
    }
    return false;
}

}  // namespace

void TestKilledRender::initTestCase()
{
    QVERIFY(folder_.isValid());
    target_ = folder_.filePath(QStringLiteral("earlier.wav"));
    QProcess render;
    render.start(QStringLiteral(SONARITH_CLI),
                 {QStringLiteral("render"), QStringLiteral("MARY"), QStringLiteral("-o"), target_});
    QVERIFY(render.waitForFinished(60000));
    QCOMPARE(render.exitCode(), 0);
    QFile file(target_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    earlier_ = file.readAll();
    QVERIFY(earlier_.startsWith("RIFF"));
}

void TestKilledRender::earlierFileSurvives_data()
{
    QTest::addColumn<bool>("whileWriting");  // counted from the start of writing, else of the run
    QTest::addColumn<int>("delayMs");

    QTest::newRow("at the start") << false << 0;
    QTest::newRow("50 ms after the start") << false << 50;
    QTest::newRow("as writing starts") << true << 0;
    QTest::newRow("5 ms into writing") << true << 5;
    QTest::newRow("30 ms into writing") << true << 30;
    QTest::newRow("100 ms into writing") << true << 100;
}

void TestKilledRender::earlierFileSurvives()
{
    QFETCH(bool, whileWriting);
    QFETCH(int, delayMs);

    QProcess render;
    render.start(QStringLiteral(SONARITH_CLI),
                 {QStringLiteral("render"), QStringLiteral("--digits"), kDigits,
                  QStringLiteral("-o"), target_});
    QVERIFY(render.waitForStarted());
    if (whileWriting) {
        QElapsedTimer waited;
        waited.start();
        while (!writesInto(render.processId(), folder_.path())) {
            QVERIFY2(!render.waitForFinished(0) && render.state() == QProcess::Running &&
                         !waited.hasExpired(60000),
                     "render ended or waited a minute without writing");
            QThread::usleep(200);
        }
    }
    QThread::msleep(delayMs);
    render.kill();
    QVERIFY(render.waitForFinished(60000));
    if (render.exitStatus() == QProcess::NormalExit) {
        // A render that ended before the kill proves nothing here.
        QCOMPARE(render.exitCode(), 0);
        QSKIP("the render ended before it was killed: this machine writes faster");
    }

    QFile file(target_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    QVERIFY2(
        now == earlier_,
        qPrintable(
            QStringLiteral("%1 bytes, not the earlier %2").arg(now.size()).arg(earlier_.size())));
    // The sound was written into a file without a name, which vanished with the process.
    QCOMPARE(QDir(folder_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("earlier.wav")});
}

QTEST_MAIN(TestKilledRender)
#include "tst_killedrender.moc"
