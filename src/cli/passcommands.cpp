#include "cli/cliutil.h"
#include "cli/commands.h"
#include "console/render.h"
#include "console/sequence.h"
#include "console/slotsound.h"
#include "console/tonesettings.h"
#include "fileio/files.h"
#include "numerology/letters.h"
#include "tonegen/soundoutput.h"
#include "tonegen/tonegen.h"

#include <array>
#include <cstdio>
#include <memory>
#include <variant>

namespace cli {

namespace {

struct Pass
{
    ConsoleSettings settings;
    QString digits;
};

struct PassOptions
{
    QCommandLineOption settings{
        QStringLiteral("settings"),
        QStringLiteral("Tone settings file (default: the built-in start-up settings)."),
        QStringLiteral("FILE.tns")};
    QCommandLineOption method{QStringLiteral("method"),
                              QStringLiteral("Letter table: pythagorean or chaldean."),
                              QStringLiteral("method")};
    QCommandLineOption spaceBlank{
        QStringLiteral("space-blank"),
        QStringLiteral("A blank gives a blank (no tone) instead of digit 0.")};
    QCommandLineOption digits{QStringLiteral("digits"),
                              QStringLiteral("The digit string itself; may hold P/p pauses."),
                              QStringLiteral("STRING")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({settings, method, spaceBlank, digits});
        parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text to play."),
                                     QStringLiteral("[TEXT]"));
    }

    // The settings and the digit string to play; an exit status when the inputs are refused.
    std::variant<Pass, int> read(const QCommandLineParser& parser, const QString& command) const
    {
        const auto bad = [&](const QString& what) {
            return fail(BadInput, command + QStringLiteral(": ") + what);
        };
        Pass pass{ConsoleSettings::builtInDefaults(), {}};
        if (parser.isSet(settings)) {
            const QString path = parser.value(settings);
            QString error;
            const std::optional<QByteArray> bytes = fileio::readFile(path, &error);
            if (!bytes)
                return bad(QStringLiteral("cannot read %1: %2").arg(path, error));
            const std::optional<ConsoleSettings> read =
                tonesettings::settingsOf(tonesettings::readLines(*bytes), &error);
            if (!read)
                return bad(QStringLiteral("%1: %2").arg(path, error));
            pass.settings = *read;
        }
        if (parser.isSet(method)) {
            const std::optional<int> flag = methodNamed(parser.value(method));
            if (!flag)
                return bad(QStringLiteral("unknown method '%1' (pythagorean or chaldean)")
                               .arg(parser.value(method)));
            pass.settings.method = *flag;
        }
        if (parser.isSet(spaceBlank))
            pass.settings.spaceAsZero = false;

        const QStringList texts = parser.positionalArguments();
        if (parser.isSet(digits) == !texts.isEmpty() || texts.size() > 1)
            return bad(QStringLiteral("give either one TEXT or --digits STRING"));
        pass.digits = parser.isSet(digits)
                          ? parser.value(digits)
                          : numerology::TextToDigits(texts.front(), pass.settings.method,
                                                     pass.settings.spaceAsZero);
        return pass;
    }
};

// Plays a pass through the sound output, as the console does, printing each digit as it
// starts.
class Performer final : public sequence::Player
{
public:
    explicit Performer(const ConsoleSettings& settings)
        : pauseMs_(slotsound::milliseconds(settings.durationSeconds))
    {
        for (std::size_t i = 0; i < generators_.size(); ++i) {
            generators_[i] = std::make_unique<TToneGen>();
            slotsound::setUpSlot(*generators_[i], int(i), settings);
            generators_[i]->PrepareADSR();
        }
    }

    void show(qsizetype) override {}
    // The digit is printed as its tone is heard, not when the tone is handed over.
    void playSlot(int slot) override
    {
        const auto print = [slot] {
            std::printf("%d\n", slot);
            std::fflush(stdout);
        };
        SoundOutput::instance().setHeardAction(print);
        generators_[std::size_t(slot)]->PlayADSR();
        if (SoundOutput::instance().takeHeardAction())
            print();
    }
    void pause() override { SoundOutput::instance().playSilence(pauseMs_); }
    bool stopRequested() override { return false; }

private:
    int pauseMs_;
    std::array<std::unique_ptr<TToneGen>, 10> generators_;
};

}  // namespace

int runRender(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the sound of one pass of the console's sequencer as a WAVE file."));
    const PassOptions inputs;
    inputs.addTo(parser);
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The WAVE file to write."),
                                    QStringLiteral("FILE.wav"));
    parser.addOption(output);
    if (const auto done = parseCommand(parser, arguments))
        return *done;
    if (!parser.isSet(output))
        return fail(BadInput, QStringLiteral("render: no output file given (-o FILE.wav)"));
    const std::variant<Pass, int> pass = inputs.read(parser, QStringLiteral("render"));
    if (const int* status = std::get_if<int>(&pass))
        return *status;
    const Pass& ready = std::get<Pass>(pass);

    QString error;
    const std::optional<QByteArray> wave = renderPass(ready.digits, ready.settings, &error);
    if (!wave)
        return fail(BadInput, QStringLiteral("render: ") + error);
    if (!fileio::saveFile(parser.value(output), *wave, &error))
        return fail(IoFailure,
                    QStringLiteral("render: cannot write %1: %2").arg(parser.value(output), error));
    return Success;
}

int runPlay(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays one pass of the console's sequencer, or repeats it until interrupted."));
    const PassOptions inputs;
    inputs.addTo(parser);
    const QCommandLineOption loop(
        QStringLiteral("loop"),
        QStringLiteral("Repeat the pass, 500 ms apart, until interrupted."));
    parser.addOption(loop);
    if (const auto done = parseCommand(parser, arguments))
        return *done;
    const std::variant<Pass, int> pass = inputs.read(parser, QStringLiteral("play"));
    if (const int* status = std::get_if<int>(&pass))
        return *status;
    const Pass& ready = std::get<Pass>(pass);
    if (!SoundOutput::instance().hasDevice())
        return fail(IoFailure, QStringLiteral("play: no sound device found"));

    Performer performer(ready.settings);
    do {
        sequence::runPass(ready.digits, performer);
        if (parser.isSet(loop))
            SoundOutput::instance().playSilence(500);
    } while (parser.isSet(loop));
    SoundOutput::instance().drain();
    return Success;
}

}  // namespace cli
