#pragma once

// Work done in a second process, for what one process cannot show by itself:
// a lock held by another program, a program that dies after a write, a user
// without root's right to write anywhere.

#include <sqlite3.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <type_traits>

#include <QFile>
#include <QString>

namespace tunvell::testing {

// Runs `work` in a forked child and returns what it computed; `fallback` when
// the child could not run or died. The child leaves with _exit, so nothing of
// the parent's (Qt's, the test's) is torn down twice.
template <typename Result>
Result InChildProcess(const std::function<Result()>& work, Result fallback,
                      bool unprivileged = false) {
    static_assert(std::is_trivially_copyable_v<Result>);
    int channel[2];
    if (pipe(channel) != 0) {
        return fallback;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        const Result result = work();
        const ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(channel[1]);
    Result result = fallback;
    if (child > 0) {
        Result received;
        if (read(channel[0], &received, sizeof received) == static_cast<ssize_t>(sizeof received)) {
            result = received;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            result = fallback;
        }
    }
    close(channel[0]);
    return result;
}

// Another process that holds an SQLite lock on a file until Release() or the
// end of the object.
class LockHolder {
public:
    enum class Kind { Reading, Writing, Exclusive };

    LockHolder(const QString& fileName, Kind kind) {
        int ready[2];
        int release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) {
            return;
        }
        child_ = fork();
        if (child_ == 0) {
            close(ready[0]);
            close(release[1]);
            _exit(HoldLock(fileName, kind, ready[1], release[0]));
        }
        close(ready[1]);
        close(release[0]);
        release_ = release[1];
        char byte = 0;
        held_ = child_ > 0 && read(ready[0], &byte, 1) == 1 && byte == 'y';
        close(ready[0]);
    }
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return held_; }

    void Release() {
        if (release_ >= 0) {
            close(release_);
            release_ = -1;
        }
        if (child_ > 0) {
            int status = 0;
            waitpid(child_, &status, 0);
            child_ = -1;
        }
        held_ = false;
    }

private:
    static int HoldLock(const QString& fileName, Kind kind, int ready, int release) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr);
        const char* begin = kind == Kind::Reading   ? "BEGIN DEFERRED"
                            : kind == Kind::Writing ? "BEGIN IMMEDIATE"
                                                    : "BEGIN EXCLUSIVE";
        bool locked = sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
        if (locked && kind == Kind::Reading) {
            // A deferred transaction takes its shared lock at the first read.
            locked = sqlite3_exec(db, "SELECT count(*) FROM songs", nullptr, nullptr, nullptr) ==
                     SQLITE_OK;
        }
        const char answer = locked ? 'y' : 'n';
        [[maybe_unused]] const ssize_t told = write(ready, &answer, 1);
        char byte = 0;
        // Blocks until the parent closes its end.
        [[maybe_unused]] const ssize_t heard = read(release, &byte, 1);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return 0;
    }

    pid_t child_ = -1;
    int release_ = -1;
    bool held_ = false;
};

}  // namespace tunvell::testing
