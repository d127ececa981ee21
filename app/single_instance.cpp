#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace tunvell {

SingleInstanceGuard::~SingleInstanceGuard() {
    Close();
}

QString SingleInstanceGuard::MarkerPath(const QString& name) {
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    return QDir(directory).filePath(name + QStringLiteral(".lock"));
}

bool SingleInstanceGuard::AcquireSingleInstance(const QString& name) {
    Close();
    const QByteArray path = QFile::encodeName(MarkerPath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return heldElsewhere;
    }
    fd_ = fd;
    return false;
}

void SingleInstanceGuard::Close() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing drops the lock
        fd_ = -1;
    }
}

}  // namespace tunvell
