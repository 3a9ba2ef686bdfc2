#include "support/samples.h"

namespace samples {

int sample16(QByteArrayView image, qsizetype frame, int channels)
{
    const qsizetype at = 44 + frame * 2 * channels;
    return std::int16_t(std::uint16_t(std::uint8_t(image[at]) | std::uint8_t(image[at + 1]) << 8));
}

int sample8(QByteArrayView image, qsizetype frame, int channels)
{
    return std::uint8_t(image[44 + frame * channels]);
}

QString firstDifference(const QList<int>& actual, const QList<int>& expected, qsizetype offset)
{
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (actual[i] != expected[i])
            return QStringLiteral("sample %1: got %2, expected %3")
                .arg(offset + i)
                .arg(actual[i])
                .arg(expected[i]);
    }
    if (actual.size() != expected.size())
        return QStringLiteral("%1 samples, expected %2").arg(actual.size()).arg(expected.size());
    return {};
}

}  // namespace samples
