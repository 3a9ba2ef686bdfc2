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

}  // namespace

int runReport(const QStringList& arguments)
{
    const QString kind = arguments.value(1);
    if (kind == QStringLiteral("numerology"))
        return numerologyReport(arguments.mid(2));
    if (kind == QStringLiteral("--help") || kind == QStringLiteral("-h")) {
        printLine(QStringLiteral(
            "Usage: sonarith-cli report numerology [options] TEXT (--pdf FILE | --rtf FILE)\n"
            "The reports the desktop program prints and exports.\n\n"
            "  numerology  the numerology calculator's report of TEXT, with analyze's options\n\n"
            "'sonarith-cli report numerology --help' describes it."));
        return Success;
    }
    return fail(BadInput,
                kind.isEmpty()
                    ? QStringLiteral("report: expected numerology")
                    : QStringLiteral("report: unknown report '%1' (numerology)").arg(kind));
}

}  // namespace cli
