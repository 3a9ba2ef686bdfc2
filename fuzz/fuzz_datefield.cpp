// A date typed or pasted into the date field, read in the day, month and year order of a
// few locales; a date read is shown as the field shows it and reads back as the same date.
#include "controls/datefield.h"
#include "fuzzcheck.h"

#include <QLocale>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const std::array<QLocale, 3> locales{QLocale(QLocale::English, QLocale::UnitedStates),
                                                QLocale(QLocale::German, QLocale::Germany),
                                                QLocale(QLocale::Japanese, QLocale::Japan)};
    QLocale::setDefault(locales[data[0] % locales.size()]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QDate today(2024, 2, 29);

    QString error;
    const std::optional<QDate> date = DateField::dateOf(text, today, &error);
    if (!date) {
        fuzz::require(error == QStringLiteral("'%1' is not a valid date").arg(text),
                      "refused without the field's message", error);
        return 0;
    }
    fuzz::require(date->isValid(), "an invalid date read", text);
    const QString shown = DateField::format(*date);
    const std::optional<QDate> again = DateField::dateOf(shown, today, &error);
    fuzz::require(again == date, "the date shown reads back differently", text + u' ' + shown);
    return 0;
}
