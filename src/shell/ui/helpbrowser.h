#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

// Shows the pages of a help file: "qthelp:" addresses, relative links and style sheets
// included, are read from the help engine.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void setEngine(const QHelpEngineCore* engine) { engine_ = engine; }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const QHelpEngineCore* engine_ = nullptr;
};
