#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

// What a fuzz target demands of a reader beyond not crashing: a broken demand aborts, which
// libFuzzer reports as a crash and keeps the input that caused it.
namespace fuzz {

inline void require(bool holds, const char* what, const QString& detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input as text: UTF-16 units, little-endian, so that any unit (a lone surrogate too)
// can arrive; an odd last byte is left out.
inline QString unitsOf(const std::uint8_t* data, std::size_t size)
{
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(data[i] | (data[i + 1] << 8)));
    return text;
}

}  // namespace fuzz
