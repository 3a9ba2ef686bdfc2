#include "largecatalogue.h"

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace bench {

using namespace catalogue;

TonesDatabase& largeCatalogue()
{
    static QTemporaryDir dir;
    // Never destroyed: at exit Qt's own register of database connections may be gone first.
    static TonesDatabase& db = *new TonesDatabase;
    if (!db.isOpen()) {
        QList<ToneRecord> records;
        for (int i = 0; i < kLargeCatalogueRecords; ++i) {
            const QString category = QStringLiteral("Category %1").arg(i % 97);
            records << ToneRecord{i % 2 ? category.toUpper() : category,
                                  i % 13 ? QStringLiteral("Sub %1").arg(i % 1009) : QString(),
                                  i % 17 ? std::optional<qint32>((i * 7919) % 20000) : std::nullopt,
                                  QStringLiteral("Source %1").arg(i % 211)};
        }
        const QString path = dir.filePath(QStringLiteral("Tones.abs"));
        QString error;
        if (!createCatalogueFile(path, records, false, &error) || !db.open(path)) {
            std::fprintf(stderr, "bench: cannot make the catalogue: %s %s\n", qPrintable(error),
                         qPrintable(db.errorString()));
            std::abort();
        }
    }
    return db;
}

}  // namespace bench
