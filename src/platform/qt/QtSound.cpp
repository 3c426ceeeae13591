// The tones of the program (the start-up chime, the beeps of commands) as sine waves played through
// Qt Multimedia's audio output.
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/qt/QtBasicServices.h"

namespace movra {

namespace {
constexpr int SampleRate = 22050;
// The longest tone played: a wrong length never blocks the output for minutes.
constexpr int LongestToneMs = 10000;
// Each tone rises and falls over this many milliseconds, so that it starts and ends without a click.
constexpr double RampMs = 5;
constexpr double Loudness = 0.3 * 32767;
}  // namespace

// The samples still to play, read by the audio sink as it needs them.
class ToneQueue : public QIODevice {
public:
    void Add(const QByteArray& samples) { pending_.append(samples); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return pending_.size() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min<qint64>(maxSize, pending_.size());
        std::copy_n(pending_.constData(), n, data);
        pending_.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray pending_;
};

class TonePlayer {
public:
    TonePlayer() {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return;
        QAudioFormat format;
        format.setSampleRate(SampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) return;
        sink_ = std::make_unique<QAudioSink>(device, format);
        queue_.open(QIODevice::ReadOnly);
    }
    ~TonePlayer() {
        if (sink_) sink_->stop();
    }

    void Play(int frequencyHz, int durationMs) {
        if (!sink_ || durationMs <= 0) return;
        const int ms = std::min(durationMs, LongestToneMs);
        const qsizetype count = static_cast<qsizetype>(static_cast<std::int64_t>(SampleRate) * ms / 1000);
        QByteArray samples(count * 2, '\0');
        auto* out = reinterpret_cast<std::int16_t*>(samples.data());
        const double ramp = RampMs * SampleRate / 1000;
        // A frequency the ear cannot hear, or no frequency, plays as a pause of that length.
        const bool audible = frequencyHz >= 20 && frequencyHz <= 20000;
        for (qsizetype i = 0; i < count && audible; ++i) {
            const double envelope = std::min({1.0, i / ramp, (count - 1 - i) / ramp});
            out[i] = static_cast<std::int16_t>(Loudness * envelope *
                                               std::sin(2 * M_PI * frequencyHz * static_cast<double>(i) / SampleRate));
        }
        queue_.Add(samples);
        // A sink that has played everything stops pulling; it is started again on the queue.
        if (sink_->state() != QAudio::ActiveState) {
            sink_->stop();
            sink_->start(&queue_);
        }
    }

private:
    std::unique_ptr<QAudioSink> sink_;
    ToneQueue queue_;
};

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::Beep(int frequencyHz, int durationMs) {
    // The output is opened with the first tone: a program that never beeps never touches it.
    if (!player_) player_ = std::make_unique<TonePlayer>();
    player_->Play(frequencyHz, durationMs);
}

}  // namespace movra
