#include "catalogue/ui/tonegrid.h"

#include "catalogue/tonesmodel.h"

#include <QHeaderView>
#include <QTableView>

void setUpToneGrid(QTableView* grid, QAbstractItemModel* model, int textWidth)
{
    grid->setModel(model);
    grid->setColumnWidth(catalogue::TonesModel::CpsColumn, 55);
    grid->setColumnWidth(catalogue::TonesModel::CategoryColumn, textWidth);
    grid->setColumnWidth(catalogue::TonesModel::SubCategoryColumn, textWidth);
    QHeaderView* titles = grid->horizontalHeader();
    QFont bold = titles->font();
    bold.setBold(true);
    titles->setFont(bold);
    titles->setSectionsClickable(true);
    titles->setSortIndicatorShown(false);
    // The row marker column stays narrow: its rows have no titles.
    grid->verticalHeader()->setMinimumWidth(12);
}
