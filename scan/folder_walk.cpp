#include "scan/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QFile>

#include "library/item_text.h"

namespace tunvell {

namespace {

// A folder's identity on this machine; two paths reaching the same folder
// (links, bind mounts) share it.
using FolderId = std::pair<dev_t, ino_t>;

struct Entries {
    std::vector<QByteArray> folders;
    std::vector<QByteArray> files;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsFolder(int dirFd, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return true;
        case DT_LNK:
        case DT_UNKNOWN: {
            // Follow the link: a link to a folder is walked into, a dangling
            // one is a file like any other name in the folder.
            struct stat info {};
            return ::fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        default:
            return false;
    }
}

// Reads a folder's entries in the file system's own order. Returns false, with
// nothing read, when the folder cannot be listed or was entered before.
bool ReadFolder(const QByteArray& encodedFolder, std::set<FolderId>& entered, Entries& entries) {
    FileDescriptor fd(::open(encodedFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !entered.insert({info.st_dev, info.st_ino}).second) {
        return false;
    }
    const int dirFd = fd.Get();
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(dirFd));
    if (!dir) {
        return false;
    }
    fd.Release();  // now owned by dir
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        QByteArray name(entry->d_name);
        if (IsFolder(dirFd, *entry)) {
            entries.folders.push_back(std::move(name));
        } else {
            entries.files.push_back(std::move(name));
        }
    }
    return true;
}

// The name as text, or nothing when the text would not lead back to the same
// bytes (a name not valid in the file-name encoding would point elsewhere).
bool DecodeName(const QByteArray& encoded, QString& name) {
    name = QFile::decodeName(encoded);
    return QFile::encodeName(name) == encoded;
}

class Walk {
public:
    explicit Walk(const FolderWalkHooks& hooks) : hooks_(hooks) {}

    bool Folder(const QString& folder, const QByteArray& encodedFolder) {
        if (!hooks_.letEventsRun()) {
            return false;
        }
        Entries entries;
        if (!ReadFolder(encodedFolder, entered_, entries)) {
            return true;
        }
        QString name;
        for (const QByteArray& encoded : entries.folders) {
            if (!DecodeName(encoded, name)) {
                continue;
            }
            if (!Folder(folder + name + PATH_SEPARATOR, encodedFolder + encoded + '/')) {
                return false;
            }
            if (!hooks_.letEventsRun()) {
                return false;
            }
        }
        for (const QByteArray& encoded : entries.files) {
            if (DecodeName(encoded, name)) {
                hooks_.fileFound(folder + name);
            }
        }
        return true;
    }

private:
    const FolderWalkHooks& hooks_;
    std::set<FolderId> entered_;
};

}  // namespace

bool WalkFolderTree(const QString& folder, const FolderWalkHooks& hooks) {
    return Walk(hooks).Folder(folder, QFile::encodeName(folder));
}

}  // namespace tunvell
