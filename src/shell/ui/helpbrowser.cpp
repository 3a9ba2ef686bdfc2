#include "shell/ui/helpbrowser.h"

#include <QHelpEngineCore>

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Pages of other schemes are not the help's: such a link leaves the page as it is.
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (name.scheme() == QLatin1String("qthelp")) {
        if (!engine_)
            return {};
        const QByteArray data = engine_->fileData(name);
        if (data.isEmpty())
            return {};
        if (type == QTextDocument::ImageResource)
            return data;
        return QString::fromUtf8(data);
    }
    return QTextBrowser::loadResource(type, name);
}
