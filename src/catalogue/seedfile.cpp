#include "catalogue/seedfile.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace catalogue {

namespace {

// The fields of one line; none, with the reason, when the quoting is broken.
std::optional<QStringList> splitLine(const QString& line, QString* reason)
{
    QStringList fields;
    qsizetype i = 0;
    for (;;) {
        QString field;
        if (i < line.size() && line[i] == u'"') {
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    *reason = QStringLiteral("a quoted field is not closed (a field cannot "
                                             "span lines)");
                    return std::nullopt;
                }
                if (line[i] == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < line.size() && line[i] != u',') {
                *reason = QStringLiteral("text follows the closing quote of field %1")
                              .arg(fields.size() + 1);
                return std::nullopt;
            }
        } else {
            while (i < line.size() && line[i] != u',') {
                if (line[i] == u'"') {
                    *reason = QStringLiteral("a quote inside field %1, which is not quoted")
                                  .arg(fields.size() + 1);
                    return std::nullopt;
                }
                field += line[i++];
            }
        }
        fields << field;
        if (i >= line.size())
            return fields;
        ++i;  // the comma
    }
}

QString keyOf(const ToneRecord& record)
{
    // Control characters never reach a stored field, so one separates the fields here.
    return QStringList{record.category, record.subCategory,
                       record.cps ? QString::number(*record.cps) : QStringLiteral("-"),
                       record.source}
        .join(u'\x1f');
}

}  // namespace

std::optional<QList<ToneRecord>> readSeed(QByteArrayView bytes, QString* error)
{
    const auto fail = [error](qsizetype line, const QString& reason) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(QString::number(line), reason);
        return std::nullopt;
    };
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes = bytes.sliced(3);

    QList<ToneRecord> records;
    QHash<QString, qsizetype> lineOfRecord;
    qsizetype number = 0;
    qsizetype start = 0;
    while (start < bytes.size() || number == 0) {
        ++number;
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);

        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString line = utf8.decode(raw);
        if (utf8.hasError())
            return fail(number, QStringLiteral("the text is not UTF-8"));
        if (number == 1) {
            if (line != QLatin1String(kSeedHeader))
                return fail(
                    number,
                    QStringLiteral("the header must be \"%1\"").arg(QLatin1String(kSeedHeader)));
            continue;
        }
        if (line.isEmpty())
            return fail(number, QStringLiteral("the line is empty"));

        QString reason;
        const std::optional<QStringList> fields = splitLine(line, &reason);
        if (!fields)
            return fail(number, reason);
        if (fields->size() != 4)
            return fail(number, QStringLiteral("%1 fields where a record has 4 (%2)")
                                    .arg(fields->size())
                                    .arg(QLatin1String(kSeedHeader)));
        ToneRecord record{fields->at(0), fields->at(1), std::nullopt, fields->at(3)};
        if (!cpsOf(fields->at(2), &record.cps, &reason))
            return fail(number, reason);
        if (const QString problem = recordProblem(record); !problem.isEmpty())
            return fail(number, problem);
        const QString key = keyOf(record);
        if (const auto earlier = lineOfRecord.constFind(key); earlier != lineOfRecord.cend())
            return fail(number, QStringLiteral("the record repeats line %1").arg(*earlier));
        lineOfRecord.insert(key, number);
        records << record;
    }
    return records;
}

QByteArray shippedSeed()
{
    QFile file(QStringLiteral(":/catalogue/tones.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace catalogue
