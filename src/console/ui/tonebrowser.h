#pragma once

#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"
#include "catalogue/tonesmodel.h"

#include <QAbstractItemView>
#include <QList>
#include <QObject>

class QAbstractButton;
class QTableView;

// The catalogue on the console: a read-only grid and a record navigator over the console's
// own cursor on the table Tones. The grid's selection and the cursor's current record follow
// each other.
class ToneBrowser : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QTableView* grid = nullptr;
        QAbstractButton* first = nullptr;
        QAbstractButton* prior = nullptr;
        QAbstractButton* next = nullptr;
        QAbstractButton* last = nullptr;
        // Enabled only while the catalogue can be browsed: the grid, the navigator and the
        // buttons that read the current record.
        QList<QWidget*> dependents;
    };

    explicit ToneBrowser(const Controls& controls, QObject* parent = nullptr);
    ~ToneBrowser() override;

    // The catalogue file; nothing is read before the browser opens.
    void setFileName(const QString& path) { fileName_ = path; }
    QString fileName() const { return fileName_; }

    // Opens the catalogue (a missing file is made from the shipped one) and the cursor on the
    // first record of its order. When the catalogue cannot be browsed, the browser stays empty
    // and disabled and the open fails; problem says why. A file that is no usable catalogue is
    // given up for good and told the first time only, so that the user hears of it once; a
    // catalogue that cannot be read for the moment (another program locks it) is tried again
    // at the next open.
    bool open(QString* problem);
    // The order stays for the next open.
    void close();
    bool isOpen() const { return cursor_.isOpen(); }

    // Orders the rows by the grid's column, keeping the current record current and in view.
    void sortByColumn(int column);

    catalogue::TonesCursor& cursor() { return cursor_; }
    const catalogue::TonesCursor& cursor() const { return cursor_; }
    // Open from the first successful open on; never open when the file is no usable catalogue.
    catalogue::TonesDatabase& database() { return database_; }

private:
    void setAvailable(bool available);
    void selectCurrent(QAbstractItemView::ScrollHint hint);
    void gridRowChosen(int row);

    Controls controls_;
    QString fileName_;
    bool unusable_ = false;
    bool syncing_ = false;
    catalogue::TonesDatabase database_;
    catalogue::TonesCursor cursor_;
    catalogue::TonesModel model_;
};
