#include "cli/cliutil.h"
#include "cli/commands.h"
#include "tonegen/notes.h"

namespace cli {

int runNote(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the frequency of a note text and the octave it arrived at."));
    const QCommandLineOption octaveOption(QStringLiteral("octave"),
                                          QStringLiteral("Octave to start from, 0..9 (default 4)."),
                                          QStringLiteral("N"), QStringLiteral("4"));
    parser.addOption(octaveOption);
    parser.addPositionalArgument(QStringLiteral("TEXT"),
                                 QStringLiteral("A note such as A, C#, B-, O5A, <G or N48."));
    if (const auto done = parseCommand(parser, arguments))
        return *done;

    const std::optional<qlonglong> start = wholeNumber(parser.value(octaveOption));
    if (!start || *start < 0 || *start > 9)
        return fail(BadInput,
                    QStringLiteral("note: the octave must be a whole number 0..9, not '%1'")
                        .arg(parser.value(octaveOption)));
    const QStringList texts = parser.positionalArguments();
    if (texts.size() != 1)
        return fail(BadInput, QStringLiteral("note: expected one TEXT, got %1").arg(texts.size()));

    int octave = int(*start);
    const int frequency = NoteToFrequency(texts.front(), octave);
    if (frequency == 0) {
        printLine(QStringLiteral("0 %1").arg(*start));
        return fail(
            NoResult,
            QStringLiteral("note: '%1' is not a note between 20 and 20000 Hz").arg(texts.front()));
    }
    printLine(QStringLiteral("%1 %2").arg(frequency).arg(octave));
    return Success;
}

}  // namespace cli
