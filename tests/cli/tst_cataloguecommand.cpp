#include "catalogue/tonesdatabase.h"
#include "support/cataloguefaults.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace cataloguefaults;

// `sonarith-cli catalogue` on catalogue files that are locked, read-only or damaged, made so
// for real; its ordinary use is tested with the rest of the command line in tst_cli.
class TestCatalogueCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultyFileLeftAsItIs_data();
    void faultyFileLeftAsItIs();
};

void TestCatalogueCommand::faultyFileLeftAsItIs_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");  // after "sonarith-cli: catalogue ACTION: "; %1 the file

    const QString locked =
        QStringLiteral("The tone catalogue \"%1\" is locked by another program.");
    const QString damaged =
        QStringLiteral("The tone catalogue \"%1\" is damaged and cannot be read.");
    const QString readOnly =
        QStringLiteral("The tone catalogue \"%1\" is read-only; it cannot be changed.");
    // A catalogue another program holds could not be written; a damaged one is bad input.
    for (const QString action : {"list", "add", "delete"}) {
        const bool writes = action != QLatin1String("list");
        const auto row = [&](const char* fault, int status, const QString& message) {
            QTest::addRow("%s, %s", fault, qPrintable(action))
                << QString::fromLatin1(fault) << action << status << message;
        };
        row("locked", writes ? 3 : 2, locked);
        row("locked by a program writing", writes ? 3 : 2, locked);
        row("cut in half", 2, damaged);
        row("records page inverted", 2, damaged);
        row("index page inverted", 2, damaged);
        if (writes)
            row("immutable", 3, readOnly);
    }
}

// One line says what is wrong, the status is not 0, the file stays byte for byte as it was and
// nothing is left beside it.
void TestCatalogueCommand::faultyFileLeftAsItIs()
{
    QFETCH(QString, fault);
    QFETCH(QString, action);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Tones.abs"));
    QList<catalogue::ToneRecord> records;
    for (int i = 0; i < 400; ++i)
        records << catalogue::ToneRecord{QStringLiteral("Category %1").arg(i % 7),
                                         QStringLiteral("Sub %1").arg(i), i,
                                         QStringLiteral("Source %1").arg(i % 11)};
    QString error;
    QVERIFY2(catalogue::createCatalogueFile(path, records, false, &error), qPrintable(error));

    std::unique_ptr<ReadOnlyFile> readOnly;
    if (fault.startsWith(QLatin1String("locked"))) {
        // Locked below, once the file is as it should stay.
    } else if (fault == QLatin1String("cut in half")) {
        QVERIFY2(cutInHalf(path, &error), qPrintable(error));
    } else if (fault == QLatin1String("immutable")) {
        // Only the file system refuses: the mode bits still say it may be written.
        readOnly = std::make_unique<ReadOnlyFile>(path, true);
        if (!readOnly->isReadOnly())
            QSKIP(qPrintable(readOnly->errorString()));
    } else {
        const PageKind kind = fault.startsWith(u'r') ? PageKind::TableLeaf : PageKind::IndexLeaf;
        QVERIFY2(invertPage(path, kind, kind == PageKind::TableLeaf ? 2 : 1, &error),
                 qPrintable(error));
    }
    const QByteArray digest = digestOf(path);
    const QStringList entries = entriesOf(dir.path());
    // A program in the middle of a write has its journal beside the file until it rolls back.
    std::unique_ptr<CatalogueLock> lock;
    if (fault.startsWith(QLatin1String("locked"))) {
        lock = std::make_unique<CatalogueLock>(path, fault.endsWith(QLatin1String("writing")));
        QVERIFY2(lock->isHeld(), qPrintable(lock->errorString()));
    }

    // The record deleted is one the catalogue holds; the one added is new.
    QStringList arguments{QStringLiteral("catalogue"), action, QStringLiteral("--db"), path};
    if (action != QLatin1String("list"))
        arguments << QStringList{"--cps",         action == u"add" ? "1000" : "3",
                                 "--category",    "Category 3",
                                 "--subcategory", "Sub 3",
                                 "--source",      "Source 3"};
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    QElapsedTimer waited;
    waited.start();
    cli.start(QStringLiteral(SONARITH_CLI), arguments);
    QVERIFY(cli.waitForFinished(20000));
    QVERIFY2(waited.elapsed() < 10000, qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
             QStringLiteral("sonarith-cli: catalogue %1: %2\n").arg(action, message.arg(path)));
    QCOMPARE(cli.exitCode(), status);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray());

    if (lock)
        QVERIFY2(lock->release(), qPrintable(lock->errorString()));
    QCOMPARE(digestOf(path), digest);
    QCOMPARE(entriesOf(dir.path()), entries);
}

QTEST_GUILESS_MAIN(TestCatalogueCommand)
#include "tst_cataloguecommand.moc"
