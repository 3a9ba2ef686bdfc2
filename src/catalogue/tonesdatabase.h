#pragma once

#include "catalogue/tonerecord.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The catalogue file "Tones.abs": an SQLite database holding the table Tones.
namespace catalogue {

inline constexpr char kFileName[] = "Tones.abs";
inline constexpr char kConnectionName[] = "TonesDB";

// The unique key sees an empty CPS as this value, below every 32-bit number, because
// SQLite's UNIQUE lets any number of NULLs through.
inline constexpr char kEmptyCpsKey[] = "-2147483649";

// The table's indexes; a cursor shows the records in the order of one of them.
enum class ToneIndex { PrimaryKey, Source, Category, Cps, SubCategory };
QString indexName(ToneIndex index);
// The index of a name ("icategory", "icps", ...), compared without regard to case.
std::optional<ToneIndex> indexNamed(const QString& name);
// The ORDER BY terms of an index, ending with the rowid so that equal keys keep one order.
QString orderByOf(ToneIndex index);

// The four orders of the catalogue listings.
enum class ReportOrder { Category = 1, Frequency, Source, SubCategory };

class TonesDatabase
{
public:
    enum class Missing { Create, Refuse };

    explicit TonesDatabase(const QString& connectionName = QLatin1String(kConnectionName));
    ~TonesDatabase();
    TonesDatabase(const TonesDatabase&) = delete;
    TonesDatabase& operator=(const TonesDatabase&) = delete;

    // Opens the catalogue file at path. A missing file is created holding the shipped
    // catalogue (unless missing says to refuse). A file that is not a readable catalogue is
    // left exactly as it is and the open fails with one sentence saying what is wrong. A
    // file that may not be written opens read-only: it can be browsed, never changed.
    bool open(const QString& path, Missing missing = Missing::Create);
    // Cursors on the database must be closed first.
    void close();

    bool isOpen() const { return open_; }
    bool isReadOnly() const { return readOnly_; }
    QString fileName() const { return path_; }
    QString errorString() const { return error_; }
    // The last open failed only because another program holds the file for the moment.
    bool wasLocked() const { return locked_; }
    QSqlDatabase connection() const;

    // Every distinct combination of the four fields once, in the listing's order. Text keys
    // compare without regard to case first, so that a name spelled in two ways still sorts
    // by the alphabet, and then exactly, so that each spelling stays one run of rows.
    std::optional<QList<ToneRecord>> distinctTones(ReportOrder order, QString* error) const;

    // Why a change of a read-only catalogue is refused.
    QString readOnlyMessage() const;
    // The reason an SQL statement failed, in words: "the catalogue is locked by another
    // program", "the disk is full", or the database's own text.
    static QString reason(const QSqlError& error);

private:
    QString connectionName_;
    QString path_;
    QString error_;
    bool open_ = false;
    bool readOnly_ = false;
    bool locked_ = false;
};

// Writes a catalogue file at path holding records, built beside it and moved into place
// only when complete. An existing file is replaced only when replace is set. Fails, with the
// reason in error, on a record the table refuses (too long, a duplicate).
bool createCatalogueFile(const QString& path, const QList<ToneRecord>& records, bool replace,
                         QString* error);

}  // namespace catalogue
