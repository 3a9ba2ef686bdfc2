#pragma once

#include "catalogue/tonerecord.h"
#include "catalogue/tonescursor.h"
#include "catalogue/tonesmodel.h"

#include <QDialog>
#include <QString>
#include <array>
#include <memory>

class QLineEdit;

namespace Ui {
class TAddFrm;
}

// The catalogue's maintenance window: four entry boxes that edit the current record of the
// window's own cursor in place, a grid of all records, and the ways to add, copy from the
// last entry and delete. Created for one opening and destroyed when it closes.
class TAddFrm : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kHelpTopic[] = "::/html/veln9eat.htm";

    // Opens the window's own cursor on database, in the order "icategory" on the first record.
    explicit TAddFrm(catalogue::TonesDatabase& database, QWidget* parent = nullptr);
    ~TAddFrm() override;

    catalogue::TonesCursor& Table1() { return table1_; }
    QString PrevCategory() const { return prevCategory_; }
    QString PrevSubCategory() const { return prevSubCategory_; }
    QString PrevSource() const { return prevSource_; }
    // The report chooser's last result: the listing (1 to 4) and 0 none, 1 preview, 2 print.
    int ReportKind() const { return reportKind_; }
    int ReportAction() const { return reportAction_; }

public Q_SLOTS:
    void AddBtnClick();
    void Ditto1BtnClick();
    void Ditto2BtnClick();
    void Ditto3BtnClick();
    void DeleteBtnClick();
    void ReportBtnClick();
    void InternetBtnClick();
    void HelpBtnClick();
    void DBGrid1TitleClick(int column);
    void CloseBtnClick();
    // Esc presses "Close".
    void reject() override;

Q_SIGNALS:
    // The help topic to show; the delete window's requests come through here too.
    void HelpRequested(const QString& topic);

protected:
    // Every way of closing runs FormClose; a refused save keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Box
    {
        QLineEdit* edit;
        catalogue::Field field;
    };

    void setUpGrid();
    void connectControls();
    bool FormClose();
    void showRecord();
    void selectCurrent();
    void gridRowChosen(int row);
    void beginEditing(QLineEdit* box);
    // Writes a box's text into the record being edited; false, said in a message, when refused.
    bool storeBox(const Box& box);
    bool storeBoxes();
    // Says why a move of the cursor was refused.
    void moved(bool done);
    void ditto(catalogue::Field field, const QString& remembered);
    void deleteAsked();
    void refuse(const QString& message);
    // Saves the record being edited or added; a new record nothing was typed into is dropped.
    bool saveEditedRecord();

    std::unique_ptr<Ui::TAddFrm> ui;
    catalogue::TonesDatabase& database_;
    catalogue::TonesCursor table1_;
    catalogue::TonesModel model_;
    std::array<Box, 4> boxes_{};
    QString prevCategory_;
    QString prevSubCategory_;
    QString prevSource_;
    int reportKind_ = 1;
    int reportAction_ = 0;
    bool holdBoxes_ = false;
    bool syncing_ = false;
    // Set while a refused box keeps the focus, so that the click that took it away is dropped.
    bool refusedJustNow_ = false;
};
