#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <functional>
#include <memory>

// The process's sound output: plays complete in-memory WAVE images one at a time, stops
// them, and applies a left/right level word to what it plays (without touching the system
// mixer). One stream stays open between plays, fed by a thread of its own, so that images
// played one after another follow each other without a gap. Without a sound server the
// output is silent but keeps the same timing.
class SoundOutput
{
public:
    enum class Mode { Synchronous, Asynchronous, Looped };

    static SoundOutput& instance();

    // Cuts off whatever sounds and starts the image. A synchronous play returns a little
    // before its end is heard, as the stream measures its own delay, so that the next image
    // follows without a gap; the others return at once.
    void play(QByteArrayView waveImage, Mode mode);
    // Sounds ms milliseconds of silence synchronously, in the stream's own time, so that a
    // pause between images lasts exactly as long as it should; returns as a play does.
    void playSilence(int ms);
    // The next play (or silence) of the calling thread runs action on that thread as its first
    // sound is heard, so that what is shown of it appears with it although the play itself
    // is handed over well ahead; a play that is cut off first, has nothing to sound or is not
    // synchronous runs it at once.
    void setHeardAction(std::function<void()> action);
    // An action that no play has taken, for the caller to run itself.
    std::function<void()> takeHeardAction();
    // Silences at once; harmless when nothing sounds.
    void stop();
    // Waits until everything handed to the stream has been heard.
    void drain();

    // Low half left, high half right, each 0 (silent) to 65535 (full).
    std::uint32_t volume() const;
    void setVolume(std::uint32_t word);

    // Whether a sound server answered when the output first needed one (or since).
    bool hasDevice();
    // Runs handler on the output's own thread whenever the sound server goes away while
    // something plays (the output goes on silently in its time); an empty one for none.
    void setLossHandler(std::function<void()> handler);

    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
    ~SoundOutput();

private:
    SoundOutput();
    class Stream;
    std::unique_ptr<Stream> stream_;
    std::function<void()> heardAction_;
};
