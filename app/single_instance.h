#pragma once

#include <QString>

namespace tunvell {

// The name by which a running instance is marked.
inline const QString INSTANCE_MARKER_NAME = QStringLiteral("禁止多次运行");

// Marks a running instance with an exclusive lock on a file named after the
// marker in the user's runtime directory. The kernel drops the lock when the
// process ends in any way, a crash or kill -9 included, so a stale marker can
// never lock the user out.
class SingleInstanceGuard {
public:
    SingleInstanceGuard() = default;
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when another instance already holds the marker. Otherwise takes the
    // marker and returns false; a marker that cannot be taken is not reported.
    bool AcquireSingleInstance(const QString& name);
    bool HoldsMarker() const { return fd_ >= 0; }
    // Gives the marker up so that a new instance may start.
    void Close();

    // Where the marker of that name lives.
    static QString MarkerPath(const QString& name);

private:
    int fd_ = -1;
};

}  // namespace tunvell
