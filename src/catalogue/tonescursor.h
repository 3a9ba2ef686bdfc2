#pragma once

#include "catalogue/tonerecord.h"
#include "catalogue/tonesdatabase.h"

#include <QList>
#include <QObject>

namespace catalogue {

// A cursor on the table Tones: the records in the order of one index, one of them current,
// and the editing of that record. Several cursors may be open on one database at once; each
// reads the table when it opens, re-sorts or saves, and so sees what the others saved up to
// then. Every save and every deletion is one transaction.
//
// A record is edited in a buffer: edit() or append() starts, setFieldText() writes fields,
// post() saves and cancel() drops the changes. Moving to another record, re-sorting and
// appending first leave the current record: a changed record is saved (and the move does
// not happen when the save is refused), an unchanged new record is dropped.
//
// Operations return false when refused; errorString() then says why in one sentence, and
// the table and the cursor are as they were.
class TonesCursor : public QObject
{
    Q_OBJECT

public:
    enum State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit TonesCursor(TonesDatabase& database, QObject* parent = nullptr);

    // Reads the table and makes the first record of the current order current.
    bool open();
    // Drops any unsaved change. The order stays for the next open.
    void close();
    bool isOpen() const { return state_ != Inactive; }
    State state() const { return state_; }
    QString errorString() const { return error_; }

    ToneIndex index() const { return index_; }
    QString indexName() const { return catalogue::indexName(index_); }
    // Leaves the current record, re-sorts and keeps that record current. A closed cursor
    // takes the order for its next opening.
    bool setIndex(ToneIndex index);
    bool setIndexName(const QString& name);

    // Next at the last record and prior at the first leave the position as it is.
    bool first();
    bool prior();
    bool next();
    bool last();
    // Makes the record at row current (a click in a grid).
    bool moveTo(int row);
    // Makes the record equal in all four fields current; false when there is none.
    bool locate(const ToneRecord& record);
    // Reads the table again, keeping the current record where it still exists.
    bool refresh();

    // The rows in the current order, a record being added included (as the last row).
    int rowCount() const;
    // -1 when the table is empty.
    int currentRow() const { return current_; }
    bool isEmpty() const { return rowCount() == 0; }
    // The record at row, with the unsaved changes where it is the current record.
    ToneRecord record(int row) const;
    ToneRecord currentRecord() const { return record(current_); }
    // A field of the current record as text; empty for an empty field or no record.
    QString fieldText(Field field) const { return currentRecord().text(field); }

    // Starts editing the current record; in an empty table, adds a new one.
    bool edit();
    // Leaves the current record, then adds a blank one as the current record.
    bool append();
    // Writes a field of the record being edited or added; refused in any other state, and
    // for a text the field cannot hold.
    bool setFieldText(Field field, const QString& text);
    bool isModified() const { return modified_; }
    // Saves the record being edited or added. A record equal in all four fields to another
    // is refused and stays in editing.
    bool post();
    // Drops the changes; a record being added is abandoned and the record that was current
    // before becomes current again.
    void cancel();
    // Deletes the current record; the record after it (or the new last) becomes current. A
    // record being added is abandoned instead.
    bool deleteRecord();

Q_SIGNALS:
    // The rows were read again or re-sorted, or a new record was added or abandoned.
    void rowsReset();
    void currentRowChanged(int row);
    // A field of the record at row was written.
    void recordChanged(int row);
    void stateChanged(catalogue::TonesCursor::State state);

private:
    struct Row
    {
        qint64 rowid = 0;
        ToneRecord record;
    };

    bool fail(const QString& message);
    bool checkWritable();
    // Saves or drops a pending change before the cursor moves.
    bool leaveRecord();
    // Reads the rows in the current order; the record with rowid keep becomes current, or
    // else the one at fallbackRow (kept within the rows).
    bool reload(std::optional<qint64> keep, int fallbackRow);
    bool moveWith(int (*target)(int current, int count));
    void setState(State state);
    void setCurrent(int row);
    std::optional<qint64> currentRowid() const;

    TonesDatabase& database_;
    ToneIndex index_ = ToneIndex::Category;
    State state_ = Inactive;
    QList<Row> rows_;
    int current_ = -1;
    ToneRecord buffer_;
    bool modified_ = false;
    // The record current before append(), to return to when the new record is abandoned.
    std::optional<qint64> beforeInsert_;
    QString error_;
};

}  // namespace catalogue
