#include "record/FieldView.h"

namespace pendlar {

const FieldValue& FieldOf(const FieldView& view, std::string_view name) {
    static const FieldValue empty;
    auto it = view.find(name);
    return it == view.end() ? empty : it->second;
}

int ChoiceIndex(std::string_view text, const std::vector<std::string>& items, int selected) {
    if (selected >= 0 && static_cast<std::size_t>(selected) < items.size() &&
        items[selected] == text)
        return selected;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> SplitLines(std::string_view text) {
    // Shift-JIS trail bytes are 0x40 and above, so CR and LF are always line ends.
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinLines(std::span<const std::string> lines, std::string_view lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

} // namespace pendlar
