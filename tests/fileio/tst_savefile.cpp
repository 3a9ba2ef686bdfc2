#include "console/ui/toneform.h"
#include "fileio/files.h"
#include "support/recordinguiservices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

// Saves into a real file system that runs full: the earlier file must survive untouched.
class TestSaveFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void savesAndReplaces();
    void shortWriteKeepsTheOldFile();
    void settingsSaveOnAFullDiskKeepsTheOldFile();
    void renderOnAFullDiskKeepsTheOldFile();

private:
    QString path(const QString& name) const { return QDir(mount_).filePath(name); }
    void putOldFile(const QString& name);
    // Fills the file system until at most bytes stay free.
    void fillLeaving(qint64 bytes);
    void verifyOldFileAlone(const QString& name) const;

    QTemporaryDir folder_;
    QString mount_;
    bool mounted_ = false;
    QByteArray old_;
    RecordingUiServices services_;
};

void TestSaveFile::initTestCase()
{
    // A mount namespace of the test's own: its small file systems vanish with the process,
    // however it ends.
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        QSKIP("mounting a small file system needs root with the right to mount");
    QVERIFY(folder_.isValid());
    mount_ = folder_.filePath(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(mount_));
    for (int i = 0; i < 4096; ++i)
        old_ += char('a' + i % 26);
}

void TestSaveFile::init()
{
    QVERIFY2(mount("tmpfs", QFile::encodeName(mount_).constData(), "tmpfs", 0, "size=512k") == 0,
             std::strerror(errno));
    mounted_ = true;
}

void TestSaveFile::cleanup()
{
    if (mounted_)
        QVERIFY2(umount(QFile::encodeName(mount_).constData()) == 0, std::strerror(errno));
    mounted_ = false;
}

void TestSaveFile::putOldFile(const QString& name)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(old_), old_.size());
}

void TestSaveFile::fillLeaving(qint64 bytes)
{
    QFile filler(path(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray page(4096, 'x');
    for (;;) {
        struct statvfs info;
        QCOMPARE(statvfs(QFile::encodeName(mount_).constData(), &info), 0);
        if (qint64(info.f_bavail) * qint64(info.f_bsize) <= bytes)
            break;
        if (filler.write(page) != page.size())
            break;
    }
}

// The old file with its old bytes, and no temporary file left beside it.
void TestSaveFile::verifyOldFileAlone(const QString& name) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old_);
    QStringList names = QDir(mount_).entryList(QDir::Files);
    names.removeOne(QStringLiteral("filler"));
    QCOMPARE(names, QStringList{name});
}

void TestSaveFile::savesAndReplaces()
{
    putOldFile(QStringLiteral("a.bin"));
    QString error;
    QVERIFY2(fileio::saveFile(path(QStringLiteral("a.bin")), "new", &error), qPrintable(error));
    QFile file(path(QStringLiteral("a.bin")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("new"));

    QVERIFY(!fileio::saveFile(path(QStringLiteral("no folder/a.bin")), "new", &error));
    QCOMPARE(error, QStringLiteral("No such file or directory"));
}

void TestSaveFile::shortWriteKeepsTheOldFile()
{
    putOldFile(QStringLiteral("a.bin"));
    fillLeaving(16 * 1024);
    QString error;
    QVERIFY(!fileio::saveFile(path(QStringLiteral("a.bin")), QByteArray(128 * 1024, 'n'), &error));
    QCOMPARE(error, QStringLiteral("No space left on device"));
    verifyOldFileAlone(QStringLiteral("a.bin"));
}

void TestSaveFile::settingsSaveOnAFullDiskKeepsTheOldFile()
{
    putOldFile(QStringLiteral("old.tns"));
    fillLeaving(0);
    services_.clear();
    TToneFrm console;
    QVERIFY(!console.saveSettingsFile(path(QStringLiteral("old.tns"))));
    QCOMPARE(services_.messages.size(), 1);
    QCOMPARE(services_.messages[0].text,
             QStringLiteral("Cannot create file %1. No space left on device")
                 .arg(path(QStringLiteral("old.tns"))));
    verifyOldFileAlone(QStringLiteral("old.tns"));
}

void TestSaveFile::renderOnAFullDiskKeepsTheOldFile()
{
    putOldFile(QStringLiteral("old.wav"));
    fillLeaving(64 * 1024);  // a quarter of the sound fits
    QProcess render;
    render.start(QStringLiteral(SONARITH_CLI),
                 {QStringLiteral("render"), QStringLiteral("MARY"), QStringLiteral("-o"),
                  path(QStringLiteral("old.wav"))});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 3);
    QCOMPARE(QString::fromLocal8Bit(render.readAllStandardError()),
             QStringLiteral("sonarith-cli: render: cannot write %1: No space left on device\n")
                 .arg(path(QStringLiteral("old.wav"))));
    verifyOldFileAlone(QStringLiteral("old.wav"));
}

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
