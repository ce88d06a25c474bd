// The page editor's ready-made comment texts and bookmark titles.
//
// They live in the data folder as Comment.txt and Shiori.txt, Shift-JIS lines ended by
// CR LF. A list whose file exists but cannot be read is remembered as such and is not
// written back at shutdown, so a passing fault never replaces the clerk's list by an
// empty one.
#pragma once

#include <string>
#include <vector>

namespace pendlar {

class EditorWordLists {
public:
    std::vector<std::string> Comments;
    std::vector<std::string> Shiori;

    // Reads both files of `folder` (Shift-JIS path). A missing file gives an empty list.
    // False when a file exists but could not be read.
    bool Load(const std::string& folder);
    // Writes both files (skipping one that could not be read at Load). False when a write
    // failed.
    bool Save(const std::string& folder) const;

    static std::string CommentFile(const std::string& folder) { return folder + "/Comment.txt"; }
    static std::string ShioriFile(const std::string& folder) { return folder + "/Shiori.txt"; }

private:
    bool keepComments_ = false;
    bool keepShiori_ = false;
};

} // namespace pendlar
