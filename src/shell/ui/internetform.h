#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TInternetFrm;
}

// The links window: the project's pages, each opened in the user's browser by a click on its
// link. Built for one opening; only "Close" and Escape close it.
class TInternetFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TInternetFrm(QWidget* parent = nullptr);
    ~TInternetFrm() override;

public Q_SLOTS:
    void Button1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpFonts();

    std::unique_ptr<Ui::TInternetFrm> ui;
};
