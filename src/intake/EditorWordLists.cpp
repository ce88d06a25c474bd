#include "intake/EditorWordLists.h"

#include "util/FileSystem.h"

#include <optional>

namespace pendlar {
namespace {

// True unless the file exists and cannot be read; `keep` then protects it from Save.
bool LoadList(const std::string& path, std::vector<std::string>& list, bool& keep) {
    keep = false;
    list.clear();
    if (!FileExists(path))
        return true;
    if (std::optional<std::vector<std::string>> lines = ReadLines(path)) {
        list = std::move(*lines);
        return true;
    }
    keep = true;
    return false;
}

} // namespace

bool EditorWordLists::Load(const std::string& folder) {
    bool ok = LoadList(CommentFile(folder), Comments, keepComments_);
    ok = LoadList(ShioriFile(folder), Shiori, keepShiori_) && ok;
    return ok;
}

bool EditorWordLists::Save(const std::string& folder) const {
    bool ok = true;
    if (!keepComments_)
        ok = WriteLines(CommentFile(folder), Comments) && ok;
    if (!keepShiori_)
        ok = WriteLines(ShioriFile(folder), Shiori) && ok;
    return ok;
}

} // namespace pendlar
