#include "catalogue/tonesmodel.h"

#include "catalogue/tonescursor.h"

namespace catalogue {

namespace {

Qt::Alignment alignmentOf(int column)
{
    return column == TonesModel::CpsColumn ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

TonesModel::TonesModel(TonesCursor& cursor, QObject* parent)
    : QAbstractTableModel(parent), cursor_(cursor)
{
    // The cursor has changed its rows when it says so; the views only need to read them anew.
    connect(&cursor_, &TonesCursor::rowsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&cursor_, &TonesCursor::recordChanged, this,
            [this](int row) { Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
}

Field TonesModel::fieldOf(int column)
{
    switch (column) {
    case CpsColumn:
        return Field::Cps;
    case CategoryColumn:
        return Field::Category;
    case SubCategoryColumn:
        return Field::SubCategory;
    default:
        return Field::Source;
    }
}

int TonesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cursor_.rowCount();
}

int TonesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TonesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= cursor_.rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cursor_.record(index.row()).text(fieldOf(index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(index.column()));
    default:
        return {};
    }
}

QVariant TonesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The row marker column has no titles of its own.
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return fieldName(fieldOf(section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(section));
    default:
        return {};
    }
}

Qt::ItemFlags TonesModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

ToneIndex TonesModel::indexOfColumn(int column)
{
    switch (column) {
    case CpsColumn:
        return ToneIndex::Cps;
    case SubCategoryColumn:
        return ToneIndex::SubCategory;
    case SourceColumn:
        return ToneIndex::Source;
    default:
        return ToneIndex::Category;
    }
}

}  // namespace catalogue
