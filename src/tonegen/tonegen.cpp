#include "tonegen/tonegen.h"

#include "fileio/files.h"
#include "tonegen/notes.h"
#include "tonegen/soundoutput.h"
#include "tonegen/waveimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int generatorCount = 0;
std::uint32_t savedVolume = 0;

void put32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(std::uint8_t(v >> (8 * i))));
}

std::uint32_t get32(QByteArrayView in, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::uint8_t(in[at + i]);
    return v;
}

}  // namespace

TToneGen::TToneGen(QObject* owner) : QObject(owner)
{
    ResetAM();
    amOctaves_.fill(4);
    if (generatorCount == 0) {
        savedVolume = ReadDeviceVolume();
        PresetVolume();
    }
    ++generatorCount;
}

TToneGen::~TToneGen()
{
    Stop();
    releaseImage();
    if (--generatorCount == 0)
        SoundOutput::instance().setVolume(savedVolume);
}

int TToneGen::CheckRange(int low, int high, int value)
{
    return std::clamp(value, low, high);
}

void TToneGen::SetFrequency(int hz)
{
    frequency_ = std::int16_t(CheckRange(20, 20000, hz));
    markToneChanged();
}

void TToneGen::SetDuration(int ms)
{
    duration_ = std::int16_t(CheckRange(10, 32767, ms));
    markToneChanged();
}

void TToneGen::SetWaveform(TTGWave wave)
{
    waveform_ = wave;
    markToneChanged();
}

void TToneGen::SetAttack(int percent)
{
    envelope_.attack = CheckRange(0, 100, percent);
    envelopeChanged_ = true;
}

void TToneGen::SetHold(int percent)
{
    envelope_.hold = CheckRange(0, 100, percent);
    envelopeChanged_ = true;
}

void TToneGen::SetDecay(int percent)
{
    envelope_.decay = CheckRange(0, 100, percent);
    envelopeChanged_ = true;
}

void TToneGen::SetSustain(int percent)
{
    envelope_.sustain = CheckRange(0, 100, percent);
    envelopeChanged_ = true;
}

void TToneGen::SetRelease(int percent)
{
    envelope_.release = CheckRange(0, 100, percent);
    envelopeChanged_ = true;
}

void TToneGen::SetResolution(TTGResolution resolution)
{
    resolution_ = resolution;
    markToneChanged();
}

void TToneGen::SetQuality(TTGQuality quality)
{
    quality_ = quality;
    markToneChanged();
}

void TToneGen::SetLeftVolume(int percent)
{
    leftVolume_ = std::int16_t(CheckRange(0, 100, percent));
    if (idle_)
        PresetVolume();
}

void TToneGen::SetRightVolume(int percent)
{
    rightVolume_ = std::int16_t(CheckRange(0, 100, percent));
    if (idle_)
        PresetVolume();
}

void TToneGen::SetStereo(bool on)
{
    stereo_ = on;
    markToneChanged();
}

void TToneGen::SetAMLevel(TTGAMLevel level)
{
    amLevel_ = TTGAMLevel(level % kAMLayerCount);
    SetAMAmplitude(amAmplitudes_[amLevel_]);
    SetAMWaveform(amWaveforms_[amLevel_]);
    SetAMFrequency(amFrequencies_[amLevel_]);
}

void TToneGen::SetAMAmplitude(int percent)
{
    amAmplitude_ = std::int16_t(CheckRange(0, 100, percent));
    amAmplitudes_[amLevel_] = amAmplitude_;
    markToneChanged();
}

void TToneGen::SetAMWaveform(TTGWave wave)
{
    amWaveform_ = wave;
    amWaveforms_[amLevel_] = wave;
    markToneChanged();
}

void TToneGen::SetAMFrequency(float frequency)
{
    amFrequency_ = frequency;
    amFrequencies_[amLevel_] = frequency;
    markToneChanged();
}

void TToneGen::SetAMUseMultiplier(bool on)
{
    amUseMultiplier_ = on;
    markToneChanged();
}

bool TToneGen::Prepare()
{
    PresetVolume();
    return BuildImage(false);
}

bool TToneGen::PrepareADSR()
{
    PresetVolume();
    return BuildImage(true);
}

void TToneGen::Play()
{
    if (toneChanged_ || envelopeApplied_)
        BuildImage(false);
    PlayImage();
    idle_ = !(async_ || loop_);
}

void TToneGen::PlayADSR()
{
    if (toneChanged_ || envelopeChanged_)
        BuildImage(true);
    PlayImage();
    idle_ = !(async_ || loop_);
}

void TToneGen::PlayImage()
{
    Stop();
    PresetVolume();
    if (image_.empty())
        return;
    const auto mode = loop_    ? SoundOutput::Mode::Looped
                      : async_ ? SoundOutput::Mode::Asynchronous
                               : SoundOutput::Mode::Synchronous;
    SoundOutput::instance().play(GetDataBuffer(), mode);
}

void TToneGen::Stop()
{
    SoundOutput::instance().stop();
    idle_ = true;
}

void TToneGen::PresetVolume()
{
    const auto left = std::uint32_t(leftVolume_ * 65535 / 100);
    const auto right = std::uint32_t(rightVolume_ * 65535 / 100);
    SoundOutput::instance().setVolume(left + (right << 16));
}

void TToneGen::ResetAM()
{
    for (int i = 0; i < kAMLayerCount; ++i) {
        amAmplitudes_[i] = 0;
        amWaveforms_[i] = tgSine;
        amFrequencies_[i] = float(i + 1) / 2;
    }
    markToneChanged();
}

void TToneGen::SetAMParameter(TTGAMLevel layer, std::int16_t amplitude, float frequency,
                              TTGWave wave)
{
    const int i = layer % kAMLayerCount;
    amAmplitudes_[i] = amplitude;
    amFrequencies_[i] = frequency;
    amWaveforms_[i] = wave;
    markToneChanged();
}

int TToneGen::SetNote(const QString& note)
{
    int octave = noteOctave_;
    const int frequency = NoteToFrequency(note, octave);
    if (frequency < 1)
        return 0;
    SetFrequency(frequency);
    noteOctave_ = octave;
    return frequency;
}

float TToneGen::SetAMNote(TTGAMLevel layer, const QString& note)
{
    const int i = layer % kAMLayerCount;
    int octave = amOctaves_[i];
    const int frequency = NoteToFrequency(note, octave);
    if (frequency <= 0)
        return 0;
    const float value = amUseMultiplier_ ? float(frequency) / float(frequency_) : float(frequency);
    amFrequencies_[i] = value;
    amOctaves_[i] = octave;
    markToneChanged();
    return value;
}

QByteArrayView TToneGen::GetDataBuffer() const
{
    if (image_.empty())
        return {};
    return QByteArrayView(image_.data(), qsizetype(image_.size()));
}

bool TToneGen::ExportFile(const QString& fileName, QString* error) const
{
    if (image_.empty()) {
        if (error)
            *error = QStringLiteral("There is no image to write");
        return false;
    }
    return fileio::saveFile(fileName, GetDataBuffer(), error);
}

bool TToneGen::BuildImage(bool withEnvelope)
{
    using namespace synthesis;
    NoiseSequence noise;
    const SampleFormat format = SampleFormat::of(resolution_, quality_, stereo_);
    const std::int64_t length = dataLength(format, duration_);

    // Building a new image ends whatever image is sounding, as playing one does.
    SoundOutput::instance().stop();
    releaseImage();
    if (!image_.allocate(std::size_t(length + waveimage::kHeaderSize + waveimage::kPaddingSize)))
        return false;
    if (format.silence() != 0)
        std::memset(image_.data(), format.silence(), image_.size());
    waveimage::writeHeader(image_.data(), format, std::uint32_t(length));
    std::uint8_t* samples = image_.data() + waveimage::kHeaderSize;
    const std::int64_t frames = length / format.frameSize();

    const AMTable am{amAmplitudes_.data(), amWaveforms_.data(), amFrequencies_.data(),
                     amUseMultiplier_};
    for (const Layer& layer : layerTable(frequency_, waveform_, am))
        addLayer(samples, frames, format, layer, noise);

    toneChanged_ = false;
    envelopeChanged_ = true;
    envelopeApplied_ = false;
    if (withEnvelope) {
        ApplyEnvelope(samples, length, format, envelope_);
        envelopeChanged_ = false;
        envelopeApplied_ = true;
    }
    return true;
}

void TToneGen::releaseImage()
{
    image_.release();
}

QByteArray TToneGen::WriteAMArray() const
{
    QByteArray out;
    out.reserve(100);
    put32(out, kAMLayerCount - 1);
    for (int i = 0; i < kAMLayerCount; ++i) {
        put32(out, std::uint32_t(std::int32_t(amAmplitudes_[i])));
        put32(out, amWaveforms_[i]);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &amFrequencies_[i], sizeof bits);
        put32(out, bits);
    }
    return out;
}

void TToneGen::ReadAMArray(QByteArrayView data)
{
    if (data.size() < 4)
        return;
    const auto count = std::int32_t(get32(data, 0));
    if (count < 0)
        return;
    // Entries beyond the table's eight are read past and dropped.
    const qlonglong entries = std::min<qlonglong>(qlonglong(count) + 1, kAMLayerCount);
    for (qlonglong i = 0; i < entries && 4 + 12 * (i + 1) <= data.size(); ++i) {
        const qsizetype at = qsizetype(4 + 12 * i);
        amAmplitudes_[i] = std::int16_t(get32(data, at) & 0xffff);
        amWaveforms_[i] = TTGWave(get32(data, at + 4) & 0xff);
        const std::uint32_t bits = get32(data, at + 8);
        std::memcpy(&amFrequencies_[i], &bits, sizeof bits);
    }
}

int TToneGen::GeneratorCount()
{
    return generatorCount;
}

std::uint32_t TToneGen::SavedVolume()
{
    return savedVolume;
}

std::uint32_t TToneGen::ReadDeviceVolume()
{
    // The output keeps separate left and right levels, so the word is taken as it is.
    return SoundOutput::instance().volume();
}
