// Plays two 250 ms tones synchronously, waits until they are over and prints how long that
// took, in milliseconds: run by the tests where no sound server answers.
#include "tonegen/soundoutput.h"
#include "tonegen/tonegen.h"

#include <QElapsedTimer>
#include <cstdio>

int main()
{
    TToneGen generator;
    generator.SetAsync(false);
    generator.SetDuration(250);
    QElapsedTimer played;
    played.start();
    generator.Play();
    generator.Play();
    SoundOutput::instance().drain();
    std::printf("%lld %d\n", static_cast<long long>(played.elapsed()),
                SoundOutput::instance().hasDevice() ? 1 : 0);
    return 0;
}
