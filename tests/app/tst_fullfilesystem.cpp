#include "app/program.h"
#include "catalogue/tonesdatabase.h"
#include "console/ui/toneform.h"
#include "numerology/letters.h"
#include "numerology/numerologyreport.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/yform.h"
#include "report/ui/reportpreview.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"
#include "support/smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Every way the program saves a file, into a real file system that runs full: the save says
// so, naming the file, and the file saved before stays byte for byte, with nothing beside it.
class TestFullFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void windowSave_data();
    void windowSave();
    void commandLineSave_data();
    void commandLineSave();
    void screenshots();

private:
    QString path(const QString& name) const { return small_.path(name); }
    void putEarlierFile(const QString& name);
    void fillLeaving(qint64 bytes) { small_.fillLeaving(bytes); }
    void verifyEarlierFileAlone(const QString& name) const;

    QTemporaryDir folder_;
    SmallFileSystem small_;
    QByteArray earlier_;
};

void TestFullFileSystem::initTestCase()
{
    // Programs started from here see the small file systems too.
    QString why;
    if (!SmallFileSystem::enterOwnNamespace(&why))
        QSKIP(qPrintable(why));
    QVERIFY(folder_.isValid());
    for (int i = 0; i < 4096; ++i)
        earlier_ += char('a' + i % 26);
}

void TestFullFileSystem::init()
{
    QString why;
    if (!small_.mount(256 * 1024, &why))
        QSKIP(qPrintable(why));
}

void TestFullFileSystem::cleanup()
{
    small_.unmount();
}

void TestFullFileSystem::putEarlierFile(const QString& name)
{
    QVERIFY(small_.put(name, earlier_));
}

// The earlier file with its bytes, and nothing but the filler beside it: no temporary file.
void TestFullFileSystem::verifyEarlierFileAlone(const QString& name) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier_);
    QCOMPARE(small_.namesBesideFiller(), QStringList{name});
}

void TestFullFileSystem::windowSave_data()
{
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("free");  // bytes left free by the filler

    QTest::newRow("console Save") << "console save"
                                  << "earlier.tns" << 0LL;
    QTest::newRow("console Export Sound") << "console export"
                                          << "earlier.wav" << 0LL;
    QTest::newRow("console Export Sound, a part fits") << "console export"
                                                       << "earlier.wav" << 64LL * 1024;
    QTest::newRow("calculator Export") << "calculator export"
                                       << "earlier.rtf" << 0LL;
    QTest::newRow("preview Save as PDF") << "preview save"
                                         << "earlier.pdf" << 0LL;
    QTest::newRow("preview Save as saved report") << "preview save"
                                                  << "earlier.srp" << 0LL;
    // The print dialog's "Print to File" as a user chooses it.
    QTest::newRow("preview Print to a PDF file") << "preview print"
                                                 << "earlier.pdf" << 0LL;
    QTest::newRow("preview Print to a PDF file, a part fits") << "preview print"
                                                              << "earlier.pdf" << 2LL * 1024;
}

void TestFullFileSystem::windowSave()
{
    QFETCH(QString, save);
    QFETCH(QString, file);
    QFETCH(qint64, free);
    putEarlierFile(file);
    fillLeaving(free);
    RecordingUiServices services;
    services.fileAnswers << path(file);

    if (save.startsWith(u"console")) {
        TToneFrm console;
        findControl<QLineEdit>(console, "DataBx")->setText(QStringLiteral("MARY"));
        if (save == u"console save")
            console.SaveBtnClick();
        else
            console.ExportBtnClick();
    } else if (save == u"calculator export") {
        TCalcFrm calculator;
        TYFrm yForm;
        calculator.SetYForm(&yForm);
        calculator.SetDataText(QStringLiteral("MARY"));
        calculator.ExportBtnClick();
    } else {
        ReportPreview preview(
            numerology::PrepareReport(
                numerology::frReport1(),
                numerology::AnalysisReportValues(numerology::Pythagorean, QStringLiteral("MARY"))),
            QStringLiteral("MARY"));
        if (save == u"preview save") {
            preview.SaveBtnClick();
        } else {
            services.printers << QStringLiteral("Office");
            services.printAnswer = [&](QPrinter& printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(path(file));
                return true;
            };
            preview.PrintBtnClick();
        }
    }

    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages[0].text,
             QStringLiteral("Cannot create file %1. No space left on device").arg(path(file)));
    QCOMPARE(services.messages[0].kind, UiServices::MessageKind::Error);
    verifyEarlierFileAlone(file);
}

void TestFullFileSystem::commandLineSave_data()
{
    QTest::addColumn<QStringList>("arguments");  // "{file}" stands for the file's path
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("free");
    QTest::addColumn<QString>("message");  // the line on standard error; %1 the file's path

    using L = QStringList;
    const QString cannotWrite = QStringLiteral("sonarith-cli: %1: cannot write %2: No space left "
                                               "on device\n");
    const QString cannotCreate = QStringLiteral("sonarith-cli: %1: Cannot create file %2. No "
                                                "space left on device\n");
    QTest::newRow("render") << L{"render", "MARY", "-o", "{file}"} << "earlier.wav" << 0LL
                            << cannotWrite.arg(QStringLiteral("render"), QStringLiteral("%1"));
    QTest::newRow("render, a part fits")
        << L{"render", "MARY", "-o", "{file}"} << "earlier.wav" << 64LL * 1024
        << cannotWrite.arg(QStringLiteral("render"), QStringLiteral("%1"));
    QTest::newRow("tone") << L{"tone", "--freq", "440", "--ms", "1000", "-o", "{file}"}
                          << "earlier.wav" << 0LL
                          << cannotWrite.arg(QStringLiteral("tone"), QStringLiteral("%1"));
    QTest::newRow("report numerology --rtf")
        << L{"report", "numerology", "MARY", "--rtf", "{file}"} << "earlier.rtf" << 0LL
        << cannotCreate.arg(QStringLiteral("report numerology"), QStringLiteral("%1"));
    QTest::newRow("report numerology --pdf")
        << L{"report", "numerology", "MARY", "--date", "1990-12-25", "--pdf", "{file}"}
        << "earlier.pdf" << 0LL
        << cannotCreate.arg(QStringLiteral("report numerology"), QStringLiteral("%1"));
    QTest::newRow("report catalogue --pdf")
        << L{"report", "catalogue", "--kind", "source", "--db", "{db}", "--pdf", "{file}"}
        << "earlier.pdf" << 0LL
        << cannotCreate.arg(QStringLiteral("report catalogue"), QStringLiteral("%1"));
}

void TestFullFileSystem::commandLineSave()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(qint64, free);
    QFETCH(QString, message);
    const QString db = folder_.filePath(QLatin1String(catalogue::kFileName));
    if (!QFile::exists(db)) {
        QString error;
        QVERIFY2(
            catalogue::createCatalogueFile(db, {{"Body", "Heart", 528, "Solfeggio"}}, true, &error),
            qPrintable(error));
    }
    arguments.replaceInStrings(QStringLiteral("{file}"), path(file));
    arguments.replaceInStrings(QStringLiteral("{db}"), db);
    putEarlierFile(file);
    fillLeaving(free);

    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI), arguments);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 3);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromLocal8Bit(cli.readAllStandardError()), message.arg(path(file)));
    verifyEarlierFileAlone(file);
}

// "--screenshots" replaces the pictures of an earlier run only with whole ones.
void TestFullFileSystem::screenshots()
{
    const QString file = QStringLiteral("TToneFrm.png");
    putEarlierFile(file);
    fillLeaving(0);
    QTemporaryDir working;
    QVERIFY(working.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    RecordingUiServices services;
    bool saved = true;
    QString error;
    {
        Program program;
        saved = program.saveScreenshots(path(QString()), &error);
    }
    QDir::setCurrent(previous);
    QVERIFY(!saved);
    QCOMPARE(error,
             QStringLiteral("Cannot create file %1. No space left on device").arg(path(file)));
    verifyEarlierFileAlone(file);
}

QTEST_MAIN(TestFullFileSystem)
#include "tst_fullfilesystem.moc"
