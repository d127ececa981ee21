#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

#include "playback/engine/unique_fd.h"

namespace tunvell::engine {

// Reads a file through a large buffer. The decoder asks for a few bytes at a
// time (a header, then a frame); served from here that is one system call per
// 64 KiB instead of two per MPEG frame. Seeks inside the buffer cost nothing.
class BufferedFile {
public:
    explicit BufferedFile(UniqueFd fd);

    // Like read(2): bytes copied, 0 at the end of the file, -1 on error.
    ssize_t Read(void* destination, size_t count);
    // Like lseek(2): the new offset, or -1.
    off_t Seek(off_t offset, int whence);

private:
    bool Refill();
    off_t Position() const { return fileOffset_ - static_cast<off_t>(end_ - next_); }

    UniqueFd fd_;
    std::vector<unsigned char> buffer_;
    size_t next_ = 0;       // next byte to hand out
    size_t end_ = 0;        // end of the valid bytes
    off_t fileOffset_ = 0;  // offset of the descriptor: just past buffer_[end_ - 1]
};

}  // namespace tunvell::engine
