#include "tonegen/notes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Leading and trailing blanks and control characters go.
QString stripped(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The whole number after "N", optionally signed: a note number 0..121.
std::optional<int> numberedNote(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    int n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = std::min(n * 10 + (c.unicode() - u'0'), 1000);
    }
    if (negative && n != 0)
        return std::nullopt;
    if (n > 121)
        return std::nullopt;
    return n;
}

// The semitone of a letter within its octave (octaves begin at A).
std::optional<int> semitoneOf(QChar letter)
{
    switch (letter.unicode()) {
    case u'A':
        return 0;
    case u'B':
        return 2;
    case u'C':
        return 3;
    case u'D':
        return 5;
    case u'E':
        return 7;
    case u'F':
        return 8;
    case u'G':
        return 10;
    default:
        return std::nullopt;
    }
}

}  // namespace

int NoteToFrequency(const QString& text, int& octave)
{
    const QString note = stripped(text).toUpper();
    int number = 0;
    // An octave brought from outside 0..9 counts as the nearest one.
    int reached = std::clamp(octave, 0, 9);

    if (note.startsWith(u'N')) {
        const std::optional<int> n = numberedNote(QStringView(note).mid(1));
        if (!n)
            return 0;
        number = *n;
    } else {
        qsizetype i = 0;
        if (note.startsWith(u'O')) {
            if (note.size() < 2 || note[1] < u'0' || note[1] > u'9')
                return 0;
            reached = note[1].unicode() - u'0';
            i = 2;
        } else {
            for (; i < note.size() && (note[i] == u'<' || note[i] == u'>'); ++i)
                reached = note[i] == u'<' ? std::max(reached - 1, 0) : std::min(reached + 1, 9);
        }
        if (i >= note.size())
            return 0;
        const QChar letter = note[i++];
        std::optional<int> semitone = semitoneOf(letter);
        if (!semitone)
            return 0;
        if (i < note.size() && (note[i] == u'+' || note[i] == u'#')) {
            if (letter == u'B' || letter == u'E')
                return 0;
            ++*semitone;
            ++i;
        } else if (i < note.size() && note[i] == u'-') {
            if (letter == u'C' || letter == u'F')
                return 0;
            if (letter == u'A') {
                if (reached == 0)
                    return 0;
                --reached;
                semitone = 11;
            } else {
                --*semitone;
            }
            ++i;
        }
        if (i != note.size())
            return 0;
        number = 12 * reached + *semitone;
    }

    octave = reached;
    const double frequency = std::trunc(440.0 * std::pow(2.0, (number - 48) / 12.0) + 0.5);
    return frequency >= 20 && frequency <= 20000 ? int(frequency) : 0;
}
