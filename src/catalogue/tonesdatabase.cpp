#include "catalogue/tonesdatabase.h"

#include "catalogue/seedfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace catalogue {

namespace {

// Marks the file as ours in the SQLite header ("Sona"), beside the schema's version.
constexpr int kApplicationId = 0x536f6e61;
constexpr int kSchemaVersion = 1;
// A writer of this small table holds its lock for milliseconds; longer is another program.
constexpr int kBusyTimeoutMs = 1000;

const char* const kSchema[] = {
    "CREATE TABLE Tones ("
    " Category TEXT NOT NULL DEFAULT '' CHECK (length(Category) <= 40),"
    " SubCategory TEXT NOT NULL DEFAULT '' CHECK (length(SubCategory) <= 40),"
    " CPS INTEGER CHECK (CPS IS NULL OR (typeof(CPS) = 'integer'"
    " AND CPS BETWEEN -2147483648 AND 2147483647)),"
    " Source TEXT NOT NULL DEFAULT '' CHECK (length(Source) <= 60))",
    "CREATE UNIQUE INDEX idxPrimaryKey ON Tones"
    " (Category, SubCategory, ifnull(CPS, -2147483649), Source)",
    "CREATE INDEX isource ON Tones"
    " (Source COLLATE NOCASE, Category COLLATE NOCASE, SubCategory COLLATE NOCASE)",
    "CREATE INDEX icategory ON Tones"
    " (Category COLLATE NOCASE, CPS, SubCategory COLLATE NOCASE)",
    "CREATE INDEX icps ON Tones (CPS, Category COLLATE NOCASE)",
    "CREATE INDEX isubcategory ON Tones (SubCategory COLLATE NOCASE, CPS)",
    "PRAGMA application_id = 1399811681",
    "PRAGMA user_version = 1",
};
static_assert(kApplicationId == 1399811681);

const QStringList kColumns{QStringLiteral("Category"), QStringLiteral("SubCategory"),
                           QStringLiteral("CPS"), QStringLiteral("Source")};

// Opened through a URI so that no mode of opening can create the file.
QString uriOf(const QString& path, bool readOnly)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/")) +
           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
}

QString connectOptions(bool readOnly)
{
    return QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1%2")
        .arg(kBusyTimeoutMs)
        .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString());
}

// The primary SQLite result code of an error the driver reports.
int sqliteCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

QString quoted(const QString& path)
{
    return u'"' + path + u'"';
}

// What the file's first bytes tell: SQLite reads a file cut short as far as it reaches, or
// an empty one as an empty database, so both are caught here, before any opening.
QString headerProblem(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The tone catalogue %1 cannot be read: %2.")
            .arg(quoted(path), file.errorString());
    const qint64 size = file.size();
    const QByteArray header = file.read(100);
    if (size == 0)
        return QStringLiteral("%1 is not a tone catalogue: it is empty.").arg(quoted(path));
    if (!header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return QStringLiteral("%1 is not a tone catalogue: it is not a database file.")
            .arg(quoted(path));
    const auto number = [&](int offset, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | quint8(header[offset + i]);
        return value;
    };
    const QString damaged =
        QStringLiteral("The tone catalogue %1 is damaged and cannot be read.").arg(quoted(path));
    if (header.size() < 100)
        return damaged;
    const qint64 pageSize = number(16, 2) == 1 ? 65536 : number(16, 2);
    // The page count holds only while the two change counters agree, and a write-ahead log
    // may hold pages the file does not have yet.
    const bool countValid = number(24, 4) == number(92, 4) && header[18] != 2;
    if (pageSize < 512 || size % pageSize != 0 ||
        (countValid && size < qint64(number(28, 4)) * pageSize))
        return damaged;
    return {};
}

// What is wrong with an existing file, in one sentence; empty when it is a catalogue. Sets
// locked when another program holds the file.
QString problemOf(const QString& path, const QString& connectionName, bool* locked)
{
    QString problem = headerProblem(path);
    if (!problem.isEmpty())
        return problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setConnectOptions(connectOptions(true));
        db.setDatabaseName(uriOf(path, true));
        const auto failed = [&](const QSqlError& error) {
            switch (sqliteCode(error)) {
            case 26:  // SQLITE_NOTADB
                return QStringLiteral("%1 is not a tone catalogue: it is not a database file.")
                    .arg(quoted(path));
            case 11:  // SQLITE_CORRUPT
                return QStringLiteral("The tone catalogue %1 is damaged and cannot be read.")
                    .arg(quoted(path));
            case 5:  // SQLITE_BUSY
            case 6:  // SQLITE_LOCKED
                *locked = true;
                return QStringLiteral("The tone catalogue %1 is locked by another program.")
                    .arg(quoted(path));
            default:
                return QStringLiteral("The tone catalogue %1 cannot be read: %2.")
                    .arg(quoted(path), TonesDatabase::reason(error));
            }
        };
        QSqlQuery query(db);
        const auto single = [&](const QString& sql) -> std::optional<QVariant> {
            if (!query.exec(sql) || !query.next())
                return std::nullopt;
            return query.value(0);
        };
        // The integrity check is the full one, not the quick one: bytes changed inside a page
        // of records or of an index leave the pages' structure sound and show only when the
        // table and its indexes are compared, and a write into such a file spreads the damage.
        if (!db.open()) {
            problem = failed(db.lastError());
        } else if (const auto id = single(QStringLiteral("PRAGMA application_id")); !id) {
            problem = failed(query.lastError());
        } else if (id->toInt() != kApplicationId) {
            problem = QStringLiteral("%1 is not a tone catalogue of Sonarith.").arg(quoted(path));
        } else if (const auto version = single(QStringLiteral("PRAGMA user_version")); !version) {
            problem = failed(query.lastError());
        } else if (version->toInt() > kSchemaVersion) {
            problem = QStringLiteral("The tone catalogue %1 was written by a newer version of "
                                     "Sonarith and cannot be read.")
                          .arg(quoted(path));
        } else if (const auto check = single(QStringLiteral("PRAGMA integrity_check")); !check) {
            problem = failed(query.lastError());
        } else if (check->toString() != QStringLiteral("ok")) {
            problem = QStringLiteral("The tone catalogue %1 is damaged and cannot be read.")
                          .arg(quoted(path));
        } else {
            QStringList columns;
            if (query.exec(QStringLiteral("PRAGMA table_info(Tones)"))) {
                while (query.next())
                    columns << query.value(1).toString();
            }
            QStringList indexes;
            if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                          "tbl_name = 'Tones'"))) {
                while (query.next())
                    indexes << query.value(0).toString();
            }
            bool complete = columns == kColumns;
            for (const ToneIndex index :
                 {ToneIndex::PrimaryKey, ToneIndex::Source, ToneIndex::Category, ToneIndex::Cps,
                  ToneIndex::SubCategory})
                complete = complete && indexes.contains(indexName(index));
            if (!complete)
                problem = QStringLiteral("The tone catalogue %1 does not hold the table Tones "
                                         "with its fields and indexes.")
                              .arg(quoted(path));
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return problem;
}

// A file that nobody may write stays untouched even for an administrator, and SQLite needs
// to write its journal beside the file.
bool mayWrite(const QFileInfo& file)
{
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return file.isWritable() && (file.permissions() & writeBits) &&
           QFileInfo(file.absolutePath()).isWritable();
}

// Runs statements as one transaction on a connection that writes.
bool runAll(QSqlDatabase& db, const QList<std::pair<QString, QVariantList>>& statements,
            QString* error)
{
    QSqlQuery query(db);
    const auto fail = [&](const QSqlError& sqlError) {
        if (error)
            *error = TonesDatabase::reason(sqlError);
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError());
    for (const auto& [sql, values] : statements) {
        if (!query.prepare(sql))
            return fail(query.lastError());
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            return fail(query.lastError());
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail(query.lastError());
    return true;
}

}  // namespace

QString indexName(ToneIndex index)
{
    switch (index) {
    case ToneIndex::PrimaryKey:
        return QStringLiteral("idxPrimaryKey");
    case ToneIndex::Source:
        return QStringLiteral("isource");
    case ToneIndex::Category:
        return QStringLiteral("icategory");
    case ToneIndex::Cps:
        return QStringLiteral("icps");
    case ToneIndex::SubCategory:
        return QStringLiteral("isubcategory");
    }
    return {};
}

std::optional<ToneIndex> indexNamed(const QString& name)
{
    for (const ToneIndex index : {ToneIndex::PrimaryKey, ToneIndex::Source, ToneIndex::Category,
                                  ToneIndex::Cps, ToneIndex::SubCategory}) {
        if (name.compare(indexName(index), Qt::CaseInsensitive) == 0)
            return index;
    }
    return std::nullopt;
}

QString orderByOf(ToneIndex index)
{
    switch (index) {
    case ToneIndex::PrimaryKey:
        return QStringLiteral("Category, SubCategory, ifnull(CPS, %1), Source")
            .arg(QLatin1String(kEmptyCpsKey));
    case ToneIndex::Source:
        return QStringLiteral("Source COLLATE NOCASE, Category COLLATE NOCASE, "
                              "SubCategory COLLATE NOCASE, rowid");
    case ToneIndex::Category:
        return QStringLiteral("Category COLLATE NOCASE, CPS, SubCategory COLLATE NOCASE, rowid");
    case ToneIndex::Cps:
        return QStringLiteral("CPS, Category COLLATE NOCASE, rowid");
    case ToneIndex::SubCategory:
        return QStringLiteral("SubCategory COLLATE NOCASE, CPS, rowid");
    }
    return {};
}

TonesDatabase::TonesDatabase(const QString& connectionName) : connectionName_(connectionName) {}

TonesDatabase::~TonesDatabase()
{
    close();
}

bool TonesDatabase::open(const QString& path, Missing missing)
{
    close();
    locked_ = false;
    const QFileInfo file(path);
    path_ = file.absoluteFilePath();
    const auto fail = [this](const QString& message) {
        error_ = message;
        return false;
    };
    if (!file.exists()) {
        if (missing == Missing::Refuse)
            return fail(QStringLiteral("There is no tone catalogue %1.").arg(quoted(path_)));
        QString error;
        const std::optional<QList<ToneRecord>> records = readSeed(shippedSeed(), &error);
        if (!records)
            return fail(
                QStringLiteral("The built-in tone catalogue is unreadable (%1).").arg(error));
        if (!createCatalogueFile(path_, *records, false, &error))
            return fail(QStringLiteral("The tone catalogue %1 cannot be created: %2.")
                            .arg(quoted(path_), error));
    } else if (!file.isFile()) {
        return fail(
            QStringLiteral("%1 is not a tone catalogue: it is not a file.").arg(quoted(path_)));
    }

    if (const QString problem =
            problemOf(path_, connectionName_ + QStringLiteral("-check"), &locked_);
        !problem.isEmpty())
        return fail(problem);

    const bool readOnly = !mayWrite(QFileInfo(path_));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        db.setConnectOptions(connectOptions(readOnly));
        db.setDatabaseName(uriOf(path_, readOnly));
        if (!db.open()) {
            const QString why = reason(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName_);
            return fail(QStringLiteral("The tone catalogue %1 cannot be opened: %2.")
                            .arg(quoted(path_), why));
        }
    }
    open_ = true;
    readOnly_ = readOnly;
    error_.clear();
    return true;
}

void TonesDatabase::close()
{
    if (!open_)
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
    open_ = false;
    readOnly_ = false;
}

QSqlDatabase TonesDatabase::connection() const
{
    return QSqlDatabase::database(connectionName_, false);
}

QString TonesDatabase::readOnlyMessage() const
{
    return QStringLiteral("The tone catalogue %1 is read-only; it cannot be changed.")
        .arg(quoted(path_));
}

QString TonesDatabase::reason(const QSqlError& error)
{
    switch (sqliteCode(error)) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return QStringLiteral("the catalogue is locked by another program");
    case 8:  // SQLITE_READONLY
        return QStringLiteral("the catalogue may not be written");
    case 13:  // SQLITE_FULL
        return QStringLiteral("the disk is full");
    default:
        return error.databaseText().isEmpty() ? error.text() : error.databaseText();
    }
}

std::optional<QList<ToneRecord>> TonesDatabase::distinctTones(ReportOrder order,
                                                              QString* error) const
{
    if (!open_) {
        if (error)
            *error = QStringLiteral("The tone catalogue is not open.");
        return std::nullopt;
    }
    QString orderBy;
    switch (order) {
    case ReportOrder::Category:
        orderBy = QStringLiteral("Category COLLATE NOCASE, Category, CPS, "
                                 "SubCategory COLLATE NOCASE, SubCategory, Source");
        break;
    case ReportOrder::Frequency:
        orderBy = QStringLiteral("CPS, Category COLLATE NOCASE, Category, "
                                 "SubCategory COLLATE NOCASE, SubCategory, Source");
        break;
    case ReportOrder::Source:
        orderBy = QStringLiteral("Source COLLATE NOCASE, Source, Category COLLATE NOCASE, "
                                 "Category, CPS, SubCategory COLLATE NOCASE, SubCategory");
        break;
    case ReportOrder::SubCategory:
        orderBy = QStringLiteral("SubCategory COLLATE NOCASE, SubCategory, CPS, "
                                 "Category COLLATE NOCASE, Category, Source");
        break;
    }
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT DISTINCT Category, SubCategory, CPS, Source "
                                   "FROM Tones ORDER BY ") +
                    orderBy)) {
        if (error)
            *error = QStringLiteral("The catalogue listing cannot be made: %1.")
                         .arg(reason(query.lastError()));
        return std::nullopt;
    }
    QList<ToneRecord> records;
    while (query.next()) {
        const QVariant cps = query.value(2);
        records << ToneRecord{query.value(0).toString(), query.value(1).toString(),
                              cps.isNull() ? std::nullopt : std::optional<qint32>(cps.toInt()),
                              query.value(3).toString()};
    }
    return records;
}

bool createCatalogueFile(const QString& path, const QList<ToneRecord>& records, bool replace,
                         QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    for (const ToneRecord& record : records) {
        if (const QString problem = recordProblem(record); !problem.isEmpty())
            return fail(problem);
    }
    const QFileInfo target(path);
    // Built under a name of its own beside the target, so that the move is one rename.
    const QString building = target.absoluteFilePath() + QStringLiteral(".") +
                             QUuid::createUuid().toString(QUuid::Id128).left(12) +
                             QStringLiteral(".new");
    const auto discard = [&] {
        QFile::remove(building);
        QFile::remove(building + QStringLiteral("-journal"));
    };

    QList<std::pair<QString, QVariantList>> statements;
    for (const char* sql : kSchema)
        statements.append({QLatin1String(sql), {}});
    const QString insert = QStringLiteral(
        "INSERT INTO Tones (Category, SubCategory, CPS, Source) VALUES (?, ?, ?, ?)");
    const auto text = [](const QString& value) {
        // A null QString would be bound as NULL.
        return QVariant(value.isNull() ? QStringLiteral("") : value);
    };
    for (const ToneRecord& record : records)
        statements.append({insert,
                           {text(record.category), text(record.subCategory),
                            record.cps ? QVariant(*record.cps) : QVariant(), text(record.source)}});

    const QString connectionName =
        QStringLiteral("TonesDB-create-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool built = false;
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setConnectOptions(connectOptions(false));
        // The one opening that may create a file.
        db.setDatabaseName(QStringLiteral("file:") +
                           QString::fromLatin1(QUrl::toPercentEncoding(building, "/")) +
                           QStringLiteral("?mode=rwc"));
        if (!db.open())
            reason = TonesDatabase::reason(db.lastError());
        else
            built = runAll(db, statements, &reason);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!built) {
        discard();
        if (reason.contains(QStringLiteral("UNIQUE constraint failed")))
            reason = QStringLiteral("two records are equal in all four fields");
        return fail(reason);
    }
    QFile::setPermissions(building, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray from = QFile::encodeName(building);
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    // rename() replaces; link() refuses an existing name, and does so atomically. Where the
    // file system has no links, a check before the rename has to do.
    int result = 0;
    if (replace) {
        result = std::rename(from.constData(), to.constData());
    } else {
        result = ::link(from.constData(), to.constData());
        if (result != 0 && (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS)) {
            errno = EEXIST;
            result = target.exists() ? -1 : std::rename(from.constData(), to.constData());
        }
    }
    const int number = errno;
    discard();
    if (result != 0)
        return fail(QString::fromLocal8Bit(std::strerror(number)));
    return true;
}

}  // namespace catalogue
