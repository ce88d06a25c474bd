// The three designed header pages as data: one table of items per page (captions, the
// named text items the header texts fill, boxes and lines), in page-layout pixels of the
// page's layout panel, and the builder that turns a table into report components.
//
// Every text uses the Gothic font at 12 points unless its row says otherwise.
#pragma once

#include "pdf/PReport.h"

#include <map>
#include <string>
#include <vector>

namespace pendlar {

enum class LayoutKind : std::uint8_t {
    Label,     // a fixed caption
    Field,     // a named one-line text, filled from the header texts
    Memo,      // a named multi-line text, filled from the header texts
    Vertical,  // a fixed caption written one character per line
    Box,       // a solid rectangle outline
    Line,      // a solid line, one pixel high or wide
    DottedLine // a dotted line one pixel high
};

struct LayoutItem {
    LayoutKind Kind = LayoutKind::Label;
    std::string Name; // Field and Memo: the item name; others get a running name
    std::string Text; // Label and Vertical: the caption (UTF-8 here, Shift-JIS when built)
    int Left = 0, Top = 0, Width = 0, Height = 0;
    float FontSize = 12;
    bool Bold = false;
    TextAlignment Alignment = TextAlignment::Left;
    float Leading = 14;
    float LineWidth = 0.5f;
};

struct HeaderPageDesign {
    const char* PageName;   // PRGairai, PRNyuin, PRNext
    const char* LayoutName; // PRGairaiLayout, …
    int Width, Height;      // the page in pixels (points)
    std::vector<LayoutItem> Items;
};

const HeaderPageDesign& GairaiDesign(); // outpatient chart header, 633 x 887
const HeaderPageDesign& NyuinDesign();  // inpatient chart header, 633 x 855
const HeaderPageDesign& NextDesign();   // back page, 633 x 817

// The text items of a built page by name.
struct HeaderPageItems {
    std::map<std::string, TPRLabel*> Fields;
    std::map<std::string, TPRText*> Memos;
};

// Lays the design out on `page` (margins 32, one layout panel filling the client area).
HeaderPageItems BuildHeaderPage(const HeaderPageDesign& design, TPRPage& page);

} // namespace pendlar
