#pragma once

#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <memory>

class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;

namespace Ui {
class HelpWindow;
}

// The window that shows one help file: its contents and its index beside the page, with
// back and forward through the pages seen. The pages come from the compiled help file through
// Qt Help; their links lead from page to page.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Reads the help file; false, with the reason, when it is missing or not a help file.
    // A window reads one file only.
    bool openFile(const QString& file, QString* error);
    QString fileName() const { return file_; }

    // Shows a page given by its path inside the file ("html/veln7lf6.htm"); an empty path
    // shows the file's default page.
    void showPage(const QString& page);
    // The page shown, as its "qthelp:" address.
    QUrl currentPage() const;
    // The "qthelp:" address of a page path of the file.
    QUrl pageUrl(const QString& page) const;

private:
    void sourceChanged(const QUrl& source);

    std::unique_ptr<Ui::HelpWindow> ui;
    QTemporaryDir collectionFolder_;
    std::unique_ptr<QHelpEngine> engine_;
    QPointer<QHelpContentWidget> contents_;
    QPointer<QHelpIndexWidget> index_;
    QString file_;
    QString root_;         // "qthelp://<namespace>/<virtual folder>/"
    QString defaultPage_;  // the path of the file's default page
};
