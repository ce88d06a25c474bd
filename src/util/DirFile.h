// The chart folder object of the main window, and emptying a folder of its page files.
#pragma once

#include "util/PathString.h"

#include <string>

namespace pendlar {

class TDirFile : public TPathString {
public:
    // True when FolderPath exists as a folder, otherwise whether creating it (with every
    // missing parent) succeeded.
    bool EnsureFolder() const;
    // Whether FolderPath + "/" + name exists.
    bool FileExistsIn(const std::string& name) const;
};

// Deletes the plain files directly in a folder: regular files that are neither hidden
// (name starting with ".") nor symbolic links. Read-only files get their write permission
// back first. Folders, hidden files and files that cannot be deleted are left alone; a
// missing folder lists nothing.
void EmptyFolder(const std::string& sjisFolder);

} // namespace pendlar
