#pragma once

#include "report/render.h"
#include "report/reportmodel.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ReportPreview;
}

// A prepared report on the screen, one page at a time: paging, zoom, finding a text (every
// place it occurs is marked), printing, saving (to be opened again, or as PDF), opening a
// saved report in place of the one shown, and help (Help or F1) as a context request to the
// application's help handler, as every report dialog asks for it.
class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    static constexpr double kScreenDpi = 96;
    // The context number of the preview's help.
    static constexpr int kHelpContext = 1;

    ReportPreview(report::PreparedReport report, const QString& title, QWidget* parent = nullptr);
    ~ReportPreview() override;

    int currentPage() const { return page_; }  // from 0
    int zoomPercent() const;
    const QImage& shownPage() const { return shown_; }
    const report::PreparedReport& shownReport() const { return report_; }

public Q_SLOTS:
    void FirstBtnClick();
    void PriorBtnClick();
    void NextBtnClick();
    void LastBtnClick();
    // Finds the next place the text of the find box occurs, after the one found last.
    void FindBtnClick();
    // Shows a saved report instead; a file that holds none is refused and nothing changes.
    void OpenBtnClick();
    void PrintBtnClick();
    // Saves as PDF when the name ends in ".pdf", else as a saved report.
    void SaveBtnClick();
    void HelpBtnClick();
    void CloseBtnClick();

private:
    void showReport(report::PreparedReport report, const QString& title);
    void showPage(int page);
    void findChanged();

    std::unique_ptr<Ui::ReportPreview> ui;
    report::PreparedReport report_;
    QString title_;
    int page_ = 0;
    QList<report::TextHit> hits_;
    int hit_ = -1;
    QImage shown_;
};
