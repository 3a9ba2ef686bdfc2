#include "console/ui/tonebrowser.h"

#include "catalogue/ui/tonegrid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

using catalogue::TonesModel;

ToneBrowser::ToneBrowser(const Controls& controls, QObject* parent)
    : QObject(parent), controls_(controls), cursor_(database_), model_(cursor_)
{
    QTableView* grid = controls_.grid;
    setUpToneGrid(grid, &model_, 252);

    // The cursor resets the model before it names its current row, so the selection is set
    // on the new rows.
    connect(&cursor_, &catalogue::TonesCursor::rowsReset, this,
            [this] { selectCurrent(QAbstractItemView::PositionAtCenter); });
    connect(&cursor_, &catalogue::TonesCursor::currentRowChanged, this,
            [this] { selectCurrent(QAbstractItemView::EnsureVisible); });
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    gridRowChosen(current.row());
            });

    connect(controls_.first, &QAbstractButton::clicked, &cursor_, &catalogue::TonesCursor::first);
    connect(controls_.prior, &QAbstractButton::clicked, &cursor_, &catalogue::TonesCursor::prior);
    connect(controls_.next, &QAbstractButton::clicked, &cursor_, &catalogue::TonesCursor::next);
    connect(controls_.last, &QAbstractButton::clicked, &cursor_, &catalogue::TonesCursor::last);
}

// The cursor closes before the database it reads.
ToneBrowser::~ToneBrowser()
{
    cursor_.close();
}

bool ToneBrowser::open(QString* problem)
{
    problem->clear();
    if (unusable_)
        return false;
    if (!database_.isOpen() && !database_.open(fileName_)) {
        unusable_ = true;
        *problem = database_.errorString();
        setAvailable(false);
        return false;
    }
    // A catalogue that opened once and cannot be read now is held by another program for the
    // moment: the browser stays empty until the next opening tries again.
    if (!cursor_.open()) {
        *problem = cursor_.errorString();
        setAvailable(false);
        return false;
    }
    setAvailable(true);
    return true;
}

void ToneBrowser::close()
{
    cursor_.close();
}

void ToneBrowser::sortByColumn(int column)
{
    cursor_.setIndex(TonesModel::indexOfColumn(column));
}

void ToneBrowser::setAvailable(bool available)
{
    for (QWidget* dependent : std::as_const(controls_.dependents))
        dependent->setEnabled(available);
}

void ToneBrowser::selectCurrent(QAbstractItemView::ScrollHint hint)
{
    QItemSelectionModel* selection = controls_.grid->selectionModel();
    const int row = cursor_.currentRow();
    syncing_ = true;
    if (row < 0) {
        selection->clear();
    } else {
        const int column = std::max(selection->currentIndex().column(), 0);
        const QModelIndex current = model_.index(row, column);
        selection->setCurrentIndex(current,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        controls_.grid->scrollTo(current, hint);
    }
    syncing_ = false;
}

// A row clicked in the grid becomes the current record.
void ToneBrowser::gridRowChosen(int row)
{
    if (syncing_ || row == cursor_.currentRow())
        return;
    if (!cursor_.moveTo(row))
        selectCurrent(QAbstractItemView::EnsureVisible);
}
