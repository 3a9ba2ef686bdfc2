#include "fileio/files.h"
#include "support/smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Saves into a real file system that runs full: the earlier file must survive untouched.
// Each of the program's saves is tried the same way in tests/app/tst_fullfilesystem.cpp.
class TestSaveFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void savesAndReplaces();
    void shortWriteKeepsTheOldFile();

private:
    QString path(const QString& name) const { return small_.path(name); }
    void putOldFile(const QString& name);
    void fillLeaving(qint64 bytes) { small_.fillLeaving(bytes); }
    void verifyOldFileAlone(const QString& name) const;

    SmallFileSystem small_;
    QByteArray old_;
};

void TestSaveFile::initTestCase()
{
    QString why;
    if (!SmallFileSystem::enterOwnNamespace(&why))
        QSKIP(qPrintable(why));
    for (int i = 0; i < 4096; ++i)
        old_ += char('a' + i % 26);
}

void TestSaveFile::init()
{
    QString why;
    QVERIFY2(small_.mount(512 * 1024, &why), qPrintable(why));
}

void TestSaveFile::cleanup()
{
    small_.unmount();
}

void TestSaveFile::putOldFile(const QString& name)
{
    QVERIFY(small_.put(name, old_));
}

// The old file with its old bytes, and no temporary file left beside it.
void TestSaveFile::verifyOldFileAlone(const QString& name) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old_);
    QCOMPARE(small_.namesBesideFiller(), QStringList{name});
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

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
