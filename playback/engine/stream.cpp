#include "playback/engine/stream.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>

#include "playback/audio_output.h"

namespace tunvell::engine {

namespace {

// Frames asked of the decoder at a time (about four MPEG frames).
constexpr std::int64_t DECODE_CHUNK_FRAMES = 4096;
// Device frames moved from the converter to the ring at a time.
constexpr std::int64_t CONVERT_CHUNK_FRAMES = 4096;
// How far the worker decodes ahead: half a second of device frames.
constexpr int RING_SECONDS_DIVISOR = 2;
// While the ring is full enough the worker sleeps until about when half of it
// will have been played, and then refills it. Each wake-up costs more than the
// decoding it leads to, so it sleeps as long as it may, but never so long that
// a seek or a late wake-up could leave the callback short.
constexpr std::chrono::milliseconds LONGEST_IDLE_WAIT{250};
constexpr std::chrono::milliseconds SHORTEST_IDLE_WAIT{10};

}  // namespace

std::unique_ptr<Stream> Stream::Open(const QString& path, const DeviceFormat& device) {
    std::unique_ptr<Mpg123Decoder> decoder = Mpg123Decoder::Open(path);
    if (!decoder) {
        return nullptr;
    }
    std::unique_ptr<SampleConverter> converter =
        SampleConverter::Create(decoder->Rate(), decoder->Channels(), device);
    if (!converter) {
        return nullptr;
    }
    std::unique_ptr<Stream> stream(new Stream(std::move(decoder), std::move(converter), device));
    Stream* self = stream.get();
    stream->worker_ = std::jthread([self](std::stop_token stop) { self->DecodeLoop(stop); });
    return stream;
}

Stream::Stream(std::unique_ptr<Mpg123Decoder> decoder, std::unique_ptr<SampleConverter> converter,
               const DeviceFormat& device)
    : device_(device),
      rate_(decoder->Rate()),
      bytesPerFrame_(decoder->BytesPerFrame()),
      lengthFrames_(decoder->LengthFrames()),
      decoder_(std::move(decoder)),
      converter_(std::move(converter)),
      decoded_(static_cast<size_t>(DECODE_CHUNK_FRAMES * decoder_->Channels())),
      converted_(static_cast<size_t>(CONVERT_CHUNK_FRAMES * device.channels)),
      ring_(device.channels, device.rate / RING_SECONDS_DIVISOR),
      history_(FFT_SIZE + device.latencyFrames) {}

Stream::~Stream() {
    worker_.request_stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool Stream::Play(bool restart) {
    if (restart && !SeekBytes(0)) {
        return false;
    }
    const std::lock_guard lock(mutex_);
    state_ = State::Playing;
    return true;
}

bool Stream::Pause() {
    const std::lock_guard lock(mutex_);
    if (state_ != State::Playing) {
        return false;
    }
    state_ = State::Paused;
    return true;
}

bool Stream::Stop() {
    // The ring is kept: a later play goes on from where the stream stands.
    const std::lock_guard lock(mutex_);
    state_ = State::Stopped;
    return true;
}

int Stream::Activity() const {
    const std::lock_guard lock(mutex_);
    switch (state_) {
        case State::Playing:
            return ACTIVE_PLAYING;
        case State::Paused:
            return ACTIVE_PAUSED;
        case State::Stopped:
            break;
    }
    return ACTIVE_STOPPED;
}

std::int64_t Stream::LengthBytes() const {
    return lengthFrames_ * bytesPerFrame_;
}

bool Stream::EndHeard() const {
    return exhausted_ && ring_.Size() == 0 && tailFrames_ >= device_.latencyFrames;
}

std::int64_t Stream::HeardBytes() const {
    const std::lock_guard lock(mutex_);
    // A file cut short ends before its length.
    const std::int64_t last = exhausted_ ? std::min(endFrame_, lengthFrames_) : lengthFrames_;
    if (EndHeard()) {
        return last * bytesPerFrame_;
    }
    // The newest frames mixed are still in the device's buffer.
    const std::int64_t heardDeviceFrames =
        std::max<std::int64_t>(0, mixedFrames_ - device_.latencyFrames);
    const std::int64_t frame = baseFrame_ + heardDeviceFrames * rate_ / device_.rate;
    return std::min(frame, last) * bytesPerFrame_;
}

bool Stream::SeekBytes(std::int64_t bytes) {
    if (bytes < 0) {
        return false;
    }
    // A place past the end ends the stream, as dragging the slider to its end
    // should.
    const std::int64_t frame = std::min(bytes / bytesPerFrame_, lengthFrames_);
    {
        const std::lock_guard decoderLock(decoderMutex_);
        if (!decoder_->SeekFrame(frame)) {
            return false;
        }
        converter_->Clear();
        decoderDone_ = false;
        decodedSinceSeek_ = 0;
        convertedSinceSeek_ = 0;
        const std::lock_guard lock(mutex_);
        ring_.Clear();
        exhausted_ = false;
        baseFrame_ = frame;
        mixedFrames_ = 0;
        tailFrames_ = 0;
    }
    Wake();
    return true;
}

bool Stream::CopyHeard(std::span<float, FFT_SIZE> out) const {
    const std::lock_guard lock(mutex_);
    if (everMixed_ <= device_.latencyFrames) {
        return false;
    }
    // Between callbacks the device plays the newest buffer out, so the window
    // moves on at every look rather than once per buffer.
    const std::int64_t played =
        FramesPlayedSince(std::chrono::steady_clock::now() - lastMix_, device_);
    history_.CopyEndingBefore(device_.latencyFrames - played, out);
    return true;
}

void Stream::MixInto(std::span<float> out) {
    const std::lock_guard lock(mutex_);
    if (state_ != State::Playing) {
        return;
    }
    lastMix_ = std::chrono::steady_clock::now();
    const auto channels = static_cast<size_t>(device_.channels);
    const auto wanted = static_cast<std::int64_t>(out.size() / channels);
    const FrameRing::Regions regions = ring_.Peek(wanted);
    size_t written = 0;
    for (const std::span<const float> piece : {regions.first, regions.second}) {
        for (size_t i = 0; i < piece.size(); i += channels) {
            float sum = 0.0f;
            for (size_t c = 0; c < channels; ++c) {
                out[written + c] += piece[i + c];
                sum += piece[i + c];
            }
            history_.Push(sum / static_cast<float>(channels));
            written += channels;
        }
    }
    const auto taken = static_cast<std::int64_t>(written / channels);
    ring_.Drop(taken);
    mixedFrames_ += taken;
    everMixed_ += taken;
    if (taken < wanted && exhausted_) {
        // The file is over: count the silence until its last sound has left
        // the device, then the stream stops.
        const std::int64_t silent = wanted - taken;
        history_.PushSilence(silent);
        mixedFrames_ += silent;
        everMixed_ += silent;
        tailFrames_ += silent;
        if (tailFrames_ >= device_.latencyFrames) {
            state_ = State::Stopped;
        }
    }
}

void Stream::DecodeLoop(std::stop_token stop) {
    while (!stop.stop_requested()) {
        bool worked = false;
        {
            const std::lock_guard lock(decoderMutex_);
            worked = DecodeStep();
        }
        if (!worked) {
            const std::chrono::milliseconds idle = IdleWait();
            std::unique_lock lock(wakeMutex_);
            wake_.wait_for(lock, stop, idle, [this] { return wakeRequested_; });
            wakeRequested_ = false;
        }
    }
}

std::chrono::milliseconds Stream::IdleWait() const {
    std::int64_t filled = 0;
    std::int64_t capacity = 0;
    {
        const std::lock_guard lock(mutex_);
        filled = ring_.Capacity() - ring_.FreeFrames();
        capacity = ring_.Capacity();
    }
    // Below half with nothing to do means nothing is left to decode.
    const std::int64_t framesUntilRefill = filled - capacity / 2;
    if (framesUntilRefill <= 0) {
        return LONGEST_IDLE_WAIT;
    }
    const std::chrono::milliseconds untilRefill{framesUntilRefill * 1000 / device_.rate};
    return std::clamp(untilRefill, SHORTEST_IDLE_WAIT, LONGEST_IDLE_WAIT);
}

bool Stream::DecodeStep() {
    std::int64_t space = 0;
    std::int64_t capacity = 0;
    {
        const std::lock_guard lock(mutex_);
        space = ring_.FreeFrames();
        capacity = ring_.Capacity();
    }
    // Refill in batches, from half empty to full: the worker then wakes a few
    // times a second instead of after every device period.
    if (space == 0) {
        refilling_ = false;
    } else if (space >= capacity / 2) {
        refilling_ = true;
    }
    std::int64_t available = converter_->AvailableFrames();
    if (decoderDone_) {
        // The converter's output is cut where the file's audio ends in device
        // time, dropping what the end padding made.
        const std::int64_t due = decodedSinceSeek_ * device_.rate / rate_ - convertedSinceSeek_;
        if (available > due) {
            available = std::max<std::int64_t>(due, 0);
            if (available == 0) {
                converter_->Clear();
            }
        }
    }
    if (refilling_ && available > 0 && space > 0) {
        const std::int64_t frames = std::min({available, space, CONVERT_CHUNK_FRAMES});
        const std::span<float> piece =
            std::span(converted_).first(static_cast<size_t>(frames * device_.channels));
        const std::int64_t got = converter_->Get(piece);
        if (got > 0) {
            convertedSinceSeek_ += got;
            const std::lock_guard lock(mutex_);
            ring_.Write(piece.first(static_cast<size_t>(got * device_.channels)));
            return true;
        }
    }
    if (refilling_ && !decoderDone_ && available < CONVERT_CHUNK_FRAMES) {
        const Mpg123Decoder::ReadResult result = decoder_->Read(decoded_);
        const auto samples = static_cast<size_t>(result.frames * decoder_->Channels());
        const bool taken =
            result.frames == 0 || converter_->Put(std::span(decoded_).first(samples));
        if (taken) {
            decodedSinceSeek_ += result.frames;
        }
        if (result.end || !taken) {
            // The end of the file, or the point where it broke: what was
            // decoded still plays, then the stream ends.
            FinishConversion();
        }
        return true;
    }
    if (decoderDone_ && available == 0) {
        const std::lock_guard lock(mutex_);
        if (!exhausted_) {
            exhausted_ = true;
            endFrame_ = baseFrame_ + decodedSinceSeek_;
        }
    }
    return false;
}

void Stream::FinishConversion() {
    if (rate_ != device_.rate) {
        // The resampler holds back the last frames until it sees what follows
        // them; silence after the end lets them out.
        std::fill(decoded_.begin(), decoded_.end(), std::int16_t{0});
        converter_->Put(decoded_);
    }
    converter_->Flush();
    decoderDone_ = true;
}

void Stream::Wake() {
    {
        const std::lock_guard lock(wakeMutex_);
        wakeRequested_ = true;
    }
    wake_.notify_one();
}

}  // namespace tunvell::engine
