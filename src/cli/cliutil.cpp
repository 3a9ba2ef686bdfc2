#include "cli/cliutil.h"

#include <QCoreApplication>
#include <cstdio>

namespace cli {

void printLine(const QString& text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int fail(ExitCode code, const QString& message)
{
    const QByteArray bytes = (QStringLiteral("sonarith-cli: ") + message + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return code;
}

std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments)
{
    const QString command = arguments.value(0);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on this command."));
    parser.addOption(help);
    // The command's name stands in the program-name slot, where the parser skips it.
    if (!parser.parse(QStringList{QCoreApplication::applicationFilePath()} + arguments.mid(1)))
        return fail(BadInput, command + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        // The usage line names the program as its users call it, and the command.
        const qsizetype options = text.indexOf(QStringLiteral("[options]"));
        if (text.startsWith(QStringLiteral("Usage: ")) && options > 0)
            text.replace(7, options - 7, QStringLiteral("sonarith-cli ") + command + u' ');
        std::fputs(text.toUtf8().constData(), stdout);
        return Success;
    }
    return std::nullopt;
}

std::optional<qlonglong> wholeNumber(const QString& text)
{
    // Digits with a sign at most and nothing else: the conversion alone would also take
    // blanks around them, and stops at a NUL character as if the text ended there.
    const qsizetype sign = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (text.size() == sign)
        return std::nullopt;
    for (qsizetype i = sign; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> methodNamed(const QString& name)
{
    if (name.compare(QStringLiteral("pythagorean"), Qt::CaseInsensitive) == 0)
        return 0;
    if (name.compare(QStringLiteral("chaldean"), Qt::CaseInsensitive) == 0)
        return 1;
    return std::nullopt;
}

}  // namespace cli
