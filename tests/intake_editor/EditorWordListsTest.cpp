// The comment and bookmark lists of the page editor on disk.
#include "intake/EditorWordLists.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

TEST(EditorWordLists, RoundTripInShiftJisWithCrLf) {
    test::TempDir dir;
    EditorWordLists lists;
    EXPECT_TRUE(lists.Load(dir.Sjis())); // no files yet: empty lists
    EXPECT_TRUE(lists.Comments.empty());
    EXPECT_TRUE(lists.Shiori.empty());

    lists.Comments = {SjisOf("再診"), SjisOf("要確認"), SjisOf("再診")};
    lists.Shiori = {SjisOf("検査結果"), ""};
    ASSERT_TRUE(lists.Save(dir.Sjis()));
    EXPECT_EQ(test::ReadFile(dir.Path() / "Comment.txt"),
              SjisOf("再診") + "\r\n" + SjisOf("要確認") + "\r\n" + SjisOf("再診") + "\r\n");

    EditorWordLists again;
    ASSERT_TRUE(again.Load(dir.Sjis()));
    EXPECT_EQ(again.Comments, lists.Comments);
    EXPECT_EQ(again.Shiori, lists.Shiori);
}

TEST(EditorWordLists, ReadsLinesEndedByLfAndKeepsOtherFilesAlone) {
    test::TempDir dir;
    test::WriteFile(dir.Path() / "Shiori.txt", SjisOf("紹介状") + "\n" + SjisOf("同意書"));
    EditorWordLists lists;
    ASSERT_TRUE(lists.Load(dir.Sjis()));
    EXPECT_EQ(lists.Shiori, (std::vector<std::string>{SjisOf("紹介状"), SjisOf("同意書")}));
    EXPECT_TRUE(lists.Comments.empty());
}

} // namespace
} // namespace pendlar
