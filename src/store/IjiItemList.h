// The chart fields a keyword can be quoted from (settings IjiItem1 … IjiItem8, the choices
// NeedIji1 … NeedIji8 of the search settings): 41 entries, entry 0 "未指定" meaning none.
#pragma once

#include <span>

namespace pendlar {

struct IjiItem {
    const char* Label; // shown in the choice (UTF-8)
    const char* Field; // the input field whose text is taken; "" for entry 0
};

constexpr int kIjiItemCount = 41;

// In the order of the choices.
std::span<const IjiItem> IjiItemList();

} // namespace pendlar
