#include "catalogue/tonescursor.h"

#include <QSqlQuery>
#include <algorithm>

namespace catalogue {

namespace {

QVariant textValue(const QString& value)
{
    // A null QString would be bound as NULL, which the table refuses.
    return QVariant(value.isNull() ? QStringLiteral("") : value);
}

QVariant cpsValue(const std::optional<qint32>& cps)
{
    return cps ? QVariant(*cps) : QVariant();
}

}  // namespace

TonesCursor::TonesCursor(TonesDatabase& database, QObject* parent)
    : QObject(parent), database_(database)
{}

bool TonesCursor::fail(const QString& message)
{
    error_ = message;
    return false;
}

bool TonesCursor::checkWritable()
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (database_.isReadOnly())
        return fail(database_.readOnlyMessage());
    return true;
}

void TonesCursor::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    Q_EMIT stateChanged(state);
}

void TonesCursor::setCurrent(int row)
{
    if (current_ == row)
        return;
    current_ = row;
    Q_EMIT currentRowChanged(row);
}

std::optional<qint64> TonesCursor::currentRowid() const
{
    if (current_ < 0 || current_ >= rows_.size())
        return std::nullopt;
    return rows_[current_].rowid;
}

bool TonesCursor::open()
{
    if (!database_.isOpen())
        return fail(QStringLiteral("The tone catalogue is not open."));
    modified_ = false;
    buffer_ = {};
    setState(Browse);
    if (!reload(std::nullopt, 0)) {
        close();
        return false;
    }
    return true;
}

void TonesCursor::close()
{
    rows_.clear();
    buffer_ = {};
    modified_ = false;
    current_ = -1;
    setState(Inactive);
    Q_EMIT rowsReset();
}

bool TonesCursor::reload(std::optional<qint64> keep, int fallbackRow)
{
    QSqlQuery query(database_.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT rowid, Category, SubCategory, CPS, Source FROM Tones "
                                   "ORDER BY ") +
                    orderByOf(index_)))
        return fail(QStringLiteral("The tone catalogue cannot be read: %1.")
                        .arg(TonesDatabase::reason(query.lastError())));
    QList<Row> rows;
    rows.reserve(rows_.size());
    while (query.next()) {
        const QVariant cps = query.value(3);
        rows.append(Row{query.value(0).toLongLong(),
                        ToneRecord{query.value(1).toString(), query.value(2).toString(),
                                   cps.isNull() ? std::nullopt : std::optional<qint32>(cps.toInt()),
                                   query.value(4).toString()}});
    }
    rows_ = std::move(rows);

    int current = -1;
    if (keep) {
        const auto found = std::find_if(rows_.cbegin(), rows_.cend(),
                                        [&](const Row& row) { return row.rowid == *keep; });
        if (found != rows_.cend())
            current = int(found - rows_.cbegin());
    }
    if (current < 0 && !rows_.isEmpty())
        current = std::clamp(fallbackRow, 0, int(rows_.size()) - 1);
    current_ = current;
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(current_);
    return true;
}

bool TonesCursor::setIndex(ToneIndex index)
{
    if (state_ == Inactive) {
        index_ = index;
        return true;
    }
    if (!leaveRecord())
        return false;
    const ToneIndex previous = index_;
    index_ = index;
    if (!reload(currentRowid(), current_)) {
        index_ = previous;
        return false;
    }
    return true;
}

bool TonesCursor::setIndexName(const QString& name)
{
    const std::optional<ToneIndex> index = indexNamed(name);
    if (!index)
        return fail(QStringLiteral("The table Tones has no index named '%1'.").arg(name));
    return setIndex(*index);
}

bool TonesCursor::moveWith(int (*target)(int current, int count))
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (!leaveRecord())
        return false;
    if (rows_.isEmpty())
        return true;
    setCurrent(std::clamp(target(current_, int(rows_.size())), 0, int(rows_.size()) - 1));
    return true;
}

bool TonesCursor::first()
{
    return moveWith([](int, int) { return 0; });
}

bool TonesCursor::prior()
{
    return moveWith([](int current, int) { return current - 1; });
}

bool TonesCursor::next()
{
    return moveWith([](int current, int) { return current + 1; });
}

bool TonesCursor::last()
{
    return moveWith([](int, int count) { return count - 1; });
}

bool TonesCursor::moveTo(int row)
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (row < 0 || row >= rowCount())
        return fail(QStringLiteral("There is no row %1.").arg(row));
    if (state_ == Insert && row == rows_.size())
        return true;  // the record being added
    // The row's record, wherever leaving the current one sorts it.
    const qint64 rowid = rows_[row].rowid;
    if (!leaveRecord())
        return false;
    const auto found =
        std::find_if(rows_.cbegin(), rows_.cend(), [&](const Row& r) { return r.rowid == rowid; });
    if (found != rows_.cend())
        setCurrent(int(found - rows_.cbegin()));
    return true;
}

bool TonesCursor::locate(const ToneRecord& record)
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (!leaveRecord())
        return false;
    const auto found = std::find_if(rows_.cbegin(), rows_.cend(),
                                    [&](const Row& row) { return row.record == record; });
    if (found == rows_.cend())
        return fail(QStringLiteral("The tone catalogue holds no such record."));
    setCurrent(int(found - rows_.cbegin()));
    return true;
}

bool TonesCursor::refresh()
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (!leaveRecord())
        return false;
    return reload(currentRowid(), current_);
}

int TonesCursor::rowCount() const
{
    return int(rows_.size()) + (state_ == Insert ? 1 : 0);
}

ToneRecord TonesCursor::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    if (row == current_ && (state_ == Edit || state_ == Insert))
        return buffer_;
    return rows_[row].record;
}

bool TonesCursor::edit()
{
    if (state_ == Edit || state_ == Insert)
        return true;
    if (!checkWritable())
        return false;
    if (rows_.isEmpty())
        return append();
    buffer_ = rows_[current_].record;
    modified_ = false;
    setState(Edit);
    return true;
}

bool TonesCursor::append()
{
    if (!checkWritable() || !leaveRecord())
        return false;
    beforeInsert_ = currentRowid();
    buffer_ = {};
    modified_ = false;
    current_ = int(rows_.size());
    setState(Insert);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(current_);
    return true;
}

bool TonesCursor::setFieldText(Field field, const QString& text)
{
    if (state_ == Inactive)
        return fail(QStringLiteral("The tone catalogue is not open."));
    if (state_ == Browse)
        return fail(messages::notEditing());
    if (const QString problem = textProblem(field, text); !problem.isEmpty())
        return fail(problem);
    switch (field) {
    case Field::Category:
        buffer_.category = text;
        break;
    case Field::SubCategory:
        buffer_.subCategory = text;
        break;
    case Field::Cps:
        cpsOf(text, &buffer_.cps, nullptr);
        break;
    case Field::Source:
        buffer_.source = text;
        break;
    }
    modified_ = true;
    Q_EMIT recordChanged(current_);
    return true;
}

bool TonesCursor::post()
{
    if (state_ == Browse)
        return true;
    if (!checkWritable())
        return false;
    if (const QString problem = recordProblem(buffer_); !problem.isEmpty())
        return fail(problem);

    QSqlDatabase db = database_.connection();
    QSqlQuery query(db);
    const auto refuse = [&](const QString& message) {
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return fail(message);
    };
    const auto failed = [&] {
        return refuse(QStringLiteral("The record was not saved: %1.")
                          .arg(TonesDatabase::reason(query.lastError())));
    };
    const bool editing = state_ == Edit;
    const qint64 rowid = editing ? rows_[current_].rowid : 0;

    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(QStringLiteral("The record was not saved: %1.")
                        .arg(TonesDatabase::reason(query.lastError())));
    // Looked up first so that the refusal names the rule; the unique index stays the guard.
    query.prepare(QStringLiteral("SELECT rowid FROM Tones WHERE Category = ? AND SubCategory = ? "
                                 "AND ifnull(CPS, %1) = ifnull(?, %1) AND Source = ?")
                      .arg(QLatin1String(kEmptyCpsKey)));
    for (const QVariant& value : {textValue(buffer_.category), textValue(buffer_.subCategory),
                                  cpsValue(buffer_.cps), textValue(buffer_.source)})
        query.addBindValue(value);
    if (!query.exec())
        return failed();
    while (query.next()) {
        if (!editing || query.value(0).toLongLong() != rowid)
            return refuse(messages::duplicate());
    }
    query.finish();

    if (state_ == Insert) {
        query.prepare(QStringLiteral(
            "INSERT INTO Tones (Category, SubCategory, CPS, Source) VALUES (?, ?, ?, ?)"));
    } else {
        query.prepare(QStringLiteral("UPDATE Tones SET Category = ?, SubCategory = ?, CPS = ?, "
                                     "Source = ? WHERE rowid = ?"));
    }
    for (const QVariant& value : {textValue(buffer_.category), textValue(buffer_.subCategory),
                                  cpsValue(buffer_.cps), textValue(buffer_.source)})
        query.addBindValue(value);
    if (editing)
        query.addBindValue(rowid);
    if (!query.exec())
        return failed();
    if (editing && query.numRowsAffected() == 0)
        return refuse(QStringLiteral("The record was not saved: another window has deleted it "
                                     "meanwhile."));
    const qint64 saved = editing ? rowid : query.lastInsertId().toLongLong();
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT")))
        return failed();

    modified_ = false;
    buffer_ = {};
    beforeInsert_.reset();
    setState(Browse);
    reload(saved, current_);
    return true;
}

void TonesCursor::cancel()
{
    if (state_ == Edit) {
        buffer_ = {};
        modified_ = false;
        setState(Browse);
        Q_EMIT recordChanged(current_);
    } else if (state_ == Insert) {
        buffer_ = {};
        modified_ = false;
        int current = rows_.isEmpty() ? -1 : int(rows_.size()) - 1;
        for (int row = 0; row < rows_.size(); ++row) {
            if (rows_[row].rowid == beforeInsert_)
                current = row;
        }
        beforeInsert_.reset();
        current_ = current;
        setState(Browse);
        Q_EMIT rowsReset();
        Q_EMIT currentRowChanged(current_);
    }
}

bool TonesCursor::deleteRecord()
{
    if (state_ == Insert) {
        cancel();
        return true;
    }
    if (!checkWritable())
        return false;
    if (rows_.isEmpty())
        return fail(messages::emptyDataset());

    QSqlDatabase db = database_.connection();
    QSqlQuery query(db);
    const auto failed = [&] {
        const QString message = QStringLiteral("The record was not deleted: %1.")
                                    .arg(TonesDatabase::reason(query.lastError()));
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return fail(message);
    };
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(QStringLiteral("The record was not deleted: %1.")
                        .arg(TonesDatabase::reason(query.lastError())));
    query.prepare(QStringLiteral("DELETE FROM Tones WHERE rowid = ?"));
    query.addBindValue(rows_[current_].rowid);
    if (!query.exec())
        return failed();
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT")))
        return failed();

    buffer_ = {};
    modified_ = false;
    setState(Browse);
    reload(std::nullopt, current_);
    return true;
}

bool TonesCursor::leaveRecord()
{
    switch (state_) {
    case Inactive:
    case Browse:
        return true;
    case Edit:
        if (modified_)
            return post();
        cancel();
        return true;
    case Insert:
        if (modified_)
            return post();
        cancel();
        return true;
    }
    return true;
}

}  // namespace catalogue
