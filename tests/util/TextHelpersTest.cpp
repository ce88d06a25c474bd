#include "util/TextHelpers.h"
#include "util/DirFile.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pendlar {
namespace {

TEST(TextHelpers, TrimAndSkipBlanks) {
    const std::string zen = "\x81\x40"; // full-width space
    struct Case {
        std::string in, out;
    } trims[] = {
        {" " + zen + "abc", "abc"}, {"abc ", "abc "}, {"   ", ""}, {zen + zen, ""}, {"", ""},
        {"\x81", "\x81"},
    };
    for (const auto& c : trims)
        EXPECT_EQ(TrimLeadingBlanks(c.in), c.out) << c.in;

    EXPECT_EQ(SkipBlanks("  ab", 1), 3u);
    EXPECT_EQ(SkipBlanks("ab", 2), 2u);
    EXPECT_EQ(SkipBlanks("a  ", 2), 4u); // only blanks left: length + 1
    EXPECT_EQ(SkipBlanks("ab", 5), 5u);  // past the end: start itself
    EXPECT_EQ(SkipBlanks(" ab", 0), 2u); // positions count from 1, never before the text
}

TEST(TextHelpers, ReadNumber) {
    struct Case {
        std::string text;
        std::size_t start;
        int value;
        std::size_t end;
    } cases[] = {
        {SjisOf("１２3年"), 1, 123, 6},
        {"x12", 1, 0, 1},
        {"2010/1", 1, 2010, 5},
        {"2010/1", 6, 1, 7},
        {"99999999999", 1, 0, 12}, // does not fit: 0, but the digits are consumed
        {"2147483647", 1, 2147483647, 11},
        {"\x82", 1, 0, 1}, // a lone lead byte at the end
        {"", 1, 0, 1},
    };
    for (const auto& c : cases) {
        std::size_t p = c.start;
        EXPECT_EQ(ReadNumber(c.text, p), c.value) << c.text;
        EXPECT_EQ(p, c.end) << c.text;
    }
}

TEST(TextHelpers, SmallOnes) {
    EXPECT_EQ(ReplaceChar("a\\b\\c", '\\', '/'), "a/b/c");
    EXPECT_EQ(ToLinuxPath("C:\\x\\y"), "C:/x/y");
    EXPECT_EQ(FirstByte(""), 0);
    EXPECT_EQ(FirstByte("\x82\xa0"), 0x82);
    EXPECT_EQ(TrimFieldText(" ABC\x82"), "ABC");
    EXPECT_EQ(TrimFieldText("ABC"), "ABC");
    EXPECT_EQ(TrimFieldText("\x81\x40"), "");
    EXPECT_EQ(TrimFieldText("\x89\x8a"), "\x89\x8a"); // a whole kanji ending in 0x8A stays
    EXPECT_EQ(TrimFieldText("\x89\x8a\x89"), "\x89\x8a");
}

TEST(TextHelpers, PathPieces) {
    struct Case {
        const char* Path;
        const char* Folder;
        const char* Name;
    } cases[] = {
        {"/scan/a.jpg", "/scan", "a.jpg"},
        {"/a.jpg", "/", "a.jpg"},
        {"a.jpg", "", "a.jpg"},
        {"/scan/", "/scan", ""},
        {"/\x8c\x9f/\x8d\xb8.jpg", "/\x8c\x9f", "\x8d\xb8.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderPart(c.Path), c.Folder) << c.Path;
        EXPECT_EQ(FileNamePart(c.Path), c.Name) << c.Path;
    }
    EXPECT_EQ(WithoutTrailingSlash("/home/clerk//"), "/home/clerk");
    EXPECT_EQ(WithoutTrailingSlash("/"), "/");
    EXPECT_EQ(WithoutTrailingSlash("/scan"), "/scan");
}

TEST(PathString, FolderPaths) {
    struct Case {
        std::string base;
        std::uint32_t number;
        bool initialPrefixes;
        std::string part, path;
    } cases[] = {
        {"/srv/charts/", 1234567, false, "/01/23/45/67", "/srv/charts/01/23/45/67"},
        {"/srv/charts", 123456789, false, "/23/45/67/89", "/srv/charts/23/45/67/89"},
        {"/", 0, false, "/00/00/00/00", "/00/00/00/00"},
        {"/c/", 1234567, true, "/A01/B23/C45/D67", "/c/A01/B23/C45/D67"},
        {"//server//share/", 5, false, "/00/00/00/05", "/server/share/00/00/00/05"},
    };
    for (const auto& c : cases) {
        TPathString p;
        p.BaseFolder = c.base;
        if (!c.initialPrefixes)
            p.Prefix1 = p.Prefix2 = p.Prefix3 = p.Prefix4 = "";
        p.SetNumber(c.number);
        EXPECT_EQ(p.FolderPart(), c.part);
        EXPECT_EQ(p.FolderPath(), c.path);
    }
    TPathString p;
    p.BaseFolder = "/b/";
    p.Prefix1 = "P";
    p.Suffix1 = "x";
    p.Suffix4 = "z";
    p.SetNumber(99999999);
    EXPECT_EQ(p.FolderPath(), "/b/P99x/B99/C99/D99z");
}

TEST(DirFile, EnsureFolderAndFileExistsIn) {
    test::TempDir dir;
    TDirFile f;
    f.BaseFolder = dir.Sjis() + "/" + SjisOf("カルテ") + "/";
    f.Prefix1 = f.Prefix2 = f.Prefix3 = f.Prefix4 = "";
    f.SetNumber(1234567);
    EXPECT_TRUE(f.EnsureFolder());
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "カルテ/01/23/45/67"));
    EXPECT_TRUE(f.EnsureFolder());
    EXPECT_FALSE(f.FileExistsIn("a.pdf"));
    test::WriteFile(dir.Path() / "カルテ/01/23/45/67/a.pdf", "x");
    EXPECT_TRUE(f.FileExistsIn("a.pdf"));

    test::WriteFile(dir.Path() / "blocker", "x");
    f.BaseFolder = dir.Sjis("blocker");
    EXPECT_FALSE(f.EnsureFolder());
}

TEST(DirFile, EmptyFolderTakesOnlyPlainFiles) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    test::WriteFile(dir.Path() / "p1.jpg", "1");
    test::WriteFile(dir.Path() / "ページ.png", "2");
    test::WriteFile(dir.Path() / "readonly.tif", "3");
    fs::permissions(dir.Path() / "readonly.tif", fs::perms::owner_read);
    test::WriteFile(dir.Path() / ".hidden", "4");
    test::WriteFile(dir.Path() / "sub" / "inner.jpg", "5");
    test::WriteFile(dir.Path() / "../outside-target", "6");
    fs::create_symlink(dir.Path() / "sub" / "inner.jpg", dir.Path() / "link.jpg");

    EmptyFolder(dir.Sjis());
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".hidden", "link.jpg", "sub"}));
    EXPECT_TRUE(fs::exists(dir.Path() / "sub" / "inner.jpg"));
    fs::remove(dir.Path() / "../outside-target");

    EmptyFolder(dir.Sjis("missing")); // nothing to list, no failure
}

} // namespace
} // namespace pendlar
