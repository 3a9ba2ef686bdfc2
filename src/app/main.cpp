#include "app/program.h"
#include "console/ui/toneform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display the window system cannot start; say so rather than abort.
bool displayAvailable()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// --help and --version need no window.
bool asksForHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "--help-all" ||
            argument == "--version" || argument == "-v")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable() && !asksForHelpOrVersion(argc, argv)) {
        std::fputs("sonarith: no display found (DISPLAY and WAYLAND_DISPLAY are not set); start it "
                   "in a desktop session, or under xvfb-run\n",
                   stderr);
        return 1;
    }

    if (!displayAvailable())
        qputenv("QT_QPA_PLATFORM", "offscreen");  // only to print the help or the version
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonarith"));
    QApplication::setApplicationVersion(QStringLiteral(SONARITH_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Turns text into sound by numerology."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral("Save a picture of every window into <folder> and exit."),
        QStringLiteral("folder"));
    parser.addOption(screenshots);
    parser.process(app);

    Program program;
    if (parser.isSet(screenshots)) {
        QString error;
        if (!program.saveScreenshots(parser.value(screenshots), &error)) {
            std::fprintf(stderr, "sonarith: %s\n", qPrintable(error));
            return 3;
        }
        return 0;
    }

    program.ToneFrm().show();
    return QApplication::exec();
}
