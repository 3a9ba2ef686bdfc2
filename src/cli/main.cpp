#include "cli/cliutil.h"
#include "cli/commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <memory>

namespace {

struct Command
{
    const char* name;
    const char* summary;
    int (*run)(const QStringList&);
};

constexpr std::array kCommands{
    Command{"digits", "print the digit string of a text", cli::runDigits},
    Command{"analyze", "the numerology calculator's analysis of a name", cli::runAnalyze},
    Command{"chain", "print the reduction chain of a number", cli::runChain},
    Command{"reduce", "one press of the calculator's Reduce", cli::runReduce},
    Command{"sum", "one press of the calculator's Sum", cli::runSum},
    Command{"note", "print the frequency of a note name", cli::runNote},
    Command{"tone", "write one tone generator's image as a WAVE file", cli::runTone},
    Command{"render", "write the sound of a text as the console plays it", cli::runRender},
    Command{"play", "play a text as the console does", cli::runPlay},
    Command{"catalogue", "list, add or delete records of the tone catalogue", cli::runCatalogue},
    Command{"report", "write the numerology report or a catalogue listing", cli::runReport},
};

void printUsage()
{
    QString usage =
        QStringLiteral("Usage: sonarith-cli [--help] [--version] COMMAND [options] [arguments]\n"
                       "Turns text into numerology and sound without a window.\n\nCommands:\n");
    for (const Command& command : kCommands)
        usage += QStringLiteral("  %1  %2\n")
                     .arg(QString::fromLatin1(command.name).leftJustified(10),
                          QString::fromLatin1(command.summary));
    usage += QStringLiteral("\n'sonarith-cli COMMAND --help' describes a command.\n");
    std::fputs(usage.toUtf8().constData(), stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    // Reports lay out text with fonts, which takes the GUI library; the command line never
    // shows a window, so it needs no display either.
    const bool reporting = argc > 1 && qstrcmp(argv[1], "report") == 0;
    if (reporting) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The GUI library's start-up notes (such as a missing XDG_RUNTIME_DIR) are no result
        // and no failure: standard error carries only our own messages.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fputs(qPrintable(text + u'\n'), stderr);
        });
    }
    const std::unique_ptr<QCoreApplication> app =
        reporting ? std::make_unique<QGuiApplication>(argc, argv)
                  : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sonarith-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SONARITH_VERSION));

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return cli::fail(cli::BadInput,
                         QStringLiteral("no command given; 'sonarith-cli --help' lists them"));
    const QString first = arguments.front();
    if (first == QStringLiteral("--help") || first == QStringLiteral("-h")) {
        printUsage();
        return cli::Success;
    }
    if (first == QStringLiteral("--version") || first == QStringLiteral("-v")) {
        cli::printLine(QStringLiteral("sonarith-cli ") + QCoreApplication::applicationVersion());
        return cli::Success;
    }
    for (const Command& command : kCommands) {
        if (first == QLatin1String(command.name))
            return command.run(arguments);
    }
    return cli::fail(cli::BadInput, first.startsWith(u'-')
                                        ? QStringLiteral("unknown option '%1'").arg(first)
                                        : QStringLiteral("unknown command '%1'").arg(first));
}
