#include "cli/cliutil.h"
#include "cli/commands.h"
#include "numerology/letters.h"

namespace cli {

int runDigits(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the digit string of TEXT as the console's numerology field shows it."));
    const QCommandLineOption method(
        QStringLiteral("method"),
        QStringLiteral("Letter table: pythagorean (default) or chaldean."),
        QStringLiteral("method"), QStringLiteral("pythagorean"));
    const QCommandLineOption spaceBlank(QStringLiteral("space-blank"),
                                        QStringLiteral("A blank gives a blank instead of \"0\"."));
    parser.addOptions({method, spaceBlank});
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text to convert."));
    if (const auto done = parseCommand(parser, arguments))
        return *done;

    const std::optional<int> flag = methodNamed(parser.value(method));
    if (!flag)
        return fail(BadInput,
                    QStringLiteral("digits: unknown method '%1' (pythagorean or chaldean)")
                        .arg(parser.value(method)));

    const QStringList texts = parser.positionalArguments();
    if (texts.size() != 1)
        return fail(BadInput,
                    QStringLiteral("digits: expected one TEXT, got %1").arg(texts.size()));

    printLine(numerology::TextToDigits(texts.front(), *flag, !parser.isSet(spaceBlank)));
    return Success;
}

}  // namespace cli
