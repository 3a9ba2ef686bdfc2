#include "cli/toneoptions.h"

#include "cli/cliutil.h"

#include <algorithm>
#include <climits>

namespace cli {

namespace {

const std::array<const char*, 5> kWaveNames{"sine", "square", "triangle", "sawtooth", "noise"};

}  // namespace

std::optional<TTGWave> waveNamed(const QString& name)
{
    for (std::size_t i = 0; i < kWaveNames.size(); ++i) {
        if (name.compare(QLatin1String(kWaveNames[i]), Qt::CaseInsensitive) == 0)
            return TTGWave(i);
    }
    return std::nullopt;
}

int asInt(qlonglong value)
{
    return int(std::clamp<qlonglong>(value, INT_MIN, INT_MAX));
}

std::optional<AMLayerOption> amLayer(const QString& text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 4)
        return std::nullopt;
    const std::optional<qlonglong> layer = wholeNumber(parts[0]);
    const std::optional<qlonglong> amplitude = wholeNumber(parts[1]);
    bool frequencyOk = false;
    const float frequency = parts[2].toFloat(&frequencyOk);
    const std::optional<TTGWave> wave = waveNamed(parts[3]);
    if (!layer || *layer < 0 || *layer >= kAMLayerCount || !amplitude || *amplitude < INT16_MIN ||
        *amplitude > INT16_MAX || !frequencyOk || !wave)
        return std::nullopt;
    return AMLayerOption{int(*layer), std::int16_t(*amplitude), frequency, *wave};
}

std::optional<std::array<int, 5>> envelopeShares(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 5)
        return std::nullopt;
    std::array<int, 5> shares{};
    for (std::size_t i = 0; i < shares.size(); ++i) {
        const std::optional<qlonglong> share = wholeNumber(parts[qsizetype(i)]);
        if (!share)
            return std::nullopt;
        shares[i] = asInt(*share);
    }
    return shares;
}

}  // namespace cli
