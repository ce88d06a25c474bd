#include "record/Keywords.h"

#include "util/FileSystem.h"

#include <filesystem>

namespace pendlar {

std::string KeywordFilePath(const std::string& folder, int n) {
    return folder + "/Key" + std::to_string(n) + ".txt";
}

void LoadKeywordLists(KeywordListSet& lists, const std::string& folder) {
    for (int n = 1; n <= kKeywordCount; ++n) {
        const std::string path = KeywordFilePath(folder, n);
        lists.Unreadable[n - 1] = false;
        if (!std::filesystem::exists(FsPath(path)))
            continue;
        // Something that is there but is no readable file (a folder, say) is not replaced.
        std::optional<std::vector<std::string>> lines;
        if (FileExists(path))
            lines = ReadLines(path);
        if (lines)
            lists.List(n) = std::move(*lines);
        else
            lists.Unreadable[n - 1] = true;
    }
}

bool SaveKeywordLists(const KeywordListSet& lists, const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(FsPath(folder), ec);
    bool all = true;
    for (int n = 1; n <= kKeywordCount; ++n) {
        if (lists.Unreadable[n - 1])
            continue;
        if (!WriteFileAtomically(KeywordFilePath(folder, n), JoinLines(lists.List(n), "\r\n")))
            all = false;
    }
    return all;
}

std::string KeyBoxName(int n) {
    return "KeyBox" + std::to_string(n);
}

void ClearKeyword(FieldView& view, int n) {
    FieldValue& box = view[KeyBoxName(n)];
    box.Text.clear();
    box.Index = -1;
}

void AddKeyword(KeywordListSet& lists, const FieldView& view, int n) {
    lists.List(n).push_back(FieldOf(view, KeyBoxName(n)).Text);
}

} // namespace pendlar
