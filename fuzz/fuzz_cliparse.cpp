// The numbers and lists of sonarith-cli's options: whole numbers, --envelope A,H,D,S,R and
// --am LAYER:AMPLITUDE:FREQUENCY:WAVE, and a tone built with what they give.
#include "cli/cliutil.h"
#include "cli/toneoptions.h"
#include "fuzzcheck.h"
#include "tonegen/tonegen.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // A whole number is digits with a sign at most, nothing around them.
    static const QRegularExpression decimal(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    if (cli::wholeNumber(text))
        fuzz::require(decimal.match(text).hasMatch(), "a whole number read from other text", text);

    static TToneGen generator;
    generator.ResetAM();
    generator.SetDuration(10);
    generator.SetQuality(tgLoQ);

    const std::optional<std::array<int, 5>> shares = cli::envelopeShares(text);
    if (shares) {
        fuzz::require(text.count(u',') == 4, "an envelope of other than five numbers", text);
        generator.SetAttack((*shares)[0]);
        generator.SetHold((*shares)[1]);
        generator.SetDecay((*shares)[2]);
        generator.SetSustain((*shares)[3]);
        generator.SetRelease((*shares)[4]);
    }
    // Each line is one --am value, as the option may be given again and again.
    for (const QString& value : text.split(u'\n')) {
        const std::optional<cli::AMLayerOption> layer = cli::amLayer(value);
        if (!layer)
            continue;
        fuzz::require(layer->layer >= 0 && layer->layer < kAMLayerCount, "a layer outside 0..7",
                      value);
        fuzz::require(layer->wave <= tgNoise, "an unknown wave", value);
        generator.SetAMParameter(TTGAMLevel(layer->layer), layer->amplitude, layer->frequency,
                                 layer->wave);
    }
    fuzz::require(generator.PrepareADSR(), "no image for the options read", text);
    return 0;
}
