#include "pdf/PdfDoc.h"

#include "pdf/PdfFonts.h"

#include <cmath>

namespace pendlar {
namespace {

constexpr const char* kProducer = "Quilmo PDF Writer 0.9";

constexpr const char* kPageLayoutNames[] = {"SinglePage", "OneColumn", "TwoColumnLeft",
                                            "TwoColumnRight"};
constexpr const char* kPageModeNames[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};
constexpr const char* kViewerPreferenceNames[] = {"HideToolbar", "HideMenubar", "HideWindowUI",
                                                  "FitWindow", "CenterWindow"};
constexpr const char* kDestinationTypeNames[] = {"XYZ",  "Fit",  "FitH",  "FitV",
                                                 "FitR", "FitB", "FitBH", "FitBV"};
constexpr const char* kAnnotationSubtypeNames[] = {
    "Text",      "Link",      "Sound",     "FreeText", "Stamp",          "Square", "Circle",
    "StrikeOut", "Highlight", "Underline", "Ink",      "FileAttachment", "Popup"};

// The text state is kept in these hidden page elements while the canvas is on another page.
constexpr const char* kFontKey = "_Font";
constexpr const char* kFontSizeKey = "_Font_Size";
constexpr const char* kWordSpaceKey = "_Word_Space";
constexpr const char* kCharSpaceKey = "_Char_Space";
constexpr const char* kHScalingKey = "_HScalling";
constexpr const char* kLeadingKey = "_Leading";

std::string Num(double value) {
    return FormatContentNumber(value);
}

double RealOf(const TPdfDictionary* d, std::string_view key, double otherwise) {
    TPdfReal* real = d->LookupReal(key);
    return real ? real->Value() : otherwise;
}

// A word runs up to and including the next space, or the next LF that follows a CR, or the
// end of the text. Returns the end of the word that starts at `start`.
std::size_t WordEnd(std::string_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == ' ' || (text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            return i + 1;
    }
    return text.size();
}

} // namespace

// ---- information and catalog ----

void TPdfInfo::SetText(std::string_view key, std::string value) {
    data_->Put(key, new TPdfText(std::move(value)));
}

std::string TPdfInfo::Text(std::string_view key) const {
    TPdfText* text = data_ ? data_->LookupText(key) : nullptr;
    return text ? text->Value() : std::string();
}

void TPdfCatalog::SetPageLayout(TPdfPageLayout value) {
    if (TPdfName* name = data_->LookupName("PageLayout"))
        name->SetValue(kPageLayoutNames[value]);
    else
        data_->PutName("PageLayout", kPageLayoutNames[value]);
}

TPdfPageLayout TPdfCatalog::PageLayout() const {
    if (TPdfName* name = data_->LookupName("PageLayout"))
        for (int i = 0; i < 4; ++i)
            if (name->Value() == kPageLayoutNames[i])
                return static_cast<TPdfPageLayout>(i);
    return plSinglePage;
}

void TPdfCatalog::SetPageMode(TPdfPageMode value) {
    if (TPdfName* name = data_->LookupName("PageMode"))
        name->SetValue(kPageModeNames[value]);
    else
        data_->PutName("PageMode", kPageModeNames[value]);
}

TPdfPageMode TPdfCatalog::PageMode() const {
    if (TPdfName* name = data_->LookupName("PageMode"))
        for (int i = 0; i < 4; ++i)
            if (name->Value() == kPageModeNames[i])
                return static_cast<TPdfPageMode>(i);
    return pmUseNone;
}

TPdfDictionary* TPdfCatalog::ViewerPreferences() {
    TPdfDictionary* preferences = data_->LookupDictionary("ViewerPreferences");
    if (preferences == nullptr) {
        preferences = new TPdfDictionary(data_->ObjectMgr());
        data_->Put("ViewerPreferences", preferences);
    }
    return preferences;
}

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode value) {
    TPdfDictionary* preferences = ViewerPreferences();
    if (value == pmUseNone || value == pmFullScreen)
        preferences->Remove("NonFullScreenPageMode");
    else
        preferences->PutName("NonFullScreenPageMode", kPageModeNames[value]);
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences value) {
    TPdfDictionary* preferences = ViewerPreferences();
    for (int i = 0; i < 5; ++i) {
        if (value.Contains(static_cast<TPdfViewerPreference>(i)))
            preferences->Put(kViewerPreferenceNames[i], new TPdfBoolean(true));
        else
            preferences->Remove(kViewerPreferenceNames[i]);
    }
}

void TPdfCatalog::SetPages(TPdfDictionary* pages) {
    if (pages != nullptr && pages->TypeOf() == "Pages")
        data_->Put("Pages", pages);
}

TPdfDictionary* TPdfCatalog::Pages() const {
    return data_->LookupDictionary("Pages");
}

void TPdfCatalog::SaveOpenAction() {
    if (openAction_ != nullptr)
        data_->Put("OpenAction", openAction_->GetValue().release());
    else
        data_->Remove("OpenAction");
}

// ---- destinations ----

TPdfDestination::TPdfDestination(TPdfDoc* doc) : doc_(doc), page_(doc->GetCanvas()->GetPage()) {}

void TPdfDestination::SetZoom(float value) {
    if (value == zoom_)
        return;
    if (!(value >= 0))
        throw EPdfInvalidValue("Zoom property cannot set to under 0.");
    if (value > 10)
        throw EPdfInvalidValue("Zoom property cannot set to over 10.");
    zoom_ = value;
}

std::unique_ptr<TPdfArray> TPdfDestination::GetValue() const {
    auto value = std::make_unique<TPdfArray>(doc_->ObjectMgr());
    value->Append(page_);
    value->Append(new TPdfName(kDestinationTypeNames[static_cast<int>(type_)]));
    switch (type_) {
    case TPdfDestinationType::XYZ:
        value->Append(new TPdfNumber(left_));
        value->Append(new TPdfNumber(top_));
        value->Append(new TPdfReal(zoom_ < 0 ? 0 : zoom_));
        break;
    case TPdfDestinationType::Fit:
    case TPdfDestinationType::FitB:
        break;
    case TPdfDestinationType::FitH:
    case TPdfDestinationType::FitBH:
        value->Append(new TPdfNumber(top_));
        break;
    case TPdfDestinationType::FitV:
    case TPdfDestinationType::FitBV:
        value->Append(new TPdfNumber(left_));
        break;
    case TPdfDestinationType::FitR:
        value->Append(new TPdfNumber(left_));
        value->Append(new TPdfNumber(bottom_));
        value->Append(new TPdfNumber(right_));
        value->Append(new TPdfNumber(top_));
        break;
    }
    return value;
}

// ---- outlines ----

TPdfOutlineEntry* TPdfOutlineEntry::CreateEntry(TPdfOutlineEntry* parent) {
    if (parent == nullptr)
        throw std::runtime_error("CreateEntry --invalid parent.");
    TPdfDoc* doc = parent->doc_;
    for (TPdfOutlineEntry* e = parent; e != nullptr; e = e->parent_)
        ++e->count_;
    std::unique_ptr<TPdfOutlineEntry> entry(new TPdfOutlineEntry(doc));
    entry->SetData(doc->RegisterDictionary());
    entry->parent_ = parent;
    entry->prev_ = parent->last_;
    if (parent->last_ != nullptr)
        parent->last_->next_ = entry.get();
    else
        parent->first_ = entry.get();
    parent->last_ = entry.get();
    TPdfOutlineEntry* raw = entry.get();
    doc->outlineEntries_.push_back(std::move(entry));
    return raw;
}

void TPdfOutlineEntry::Save() {
    // Siblings are walked in a loop rather than by recursion, so a chart with thousands of
    // bookmarks does not grow the stack; only nesting recurses.
    for (TPdfOutlineEntry* e = this; e != nullptr; e = e->next_) {
        TPdfDictionary* d = e->data_;
        d->PutNumber("Count", e->opened_ ? e->count_ : -e->count_);
        d->Put("Title", new TPdfText(e->title_));
        if (e->dest_ != nullptr)
            d->Put("Dest", e->dest_->GetValue().release());
        if (e->first_ != nullptr) {
            d->Put("First", e->first_->data_);
            e->first_->Save();
            d->Put("Last", e->last_->data_);
        }
        if (e->prev_ != nullptr)
            d->Put("Prev", e->prev_->data_);
        if (e->next_ != nullptr)
            d->Put("Next", e->next_->data_);
    }
}

void TPdfOutlineRoot::Save() {
    data_->PutNumber("Count", count_);
    if (first_ != nullptr) {
        data_->Put("First", first_->Data());
        first_->Save();
        data_->Put("Last", last_->Data());
    }
}

// ---- canvas attribute ----

void TPdfCanvasAttribute::SetWordSpace(float value) {
    if (!(value >= 0))
        throw EPdfInvalidValue("SetWordSpace --invalid word space");
    wordSpace_ = value;
}

void TPdfCanvasAttribute::SetCharSpace(float value) {
    if (!(value >= -30 && value <= 300))
        throw EPdfInvalidValue("SetCharSpace --invalid char space");
    charSpace_ = value;
}

void TPdfCanvasAttribute::SetFontSize(float value) {
    if (!(value >= 0 && value <= 300))
        throw EPdfInvalidValue("SetFontSize --invalid font size");
    fontSize_ = value;
}

void TPdfCanvasAttribute::SetLeading(float value) {
    if (!(value >= 0 && value <= 300))
        throw EPdfInvalidValue("SetLeading --invalid leading");
    leading_ = value;
}

void TPdfCanvasAttribute::SetHorizontalScaling(int value) {
    if (value < 10 || value > 300)
        throw EPdfInvalidValue("SetHorizontalScaling --invalid horizontal scaling");
    horizontalScaling_ = static_cast<std::int16_t>(value);
}

double TPdfCanvasAttribute::TextWidth(std::string_view text) const {
    double sum = 0;
    const int length = static_cast<int>(text.size());
    for (int p = 1; p <= length; ++p) {
        double g = font_ ? font_->CharWidth(text, p) * static_cast<double>(fontSize_) / 1000 : 0;
        if (horizontalScaling_ != 100)
            g = g * horizontalScaling_ / 100;
        double advance = g > 0 ? g + charSpace_ : 0;
        if (text[p - 1] == ' ' && wordSpace_ > 0 && p != length)
            advance += wordSpace_;
        sum += advance;
    }
    return sum - charSpace_;
}

// ---- canvas ----

TPdfDictionary* TPdfCanvas::GetPage() const {
    if (page_ == nullptr)
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    return page_;
}

TPdfDoc* TPdfCanvas::GetDoc() const {
    if (doc_ == nullptr)
        throw EPdfInvalidOperation("ERROR: GetDoc documant is nil.");
    return doc_;
}

void TPdfCanvas::SetPage(TPdfDictionary* page) {
    if (page == page_)
        return;
    if (page_ != nullptr)
        SaveTextState();
    page_ = page;
    contents_ = page ? dynamic_cast<TPdfStream*>(page->Lookup("Contents")) : nullptr;
    if (page == nullptr)
        return;
    if (TPdfName* font = page->LookupName(kFontKey)) {
        attribute_.SetFont(font->Value().empty() ? nullptr : GetDoc()->GetFont(font->Value()));
        attribute_.SetFontSize(static_cast<float>(RealOf(page, kFontSizeKey, 0)));
        attribute_.SetWordSpace(static_cast<float>(RealOf(page, kWordSpaceKey, 0)));
        attribute_.SetCharSpace(static_cast<float>(RealOf(page, kCharSpaceKey, 0)));
        TPdfNumber* scaling = page->LookupNumber(kHScalingKey);
        attribute_.SetHorizontalScaling(scaling ? scaling->Value() : 100);
        attribute_.SetLeading(static_cast<float>(RealOf(page, kLeadingKey, 0)));
    } else {
        ResetTextState();
    }
}

void TPdfCanvas::SaveTextState() {
    TPdfFont* font = attribute_.Font();
    page_->PutHidden(kFontKey, new TPdfName(font ? font->Name() : std::string()));
    page_->PutHidden(kFontSizeKey, new TPdfReal(attribute_.FontSize()));
    page_->PutHidden(kWordSpaceKey, new TPdfReal(attribute_.WordSpace()));
    page_->PutHidden(kCharSpaceKey, new TPdfReal(attribute_.CharSpace()));
    page_->PutHidden(kHScalingKey, new TPdfNumber(attribute_.HorizontalScaling()));
    page_->PutHidden(kLeadingKey, new TPdfReal(attribute_.Leading()));
}

void TPdfCanvas::ResetTextState() {
    // A new page selects the default font again even when it is the current one, so that
    // every page's content starts with its own font operator.
    attribute_.SetFont(nullptr);
    SetFont("Arial", 10);
    attribute_.SetCharSpace(0);
    attribute_.SetWordSpace(0);
    attribute_.SetHorizontalScaling(100);
    attribute_.SetLeading(0);
}

void TPdfCanvas::Detach() {
    page_ = nullptr;
    contents_ = nullptr;
    attribute_ = TPdfCanvasAttribute();
}

TPdfStream* TPdfCanvas::RequireContents() {
    GetPage();
    if (contents_ == nullptr)
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    return contents_;
}

void TPdfCanvas::Write(std::string_view bytes) {
    if (virtual_)
        return;
    RequireContents()->Stream().append(bytes);
}

void TPdfCanvas::SaveState() {
    Write("q\n");
}

void TPdfCanvas::RestoreState() {
    Write("Q\n");
}

void TPdfCanvas::ConcatMatrix(float a, float b, float c, float d, float e, float f) {
    Write(Num(a) + ' ' + Num(b) + ' ' + Num(c) + ' ' + Num(d) + ' ' + Num(e) + ' ' + Num(f) +
          " cm\n");
}

void TPdfCanvas::SetDash(const std::vector<int>& lengths, int phase) {
    std::string op = "[";
    if (!lengths.empty() && lengths.front() != 0)
        for (int length : lengths)
            op += Num(length) + ' ';
    op += "] " + Num(phase) + " d\n";
    Write(op);
}

void TPdfCanvas::SetLineWidth(float width) {
    Write(Num(width) + " w\n");
}

void TPdfCanvas::MoveTo(float x, float y) {
    Write(Num(x) + ' ' + Num(y) + " m\n");
}

void TPdfCanvas::LineTo(float x, float y) {
    Write(Num(x) + ' ' + Num(y) + " l\n");
}

void TPdfCanvas::AppendRect(float x, float y, float width, float height) {
    Write(Num(x) + ' ' + Num(y) + ' ' + Num(width) + ' ' + Num(height) + " re\n");
}

void TPdfCanvas::ClosePath() {
    Write("h\n");
}

void TPdfCanvas::EndPathNoPaint() {
    Write("n\n");
}

void TPdfCanvas::StrokePath() {
    Write("S\n");
}

void TPdfCanvas::CloseAndStroke() {
    Write("s\n");
}

void TPdfCanvas::FillPath() {
    Write("f\n");
}

void TPdfCanvas::CloseFillAndStroke() {
    Write("b\n");
}

void TPdfCanvas::ClipPath() {
    Write("W\n");
}

namespace {

std::string RgbOperands(std::int32_t color) {
    if (color < 0)
        color = 0;
    double red = color & 0xFF;
    double green = (color >> 8) & 0xFF;
    double blue = (color >> 16) & 0xFF;
    return Num(red / 255) + ' ' + Num(green / 255) + ' ' + Num(blue / 255);
}

} // namespace

void TPdfCanvas::SetFillRGB(std::int32_t color) {
    Write(RgbOperands(color) + " rg\n");
}

void TPdfCanvas::SetStrokeRGB(std::int32_t color) {
    Write(RgbOperands(color) + " RG\n");
}

void TPdfCanvas::SetCharSpace(float value) {
    if (value == attribute_.CharSpace())
        return;
    attribute_.SetCharSpace(value);
    if (HasContents())
        Write(Num(value) + " Tc\n");
}

void TPdfCanvas::SetWordSpace(float value) {
    if (value == attribute_.WordSpace())
        return;
    attribute_.SetWordSpace(value);
    if (HasContents())
        Write(Num(value) + " Tw\n");
}

void TPdfCanvas::SetLeading(float value) {
    if (value == attribute_.Leading())
        return;
    attribute_.SetLeading(value);
    if (HasContents())
        Write(Num(value) + " TL\n");
}

void TPdfCanvas::SetHorizontalScaling(int value) {
    attribute_.SetHorizontalScaling(value);
}

void TPdfCanvas::SetFont(std::string_view name, float size) {
    TPdfFont* font = GetDoc()->GetFont(name);
    if (font == attribute_.Font() && size == attribute_.FontSize())
        return;
    if (!(size >= 0 && size <= 300))
        throw EPdfInvalidValue("SetFontSize --invalid font size");
    TPdfName* resourceName = font->Data()->LookupName("Name");
    std::string resource = resourceName ? resourceName->Value() : std::string();
    if (page_ != nullptr) {
        TPdfDictionary* resources = page_->LookupDictionary("Resources");
        TPdfDictionary* fonts = resources ? resources->LookupDictionary("Font") : nullptr;
        if (fonts != nullptr && fonts->Lookup(resource) == nullptr)
            fonts->Put(resource, font->Data());
    }
    if (HasContents())
        Write(PdfNameString(resource) + ' ' + Num(size) + " Tf\n");
    attribute_.SetFont(font);
    attribute_.SetFontSize(size);
}

void TPdfCanvas::BeginText() {
    Write("BT\n");
}

void TPdfCanvas::EndText() {
    Write("ET\n");
}

void TPdfCanvas::MoveTextOrigin(float x, float y) {
    Write(Num(x) + ' ' + Num(y) + " Td\n");
}

void TPdfCanvas::NextLine() {
    Write("T*\n");
}

void TPdfCanvas::ShowString(std::string_view text) {
    std::string op;
    if (HasMultiByteString(text)) {
        // The raw Shift-JIS bytes; the Japanese fonts' CMaps decode them.
        static constexpr char kHex[] = "0123456789ABCDEF";
        op.reserve(text.size() * 2 + 6);
        op += '<';
        for (char ch : text) {
            auto c = static_cast<unsigned char>(ch);
            op += kHex[c >> 4];
            op += kHex[c & 0x0F];
        }
        op += '>';
    } else {
        op = PdfLiteralString(text);
    }
    op += " Tj\n";
    Write(op);
}

double TPdfCanvas::TextWidth(std::string_view text) const {
    return attribute_.TextWidth(text);
}

int TPdfCanvas::FitLength(std::string_view text, double width) const {
    // The advances of TextWidth, byte by byte; a trail byte adds nothing, so a double-byte
    // character is never split.
    double sum = 0;
    const int length = static_cast<int>(text.size());
    TPdfFont* font = attribute_.Font();
    for (int p = 1; p <= length; ++p) {
        double g =
            font ? font->CharWidth(text, p) * static_cast<double>(attribute_.FontSize()) / 1000 : 0;
        if (attribute_.HorizontalScaling() != 100)
            g = g * attribute_.HorizontalScaling() / 100;
        double advance = g > 0 ? g + attribute_.CharSpace() : 0;
        if (text[p - 1] == ' ' && attribute_.WordSpace() > 0 && p != length)
            advance += attribute_.WordSpace();
        sum += advance;
        if (sum > width)
            return p - 1;
    }
    return length;
}

void TPdfCanvas::TextInRect(const TPdfRect& rect, std::string_view text, TextAlignment alignment,
                            bool clipping) {
    double w = TextWidth(text);
    double span = static_cast<double>(rect.Right) - rect.Left;
    double dx = 0;
    // Rounding to nearest with halves to even.
    if (alignment == TextAlignment::Right)
        dx = span - std::nearbyint(w);
    else if (alignment == TextAlignment::Center)
        dx = std::nearbyint((span - w) / 2);
    if (clipping) {
        SaveState();
        MoveTo(rect.Left, rect.Top);
        LineTo(rect.Left, rect.Bottom);
        LineTo(rect.Right, rect.Bottom);
        LineTo(rect.Right, rect.Top);
        ClosePath();
        ClipPath();
        EndPathNoPaint();
    }
    BeginText();
    MoveTextOrigin(static_cast<float>(rect.Left + dx),
                   static_cast<float>(rect.Top - 0.85 * attribute_.FontSize()));
    ShowString(text);
    EndText();
    if (clipping)
        RestoreState();
}

void TPdfCanvas::TextInRectWrapped(const TPdfRect& rect, std::string_view text, bool wordWrap) {
    const double fontSize = attribute_.FontSize();
    const double width = static_cast<double>(rect.Right) - rect.Left;
    auto showFitting = [&](std::string_view line) {
        if (!line.empty())
            ShowString(line.substr(0, static_cast<std::size_t>(FitLength(line, width))));
    };
    auto advanceOf = [&](std::string_view word) {
        double w = TextWidth(word);
        if (!word.empty() && word.back() == ' ')
            w += attribute_.WordSpace();
        return w;
    };

    BeginText();
    MoveTextOrigin(rect.Left, static_cast<float>(rect.Top - 0.85 * fontSize));
    double top = rect.Top;
    double x = rect.Left;
    std::size_t pos = WordEnd(text, 0);
    std::string line(text.substr(0, pos));
    x += advanceOf(line);
    while (pos < text.size()) {
        bool forced = false;
        if (line.size() > 1 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
            line.resize(line.size() - 2);
            forced = true;
        }
        std::size_t end = WordEnd(text, pos);
        std::string_view word = text.substr(pos, end - pos);
        pos = end;
        double ww = TextWidth(word);
        if ((wordWrap && x + ww > rect.Right) || forced) {
            showFitting(line);
            line.clear();
            NextLine();
            top -= attribute_.Leading();
            if (rect.Bottom + fontSize > top)
                break;
            x = rect.Left;
        }
        x += ww;
        if (!word.empty() && word.back() == ' ')
            x += attribute_.WordSpace();
        line += word;
    }
    showFitting(line);
    EndText();
}

void TPdfCanvas::PaintXObject(std::string_view name) {
    Write(PdfNameString(name) + " Do\n");
}

void TPdfCanvas::RequireXObject(std::string_view name, const char* caller) {
    TPdfStream* object = GetDoc()->GetXObject(name);
    if (object == nullptr)
        throw EPdfInvalidValue(std::string(caller) + " --XObject not found: " + std::string(name));
    TPdfDictionary* resources = GetPage()->LookupDictionary("Resources");
    TPdfDictionary* objects = resources ? resources->LookupDictionary("XObject") : nullptr;
    if (objects != nullptr && objects->Lookup(name) == nullptr)
        objects->Put(name, object);
}

void TPdfCanvas::DrawXObject(float x, float y, float width, float height, std::string_view name) {
    RequireXObject(name, "DrawXObject");
    SaveState();
    ConcatMatrix(width, 0, 0, height, x, y);
    PaintXObject(name);
    RestoreState();
}

void TPdfCanvas::DrawXObjectEx(float x, float y, float width, float height, float clipX,
                               float clipY, float clipWidth, float clipHeight,
                               std::string_view name) {
    RequireXObject(name, "DrawXObjectEx");
    SaveState();
    AppendRect(clipX, clipY, clipWidth, clipHeight);
    ClipPath();
    EndPathNoPaint();
    ConcatMatrix(width, 0, 0, height, x, y);
    PaintXObject(name);
    RestoreState();
}

int TPdfCanvas::PageHeight() const {
    TPdfArray* box = GetPage()->LookupArray("MediaBox");
    auto* height = box ? dynamic_cast<TPdfNumber*>(box->ItemAt(3)) : nullptr;
    return height ? height->Value() : GetDoc()->DefaultPageHeight();
}

int TPdfCanvas::PageWidth() const {
    TPdfArray* box = GetPage()->LookupArray("MediaBox");
    auto* width = box ? dynamic_cast<TPdfNumber*>(box->ItemAt(2)) : nullptr;
    return width ? width->Value() : GetDoc()->DefaultPageWidth();
}

void TPdfCanvas::SetPageWidth(int value) {
    TPdfArray* box = GetPage()->LookupArray("MediaBox");
    if (box == nullptr || box->ItemCount() < 4)
        throw EPdfInvalidOperation("Can not chenge width of this page..");
    box->Replace(2, new TPdfNumber(value));
}

void TPdfCanvas::SetPageHeight(int value) {
    TPdfArray* box = GetPage()->LookupArray("MediaBox");
    if (box == nullptr || box->ItemCount() < 4)
        throw EPdfInvalidOperation("Can not chenge height of this page..");
    box->Replace(3, new TPdfNumber(value));
}

// ---- document ----

TPdfDoc::TPdfDoc() : canvas_(std::make_unique<TPdfCanvas>(this)) {}

TPdfDoc::~TPdfDoc() {
    FreeDoc();
    canvas_.reset();
}

TPdfDictionary* TPdfDoc::RegisterDictionary() {
    return xref_->AddObject(std::make_unique<TPdfDictionary>(xref_.get()));
}

void TPdfDoc::NewDoc() {
    FreeDoc();
    xref_ = std::make_unique<TPdfXref>();
    header_ = std::make_unique<TPdfHeader>();
    trailer_ = std::make_unique<TPdfTrailer>(xref_.get());
    xObjectList_ = std::make_unique<TPdfArray>(xref_.get());
    hasDoc_ = true;

    TPdfDictionary* catalog = RegisterDictionary();
    catalog->PutName("Type", "Catalog");
    trailer_->Attributes()->Put("Root", catalog);
    root_ = std::make_unique<TPdfCatalog>();
    root_->SetData(catalog);

    if (useOutlines_) {
        TPdfDictionary* outlines = RegisterDictionary();
        outlines->PutName("Type", "Outlines");
        catalog->Put("Outlines", outlines);
        auto root = std::make_unique<TPdfOutlineRoot>(this);
        root->SetData(outlines);
        outlineRoot_ = root.get();
        outlineEntries_.push_back(std::move(root));
    }

    TPdfDictionary* info = RegisterDictionary();
    info->Put("Producer", new TPdfText(kProducer));
    trailer_->Attributes()->Put("Info", info);
    info_ = std::make_unique<TPdfInfo>();
    info_->SetData(info);
    info_->SetCreationDate(PdfDateTime::Now());

    TPdfDictionary* pages = RegisterDictionary();
    pages->PutName("Type", "Pages");
    pages->Put("Kids", new TPdfArray(xref_.get()));
    pages->PutNumber("Count", 0);
    root_->SetPages(pages);
    currentPages_ = pages;
}

void TPdfDoc::FreeDoc() {
    if (!hasDoc_)
        return;
    canvas_->Detach();
    xObjectList_.reset();
    outlineRoot_ = nullptr;
    outlineEntries_.clear();
    destinations_.clear();
    fonts_.clear();
    info_.reset();
    root_.reset();
    currentPages_ = nullptr;
    trailer_.reset();
    header_.reset();
    xref_.reset();
    hasDoc_ = false;
}

void TPdfDoc::AddPage() {
    if (currentPages_ == nullptr)
        throw EPdfInvalidOperation("AddPage --current pages null.");
    TPdfDictionary* page = RegisterDictionary();
    TPdfArray* kids = currentPages_->LookupArray("Kids");
    kids->Append(page);
    if (TPdfNumber* count = currentPages_->LookupNumber("Count"))
        count->SetValue(static_cast<std::int32_t>(kids->ItemCount()));
    else
        currentPages_->PutNumber("Count", static_cast<std::int32_t>(kids->ItemCount()));

    page->PutName("Type", "Page");
    page->Put("Parent", currentPages_);
    page->Put("MediaBox",
              new TPdfArray(xref_.get(), {0, 0, defaultPageWidth_, defaultPageHeight_}));
    auto* resources = new TPdfDictionary(xref_.get());
    page->Put("Resources", resources);
    resources->Put("Font", new TPdfDictionary(xref_.get()));
    resources->Put("XObject", new TPdfDictionary(xref_.get()));
    auto* procSet = new TPdfArray(xref_.get());
    resources->Put("ProcSet", procSet);
    procSet->Append(new TPdfName("PDF"));
    procSet->Append(new TPdfName("Text"));
    procSet->Append(new TPdfName("ImageC"));
    page->Put("Contents", xref_->AddObject(std::make_unique<TPdfStream>(xref_.get())));

    canvas_->SetPage(page);
}

void TPdfDoc::SaveToStream(PdfOutStream& out) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    canvas_->GetPage();
    info_->SetModDate(PdfDateTime::Now());
    root_->SaveOpenAction();
    if (outlineRoot_ != nullptr)
        outlineRoot_->Save();

    header_->WriteToStream(out);
    xref_->WriteObjects(out);
    trailer_->SetXrefAddress(out.Position());
    xref_->SaveToStream(out);
    trailer_->Attributes()->LookupNumber("Size")->SetValue(
        static_cast<std::int32_t>(xref_->ItemCount()));
    trailer_->WriteToStream(out);
}

void TPdfDoc::SaveToFile(std::string_view sjisPath) {
    // Refuse before the file system is touched.
    if (!hasDoc_)
        throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    canvas_->GetPage();
    PdfFileOutStream out(sjisPath);
    SaveToStream(out);
    out.Commit();
}

TPdfCanvas* TPdfDoc::GetCanvas() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    return canvas_.get();
}

TPdfInfo* TPdfDoc::GetInfo() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetInfo --this method can not use this state..");
    return info_.get();
}

TPdfCatalog* TPdfDoc::GetRoot() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetRoot --this method can not use this state..");
    return root_.get();
}

TPdfOutlineRoot* TPdfDoc::GetOutlineRoot() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetOutlineRoot --document is null..");
    if (outlineRoot_ == nullptr)
        throw EPdfInvalidOperation("GetOutlineRoot --not use outline mode..");
    return outlineRoot_;
}

TPdfFont* TPdfDoc::GetFont(std::string_view name) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetFont --document is null.");
    for (const auto& font : fonts_)
        if (font->Name() == name)
            return font.get();
    return CreateFont(name);
}

TPdfFont* TPdfDoc::CreateFont(std::string_view name) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetFont --document is null.");
    std::unique_ptr<TPdfFont> font = CreatePdfFontKind(name, xref_.get());
    if (font == nullptr)
        throw std::runtime_error("CreateFont --InvalidFontName:" + std::string(name));
    font->Data()->PutName("Name", "F" + std::to_string(fonts_.size()));
    fonts_.push_back(std::move(font));
    return fonts_.back().get();
}

TPdfStream* TPdfDoc::GetXObject(std::string_view name) const {
    if (xObjectList_ == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < xObjectList_->ItemCount(); ++i) {
        auto* object = dynamic_cast<TPdfStream*>(xObjectList_->ItemAt(i));
        TPdfName* objectName = object ? object->Attributes()->LookupName("Name") : nullptr;
        if (objectName != nullptr && objectName->Value() == name)
            return object;
    }
    return nullptr;
}

void TPdfDoc::RegisterXObject(TPdfObject* object, std::string_view name) {
    if (object == nullptr)
        throw EPdfInvalidValue("RegisterXObject --AObject is null");
    auto* stream = dynamic_cast<TPdfStream*>(object);
    if (stream == nullptr || stream->Attributes()->TypeOf() != "XObject")
        throw EPdfInvalidValue("RegisterXObject --not XObject");
    if (!hasDoc_)
        throw EPdfInvalidOperation("RegisterXObject --document is null.");
    if (object->ObjectType() == ObjectKind::Direct)
        xref_->AddObject(object);
    if (stream->Attributes()->Lookup("Name") != nullptr)
        return;
    if (GetXObject(name) != nullptr)
        throw EPdfInvalidValue("RegisterXObject --dupulicate name: " + std::string(name));
    xObjectList_->Append(object);
    stream->Attributes()->PutName("Name", name);
}

void TPdfDoc::AddImage(std::string_view name, std::unique_ptr<TPdfStream> image) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("AddImage --document is null.");
    if (GetXObject(name) != nullptr)
        throw std::runtime_error("AddImage --the image named " + std::string(name) +
                                 " is already exists..");
    TPdfName* subtype = image ? image->Attributes()->LookupName("Subtype") : nullptr;
    if (subtype == nullptr || subtype->Value() != "Image" ||
        image->Attributes()->TypeOf() != "XObject")
        throw std::runtime_error("AddImage --the image is not valid TPdfImage..");
    RegisterXObject(xref_->AddObject(std::move(image)), name);
}

TPdfDictionary* TPdfDoc::AddAnotation(TPdfAnnotationSubtype subtype, const TPdfRect& rect) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("AddAnotation --document is null.");
    TPdfDictionary* page = canvas_->GetPage();
    TPdfDictionary* annotation = RegisterDictionary();
    annotation->PutName("Type", "Annot");
    annotation->PutName("Subtype", kAnnotationSubtypeNames[static_cast<int>(subtype)]);
    auto* box = new TPdfArray(xref_.get());
    annotation->Put("Rect", box);
    box->Append(new TPdfReal(rect.Left));
    box->Append(new TPdfReal(rect.Top));
    box->Append(new TPdfReal(rect.Right));
    box->Append(new TPdfReal(rect.Bottom));
    TPdfArray* annotations = page->LookupArray("Annots");
    if (annotations == nullptr) {
        annotations = new TPdfArray(xref_.get());
        page->Put("Annots", annotations);
    }
    annotations->Append(annotation);
    return annotation;
}

TPdfDestination* TPdfDoc::CreateDestination() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("TPdfDestination --cannot destination object.");
    destinations_.push_back(std::make_unique<TPdfDestination>(this));
    return destinations_.back().get();
}

} // namespace pendlar
