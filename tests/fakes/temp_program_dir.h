#pragma once

#include <QDir>
#include <QTemporaryDir>

namespace tunvell::testing {

// A temporary program directory that is also the current directory for the
// life of the object, as the player's own directory is at run time.
class TempProgramDir {
public:
    TempProgramDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~TempProgramDir() { QDir::setCurrent(previous_); }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir dir_;
};

}  // namespace tunvell::testing
