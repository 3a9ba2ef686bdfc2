#pragma once

#include "catalogue/tonescursor.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TDeleteFrm;
}

// Deletes records of the maintenance window's cursor one after another, without asking;
// its boxes show that cursor's current record.
class TDeleteFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TDeleteFrm(catalogue::TonesCursor& table, QWidget* parent = nullptr);
    ~TDeleteFrm() override;

public Q_SLOTS:
    void DeleteBtnClick();
    void HelpBtnClick();
    void CloseBtnClick();

Q_SIGNALS:
    void HelpRequested(const QString& topic);

private:
    void showRecord();
    // Says why a move or a deletion of the cursor was refused.
    void moved(bool done);

    std::unique_ptr<Ui::TDeleteFrm> ui;
    catalogue::TonesCursor& table_;
};
