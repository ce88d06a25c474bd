#include "pdf/PReport.h"

#include "pdf/PdfImages.h"

#include <cmath>

namespace pendlar {
namespace {

PdfDateTime ToPdfDate(TDateTime value) {
    CivilDate date = DecodeDate(value);
    PdfDateTime result;
    result.Year = date.Year;
    result.Month = date.Month;
    result.Day = date.Day;
    DecodeTime(value, result.Hour, result.Minute, result.Second);
    return result;
}

// Trim of the toolkit: every byte up to the blank counts as white space or control.
std::string_view Trimmed(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return std::string(Trimmed(text));
}

TPdfRect PdfRectOf(const TRect& rect, int pageHeight) {
    return {static_cast<float>(rect.Left), static_cast<float>(pageHeight - rect.Top),
            static_cast<float>(rect.Right), static_cast<float>(pageHeight - rect.Bottom)};
}

// The seed of an image item's name generator: the clock, which under SOURCE_DATE_EPOCH is
// fixed, so that equal input still gives equal bytes.
std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::llround(Now() * 86400.0));
}

} // namespace

std::string PdfFontNameOf(TPRFontName name, bool bold, bool italic) {
    // Latin families append "-Bold" …, Japanese ones ",Bold" ….
    static const char* const kBase[] = {"FixedWidth", "Arial",   "Times",  "Gothic",
                                        "Mincyo",     "PGothic", "PMincyo"};
    const int index = static_cast<int>(name);
    if (name == TPRFontName::fnTimesRoman) {
        if (bold && italic)
            return "Times-BoldItalic";
        if (bold)
            return "Times-Bold";
        if (italic)
            return "Times-Italic";
        return "Times-Roman";
    }
    const bool latin = name == TPRFontName::fnFixedWidth || name == TPRFontName::fnArial;
    std::string result = kBase[index];
    const char* joiner = latin ? "-" : ",";
    if (bold && italic)
        result += std::string(joiner) + "BoldItalic";
    else if (bold)
        result += std::string(joiner) + "Bold";
    else if (italic)
        result += std::string(joiner) + "Italic";
    return result;
}

// ---- controls ----

TPRControl::TPRControl(std::string name) : name_(std::move(name)) {}

TPRControl::~TPRControl() = default;

void TPRControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ != nullptr && align_ != TAlign::alNone)
        parent_->Realign();
    if (resized)
        Realign();
}

void TPRControl::SetAlign(TAlign value) {
    if (value == align_)
        return;
    align_ = value;
    if (parent_ != nullptr)
        parent_->Realign();
}

void TPRControl::InsertControl(std::unique_ptr<TPRControl> control) {
    if (control == nullptr)
        return;
    if (control->IsPage())
        throw std::runtime_error("a page cannot be placed on another control");
    if (!IsPanel() && (control->IsItem() || IsItem()))
        throw std::runtime_error("this component must set on TPRPanel");
    control->parent_ = this;
    children_.push_back(std::move(control));
    Realign();
}

TPRControl* TPRControl::FindControl(std::string_view name) const {
    for (const auto& child : children_) {
        if (child->name_ == name)
            return child.get();
        if (TPRControl* found = child->FindControl(name))
            return found;
    }
    return nullptr;
}

void TPRControl::PlaceAligned(int left, int top, int width, int height) {
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    if (resized)
        Realign();
}

void TPRControl::Realign() {
    if (aligning_)
        return;
    aligning_ = true;
    TRect area = AlignArea();
    auto pass = [&](TAlign which) {
        for (const auto& child : children_) {
            if (child->align_ != which)
                continue;
            TPRControl& c = *child;
            switch (which) {
            case TAlign::alTop:
                c.PlaceAligned(area.Left, area.Top, area.Width(), c.height_);
                area.Top += c.height_;
                break;
            case TAlign::alBottom:
                c.PlaceAligned(area.Left, area.Bottom - c.height_, area.Width(), c.height_);
                area.Bottom -= c.height_;
                break;
            case TAlign::alLeft:
                c.PlaceAligned(area.Left, area.Top, c.width_, area.Height());
                area.Left += c.width_;
                break;
            case TAlign::alRight:
                c.PlaceAligned(area.Right - c.width_, area.Top, c.width_, area.Height());
                area.Right -= c.width_;
                break;
            case TAlign::alClient:
                c.PlaceAligned(area.Left, area.Top, area.Width(), area.Height());
                break;
            case TAlign::alNone:
                break;
            }
        }
    };
    for (TAlign which :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
        pass(which);
    aligning_ = false;
}

// ---- items, panels, pages ----

TPRItem::TPRItem(std::string name) : TPRControl(std::move(name)) {
    SetBounds(0, 0, 100, 30);
}

void TPRItem::Print(TPRCanvas&, const TRect&) {}

TPRPanel::TPRPanel(std::string name) : TPRControl(std::move(name)) {
    SetBounds(0, 0, 100, 100);
}

void TPRPanel::Print(TPRCanvas& canvas, const TRect& rect) {
    for (std::size_t i = 0; i < ControlCount(); ++i) {
        TPRControl* child = Controls(i);
        TRect bounds = child->BoundsRect();
        bounds.Left += rect.Left;
        bounds.Right += rect.Left;
        bounds.Top += rect.Top;
        bounds.Bottom += rect.Top;
        if (child->IsPanel()) {
            static_cast<TPRPanel*>(child)->Print(canvas, bounds);
        } else if (child->IsItem()) {
            auto* item = static_cast<TPRItem*>(child);
            if (item->Printable())
                item->Print(canvas, bounds);
        }
    }
}

void TPRLayoutPanel::Print(TPRCanvas& canvas, const TRect& rect) {
    if (BeforePrint)
        BeforePrint(*this, canvas, rect);
    TPRPanel::Print(canvas, rect);
    if (AfterPrint)
        AfterPrint(*this, canvas, rect);
}

TPRPage::TPRPage(std::string name) : TPRControl(std::move(name)) {
    SetBounds(0, 0, 596, 842);
}

TRect TPRPage::AlignArea() const {
    return {marginLeft_ + 1, marginTop_ + 1, Width() - marginRight_ - 1,
            Height() - marginBottom_ - 1};
}

void TPRPage::SetMargin(int& margin, int value) {
    if (value < 0 || value >= Width() / 2 || value == margin)
        return;
    margin = value;
    Realign();
}

void TPRPage::Print(TPRCanvas& canvas) {
    TPdfCanvas* pdf = canvas.PdfCanvas();
    if (pdf == nullptr)
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    pdf->SetPageHeight(Height());
    pdf->SetPageWidth(Width());
    if (OnPrintPage)
        OnPrintPage(*this, canvas);
    for (std::size_t i = 0; i < ControlCount(); ++i) {
        TPRControl* child = Controls(i);
        if (child->IsPanel())
            static_cast<TPRPanel*>(child)->Print(canvas, child->BoundsRect());
    }
}

int TPRCanvas::PageHeight() const {
    if (pdfCanvas_ == nullptr)
        throw EPdfInvalidOperation("GetPage --the Page is nil");
    return pdfCanvas_->PageHeight();
}

// ---- labels and texts ----

void TPRCustomLabel::SetFontColor(TColor value) {
    if (value > 0xFFFFFFF)
        throw EPdfInvalidValue("the color you selected is not allowed.");
    fontColor_ = value;
}

void TPRCustomLabel::SetFontSize(float value) {
    if (value > 0)
        fontSize_ = value;
}

void TPRCustomLabel::SetWordSpace(float value) {
    if (value >= 0)
        wordSpace_ = value;
}

void TPRCustomLabel::SelectFont(TPdfCanvas& canvas) const {
    canvas.SetFont(PdfFontNameOf(fontName_, fontBold_, fontItalic_), fontSize_);
}

void TPRLabel::Print(TPRCanvas& canvas, const TRect& rect) {
    if (Caption.empty())
        return;
    TPdfCanvas& pdf = *canvas.PdfCanvas();
    SelectFont(pdf);
    pdf.SetFillRGB(FontColor());
    pdf.SetWordSpace(WordSpace());
    if (!AlignJustified) {
        pdf.SetCharSpace(CharSpace());
    } else {
        pdf.SetCharSpace(0);
        double w = pdf.TextWidth(Caption);
        int n = CharCount(Caption);
        double s = n < 2 ? 0 : (Width() - w) / (n - 1);
        if (s > 0)
            pdf.SetCharSpace(static_cast<float>(s));
    }
    pdf.TextInRect(PdfRectOf(rect, canvas.PageHeight()), Caption, Alignment, Clipping);
}

void TPRText::SetLeading(float value) {
    if (value >= 0)
        leading_ = value;
}

std::string TPRText::Text() const {
    return JoinLines(Lines);
}

void TPRText::SetText(std::string_view text) {
    Lines.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        Lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        Lines.emplace_back(text.substr(start));
}

void TPRText::Print(TPRCanvas& canvas, const TRect& rect) {
    TPdfCanvas& pdf = *canvas.PdfCanvas();
    SelectFont(pdf);
    pdf.SetFillRGB(FontColor());
    pdf.SetCharSpace(CharSpace());
    pdf.SetWordSpace(WordSpace());
    pdf.SetLeading(leading_);
    pdf.TextInRectWrapped(PdfRectOf(rect, canvas.PageHeight()), Text(), WordWrap);
}

// ---- shapes ----

void TPRShape::SetLineWidth(float value) {
    if (value >= 0)
        lineWidth_ = value;
}

void TPRRect::Print(TPRCanvas& canvas, const TRect& rect) {
    const int w = Width(), h = Height();
    const bool visibleLine = LineColor != clNone && LineStyle != TPenStyle::psClear;
    const bool fill = FillColor != clNone && w > 1 && h > 1;
    if (w <= 1 && h <= 1)
        return;
    if ((w <= 1 || h <= 1) && !visibleLine)
        return;
    // Neither fill nor line: nothing would be seen, so nothing is written.
    if (!visibleLine && !fill)
        return;

    TPdfCanvas& pdf = *canvas.PdfCanvas();
    switch (LineStyle) {
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame:
        pdf.SetDash({0}, 0);
        break;
    case TPenStyle::psDash:
        pdf.SetDash({16, 8}, 0);
        break;
    case TPenStyle::psDot:
        pdf.SetDash({3}, 0);
        break;
    case TPenStyle::psDashDot:
        pdf.SetDash({8, 7, 2, 7}, 0);
        break;
    case TPenStyle::psDashDotDot:
        pdf.SetDash({8, 4, 2, 4, 2, 4}, 0);
        break;
    case TPenStyle::psClear:
        break;
    }

    const int pageHeight = canvas.PageHeight();
    const float x1 = static_cast<float>(rect.Left);
    const float y1 = static_cast<float>(pageHeight - rect.Top);
    const float x2 = static_cast<float>(w > 1 ? rect.Right - 1 : rect.Right);
    const float y2 =
        static_cast<float>(h > 1 ? pageHeight - rect.Bottom + 1 : pageHeight - rect.Bottom);
    pdf.MoveTo(x1, y1);
    if (w > 1) {
        pdf.LineTo(x2, y1);
        if (h > 1)
            pdf.LineTo(x2, y2);
    }
    if (h > 1)
        pdf.LineTo(x1, y2);

    if (fill)
        pdf.SetFillRGB(FillColor);
    if (LineColor != clNone) {
        pdf.SetStrokeRGB(LineColor);
        pdf.SetLineWidth(LineWidth());
    }

    if (w <= 1 || h <= 1) {
        pdf.StrokePath();
        pdf.EndPathNoPaint();
    } else if (!fill) {
        pdf.CloseAndStroke();
    } else if (!visibleLine) {
        pdf.ClosePath();
        pdf.FillPath();
    } else {
        pdf.CloseFillAndStroke();
    }
}

// ---- images ----

TPRImage::TPRImage(std::string name) : TPRItem(std::move(name)), seed_(ClockSeed()) {}

bool TPRImage::TakesPicture(const TPRPicture& picture) const {
    return std::holds_alternative<std::monostate>(picture) ||
           std::holds_alternative<Bitmap>(picture);
}

void TPRImage::SetPicture(TPRPicture picture) {
    if (!TakesPicture(picture))
        throw std::runtime_error(WrongPictureMessage());
    picture_ = std::move(picture);
}

bool TPRImage::HasPicture() const {
    const Bitmap* bitmap = std::get_if<Bitmap>(&picture_);
    return bitmap != nullptr && !bitmap->Empty();
}

int TPRImage::PictureWidth() const {
    if (const auto* bitmap = std::get_if<Bitmap>(&picture_))
        return bitmap->Width();
    if (const auto* jpeg = std::get_if<JpegPicture>(&picture_))
        return jpeg->Width;
    return 0;
}

int TPRImage::PictureHeight() const {
    if (const auto* bitmap = std::get_if<Bitmap>(&picture_))
        return bitmap->Height();
    if (const auto* jpeg = std::get_if<JpegPicture>(&picture_))
        return jpeg->Height;
    return 0;
}

std::uint32_t TPRImage::Random(std::uint32_t range) {
    // The linear congruential generator of the toolkit the components come from.
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * range) >> 32);
}

std::unique_ptr<TPdfImage> TPRImage::CreateImage() const {
    if (const auto* bitmap = std::get_if<Bitmap>(&picture_))
        return CreateImageFrom(bitmap, CreatorName());
    return CreateImageFrom(&std::get<JpegPicture>(picture_), CreatorName());
}

std::string TPRImage::UnusedImageName(TPdfDoc& doc) {
    // Counts up from a random start; after 65534 comes 0.
    std::uint32_t number = Random(65534);
    for (int tries = 0; tries < 65535; ++tries) {
        std::string name = Name() + std::to_string(number);
        if (doc.GetXObject(name) == nullptr)
            return name;
        number = number >= 65534 ? 0 : number + 1;
    }
    throw std::runtime_error("image count over max value..");
}

void TPRImage::Print(TPRCanvas& canvas, const TRect& rect) {
    if (!HasPicture())
        return;
    TPdfCanvas& pdf = *canvas.PdfCanvas();
    TPdfDoc& doc = *pdf.GetDoc();
    std::string name;
    if (SharedImage) {
        name = Name();
        if (doc.GetXObject(name) == nullptr)
            doc.AddImage(name, CreateImage());
    } else {
        name = UnusedImageName(doc);
        doc.AddImage(name, CreateImage());
    }
    const int pageHeight = canvas.PageHeight();
    const int w = Width(), h = Height();
    if (Stretch) {
        pdf.DrawXObject(static_cast<float>(rect.Left), static_cast<float>(pageHeight - rect.Bottom),
                        static_cast<float>(w), static_cast<float>(h), name);
    } else {
        const int pw = PictureWidth(), ph = PictureHeight();
        pdf.DrawXObjectEx(static_cast<float>(rect.Left),
                          static_cast<float>(pageHeight - rect.Top - ph), static_cast<float>(pw),
                          static_cast<float>(ph), static_cast<float>(rect.Left),
                          static_cast<float>(pageHeight - rect.Top - h), static_cast<float>(w),
                          static_cast<float>(h), name);
    }
}

// ---- report ----

TPReport::TPReport() : creationDate_(Now()) {}

TPReport::~TPReport() {
    AbortDoc();
}

void TPReport::RequireClosed(const char* setter) const {
    if (doc_ != nullptr)
        throw EPdfInvalidOperation(std::string(setter) + " --invalid operation.");
}

void TPReport::SetAuthor(std::string value) {
    RequireClosed("SetAuthor");
    author_ = std::move(value);
}

void TPReport::SetCreationDate(TDateTime value) {
    RequireClosed("SetCreationDate");
    creationDate_ = value;
}

void TPReport::SetCreator(std::string value) {
    RequireClosed("SetCreator");
    creator_ = std::move(value);
}

void TPReport::SetKeywords(std::string value) {
    RequireClosed("SetKeyWords");
    keywords_ = std::move(value);
}

void TPReport::SetModDate(TDateTime value) {
    RequireClosed("SetModDate");
    modDate_ = value;
}

void TPReport::SetSubject(std::string value) {
    RequireClosed("SetSubject");
    subject_ = std::move(value);
}

void TPReport::SetTitle(std::string value) {
    RequireClosed("SetTitle");
    title_ = std::move(value);
}

void TPReport::SetPageLayout(TPdfPageLayout value) {
    RequireClosed("SetPageLayout");
    pageLayout_ = value;
}

void TPReport::SetPageMode(TPdfPageMode value) {
    RequireClosed("SetPageMode");
    pageMode_ = value;
}

void TPReport::SetNonFullScreenPageMode(TPdfPageMode value) {
    RequireClosed("SetNonFullScreenPageMode");
    nonFullScreenPageMode_ = value == pmFullScreen ? pmUseNone : value;
}

void TPReport::SetUseOutlines(bool value) {
    RequireClosed("SetUseOutlines");
    useOutlines_ = value;
}

void TPReport::SetViewerPreference(TPdfViewerPreferences value) {
    RequireClosed("SetViewerPreference");
    viewerPreference_ = value;
}

void TPReport::BeginDoc() {
    AbortDoc();
    auto doc = std::make_unique<TPdfDoc>();
    doc->SetUseOutlines(useOutlines_);
    doc->SetCompressionMethod(CompressionMethod);
    doc->NewDoc();
    TPROutlineRoot* outlineRoot = nullptr;
    if (useOutlines_) {
        TPdfOutlineRoot* root = doc->GetOutlineRoot();
        auto wrapper = std::make_unique<TPROutlineRoot>(root);
        outlineRoot = wrapper.get();
        root->SetReference(std::move(wrapper));
    }
    TPdfCatalog* catalog = doc->GetRoot();
    catalog->SetPageMode(pageMode_);
    catalog->SetPageLayout(pageLayout_);
    if (nonFullScreenPageMode_ != pmUseNone)
        catalog->SetNonFullScreenPageMode(nonFullScreenPageMode_);
    if (!viewerPreference_.Empty())
        catalog->SetViewerPreference(viewerPreference_);
    TPdfInfo* info = doc->GetInfo();
    info->SetAuthor(author_);
    info->SetCreationDate(ToPdfDate(creationDate_));
    info->SetCreator(creator_);
    info->SetKeywords(keywords_);
    info->SetModDate(ToPdfDate(modDate_));
    info->SetSubject(subject_);
    info->SetTitle(title_);
    doc_ = std::move(doc);
    outlineRoot_ = outlineRoot;
    pageCount_ = 0;
}

void TPReport::PrintPage(TPRPage& page) {
    if (doc_ == nullptr)
        throw EPdfInvalidOperation("PrintPage --invalid operation.");
    doc_->AddPage();
    ++pageCount_;
    canvas_.SetPdfCanvas(doc_->GetCanvas());
    page.Print(canvas_);
}

void TPReport::EndDoc() {
    if (doc_ == nullptr)
        throw EInvalidOperation("document is null..");
    // The document is discarded whether or not the file could be written.
    std::unique_ptr<TPdfDoc> doc = std::move(doc_);
    outlineRoot_ = nullptr;
    canvas_.SetPdfCanvas(nullptr);
    doc->SaveToFile(FileName);
}

void TPReport::AbortDoc() {
    canvas_.SetPdfCanvas(nullptr);
    outlineRoot_ = nullptr;
    doc_.reset();
}

void TPReport::SetOpenAction(TPRDestination* destination) {
    if (doc_ == nullptr)
        throw EPdfInvalidOperation("SetOpenAction --invalid operation.");
    doc_->GetRoot()->SetOpenAction(destination ? destination->PdfDestination() : nullptr);
}

TPROutlineRoot* TPReport::GetOutlineRoot() {
    if (doc_ == nullptr || outlineRoot_ == nullptr)
        throw EPdfInvalidOperation("GetOutlineRoot --invalid operation.");
    return outlineRoot_;
}

TPRDestination* TPReport::CreateDestination() {
    if (doc_ == nullptr)
        throw EPdfInvalidOperation("CreateDestination --invalid operation.");
    TPdfDestination* destination = doc_->CreateDestination();
    auto wrapper = std::make_unique<TPRDestination>(destination);
    TPRDestination* raw = wrapper.get();
    destination->SetReference(std::move(wrapper));
    raw->SetTop(-10);
    raw->SetZoom(1);
    return raw;
}

// ---- destinations and outlines ----

int TPRDestination::PageHeight() const {
    TPdfArray* box = data_->Page() ? data_->Page()->LookupArray("MediaBox") : nullptr;
    auto* height = box ? dynamic_cast<TPdfNumber*>(box->ItemAt(3)) : nullptr;
    return height ? height->Value() : data_->Doc()->DefaultPageHeight();
}

TPROutlineEntry* TPROutlineEntry::AddChild() {
    TPdfOutlineEntry* child = data_->AddChild();
    auto wrapper = std::make_unique<TPROutlineEntry>(child);
    TPROutlineEntry* raw = wrapper.get();
    child->SetReference(std::move(wrapper));
    return raw;
}

TPRDestination* TPROutlineEntry::Dest() const {
    TPdfDestination* dest = data_->Dest();
    return dest ? dynamic_cast<TPRDestination*>(dest->Reference()) : nullptr;
}

void TPROutlineEntry::SetDest(TPRDestination* value) {
    if (value != nullptr && value->PdfDestination()->Doc() != data_->Doc())
        throw EPdfInvalidOperation("SetDest --internal docs are not equal.");
    data_->SetDest(value ? value->PdfDestination() : nullptr);
}

} // namespace pendlar
