#pragma once

#include <QPoint>
#include <QString>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

// Where the first link to href stands in a text browser's viewport; a null point when the
// page has no such link or it is out of sight.
inline QPoint linkPoint(QTextBrowser& browser, const QString& href)
{
    QTextDocument* document = browser.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            const QPoint at = browser.cursorRect(cursor).center();
            return browser.viewport()->rect().contains(at) ? at : QPoint();
        }
    }
    return {};
}
