#include "console/sequence.h"

namespace sequence {

bool runPass(const QString& digits, Player& player)
{
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        player.show(i);
        if (c >= u'0' && c <= u'9')
            player.playSlot(c.unicode() - u'0');
        else if (c == u'P' || c == u'p')
            player.pause();
        if (player.stopRequested())
            return false;
    }
    return true;
}

}  // namespace sequence
