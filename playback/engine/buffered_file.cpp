#include "playback/engine/buffered_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tunvell::engine {

namespace {

constexpr size_t BUFFER_BYTES = 64 * 1024;

}  // namespace

BufferedFile::BufferedFile(UniqueFd fd) : fd_(std::move(fd)), buffer_(BUFFER_BYTES) {}

bool BufferedFile::Refill() {
    ssize_t got = 0;
    do {
        got = ::read(fd_.Get(), buffer_.data(), buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return false;
    }
    next_ = 0;
    end_ = static_cast<size_t>(got);
    fileOffset_ += got;
    return true;
}

ssize_t BufferedFile::Read(void* destination, size_t count) {
    auto* out = static_cast<unsigned char*>(destination);
    size_t copied = 0;
    while (copied < count) {
        if (next_ == end_) {
            if (!Refill()) {
                return copied > 0 ? static_cast<ssize_t>(copied) : -1;
            }
            if (end_ == 0) {
                break;  // end of file
            }
        }
        const size_t piece = std::min(count - copied, end_ - next_);
        std::memcpy(out + copied, buffer_.data() + next_, piece);
        next_ += piece;
        copied += piece;
    }
    return static_cast<ssize_t>(copied);
}

off_t BufferedFile::Seek(off_t offset, int whence) {
    off_t target = 0;
    switch (whence) {
        case SEEK_SET:
            target = offset;
            break;
        case SEEK_CUR:
            target = Position() + offset;
            break;
        case SEEK_END: {
            const off_t size = ::lseek(fd_.Get(), 0, SEEK_END);
            // The descriptor moved; put it back where the buffer expects it.
            if (size < 0 || ::lseek(fd_.Get(), fileOffset_, SEEK_SET) < 0) {
                return -1;
            }
            target = size + offset;
            break;
        }
        default:
            return -1;
    }
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    const off_t bufferStart = fileOffset_ - static_cast<off_t>(end_);
    if (target >= bufferStart && target <= fileOffset_) {
        next_ = static_cast<size_t>(target - bufferStart);
        return target;
    }
    if (::lseek(fd_.Get(), target, SEEK_SET) < 0) {
        return -1;
    }
    fileOffset_ = target;
    next_ = 0;
    end_ = 0;
    return target;
}

}  // namespace tunvell::engine
