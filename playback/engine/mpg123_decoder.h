#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include <QString>

#include "playback/engine/buffered_file.h"

struct mpg123_handle_struct;

namespace tunvell::engine {

// One MP3 file decoded by libmpg123 into interleaved signed 16-bit PCM in the
// file's own sample rate and channel count. Not thread-safe: the owner
// serialises calls.
class Mpg123Decoder {
public:
    // nullptr when the path is not a readable regular file or holds no MPEG
    // audio. Scans the whole file once, so the length is exact also for VBR
    // files without a header frame.
    static std::unique_ptr<Mpg123Decoder> Open(const QString& path);
    ~Mpg123Decoder();
    Mpg123Decoder(const Mpg123Decoder&) = delete;
    Mpg123Decoder& operator=(const Mpg123Decoder&) = delete;

    int Rate() const { return rate_; }
    int Channels() const { return channels_; }
    std::int64_t LengthFrames() const { return lengthFrames_; }
    int BytesPerFrame() const { return channels_ * 2; }

    struct ReadResult {
        std::int64_t frames = 0;  // whole frames written to the front of the buffer
        bool end = false;         // no more audio: end of file, or the file broke here
    };
    // Decodes up to buffer.size() / Channels() frames.
    ReadResult Read(std::span<std::int16_t> buffer);

    // Moves to the frame (sample-accurate); false when the decoder cannot.
    bool SeekFrame(std::int64_t frame);

private:
    Mpg123Decoder() = default;

    struct HandleDeleter {
        void operator()(mpg123_handle_struct* handle) const;
    };
    // The file outlives the handle that reads from it.
    std::unique_ptr<BufferedFile> file_;
    std::unique_ptr<mpg123_handle_struct, HandleDeleter> handle_;
    int rate_ = 0;
    int channels_ = 0;
    std::int64_t lengthFrames_ = 0;
};

}  // namespace tunvell::engine
