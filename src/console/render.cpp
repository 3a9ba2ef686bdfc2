#include "console/render.h"

#include "console/sequence.h"
#include "console/slotsound.h"
#include "tonegen/tonegen.h"
#include "tonegen/waveimage.h"

#include <array>
#include <memory>

namespace {

class Renderer final : public sequence::Player
{
public:
    explicit Renderer(const ConsoleSettings& settings)
    {
        for (std::size_t i = 0; i < generators_.size(); ++i) {
            generators_[i] = std::make_unique<TToneGen>();
            slotsound::setUpSlot(*generators_[i], int(i), settings);
        }
        // A pause is not limited as a tone's length is.
        const std::int64_t pauseMs = std::max(slotsound::milliseconds(settings.durationSeconds), 0);
        pauseBytes_ =
            synthesis::dataLength(synthesis::SampleFormat::of(tg16Bit, tgHiQ, false), pauseMs);
    }

    // The whole file is laid out in one block, its length known before a sample is made;
    // false when it would not fit in a WAVE file.
    bool reserve(const QString& digits)
    {
        std::int64_t length = waveimage::kHeaderSize;
        const std::int64_t tone = synthesis::dataLength(
            synthesis::SampleFormat::of(tg16Bit, tgHiQ, false), generators_[0]->Duration());
        for (const QChar c : digits) {
            if (c >= u'0' && c <= u'9')
                length += tone;
            else if (c == u'P' || c == u'p')
                length += pauseBytes_;
        }
        if (length - waveimage::kHeaderSize > std::int64_t(0xffffffffu) - 36)
            return false;
        file_.reserve(qsizetype(length));
        file_.resize(waveimage::kHeaderSize);
        return true;
    }

    void show(qsizetype) override {}

    void playSlot(int slot) override
    {
        TToneGen& generator = *generators_[std::size_t(slot)];
        // Each slot's image is built once, at its first digit.
        if (generator.ImageSize() == 0 && !generator.PrepareADSR()) {
            failed_ = true;
            return;
        }
        const QByteArrayView image = generator.GetDataBuffer();
        file_ += image.sliced(waveimage::kHeaderSize,
                              image.size() - waveimage::kHeaderSize - waveimage::kPaddingSize);
    }

    void pause() override { file_.append(qsizetype(pauseBytes_), '\0'); }
    bool stopRequested() override { return failed_; }
    bool failed() const { return failed_; }

    QByteArray wave()
    {
        waveimage::writeHeader(reinterpret_cast<std::uint8_t*>(file_.data()),
                               synthesis::SampleFormat::of(tg16Bit, tgHiQ, false),
                               std::uint32_t(file_.size() - waveimage::kHeaderSize));
        return std::move(file_);
    }

private:
    std::array<std::unique_ptr<TToneGen>, 10> generators_;
    std::int64_t pauseBytes_ = 0;
    bool failed_ = false;
    QByteArray file_;
};

}  // namespace

std::optional<QByteArray> renderPass(const QString& digits, const ConsoleSettings& settings,
                                     QString* error)
{
    Renderer renderer(settings);
    if (!renderer.reserve(digits)) {
        *error = QStringLiteral("the sound would be longer than a WAVE file can hold");
        return std::nullopt;
    }
    sequence::runPass(digits, renderer);
    if (renderer.failed()) {
        *error = QStringLiteral("not enough memory for a tone");
        return std::nullopt;
    }
    return renderer.wave();
}
