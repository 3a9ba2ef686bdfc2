#include "support/printqueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace {

QString lpstat(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("lpstat"), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return QStringLiteral("(lpstat did not answer)");
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError())
        .trimmed();
}

}  // namespace

PrintQueue::PrintQueue() : folder_(qEnvironmentVariable("SONARITH_TEST_PRINTER_OUTPUT"))
{
    const QStringList files = newFiles();
    before_ = QSet<QString>(files.begin(), files.end());
}

QString PrintQueue::name()
{
    return qEnvironmentVariable("SONARITH_TEST_PRINTER");
}

const char* PrintQueue::missingReason()
{
    return "no test print queue (scripts/test sets one up on a print server of its own)";
}

QStringList PrintQueue::newFiles() const
{
    QStringList files;
    for (const QString& file : QDir(folder_).entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
        if (!before_.contains(file))
            files << file;
    }
    return files;
}

bool PrintQueue::idle() const
{
    return lpstat({QStringLiteral("-W"), QStringLiteral("not-completed"), QStringLiteral("-o"),
                   name()})
        .isEmpty();
}

std::optional<QString> PrintQueue::waitForPrinted(int timeoutMs, QString* error)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        // The backend writes the file while the job is processing: it is whole once the
        // server has nothing left to do.
        if (idle()) {
            const QStringList files = newFiles();
            if (files.size() == 1)
                return QDir(folder_).filePath(files.constFirst());
            if (files.size() > 1) {
                if (error)
                    *error = QStringLiteral("more than one job printed: ") + files.join(u' ');
                return std::nullopt;
            }
        }
        QThread::msleep(50);
    }
    if (error)
        *error = QStringLiteral("nothing printed on %1 within %2 ms; the server's jobs:\n%3")
                     .arg(name())
                     .arg(timeoutMs)
                     .arg(lpstat({QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-l"),
                                  QStringLiteral("-o"), name()}));
    return std::nullopt;
}
