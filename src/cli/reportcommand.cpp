#include "catalogue/cataloguereports.h"
#include "catalogue/tonesdatabase.h"
#include "cli/analysisinput.h"
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "numerology/letters.h"
#include "numerology/numerologyreport.h"
#include "report/render.h"
#include "report/rtf.h"

#include <QDir>

namespace cli {

namespace {

int numerologyReport(const QStringList& arguments)
{
    const QString command = QStringLiteral("report numerology");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the numerology calculator's report of TEXT: the printed page as "
                       "PDF, or the export as rich text."));
    const AnalysisOptions inputs;
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Writes the printed report to FILE as PDF."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption rtf(QStringLiteral("rtf"),
                                 QStringLiteral("Writes the exported report to FILE as rich text."),
                                 QStringLiteral("FILE"));
    inputs.addTo(parser);
    parser.addOptions({pdf, rtf});
    if (const auto done = parseCommand(parser, QStringList{command} + arguments))
        return *done;
    if (parser.isSet(pdf) == parser.isSet(rtf))
        return fail(BadInput, command + QStringLiteral(": give either --pdf FILE or --rtf FILE"));
    int status = Success;
    const std::optional<AnalysisInput> input = inputs.read(parser, command, &status);
    if (!input)
        return status;

    const numerology::ReportValues values =
        numerology::AnalysisReportValues(input->method, input->text, input->date);
    const QString path = parser.value(parser.isSet(pdf) ? pdf : rtf);
    QString error;
    const bool written =
        parser.isSet(pdf)
            ? report::writePdf(numerology::PrepareReport(numerology::frReport1(), values), path,
                               numerology::UpperLetters(input->text), &error)
            : report::writeRtf(numerology::PrepareReport(numerology::frReport2(), values), path,
                               &error);
    if (!written)
        return fail(IoFailure, command + QStringLiteral(": Cannot create file %1. %2")
                                             .arg(QDir::toNativeSeparators(path), error));
    return Success;
}

int catalogueReport(const QStringList& arguments)
{
    const QString command = QStringLiteral("report catalogue");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a listing of the whole tone catalogue as PDF, as the maintenance "
                       "window prints it."));
    const QCommandLineOption kind(
        QStringLiteral("kind"),
        QStringLiteral("The listing: category, frequency, source or subcategory."),
        QStringLiteral("KIND"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("The catalogue file (default Tones.abs in this folder)."),
        QStringLiteral("FILE"), QLatin1String(catalogue::kFileName));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Writes the listing to FILE as PDF."),
                                 QStringLiteral("FILE"));
    parser.addOptions({kind, db, pdf});
    if (const auto done = parseCommand(parser, QStringList{command} + arguments))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return fail(BadInput, command + QStringLiteral(": unexpected argument '%1'")
                                            .arg(parser.positionalArguments().front()));
    const QString name = parser.value(kind).toLower();
    const std::optional<catalogue::ReportOrder> order =
        name == QStringLiteral("category")      ? catalogue::ReportOrder::Category
        : name == QStringLiteral("frequency")   ? catalogue::ReportOrder::Frequency
        : name == QStringLiteral("source")      ? catalogue::ReportOrder::Source
        : name == QStringLiteral("subcategory") ? catalogue::ReportOrder::SubCategory
                                                : std::optional<catalogue::ReportOrder>();
    if (!order)
        return fail(BadInput,
                    command + (parser.isSet(kind)
                                   ? QStringLiteral(": unknown kind '%1' (category, frequency, "
                                                    "source or subcategory)")
                                         .arg(parser.value(kind))
                                   : QStringLiteral(": give --kind category, frequency, source "
                                                    "or subcategory")));
    if (!parser.isSet(pdf))
        return fail(BadInput, command + QStringLiteral(": give --pdf FILE"));

    catalogue::TonesDatabase database;
    if (!database.open(parser.value(db), catalogue::TonesDatabase::Missing::Refuse))
        return fail(BadInput, command + QStringLiteral(": ") + database.errorString());
    QString error;
    const std::optional<report::PreparedReport> listing =
        catalogue::prepareListing(database, *order, &error);
    if (!listing)
        return fail(BadInput, command + QStringLiteral(": ") + error);
    const QString path = parser.value(pdf);
    if (!report::writePdf(*listing, path, catalogue::listingTitle(*order), &error))
        return fail(IoFailure, command + QStringLiteral(": Cannot create file %1. %2")
                                             .arg(QDir::toNativeSeparators(path), error));
    return Success;
}

}  // namespace

int runReport(const QStringList& arguments)
{
    const QString kind = arguments.value(1);
    if (kind == QStringLiteral("numerology"))
        return numerologyReport(arguments.mid(2));
    if (kind == QStringLiteral("catalogue"))
        return catalogueReport(arguments.mid(2));
    if (kind == QStringLiteral("--help") || kind == QStringLiteral("-h")) {
        printLine(QStringLiteral(
            "Usage: sonarith-cli report numerology [options] TEXT (--pdf FILE | --rtf FILE)\n"
            "       sonarith-cli report catalogue --kind KIND [--db FILE] --pdf FILE\n"
            "The reports the desktop program prints and exports.\n\n"
            "  numerology  the numerology calculator's report of TEXT, with analyze's options\n"
            "  catalogue   a listing of the tone catalogue by category, frequency, source or\n"
            "              subcategory\n\n"
            "'sonarith-cli report numerology --help' and 'sonarith-cli report catalogue --help' "
            "describe them."));
        return Success;
    }
    return fail(BadInput, kind.isEmpty()
                              ? QStringLiteral("report: expected numerology or catalogue")
                              : QStringLiteral("report: unknown report '%1' (numerology "
                                               "or catalogue)")
                                    .arg(kind));
}

}  // namespace cli
