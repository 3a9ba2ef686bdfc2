// Another program holding the catalogue, for the tests of a locked catalogue: opens FILE
// through Qt SQL, begins an exclusive transaction (with --write it also changes every record
// inside it, so that a journal lies beside the file), prints "locked" and waits for a line or
// the end of standard input. Then it rolls back, leaving the file as it was, and prints
// "released".
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 3 ||
        (arguments.size() == 3 && arguments[2] != QStringLiteral("--write"))) {
        std::fputs("usage: catalogue_locker FILE [--write]\n", stderr);
        return 2;
    }
    const bool write = arguments.size() == 3;
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(arguments[1]);
        QSqlQuery query(db);
        const auto run = [&](const QString& sql) {
            if (query.exec(sql))
                return true;
            std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
            return false;
        };
        if (!db.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(db.lastError().text()));
            status = 1;
        } else if (!run(QStringLiteral("BEGIN EXCLUSIVE")) ||
                   (write && !run(QStringLiteral("UPDATE Tones SET Source = Source || '!'")))) {
            status = 1;
        } else {
            std::puts("locked");
            std::fflush(stdout);
            std::string line;
            std::getline(std::cin, line);
            query.finish();
            status = run(QStringLiteral("ROLLBACK")) ? 0 : 1;
            std::puts("released");
            std::fflush(stdout);
        }
        query = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return status;
}
