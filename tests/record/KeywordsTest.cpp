#include "record/Keywords.h"
#include "record/KeywordMaintenance.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pendlar {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Lines = std::vector<std::string>;

TEST(Keywords, FilesRoundTripAsShiftJisLines) {
    TempDir dir;
    KeywordListSet lists;
    lists.List(1) = {SjisOf("整形外科"), "",
                     SjisOf("整形外科")}; // duplicates and empty entries stay
    lists.List(8) = {SjisOf("箱12")};
    ASSERT_TRUE(SaveKeywordLists(lists, dir.Sjis()));
    EXPECT_EQ(ReadFile(dir.Path() / "Key1.txt"), SjisOf("整形外科\r\n\r\n整形外科\r\n"));
    EXPECT_EQ(ReadFile(dir.Path() / "Key8.txt"), SjisOf("箱12\r\n"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Key4.txt")); // empty list, empty file

    KeywordListSet loaded;
    LoadKeywordLists(loaded, dir.Sjis());
    EXPECT_EQ(loaded.Lists, lists.Lists);
}

TEST(Keywords, MissingAndUnreadableFiles) {
    TempDir dir;
    WriteFile(dir.Path() / "Key1.txt", "a\nb"); // LF and no final line end are read too
    std::filesystem::create_directory(dir.Path() / "Key2.txt");
    KeywordListSet lists;
    lists.List(2) = {"kept"};
    lists.List(3) = {"stays"};
    LoadKeywordLists(lists, dir.Sjis());
    EXPECT_EQ(lists.List(1), (Lines{"a", "b"}));
    EXPECT_EQ(lists.List(2), Lines{"kept"});  // could not be read: nothing replaced
    EXPECT_EQ(lists.List(3), Lines{"stays"}); // missing: the list is left as it is
    EXPECT_TRUE(lists.Unreadable[1]);

    // Saving creates the missing files and leaves the unreadable one alone.
    EXPECT_TRUE(SaveKeywordLists(lists, dir.Sjis()));
    EXPECT_EQ(ReadFile(dir.Path() / "Key3.txt"), "stays\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Key2.txt"));

    // A folder that cannot be written reports the failure.
    EXPECT_FALSE(SaveKeywordLists(lists, dir.Sjis("Key1.txt")));
}

TEST(Keywords, ClearAndAddButtons) {
    KeywordListSet lists;
    FieldView view;
    view["KeyBox3"].Text = SjisOf("糖尿病");
    AddKeyword(lists, view, 3);
    AddKeyword(lists, view, 3);
    ClearKeyword(view, 3);
    EXPECT_EQ(view["KeyBox3"], FieldValue{});
    AddKeyword(lists, view, 3);
    EXPECT_EQ(lists.List(3), (Lines{SjisOf("糖尿病"), SjisOf("糖尿病"), ""}));
    for (int n : {1, 2, 4, 5, 6, 7, 8})
        EXPECT_TRUE(lists.List(n).empty());
}

TEST(Keywords, MaintenanceSwitching) {
    KeywordListSet lists;
    lists.List(3) = {"c1", "c2"};
    lists.List(5) = {"e1"};

    // Open and close without a choice: nothing changes.
    KeywordMaintenance window(lists);
    window.Start();
    window.Finish({"typed", "but no list chosen"});
    EXPECT_EQ(lists.List(3), (Lines{"c1", "c2"}));
    EXPECT_EQ(lists.List(5), Lines{"e1"});

    // Edit list 3, switch to 5, edit, close.
    window.Start();
    EXPECT_EQ(window.Choose(3, {}), (Lines{"c1", "c2"}));
    EXPECT_EQ(window.Choose(5, {"c1", "c2 edited", ""}), Lines{"e1"});
    EXPECT_EQ(window.Current(), 5);
    window.Finish({"e1", "e2"});
    EXPECT_EQ(lists.List(3), (Lines{"c1", "c2 edited", ""}));
    EXPECT_EQ(lists.List(5), (Lines{"e1", "e2"}));
    EXPECT_EQ(window.Current(), 0);

    // The next opening starts without a list again.
    window.Start();
    window.Finish({});
    EXPECT_EQ(lists.List(5), (Lines{"e1", "e2"}));
}

TEST(Keywords, MemoLines) {
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb\n\nc", {"a", "b", "", "c"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitLines(text), lines) << text;
        // Each line is written with its own line end, so the lines come back unchanged.
        EXPECT_EQ(SplitLines(JoinLines(lines, "\n")), lines) << text;
    }
}

} // namespace
} // namespace pendlar
