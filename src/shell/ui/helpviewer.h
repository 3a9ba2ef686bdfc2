#pragma once

#include <QObject>
#include <QString>
#include <memory>

class HelpWindow;

// The program's help viewer: one help window, opened on the first request and reused by every
// later one, beside the program's windows and usable while one of them is modal.
class HelpViewer : public QObject
{
    Q_OBJECT

public:
    explicit HelpViewer(QObject* parent = nullptr);
    ~HelpViewer() override;

    // Shows "<help file>::/html/<page>.htm", or the file's default page for the file alone,
    // and brings the window forward. A file that cannot be shown is said in one message, and
    // false is returned.
    bool DisplayTopic(const QString& address);
    // Opens the help file at the page of a context number: the file has no numbered pages,
    // so every number shows its default page. False, saying nothing, when the file cannot
    // be shown.
    bool DisplayContext(const QString& file, int context);
    // Closes the help window.
    void CloseAll();

    // The help window, once a request has opened it; null before and after CloseAll.
    HelpWindow* window() const { return window_.get(); }

private:
    bool show(const QString& file, const QString& page, QString* error);

    std::unique_ptr<HelpWindow> window_;
};
