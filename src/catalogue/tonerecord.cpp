#include "catalogue/tonerecord.h"

#include <limits>

namespace catalogue {

QString fieldName(Field field)
{
    switch (field) {
    case Field::Category:
        return QStringLiteral("Category");
    case Field::SubCategory:
        return QStringLiteral("SubCategory");
    case Field::Cps:
        return QStringLiteral("CPS");
    case Field::Source:
        return QStringLiteral("Source");
    }
    return {};
}

int fieldSize(Field field)
{
    switch (field) {
    case Field::Category:
    case Field::SubCategory:
        return 40;
    case Field::Source:
        return 60;
    case Field::Cps:
        break;
    }
    return 0;
}

QString ToneRecord::text(Field field) const
{
    switch (field) {
    case Field::Category:
        return category;
    case Field::SubCategory:
        return subCategory;
    case Field::Cps:
        return cps ? QString::number(*cps) : QString();
    case Field::Source:
        return source;
    }
    return {};
}

bool ToneRecord::isBlank() const
{
    return category.isEmpty() && subCategory.isEmpty() && !cps && source.isEmpty();
}

bool cpsOf(const QString& text, std::optional<qint32>* value, QString* error)
{
    if (text.isEmpty()) {
        if (value)
            value->reset();
        return true;
    }
    // Digits with an optional sign and nothing else: no blanks, no group separators.
    qsizetype digits = text.front() == u'+' || text.front() == u'-' ? 1 : 0;
    bool wellFormed = digits < text.size();
    for (qsizetype i = digits; i < text.size(); ++i)
        wellFormed = wellFormed && text[i] >= u'0' && text[i] <= u'9';
    bool ok = false;
    const qlonglong number = wellFormed ? text.toLongLong(&ok) : 0;
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max()) {
        if (error)
            *error = messages::notAnInteger(text, Field::Cps);
        return false;
    }
    if (value)
        *value = qint32(number);
    return true;
}

QString textProblem(Field field, const QString& text)
{
    if (field == Field::Cps) {
        QString error;
        return cpsOf(text, nullptr, &error) ? QString() : error;
    }
    if (text.size() > fieldSize(field))
        return QStringLiteral("%1 holds at most %2 characters; the text has %3.")
            .arg(fieldName(field), QString::number(fieldSize(field)), QString::number(text.size()));
    // A record is one line of the grids and of the listings.
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("%1 may not hold tabs, line breaks or other control "
                                  "characters.")
                .arg(fieldName(field));
    }
    return {};
}

QString recordProblem(const ToneRecord& record)
{
    for (const Field field : kFields) {
        if (const QString problem = textProblem(field, record.text(field)); !problem.isEmpty())
            return problem;
    }
    return {};
}

namespace messages {

QString notAnInteger(const QString& text, Field field)
{
    return QStringLiteral("'%1' is not a valid integer value for field '%2'")
        .arg(text, fieldName(field));
}

QString emptyDataset()
{
    return QStringLiteral("Cannot perform this operation on an empty dataset");
}

QString duplicate()
{
    return QStringLiteral("The catalogue already holds a record with this Category, SubCategory, "
                          "CPS and Source; the record was not saved.");
}

QString notEditing()
{
    return QStringLiteral("The current record is not being edited or added, so its fields "
                          "cannot be changed.");
}

}  // namespace messages

}  // namespace catalogue
