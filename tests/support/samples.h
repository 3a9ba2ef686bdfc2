#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>

// Reading sample values out of images and recordings, for comparisons that name the first
// differing sample.
namespace samples {

// The signed 16-bit sample at frame index (left channel) of the data after a 44-byte header.
int sample16(QByteArrayView image, qsizetype frame, int channels = 1);
// The byte at frame index of 8-bit data after a 44-byte header.
int sample8(QByteArrayView image, qsizetype frame, int channels = 1);

// Empty when equal; else "sample N: got X, expected Y".
QString firstDifference(const QList<int>& actual, const QList<int>& expected, qsizetype offset = 0);

}  // namespace samples
