#pragma once

#include "catalogue/tonerecord.h"
#include "catalogue/tonesdatabase.h"

#include <QAbstractTableModel>

namespace catalogue {

class TonesCursor;

// The rows of a cursor as a read-only table for a grid: CPS, Category, SubCategory, Source,
// in that order. The model follows the cursor: it resets when the cursor reads or re-sorts
// its rows and repaints a record when one of its fields is written.
class TonesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { CpsColumn, CategoryColumn, SubCategoryColumn, SourceColumn, ColumnCount };

    explicit TonesModel(TonesCursor& cursor, QObject* parent = nullptr);

    static Field fieldOf(int column);
    // The order a click on a column's title sorts by.
    static ToneIndex indexOfColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TonesCursor& cursor_;
};

}  // namespace catalogue
