// The manual (data/QuilmoPendlar.html and the pages it links to) names pictures and
// settings; both must still exist. Pictures are referenced as src="manual/NAME.png",
// settings as <code class="key">Name</code>. A numbered family (KeyLabel1 … KeyLabel8) is
// documented by its first member.
#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace pendlar {
namespace {

const std::filesystem::path kData = std::filesystem::path(PENDLAR_TEST_DATA) / ".." / "data";

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[1].str());
    return found;
}

TEST(Manual, NamesOnlyPicturesAndSettingsThatExist) {
    const std::string manual = ReadText(kData / "QuilmoPendlar.html");
    ASSERT_FALSE(manual.empty());
    std::string pages = manual;
    for (const std::string& link : Matches(manual, std::regex(R"re(href="([a-z]+\.html)")re"))) {
        const std::string page = ReadText(kData / link);
        EXPECT_FALSE(page.empty()) << "the manual links to " << link << ", which is missing";
        pages += page;
    }

    const std::set<std::string> pictures =
        Matches(pages, std::regex(R"re(src="(manual/[A-Za-z0-9_-]+\.png)")re"));
    EXPECT_GT(pictures.size(), 20u);
    for (const std::string& picture : pictures)
        EXPECT_TRUE(std::filesystem::is_regular_file(kData / picture))
            << picture << " is named by the manual but missing (run scripts/manual-shots)";
    // Every picture source is a plain relative path into manual/, so the page shows them
    // from the source tree and from the installed share/pendlar alike.
    for (const std::string& src : Matches(pages, std::regex(R"re(<img[^>]*src="([^"]*)")re")))
        EXPECT_EQ(src.rfind("manual/", 0), 0u) << src;

    const std::set<std::string> keys =
        Matches(pages, std::regex(R"re(<code class="key">([A-Za-z0-9_]+)</code>)re"));
    for (const std::string& key : keys)
        EXPECT_NE(FindSetting(key), nullptr) << key << " is described but no setting has that name";
    for (const SettingEntry& entry : SettingsTable()) {
        std::string name = entry.Name;
        const bool numbered = std::isdigit(static_cast<unsigned char>(name.back())) != 0;
        const std::string first = name.substr(0, name.find_last_not_of("0123456789") + 1) + "1";
        EXPECT_TRUE(keys.count(name) || (numbered && keys.count(first)))
            << name << " is a setting the manual does not describe";
    }
}

} // namespace
} // namespace pendlar
