#include "intake/FolderListing.h"

#include "settings/Registory.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pendlar {

namespace {

// The name with ASCII letters folded to lower case; the trail byte of a double-byte
// character may look like a letter and is kept as it is.
std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c)) {
            ++i;
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool Match(std::string_view n, std::string_view m) {
    // Iterative glob with one backtrack point: linear in practice, no recursion on long names.
    std::size_t ni = 0, mi = 0, star = std::string_view::npos, mark = 0;
    while (ni < n.size()) {
        // A "*" in the mask is always the wildcard, even facing a "*" in the name (Linux
        // allows one there).
        if (mi < m.size() && m[mi] == '*') {
            star = mi++;
            mark = ni;
        } else if (mi < m.size() && (m[mi] == '?' || m[mi] == n[ni])) {
            ++ni;
            ++mi;
        } else if (star != std::string_view::npos) {
            mi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == '*')
        ++mi;
    return mi == m.size();
}

} // namespace

std::string BuildTypeFilter(const TRegistory& settings) {
    std::string masks;
    if (settings.JpegType)
        masks += "*.jpg;*.Jpeg;";
    if (settings.TiffType)
        masks += "*.tif;*.tiff;";
    if (settings.BitmapType)
        masks += "*.bmp;";
    if (settings.PngType)
        masks += "*.png;";
    if (settings.DicomType)
        masks += "*.dcm;";
    if (masks.empty())
        return {};
    return SjisOf("ファイル形式|") + masks;
}

std::vector<std::string> FilterMasks(std::string_view filter) {
    std::vector<std::string> masks;
    std::size_t part = 0, start = 0;
    for (std::size_t i = 0; i <= filter.size(); ++i) {
        if (i == filter.size() || filter[i] == '|') {
            if (part % 2 == 1) {
                std::string_view pattern = filter.substr(start, i - start);
                std::size_t s = 0;
                for (std::size_t j = 0; j <= pattern.size(); ++j) {
                    if (j == pattern.size() || pattern[j] == ';') {
                        if (j > s)
                            masks.emplace_back(pattern.substr(s, j - s));
                        s = j + 1;
                    }
                }
            }
            ++part;
            start = i + 1;
        }
    }
    return masks;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    return Match(FoldCase(name), FoldCase(mask));
}

bool NameLessNoCase(std::string_view a, std::string_view b) {
    const std::string fa = FoldCase(a), fb = FoldCase(b);
    if (fa != fb)
        return fa < fb;
    return a < b;
}

std::vector<std::string> ListFolderFiles(const std::string& sjisFolder,
                                         const std::vector<std::string>& masks) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(FsPath(sjisFolder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const auto& entry = *it;
        const std::string fileName = entry.path().filename().string();
        if (fileName.empty() || fileName[0] == '.')
            continue;
        std::error_code sec;
        if (entry.is_symlink(sec) || !entry.is_regular_file(sec))
            continue;
        const std::string name = FileNameToSjisPath(fileName);
        for (const auto& mask : masks) {
            if (MatchesMask(name, mask)) {
                names.push_back(name);
                break;
            }
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameLessNoCase(a, b); });
    return names;
}

} // namespace pendlar
