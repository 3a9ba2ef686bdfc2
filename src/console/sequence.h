#pragma once

#include <QString>

// One pass of a digit string: each character in turn is shown, then a digit plays its slot,
// "P" or "p" pauses for one tone's duration, and anything else (a blank too) is skipped
// without taking time. Between characters the pass asks whether to stop.
namespace sequence {

class Player
{
public:
    virtual ~Player() = default;
    virtual void show(qsizetype index) = 0;
    virtual void playSlot(int slot) = 0;
    virtual void pause() = 0;
    virtual bool stopRequested() = 0;
};

// True when the pass ran to its end, false when it was stopped.
bool runPass(const QString& digits, Player& player);

}  // namespace sequence
