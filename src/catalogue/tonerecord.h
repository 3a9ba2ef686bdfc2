#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

// One record of the tone catalogue and the rules every stored record keeps.
namespace catalogue {

enum class Field { Category, SubCategory, Cps, Source };
inline constexpr std::array kFields{Field::Category, Field::SubCategory, Field::Cps, Field::Source};

// The field's name as the table, the grids and the messages spell it.
QString fieldName(Field field);
// The most characters a text field holds; 0 for CPS, which is a number.
int fieldSize(Field field);

struct ToneRecord
{
    QString category;
    QString subCategory;
    std::optional<qint32> cps;  // none: the field is empty
    QString source;

    // The field as text: an empty field reads as empty text, CPS as a plain number.
    QString text(Field field) const;
    bool isBlank() const;
    friend bool operator==(const ToneRecord&, const ToneRecord&) = default;
};

// Reads a CPS text into value: an empty text leaves the field empty. False, with the message
// in error, for a text that is not a whole number within 32 bits.
bool cpsOf(const QString& text, std::optional<qint32>* value, QString* error);
// Empty when the text may be stored in the field; else the message that says why not.
QString textProblem(Field field, const QString& text);
// Empty when every field of the record may be stored; else the first field's problem.
QString recordProblem(const ToneRecord& record);

// The table store's own messages.
namespace messages {
QString notAnInteger(const QString& text, Field field);
QString emptyDataset();
QString duplicate();
QString notEditing();
}  // namespace messages

}  // namespace catalogue
