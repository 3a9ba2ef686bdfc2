// A catalogue seed (the comma-separated text the catalogue is built from): either all its
// records, each one the catalogue may store, or none and the line that is wrong.
#include "catalogue/seedfile.h"
#include "fuzzcheck.h"

#include <QSet>

namespace {

QString quoted(const QString& field)
{
    return u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace catalogue;
    QString error;
    const std::optional<QList<ToneRecord>> records =
        readSeed(QByteArrayView(data, qsizetype(size)), &error);
    if (!records) {
        fuzz::require(error.startsWith(QStringLiteral("line ")) && error.contains(u':'),
                      "refused without naming the line", error);
        return 0;
    }

    QSet<QString> keys;
    QByteArray written = QByteArray(kSeedHeader) + "\r\n";
    for (const ToneRecord& record : *records) {
        fuzz::require(recordProblem(record).isEmpty(), "a record the catalogue may not store",
                      recordProblem(record));
        QStringList fields;
        for (const Field field : kFields)
            fields << (field == Field::Cps ? record.text(field) : quoted(record.text(field)));
        keys.insert(fields.join(u','));
        written += fields.join(u',').toUtf8() + '\n';
    }
    fuzz::require(keys.size() == records->size(), "a record read twice");

    // The records written as a seed of their own read back as they are.
    const std::optional<QList<ToneRecord>> again = readSeed(written, &error);
    fuzz::require(again.has_value(), "the records written back are refused", error);
    fuzz::require(*again == *records, "the records written back read differently");
    return 0;
}
