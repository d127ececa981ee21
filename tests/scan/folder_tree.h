#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace tunvell::testing {

// A real folder tree in a temporary directory. Entries ending in "/" are
// folders, the others empty files; parents are made as needed.
class FolderTree {
public:
    explicit FolderTree(const QStringList& entries = {}) { Add(entries); }

    void Add(const QStringList& entries) const {
        for (const QString& entry : entries) {
            const QString path = Path(entry);
            if (entry.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(path);
                continue;
            }
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            file.open(QIODevice::WriteOnly);
        }
    }

    // Root of the tree, without a final separator.
    QString Root() const { return dir_.path(); }
    QString Path(const QString& relative) const {
        return dir_.path() + QLatin1Char('/') + relative;
    }
    QStringList Paths(const QStringList& relatives) const {
        QStringList paths;
        for (const QString& relative : relatives) {
            paths.append(Path(relative));
        }
        return paths;
    }

private:
    QTemporaryDir dir_;
};

}  // namespace tunvell::testing
