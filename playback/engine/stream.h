#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>

#include <QString>

#include "playback/engine/audio_device.h"
#include "playback/engine/device_format.h"
#include "playback/engine/frame_ring.h"
#include "playback/engine/heard_history.h"
#include "playback/engine/mpg123_decoder.h"
#include "playback/engine/sample_converter.h"
#include "playback/engine/spectrum_analyser.h"

namespace tunvell::engine {

// One open MP3 file: a worker thread decodes ahead into a ring of device
// frames, the device callback takes frames from the ring while the stream
// plays, and the user-interface thread asks where the listener is.
//
// Locks: `decoderMutex_` serialises the decoder between the worker and a seek;
// `mutex_` guards the ring and the play state and is held only for copies, so
// the callback never waits long. Order: decoderMutex_ before mutex_.
class Stream final : public MixSource {
public:
    // nullptr when the file cannot be opened or holds no MPEG audio.
    static std::unique_ptr<Stream> Open(const QString& path, const DeviceFormat& device);
    ~Stream() override;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    bool Play(bool restart);
    bool Pause();
    bool Stop();
    // One of the ACTIVE_ values of AudioOutput.
    int Activity() const;
    std::int64_t LengthBytes() const;
    // The position being heard now, in bytes of the file's own PCM.
    std::int64_t HeardBytes() const;
    bool SeekBytes(std::int64_t bytes);
    // The last FFT_SIZE frames heard, channels averaged; false when nothing has
    // been heard yet.
    bool CopyHeard(std::span<float, FFT_SIZE> out) const;

    void MixInto(std::span<float> out) override;

private:
    Stream(std::unique_ptr<Mpg123Decoder> decoder, std::unique_ptr<SampleConverter> converter,
           const DeviceFormat& device);

    void DecodeLoop(std::stop_token stop);
    // One piece of decoding work; false when there was nothing to do.
    bool DecodeStep();
    // How long the worker may sleep before the ring needs refilling.
    std::chrono::milliseconds IdleWait() const;
    // No more input: lets everything decoded out of the converter.
    void FinishConversion();
    void Wake();
    // Whether the last sound of the file has been heard; needs mutex_.
    bool EndHeard() const;

    enum class State { Stopped, Playing, Paused };

    const DeviceFormat device_;
    const int rate_;
    const int bytesPerFrame_;
    const std::int64_t lengthFrames_;

    // Decoder side, guarded by decoderMutex_.
    mutable std::mutex decoderMutex_;
    std::unique_ptr<Mpg123Decoder> decoder_;
    std::unique_ptr<SampleConverter> converter_;
    std::vector<std::int16_t> decoded_;
    std::vector<float> converted_;
    bool decoderDone_ = false;
    std::int64_t decodedSinceSeek_ = 0;    // file frames given to the converter
    std::int64_t convertedSinceSeek_ = 0;  // device frames moved to the ring

    // Shared with the callback, guarded by mutex_.
    mutable std::mutex mutex_;
    bool refilling_ = true;  // worker thread only: filling the ring up to full
    FrameRing ring_;
    HeardHistory history_;
    State state_ = State::Stopped;
    bool exhausted_ = false;        // every frame of the file is in the ring or gone
    std::int64_t endFrame_ = 0;     // once exhausted_: the file frame where the audio ended
    std::int64_t baseFrame_ = 0;    // file frame where the frames since the last seek start
    std::int64_t mixedFrames_ = 0;  // device frames mixed since the last seek
    std::int64_t tailFrames_ = 0;   // silent device frames mixed after the end
    std::int64_t everMixed_ = 0;    // device frames mixed in the stream's life
    std::chrono::steady_clock::time_point lastMix_;  // the callback's last mix of this stream

    // Wakes the worker early.
    std::mutex wakeMutex_;
    std::condition_variable_any wake_;
    bool wakeRequested_ = false;

    std::jthread worker_;  // last: stops before the members it uses go
};

}  // namespace tunvell::engine
