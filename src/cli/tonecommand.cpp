#include "cli/cliutil.h"
#include "cli/commands.h"
#include "cli/toneoptions.h"
#include "tonegen/tonegen.h"

#include <QCoreApplication>

namespace cli {

int runTone(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds one tone generator's image and writes it, byte for byte, as a WAVE file "
        "(header, samples and 32 padding bytes). Unset options keep a new generator's values."));
    const QCommandLineOption freq(QStringLiteral("freq"), QStringLiteral("Frequency in Hz."),
                                  QStringLiteral("HZ"));
    const QCommandLineOption ms(QStringLiteral("ms"), QStringLiteral("Duration in milliseconds."),
                                QStringLiteral("MS"));
    const QCommandLineOption wave(QStringLiteral("wave"),
                                  QStringLiteral("sine, square, triangle, sawtooth or noise."),
                                  QStringLiteral("WAVE"));
    const QCommandLineOption bits(QStringLiteral("bits"), QStringLiteral("16 or 8."),
                                  QStringLiteral("BITS"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("96000 or 44100."),
                                  QStringLiteral("RATE"));
    const QCommandLineOption stereo(QStringLiteral("stereo"), QStringLiteral("Two channels."));
    const QCommandLineOption envelope(
        QStringLiteral("envelope"),
        QStringLiteral("Attack, hold, decay, sustain and release in percent; shapes the tone."),
        QStringLiteral("A,H,D,S,R"));
    const QCommandLineOption am(QStringLiteral("am"),
                                QStringLiteral("Sets AM layer 0..7 (repeatable), unchecked."),
                                QStringLiteral("LAYER:AMPLITUDE:FREQUENCY:WAVE"));
    const QCommandLineOption absolute(QStringLiteral("am-absolute"),
                                      QStringLiteral("AM frequencies are in Hz, not multipliers."));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The WAVE file to write."),
                                    QStringLiteral("FILE.wav"));
    parser.addOptions({freq, ms, wave, bits, rate, stereo, envelope, am, absolute, output});
    if (const auto done = parseCommand(parser, arguments))
        return *done;

    const auto bad = [](const QString& what) {
        return fail(BadInput, QStringLiteral("tone: ") + what);
    };
    if (!parser.positionalArguments().isEmpty())
        return bad(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    if (!parser.isSet(output))
        return bad(QStringLiteral("no output file given (-o FILE.wav)"));

    TToneGen generator;
    for (const auto& [option, set] :
         {std::pair{&freq, &TToneGen::SetFrequency}, std::pair{&ms, &TToneGen::SetDuration}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<qlonglong> value = wholeNumber(parser.value(*option));
        if (!value)
            return bad(QStringLiteral("--%1 takes a whole number, not '%2'")
                           .arg(option->names().front(), parser.value(*option)));
        (generator.*set)(asInt(*value));
    }
    if (parser.isSet(wave)) {
        const std::optional<TTGWave> chosen = waveNamed(parser.value(wave));
        if (!chosen)
            return bad(QStringLiteral("unknown wave '%1'").arg(parser.value(wave)));
        generator.SetWaveform(*chosen);
    }
    if (parser.isSet(bits)) {
        const QString value = parser.value(bits);
        if (value != QStringLiteral("16") && value != QStringLiteral("8"))
            return bad(QStringLiteral("--bits takes 16 or 8, not '%1'").arg(value));
        generator.SetResolution(value == QStringLiteral("16") ? tg16Bit : tg8Bit);
    }
    if (parser.isSet(rate)) {
        const QString value = parser.value(rate);
        if (value != QStringLiteral("96000") && value != QStringLiteral("44100"))
            return bad(QStringLiteral("--rate takes 96000 or 44100, not '%1'").arg(value));
        generator.SetQuality(value == QStringLiteral("96000") ? tgHiQ : tgLoQ);
    }
    if (parser.isSet(stereo))
        generator.SetStereo(true);
    if (parser.isSet(absolute))
        generator.SetAMUseMultiplier(false);
    for (const QString& text : parser.values(am)) {
        const std::optional<AMLayerOption> layer = amLayer(text);
        if (!layer)
            return bad(QStringLiteral("--am takes LAYER:AMPLITUDE:FREQUENCY:WAVE with a layer "
                                      "0..7, not '%1'")
                           .arg(text));
        generator.SetAMParameter(TTGAMLevel(layer->layer), layer->amplitude, layer->frequency,
                                 layer->wave);
    }

    bool built = false;
    if (parser.isSet(envelope)) {
        const std::optional<std::array<int, 5>> shares = envelopeShares(parser.value(envelope));
        if (!shares)
            return bad(QStringLiteral("--envelope takes five whole numbers A,H,D,S,R, not '%1'")
                           .arg(parser.value(envelope)));
        generator.SetAttack((*shares)[0]);
        generator.SetHold((*shares)[1]);
        generator.SetDecay((*shares)[2]);
        generator.SetSustain((*shares)[3]);
        generator.SetRelease((*shares)[4]);
        built = generator.PrepareADSR();
    } else {
        built = generator.Prepare();
    }
    if (!built)
        return fail(IoFailure, QStringLiteral("tone: not enough memory for the image"));

    const QString file = parser.value(output);
    QString error;
    if (!generator.ExportFile(file, &error))
        return fail(IoFailure, QStringLiteral("tone: cannot write %1: %2").arg(file, error));
    return Success;
}

}  // namespace cli
