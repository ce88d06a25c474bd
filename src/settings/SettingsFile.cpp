#include "settings/SettingsFile.h"

#include "util/Sjis.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>

namespace pendlar {
namespace {

constexpr std::string_view kSection = "[Software/Orvane/Pendlar15]";

const char* TypeName(SettingType t) {
    switch (t) {
    case SettingType::String:
        return "string";
    case SettingType::Integer:
        return "int";
    case SettingType::Boolean:
        return "bool";
    case SettingType::Float:
        return "float";
    case SettingType::Binary:
        return "binary";
    }
    return "";
}

// The registry knows strings, numbers and binary values; an int and a bool are both numbers.
int TypeClass(std::string_view typeName) {
    if (typeName == "string")
        return 0;
    if (typeName == "int" || typeName == "bool")
        return 1;
    if (typeName == "float")
        return 2;
    if (typeName == "binary")
        return 3;
    return -1;
}

int TypeClass(SettingType t) {
    return TypeClass(TypeName(t));
}

std::string HexByte(unsigned char c) {
    static const char digits[] = "0123456789abcdef";
    return {digits[c >> 4], digits[c & 15]};
}

std::string EscapeSjis(std::string_view sjis) {
    std::string out;
    for (std::size_t i = 0; i < sjis.size();) {
        unsigned char c = static_cast<unsigned char>(sjis[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c == '\t') {
            out += "\\t";
            ++i;
        } else if (c < 0x20 || c == 0x7f) {
            out += "\\x" + HexByte(c);
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            std::size_t width = IsLeadByte(c) ? 2 : 1;
            std::string_view ch = sjis.substr(i, width);
            std::string utf8 = ch.size() == width ? SjisToUtf8(ch) : std::string();
            if (utf8.empty() || utf8.find("\xEF\xBF\xBD") != std::string::npos) {
                out += "\\x" + HexByte(c);
                ++i;
            } else {
                out += utf8;
                i += width;
            }
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> UnescapeToSjis(std::string_view text) {
    std::string out;
    std::string run; // plain UTF-8 waiting for conversion
    auto flush = [&]() {
        if (run.empty())
            return true;
        std::optional<std::string> sjis = Utf8ToSjis(run);
        if (!sjis)
            return false;
        out += *sjis;
        run.clear();
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            run += text[i];
            continue;
        }
        if (!flush() || i + 1 >= text.size())
            return std::nullopt;
        char e = text[++i];
        if (e == '\\')
            out += '\\';
        else if (e == 'n')
            out += '\n';
        else if (e == 'r')
            out += '\r';
        else if (e == 't')
            out += '\t';
        else if (e == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
                 HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else
            return std::nullopt;
    }
    if (!flush())
        return std::nullopt;
    return out;
}

struct RawValue {
    std::string Type;
    std::string Text;
};

// Parses the lines of the section; nullopt when the section is missing (defaults) and
// `damaged` set when a line of the section cannot be a value at all.
std::optional<std::map<std::string, RawValue>> ParseSection(std::string_view text, bool& damaged) {
    std::map<std::string, RawValue> values;
    bool inSection = false, sawSection = false;
    damaged = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            if (end == text.size())
                break;
            continue;
        }
        if (line.front() == '[') {
            inSection = line == kSection;
            sawSection = sawSection || inSection;
        } else if (inSection) {
            std::size_t colon = line.find(':');
            std::size_t eq = line.find('=');
            if (colon == std::string_view::npos || eq == std::string_view::npos || eq < colon ||
                colon == 0) {
                damaged = true;
                return std::nullopt;
            }
            values[std::string(line.substr(0, colon))] = {
                std::string(line.substr(colon + 1, eq - colon - 1)),
                std::string(line.substr(eq + 1))};
        }
        if (end == text.size())
            break;
    }
    if (!sawSection)
        return std::nullopt;
    return values;
}

} // namespace

std::string FormatSettingValue(const SettingEntry& entry, const SettingValue& value) {
    switch (entry.Type) {
    case SettingType::String:
        return EscapeSjis(std::get<std::string>(value));
    case SettingType::Integer:
    case SettingType::Boolean:
        return std::to_string(std::get<std::int64_t>(value));
    case SettingType::Float: {
        char buffer[64];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value));
        return std::string(buffer, end);
    }
    case SettingType::Binary: {
        std::string out;
        for (std::uint8_t b : std::get<std::vector<std::uint8_t>>(value))
            out += HexByte(b);
        return out;
    }
    }
    return "";
}

bool ParseSettingValue(const SettingEntry& entry, std::string_view text, SettingValue& value) {
    switch (entry.Type) {
    case SettingType::String: {
        std::optional<std::string> sjis = UnescapeToSjis(text);
        if (!sjis)
            return false;
        value = *sjis;
        return true;
    }
    case SettingType::Integer:
    case SettingType::Boolean: {
        std::int64_t n = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        // A registry number is 32 bits, read signed or unsigned.
        if (ec != std::errc() || end != text.data() + text.size() || text.empty() ||
            n < INT32_MIN || n > UINT32_MAX)
            return false;
        if (n > INT32_MAX)
            n -= std::int64_t{1} << 32;
        value = n;
        return true;
    }
    case SettingType::Float: {
        double d = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
        // A density that is not a finite number would break every printout.
        if (ec != std::errc() || end != text.data() + text.size() || text.empty() ||
            !std::isfinite(d))
            return false;
        value = d;
        return true;
    }
    case SettingType::Binary: {
        if (text.size() % 2 != 0 || text.size() / 2 > entry.BinarySize)
            return false;
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < text.size(); i += 2) {
            int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
            if (hi < 0 || lo < 0)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        }
        value = bytes;
        return true;
    }
    }
    return false;
}

std::string FormatSettingsFile(const TRegistory& settings) {
    std::string out = "# Quilmo Pendlar settings. One value per line: Name:type=value.\n";
    out += kSection;
    out += '\n';
    for (const auto& e : SettingsTable()) {
        out += e.Name;
        out += ':';
        out += TypeName(e.Type);
        out += '=';
        out += FormatSettingValue(e, e.Get(settings));
        out += '\n';
    }
    return out;
}

bool LoadSettingsText(TRegistory& settings, std::string_view text) {
    bool damaged = false;
    std::optional<std::map<std::string, RawValue>> values = ParseSection(text, damaged);
    if (!values) {
        settings.SetDefaults();
        return !damaged;
    }
    TRegistory loaded = settings;
    for (const auto& e : SettingsTable()) {
        auto it = values->find(e.Name);
        if (it == values->end()) {
            if (e.Type == SettingType::String) {
                e.Set(loaded, std::string());
                continue;
            }
            if (e.Type == SettingType::Binary)
                continue;
            settings.SetDefaults();
            return false;
        }
        SettingValue value;
        if (TypeClass(it->second.Type) != TypeClass(e.Type) ||
            !ParseSettingValue(e, it->second.Text, value)) {
            settings.SetDefaults();
            return false;
        }
        e.Set(loaded, value);
    }
    settings = loaded;
    return true;
}

} // namespace pendlar
