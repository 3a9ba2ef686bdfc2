#pragma once

#include <QPoint>
#include <QString>

class HelpViewer;

// The application's help handler for requests by context number, which come from dialogs
// that are not the program's own windows (these open their pages through HelpViewer). While
// it exists it is the handler in force; the one before it is asked first on every request and
// is back in force when it goes. Going, it closes the help windows.
class THookHelpSystem
{
public:
    enum Command : unsigned {
        HelpContext = 1,       // data: the context number
        HelpContextPopup = 8,  // data: the context number
        HelpSetPopupPos = 13,  // data: the position, x in the low and y in the high 16 bits
    };

    THookHelpSystem(const QString& helpFile, HelpViewer& viewer);
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // The handler in force; null when there is none.
    static THookHelpSystem* current();
    // Hands a request to the handler in force; false when nothing handled it.
    static bool Request(Command command, qint64 data);

    // A context request opens the help file at the number's page; without a help file that
    // can be shown it says "MS Html Help is not installed on this PC.". A pop-up position is
    // recorded. True when the request was this handler's.
    bool HelpCommand(Command command, qint64 data);
    QString HelpFile() const { return helpFile_; }
    QPoint PopupPosition() const { return popupPosition_; }

private:
    QString helpFile_;
    HelpViewer& viewer_;
    THookHelpSystem* previous_ = nullptr;
    QPoint popupPosition_;
};
