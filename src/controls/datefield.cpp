#include "controls/datefield.h"

#include "controls/uiservices.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QToolButton>
#include <algorithm>
#include <array>

namespace {

enum Part { Day, Month, Year };

// The order of day, month and year in the system's short date format.
std::array<Part, 3> systemOrder()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    std::array<std::pair<qsizetype, Part>, 3> found{
        {{format.indexOf(u'd'), Day}, {format.indexOf(u'M'), Month}, {format.indexOf(u'y'), Year}}};
    std::sort(found.begin(), found.end());
    return {found[0].second, found[1].second, found[2].second};
}

constexpr int kLongestYear = 4;  // digits; a longer year is no date

}  // namespace

DateField::DateField(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    editor_ = new QLineEdit(this);
    editor_->setObjectName(QStringLiteral("DateText"));
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("DropDown"));
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    row->addWidget(editor_);
    row->addWidget(button_);
    setFocusProxy(editor_);
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textChanged, this, &DateField::textChanged);
    connect(button_, &QToolButton::clicked, this, &DateField::dropDown);
}

QString DateField::text() const
{
    return editor_->text();
}

void DateField::setText(const QString& text)
{
    editor_->setText(text);
}

QString DateField::orderLabel()
{
    QStringList names;
    for (const Part part : systemOrder())
        names << (part == Day     ? QStringLiteral("Day")
                  : part == Month ? QStringLiteral("Month")
                                  : QStringLiteral("Year"));
    return names.join(u'/');
}

QString DateField::format(const QDate& date)
{
    QStringList parts;
    for (const Part part : systemOrder()) {
        if (part == Day)
            parts << QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
        else if (part == Month)
            parts << QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
        else
            parts << QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    }
    return parts.join(u'/');
}

std::optional<QDate> DateField::date(const QDate& today, QString* error) const
{
    return dateOf(editor_->text(), today, error);
}

std::optional<QDate> DateField::dateOf(const QString& text, const QDate& today, QString* error)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    int values[3] = {today.day(), today.month(), today.year()};
    const std::array<Part, 3> order = systemOrder();
    bool ok = parts.size() <= 3;
    for (qsizetype i = 0; ok && i < parts.size(); ++i) {
        const int value = parts[i].toInt(&ok);
        const Part part = order[std::size_t(i)];
        if (part == Year && parts[i].size() > kLongestYear)
            ok = false;
        values[part] = part == Year && parts[i].size() <= 2 ? 1900 + value : value;
    }
    const QDate read(values[Year], values[Month], values[Day]);
    if (!ok || !read.isValid()) {
        *error = QStringLiteral("'%1' is not a valid date").arg(text);
        return std::nullopt;
    }
    return read;
}

void DateField::showFourDigitYear()
{
    static const QRegularExpression partPattern(QStringLiteral("[\\p{L}\\p{N}]+"));
    const std::array<Part, 3> order = systemOrder();
    const auto yearIndex = std::find(order.begin(), order.end(), Year) - order.begin();
    QString ignored;
    const std::optional<QDate> read = date(QDate::currentDate(), &ignored);
    if (!read)
        return;
    QRegularExpressionMatchIterator parts = partPattern.globalMatch(editor_->text());
    for (qsizetype i = 0; parts.hasNext(); ++i) {
        const QRegularExpressionMatch part = parts.next();
        if (i == yearIndex && part.capturedLength() <= 2) {
            QString shown = editor_->text();
            shown.replace(part.capturedStart(), part.capturedLength(),
                          QStringLiteral("%1").arg(read->year(), 4, 10, QLatin1Char('0')));
            editor_->setText(shown);
            return;
        }
    }
}

bool DateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or opening a menu does not leave the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            showFourDigitYear();
    }
    if (watched != editor_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        Q_EMIT entered();
        return true;
    }
    // Escape goes on to the window, which closes on it.
    const QString typed = key->text();
    if (typed.isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
        key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
        return QWidget::eventFilter(watched, event);
    const QChar c = typed.front();
    if ((c >= u'0' && c <= u'9') || c == u'/' || c == u' ')
        return QWidget::eventFilter(watched, event);
    UiServices::instance().beep();
    return true;
}

void DateField::dropDown()
{
    if (!calendar_) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setObjectName(QStringLiteral("Calendar"));
        calendar_->setWindowFlags(Qt::Popup);
        calendar_->resize(260, 160);
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        // Day names maroon, days black, weekends and the chosen day red, month and year blue.
        QTextCharFormat names;
        names.setForeground(QColor(0x80, 0, 0));
        calendar_->setHeaderTextFormat(names);
        QTextCharFormat weekend;
        weekend.setForeground(Qt::red);
        calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
        calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
        calendar_->setStyleSheet(QStringLiteral(
            "QCalendarWidget QAbstractItemView { color: black; selection-background-color: white;"
            " selection-color: red; }"
            "QCalendarWidget QAbstractItemView:disabled { color: grey; }"
            "QCalendarWidget QToolButton { color: blue; }"));
        connect(calendar_, &QCalendarWidget::clicked, this, [this](const QDate& chosen) {
            calendar_->hide();
            editor_->setText(format(chosen));
            editor_->setFocus();
        });
    }
    QString ignored;
    calendar_->setSelectedDate(date(QDate::currentDate(), &ignored).value_or(QDate::currentDate()));
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
}
