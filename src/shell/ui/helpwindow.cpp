#include "shell/ui/helpwindow.h"

#include "ui_helpwindow.h"

#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QStyle>

namespace {

constexpr char kTitle[] = "Sonarith Help";

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::HelpWindow>())
{
    ui->setupUi(this);
    // The help is read beside the program's windows: it never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    const QStyle* s = style();
    ui->BackBtn->setIcon(s->standardIcon(QStyle::SP_ArrowBack));
    ui->ForwardBtn->setIcon(s->standardIcon(QStyle::SP_ArrowForward));
    ui->HomeBtn->setIcon(s->standardIcon(QStyle::SP_DirHomeIcon));
    ui->Splitter->setSizes({220, 600});

    connect(ui->BackBtn, &QToolButton::clicked, ui->Browser, &QTextBrowser::backward);
    connect(ui->ForwardBtn, &QToolButton::clicked, ui->Browser, &QTextBrowser::forward);
    connect(ui->HomeBtn, &QToolButton::clicked, this, [this] { showPage(QString()); });
    connect(ui->Browser, &QTextBrowser::backwardAvailable, ui->BackBtn, &QToolButton::setEnabled);
    connect(ui->Browser, &QTextBrowser::forwardAvailable, ui->ForwardBtn, &QToolButton::setEnabled);
    connect(ui->Browser, &QTextBrowser::sourceChanged, this, &HelpWindow::sourceChanged);
}

// The engine's widgets go before the engine, and the engine before its collection's folder.
HelpWindow::~HelpWindow()
{
    delete contents_;
    delete index_;
    engine_.reset();
}

bool HelpWindow::openFile(const QString& file, QString* error)
{
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("The help file %1 was not found.").arg(file);
        return false;
    }
    const QString nameSpace = QHelpEngineCore::namespaceName(file);
    if (!collectionFolder_.isValid() || nameSpace.isEmpty()) {
        *error = QStringLiteral("The help file %1 cannot be read.").arg(file);
        return false;
    }
    // The engine keeps its register of help files in a collection of its own, made afresh.
    engine_ = std::make_unique<QHelpEngine>(collectionFolder_.filePath(QStringLiteral("help.qhc")));
    engine_->setReadOnly(false);
    if (!engine_->setupData() || !engine_->registerDocumentation(file)) {
        *error = QStringLiteral("The help file %1 cannot be read: %2").arg(file, engine_->error());
        engine_.reset();
        return false;
    }
    const QList<QUrl> pages = engine_->files(nameSpace, QStringList());
    if (pages.isEmpty()) {
        *error = QStringLiteral("The help file %1 holds no pages.").arg(file);
        engine_.reset();
        return false;
    }
    file_ = file;
    const QString folder = pages.constFirst().path().section(u'/', 1, 1);
    root_ = QStringLiteral("qthelp://%1/%2/").arg(nameSpace, folder);
    defaultPage_ =
        QHelpEngineCore::metaData(file, QStringLiteral("defaultPage")).toString().trimmed();
    if (defaultPage_.isEmpty())
        defaultPage_ = pages.constFirst().path().section(u'/', 2);

    ui->Browser->setEngine(engine_.get());
    contents_ = engine_->contentWidget();
    contents_->setObjectName(QStringLiteral("Contents"));
    contents_->setHeaderHidden(true);
    ui->ContentsLayout->addWidget(contents_);
    index_ = engine_->indexWidget();
    index_->setObjectName(QStringLiteral("Index"));
    ui->IndexLayout->addWidget(index_);
    // One click on a title shows its page.
    connect(contents_, &QAbstractItemView::clicked, this, [this](const QModelIndex& at) {
        if (const QHelpContentItem* item = engine_->contentModel()->contentItemAt(at))
            ui->Browser->setSource(item->url());
    });
    connect(index_, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document) { ui->Browser->setSource(document.url); });
    connect(index_, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents) {
                if (!documents.isEmpty())
                    ui->Browser->setSource(documents.constFirst().url);
            });
    connect(ui->IndexFind, &QLineEdit::textChanged, index_,
            [this](const QString& text) { index_->filterIndices(text); });
    connect(ui->IndexFind, &QLineEdit::returnPressed, index_,
            &QHelpIndexWidget::activateCurrentItem);
    // The contents are read in the background; once there, they show the page shown.
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        contents_->expandToDepth(0);
        sourceChanged(currentPage());
    });
    engine_->contentModel()->createContents(QString());
    engine_->indexModel()->createIndex(QString());
    return true;
}

QUrl HelpWindow::pageUrl(const QString& page) const
{
    return QUrl(root_ + (page.isEmpty() ? defaultPage_ : page));
}

void HelpWindow::showPage(const QString& page)
{
    const QUrl url = pageUrl(page);
    if (engine_ && !engine_->fileData(url).isEmpty()) {
        ui->Browser->setSource(url);
        return;
    }
    ui->Browser->setHtml(
        QStringLiteral("<p>This page is not in the help file: %1</p>").arg(page.toHtmlEscaped()));
    setWindowTitle(QLatin1String(kTitle));
}

QUrl HelpWindow::currentPage() const
{
    return ui->Browser->source();
}

// The title names the page shown; the contents show where it stands.
void HelpWindow::sourceChanged(const QUrl& source)
{
    const QString page = ui->Browser->documentTitle();
    setWindowTitle(page.isEmpty() ? QLatin1String(kTitle)
                                  : QStringLiteral("%1 - %2").arg(QLatin1String(kTitle), page));
    if (contents_) {
        const QModelIndex at = contents_->indexOf(source);
        if (at.isValid())
            contents_->setCurrentIndex(at);
    }
}
