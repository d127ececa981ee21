#include "playback/engine/mpg123_decoder.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>

#include <mutex>

#include <QFile>

namespace tunvell::engine {

namespace {

void InitLibraryOnce() {
    // Needed by libraries older than 1.27; harmless afterwards.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

UniqueFd OpenRegularFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        return {};
    }
    // Non-blocking only while we look: opening a FIFO would otherwise wait
    // for a writer.
    UniqueFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    // Directories open read-only on Linux, and devices or FIFOs are no songs.
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags == -1 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) == -1) {
        return {};
    }
    return fd;
}

// Only 16-bit output is wanted; rate and channels stay as the file has them.
void AllowEveryRateIn16Bit(mpg123_handle* handle) {
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

mpg123_ssize_t ReadFile(void* file, void* destination, size_t count) {
    return static_cast<BufferedFile*>(file)->Read(destination, count);
}

off_t SeekFile(void* file, off_t offset, int whence) {
    return static_cast<BufferedFile*>(file)->Seek(offset, whence);
}

}  // namespace

void Mpg123Decoder::HandleDeleter::operator()(mpg123_handle_struct* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
}

std::unique_ptr<Mpg123Decoder> Mpg123Decoder::Open(const QString& path) {
    InitLibraryOnce();
    UniqueFd fd = OpenRegularFile(path);
    if (!fd.Valid()) {
        return nullptr;
    }
    std::unique_ptr<Mpg123Decoder> decoder(new Mpg123Decoder);
    decoder->file_ = std::make_unique<BufferedFile>(std::move(fd));
    int error = MPG123_OK;
    decoder->handle_.reset(mpg123_new(nullptr, &error));
    mpg123_handle* handle = decoder->handle_.get();
    if (handle == nullptr) {
        return nullptr;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    AllowEveryRateIn16Bit(handle);
    if (mpg123_replace_reader_handle(handle, &ReadFile, &SeekFile, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, decoder->file_.get()) != MPG123_OK) {
        return nullptr;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2)) {
        return nullptr;
    }
    // Fix the output format: a later frame with another layout is converted
    // by the library instead of changing the stream under the reader.
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16);
    if (mpg123_scan(handle) != MPG123_OK) {
        return nullptr;
    }
    const off_t length = mpg123_length(handle);
    if (length <= 0) {
        return nullptr;
    }
    decoder->rate_ = static_cast<int>(rate);
    decoder->channels_ = channels;
    decoder->lengthFrames_ = length;
    return decoder;
}

Mpg123Decoder::~Mpg123Decoder() = default;

Mpg123Decoder::ReadResult Mpg123Decoder::Read(std::span<std::int16_t> buffer) {
    ReadResult result;
    const size_t wanted =
        buffer.size() / static_cast<size_t>(channels_) * static_cast<size_t>(BytesPerFrame());
    // A format notice may arrive with no data; a few tries pass it.
    for (int attempt = 0; attempt < 4 && result.frames == 0 && !result.end; ++attempt) {
        size_t done = 0;
        const int status = mpg123_read(handle_.get(), buffer.data(), wanted, &done);
        result.frames = static_cast<std::int64_t>(done / static_cast<size_t>(BytesPerFrame()));
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            // MPG123_DONE at the end; anything else means the file broke here.
            result.end = true;
        }
    }
    if (result.frames == 0) {
        result.end = true;
    }
    return result;
}

bool Mpg123Decoder::SeekFrame(std::int64_t frame) {
    return mpg123_seek(handle_.get(), static_cast<off_t>(frame), SEEK_SET) >= 0;
}

}  // namespace tunvell::engine
