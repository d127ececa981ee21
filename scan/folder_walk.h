#pragma once

#include <functional>

#include <QString>

namespace tunvell {

// What the walk reports to and asks of its caller.
struct FolderWalkHooks {
    // A file found: the folder's text followed by the file's name.
    std::function<void(const QString& path)> fileFound;
    // Runs at the start of each folder and after each subfolder, where the
    // caller lets pending window events run. Returning false ends the walk at
    // once: no hook is called again.
    std::function<bool()> letEventsRun;
};

// Walks `folder` (a path ending in the separator) depth-first: in each folder
// its subfolders first, then its files, each in the order the file system lists
// them. Names starting with "." are skipped. Anything that is not a folder is a
// file, a symbolic link counting as what it points to. Each real folder is
// entered once per walk, so links that lead back into the tree end there. A
// folder that cannot be listed adds nothing; names that do not survive the trip
// through the file-name encoding are skipped. Returns false when the caller
// ended the walk.
bool WalkFolderTree(const QString& folder, const FolderWalkHooks& hooks);

}  // namespace tunvell
