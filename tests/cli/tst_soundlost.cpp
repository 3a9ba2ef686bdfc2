#include "app/program.h"
#include "cli/flatsettings.h"
#include "console/ui/toneform.h"
#include "support/controls.h"
#include "support/nullsinkrecorder.h"
#include "support/recordinguiservices.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <memory>
#include <thread>

// The sound server killed while `sonarith-cli play --loop` or the program sounds, and started
// again: the passes go on in their time without sound, the loss is told once, and sound comes
// back.
class TestSoundLost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void passesKeepTheirTimeWithoutTheServer();
    void theProgramSaysOnceThatSoundWasLost();

private:
    // A sound server of this test's own with one null sink, reached through the socket path
    // given in PULSE_SERVER, which stays the same when the server is started again.
    bool startServer(QString* error);
    void killServer();

    QTemporaryDir runtime_;
    QProcess server_;
};

namespace {

const char kSink[] = "sonarith_lost";

struct Printed
{
    double at;
    char digit;
};

}  // namespace

void TestSoundLost::initTestCase()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("the tests run without a sound server (the test command starts one)");
    QVERIFY(runtime_.isValid());
    // This test's recorder and player use its own server only.
    qputenv("PULSE_RUNTIME_PATH", QFile::encodeName(runtime_.path()));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(runtime_.filePath("native")));
    qputenv("SONARITH_TEST_SINK", kSink);
    qunsetenv("PULSE_SINK");
}

bool TestSoundLost::startServer(QString* error)
{
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                   QStringLiteral("--use-pid-file=no"),
                   QStringLiteral("--load=module-null-sink sink_name=") + QLatin1String(kSink),
                   QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") +
                       runtime_.filePath(QStringLiteral("native"))});
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        QProcess info;
        info.setStandardOutputFile(QProcess::nullDevice());
        info.setStandardErrorFile(QProcess::nullDevice());
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        if (info.waitForFinished() && info.exitStatus() == QProcess::NormalExit &&
            info.exitCode() == 0)
            return true;
        QThread::msleep(50);
    }
    *error = QStringLiteral("the test's sound server did not start: ") +
             QString::fromLocal8Bit(server_.readAllStandardError());
    return false;
}

void TestSoundLost::killServer()
{
    server_.kill();
    server_.waitForFinished();
}

void TestSoundLost::passesKeepTheirTimeWithoutTheServer()
{
    QString error;
    QVERIFY2(startServer(&error), qPrintable(error));
    // A pass of 4197 lasts 2 s and the next starts 500 ms after it.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString flat = dir.filePath(QStringLiteral("flat.tns"));
    QVERIFY(writeFlatSettings(flat));

    auto before = std::make_unique<NullSinkRecorder>();
    QVERIFY2(before->start(&error), qPrintable(error));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("play"), QStringLiteral("--settings"), flat,
               QStringLiteral("--digits"), QStringLiteral("4197"), QStringLiteral("--loop")});
    QVERIFY(cli.waitForStarted());

    QList<Printed> printed;
    double killedAt = 0;
    double restartedAt = 0;
    NullSinkRecorder after;
    QElapsedTimer running;
    running.start();
    // The server goes in the second tone of the first pass and comes back in the second pass.
    while (running.elapsed() < 8000 && cli.state() == QProcess::Running) {
        cli.waitForReadyRead(5);
        const double at = NullSinkRecorder::clock();
        while (cli.canReadLine()) {
            const QByteArray line = cli.readLine().trimmed();
            printed.append({at, line.isEmpty() ? '?' : line.front()});
        }
        if (killedAt == 0 && !printed.isEmpty() && at - printed.first().at > 0.7) {
            killServer();
            killedAt = at;
        }
        if (restartedAt == 0 && killedAt > 0 && at - killedAt > 2.0) {
            restartedAt = at;
            QVERIFY2(startServer(&error), qPrintable(error));
            QVERIFY2(after.start(&error), qPrintable(error));
        }
    }
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(2000));
    const Recording heardAfter = after.stop();
    const Recording heardBefore = before->stop();
    killServer();
    const QByteArray said = cli.readAllStandardError();
    QVERIFY2(restartedAt > 0, "the server was not started again");

    // Every digit in order, and in its time until the server is back: pass k's digit j at
    // 2.5k + 0.5j s. (A null sink just started takes its first streams late, which a real
    // device does not, so the time after the return is not judged.)
    const char digits[] = "4197";
    QVERIFY2(printed.size() >= 8, qPrintable(QString::number(printed.size())));
    for (qsizetype i = 0; i < printed.size(); ++i) {
        QCOMPARE(printed[i].digit, digits[i % 4]);
        const double due = printed.first().at + 2.5 * double(i / 4) + 0.5 * double(i % 4);
        if (due > restartedAt)
            continue;
        const double lateMs = (printed[i].at - due) * 1000;
        QVERIFY2(
            std::abs(lateMs) <= 40,
            qPrintable(QStringLiteral("digit %1 printed %2 ms from its time").arg(i).arg(lateMs)));
    }
    // Told once that sound was lost, and once that it is back.
    QCOMPARE(said.count("Sound output was lost"), 1);
    QCOMPARE(said.count("Sound output is back."), 1);
    QVERIFY2(!said.contains("No sound device"), said.constData());
    // Heard before the server went, and again by the pass after its return (and the new null
    // sink's first 2 s).
    QVERIFY(heardBefore.firstSound() >= 0);
    const qsizetype back = heardAfter.firstSound();
    QVERIFY2(back >= 0, "no sound after the server came back");
    const double backAfter = heardAfter.heardAt(back) - restartedAt;
    QVERIFY2(backAfter <= 2.5 + 2.2,
             qPrintable(QStringLiteral("sound came back %1 s after the server").arg(backAfter)));
}

// The program, as main builds it, plays MARY; the server is killed in the second tone. The
// console says so once, after the pass, and a second pass without the server says nothing new.
void TestSoundLost::theProgramSaysOnceThatSoundWasLost()
{
    QString error;
    QVERIFY2(startServer(&error), qPrintable(error));
    RecordingUiServices services;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    Program program;
    QDir::setCurrent(previous);
    TToneFrm& console = program.ToneFrm();
    findControl<QCheckBox>(console, "LoopBx")->setChecked(false);
    findControl<QLineEdit>(console, "DataBx")->setText(QStringLiteral("MARY"));

    // The pass runs on this thread once it starts, 500 ms after the press.
    const auto server = pid_t(server_.processId());
    std::thread killer([server] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500 + 700));
        ::kill(server, SIGKILL);
    });
    findControl<QPushButton>(console, "PlayBtn")->click();
    QTRY_COMPARE_WITH_TIMEOUT(services.messages.size(), 1, 5000);
    killer.join();
    server_.waitForFinished();
    QCOMPARE(services.messages.first().text, Program::soundLostMessage());
    QCOMPARE(services.messages.first().kind, UiServices::MessageKind::Warning);

    findControl<QPushButton>(console, "PlayBtn")->click();
    QTest::qWait(500 + 2000 + 300);
    QCOMPARE(services.messages.size(), 1);
}

QTEST_MAIN(TestSoundLost)
#include "tst_soundlost.moc"
