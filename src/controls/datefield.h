#pragma once

#include <QDate>
#include <QWidget>
#include <optional>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A field for one date with a drop-down month calendar. A typed date is read in the system's
// date order (month, day, year in the United States), its parts separated by anything that
// is neither a digit nor a letter; a year has four digits at most, and one of two is 1900 to
// 1999, shown with four digits once the field is left; a missing day, month or year is
// today's, so an empty field or "/" alone means today. Only digits, "/", blanks and
// Backspace can be typed; Enter asks for the calculation (entered()), Escape goes on to the
// window; anything else beeps.
class DateField : public QWidget
{
    Q_OBJECT

public:
    explicit DateField(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* editor() const { return editor_; }

    // The date the text stands for, counted from today; none, with the field's message in
    // error, when the text is no date.
    std::optional<QDate> date(const QDate& today, QString* error) const;
    // The date a text stands for, read as the field reads what is typed in it.
    static std::optional<QDate> dateOf(const QString& text, const QDate& today, QString* error);
    // A date as the field shows it: the system's order, "/" between the parts, four-digit year.
    static QString format(const QDate& date);
    // The order the field reads, for its label: "Month/Day/Year", "Day/Month/Year", ...
    static QString orderLabel();

Q_SIGNALS:
    void textChanged(const QString& text);
    void entered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dropDown();
    // A typed year of one or two digits is rewritten with four, the rest of the text kept.
    void showFourDigitYear();

    QLineEdit* editor_ = nullptr;
    QToolButton* button_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
};
