#include <QProcess>
#include <QTest>

// Runs the command-line program as a user would and checks what it prints and returns.
class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();
};

void TestCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // exact standard output; "*" for any

    using L = QStringList;
    QTest::newRow("digits") << L{"digits", "R.I.P."} << 0 << "909070\n";
    QTest::newRow("digits chaldean")
        << L{"digits", "R.I.P.", "--method", "chaldean"} << 0 << "201080\n";
    QTest::newRow("digits blank kept") << L{"digits", "A B", "--space-blank"} << 0 << "1 2\n";
    QTest::newRow("digits blank as zero") << L{"digits", "A B"} << 0 << "102\n";
    QTest::newRow("options before the text")
        << L{"digits", "--method=chaldean", "MARY"} << 0 << "4121\n";
    QTest::newRow("leading and trailing blanks kept")
        << L{"digits", "--space-blank", " A "} << 0 << " 1 \n";
    QTest::newRow("non-ASCII is one character") << L{"digits", "\u00c9A\U0001F600"} << 0 << "010\n";
    QTest::newRow("double dash ends options") << L{"digits", "--", "-A"} << 0 << "01\n";
    QTest::newRow("empty text") << L{"digits", ""} << 0 << "\n";
    QTest::newRow("unknown method") << L{"digits", "--method", "latin", "A"} << 2 << "";
    QTest::newRow("unknown option") << L{"digits", "--loud", "A"} << 2 << "";
    QTest::newRow("missing text") << L{"digits"} << 2 << "";
    QTest::newRow("two texts") << L{"digits", "A", "B"} << 2 << "";
    QTest::newRow("no command") << L{} << 2 << "";
    QTest::newRow("unknown command") << L{"dance"} << 2 << "";
    QTest::newRow("version") << L{"--version"} << 0 << "sonarith-cli 1.50\n";
    QTest::newRow("help") << L{"--help"} << 0 << "*";
    QTest::newRow("command help") << L{"digits", "--help"} << 0 << "*";
}

void TestCli::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);

    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI), arguments);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), status);
    if (output == QStringLiteral("*"))
        QVERIFY(out.startsWith(QStringLiteral("Usage: ")));
    else
        QCOMPARE(out, output);
    if (status == 0) {
        QCOMPARE(err, QString());
    } else {
        // One line that says what was wrong.
        QCOMPARE(err.count(u'\n'), 1);
        QVERIFY(err.startsWith(QStringLiteral("sonarith-cli: ")));
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
