#include "app/program.h"
#include "console/ui/toneform.h"
#include "support/recordinguiservices.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsInOrder();
    void screenshots();

private:
    RecordingUiServices services;
};

void TestProgram::windowsInOrder()
{
    Program program;
    QStringList classes;
    QStringList titles;
    for (const QWidget* window : program.windows()) {
        classes << QString::fromLatin1(window->metaObject()->className());
        titles << window->windowTitle();
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());
    }
    QCOMPARE(classes,
             QStringList({"TToneFrm", "TCalcFrm", "TYFrm", "TCalculatorFrm", "TDonateFrm"}));
    QCOMPARE(titles, QStringList({"Sonarith Ver. 1.50", "Numerology Calculator", "Y Character",
                                  "Math Calculator", "Kindlyware - Good Karma for All of Us."}));
}

void TestProgram::screenshots()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString target = folder.filePath(QStringLiteral("shots"));
    Program program;
    QString error;
    QVERIFY2(program.saveScreenshots(target, &error), qPrintable(error));

    for (const QWidget* window : program.windows()) {
        const QString name = QString::fromLatin1(window->metaObject()->className());
        const QImage image(QDir(target).filePath(name + QStringLiteral(".png")));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size() / image.devicePixelRatio(), window->size());
        QVERIFY2(!window->isVisible(), qPrintable(name));
    }
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
