#pragma once

#include "tonegen/imageblock.h"
#include "tonegen/synthesis.h"
#include "tonegen/wavetypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

// One tone: its parameters, the sound image built from them on demand, and playing it.
// Changing a parameter only marks the image out of date; the next play rebuilds it.
class TToneGen : public QObject
{
    Q_OBJECT

public:
    explicit TToneGen(QObject* owner = nullptr);
    ~TToneGen() override;

    // Clamps value to low..high.
    static int CheckRange(int low, int high, int value);

    int Frequency() const { return frequency_; }
    void SetFrequency(int hz);
    int Duration() const { return duration_; }
    void SetDuration(int ms);
    TTGWave Waveform() const { return waveform_; }
    void SetWaveform(TTGWave wave);
    int Attack() const { return envelope_.attack; }
    void SetAttack(int percent);
    int Hold() const { return envelope_.hold; }
    void SetHold(int percent);
    int Decay() const { return envelope_.decay; }
    void SetDecay(int percent);
    int Sustain() const { return envelope_.sustain; }
    void SetSustain(int percent);
    int Release() const { return envelope_.release; }
    void SetRelease(int percent);
    bool Async() const { return async_; }
    void SetAsync(bool on) { async_ = on; }
    bool Loop() const { return loop_; }
    void SetLoop(bool on) { loop_ = on; }
    TTGResolution Resolution() const { return resolution_; }
    void SetResolution(TTGResolution resolution);
    TTGQuality Quality() const { return quality_; }
    void SetQuality(TTGQuality quality);
    int LeftVolume() const { return leftVolume_; }
    void SetLeftVolume(int percent);
    int RightVolume() const { return rightVolume_; }
    void SetRightVolume(int percent);
    bool Stereo() const { return stereo_; }
    void SetStereo(bool on);
    TTGAMLevel AMLevel() const { return amLevel_; }
    void SetAMLevel(TTGAMLevel level);
    int AMAmplitude() const { return amAmplitude_; }
    void SetAMAmplitude(int percent);
    TTGWave AMWaveform() const { return amWaveform_; }
    void SetAMWaveform(TTGWave wave);
    float AMFrequency() const { return amFrequency_; }
    void SetAMFrequency(float frequency);
    bool AMUseMultiplier() const { return amUseMultiplier_; }
    void SetAMUseMultiplier(bool on);
    int DeviceId() const { return 0; }
    int NoteOctave() const { return noteOctave_; }

    // The layer table, as stored.
    int AMAmplitudes(int layer) const { return amAmplitudes_.at(layer); }
    TTGWave AMWaveforms(int layer) const { return amWaveforms_.at(layer); }
    float AMFrequencies(int layer) const { return amFrequencies_.at(layer); }
    int AMOctaves(int layer) const { return amOctaves_.at(layer); }

    // Image state.
    bool ToneChanged() const { return toneChanged_; }
    bool EnvelopeChanged() const { return envelopeChanged_; }
    bool EnvelopeApplied() const { return envelopeApplied_; }
    bool Idle() const { return idle_; }
    std::int64_t ImageSize() const { return std::int64_t(image_.size()); }

    bool Prepare();
    bool PrepareADSR();
    void Play();
    void PlayADSR();
    void Stop();
    void PresetVolume();
    void ResetAM();
    void SetAMParameter(TTGAMLevel layer, std::int16_t amplitude, float frequency, TTGWave wave);
    int SetNote(const QString& note);
    float SetAMNote(TTGAMLevel layer, const QString& note);
    // The image block (first byte the "R" of "RIFF"), or empty when there is none.
    QByteArrayView GetDataBuffer() const;
    // Writes the image block as the file's whole content; on failure the file is left as it
    // was and error (when given) says why.
    bool ExportFile(const QString& fileName, QString* error = nullptr) const;

    // The layer table's stored form: 100 bytes, little-endian.
    QByteArray WriteAMArray() const;
    void ReadAMArray(QByteArrayView data);

    // Shared by all generators of the process.
    static int GeneratorCount();
    static std::uint32_t SavedVolume();
    // The output's level word: low half left, high half right, each 0..65535.
    static std::uint32_t ReadDeviceVolume();

private:
    bool BuildImage(bool withEnvelope);
    void PlayImage();
    void releaseImage();
    void markToneChanged() { toneChanged_ = true; }

    bool toneChanged_ = true;
    bool envelopeChanged_ = true;
    bool envelopeApplied_ = true;
    bool idle_ = true;
    ImageBlock image_;

    std::int16_t frequency_ = 440;
    std::int16_t duration_ = 100;
    TTGWave waveform_ = tgSine;
    synthesis::Envelope envelope_{10, 5, 20, 50, 30};
    bool async_ = true;
    bool loop_ = false;
    TTGResolution resolution_ = tg16Bit;
    TTGQuality quality_ = tgHiQ;
    std::int16_t leftVolume_ = 100;
    std::int16_t rightVolume_ = 100;
    bool stereo_ = false;
    std::int16_t amAmplitude_ = 0;
    TTGWave amWaveform_ = tgSine;
    float amFrequency_ = 0.5f;
    bool amUseMultiplier_ = true;
    int noteOctave_ = 4;
    TTGAMLevel amLevel_ = tgAMLevel1;
    std::array<std::int16_t, kAMLayerCount> amAmplitudes_{};
    std::array<TTGWave, kAMLayerCount> amWaveforms_{};
    std::array<float, kAMLayerCount> amFrequencies_{};
    std::array<int, kAMLayerCount> amOctaves_{};
};
