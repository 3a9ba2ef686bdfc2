// makecatalogue FILE: writes the shipped catalogue as the catalogue file FILE, replacing it.
#include "catalogue/seedfile.h"
#include "catalogue/tonesdatabase.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const auto fail = [](const QString& message) {
        std::fputs(qPrintable(QStringLiteral("makecatalogue: ") + message + u'\n'), stderr);
        return 1;
    };
    if (arguments.size() != 2)
        return fail(QStringLiteral("usage: makecatalogue FILE"));
    QString error;
    const auto records = catalogue::readSeed(catalogue::shippedSeed(), &error);
    if (!records)
        return fail(QStringLiteral("the built-in catalogue, ") + error);
    if (!catalogue::createCatalogueFile(arguments[1], *records, true, &error))
        return fail(arguments[1] + QStringLiteral(": ") + error);
    return 0;
}
