// The report layout components: a page is laid out like a paper form (a page holds layout
// panels, panels hold printable items) and a report prints such pages, one after the other,
// into a PDF document through the writer of PdfDoc.h.
//
// Layouts are in pixels, origin at the top left of the page, y downward; one pixel is one
// PDF point. An item on a page of height H at (left, top, right, bottom) lands at the PDF
// rectangle Left = left, Top = H - top, Right = right, Bottom = H - bottom. These are plain
// layout objects: nothing here depends on a screen.
//
// Ownership: a container owns the controls placed on it (Add / InsertControl); the report
// owns its open document, and every destination or outline wrapper it hands out is owned by
// the PDF-level object it wraps, so it lives exactly as long as that document.
#pragma once

#include "pdf/JpegPicture.h"
#include "pdf/PdfDoc.h"
#include "util/Bitmap.h"
#include "util/DateTime.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pendlar {

// A call that the component's state does not allow (the document is not open, …), the
// error class of the toolkit the components come from; distinct from EPdfInvalidOperation,
// which the writer and the metadata setters raise.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Colours: red in the lowest byte, then green, then blue.
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0;
inline constexpr TColor clNone = 0x1FFFFFFF; // no colour: no fill, no line
inline constexpr TColor clYellow = 0x00FFFF;

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
enum class TPRFontName : std::uint8_t {
    fnFixedWidth,
    fnArial,
    fnTimesRoman,
    fnGothic,
    fnMincyo,
    fnPGothic,
    fnPMincyo
};

// The PDF font (PdfFonts.h, PdfJpFonts.h) a font name selects in a bold and italic state.
std::string PdfFontNameOf(TPRFontName name, bool bold, bool italic);

// A rectangle in page pixels, right and bottom exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

class TPRCanvas;
class TPRDestination;
class TPROutlineRoot;
class TPRPage;
class TPRPanel;

// What every layout object shares: a name, a place in its parent, an alignment and the
// controls placed on it. Aligned children are laid out again whenever their parent's size
// changes, in the order top, bottom, left, right, client.
class TPRControl {
public:
    explicit TPRControl(std::string name = {});
    virtual ~TPRControl();
    TPRControl(const TPRControl&) = delete;
    TPRControl& operator=(const TPRControl&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    void SetBounds(int left, int top, int width, int height);
    // The control's rectangle in its parent's coordinates.
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);

    TPRControl* Parent() const { return parent_; }
    std::size_t ControlCount() const { return children_.size(); }
    TPRControl* Controls(std::size_t index) const { return children_[index].get(); }

    // Places a control on this one, which takes it. Items go only on panels; pages go
    // nowhere. The new control is aligned at once.
    void InsertControl(std::unique_ptr<TPRControl> control);
    template <class T, class... Args> T* Add(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = control.get();
        InsertControl(std::move(control));
        return raw;
    }
    // The first control of that name among this one's descendants, depth first.
    TPRControl* FindControl(std::string_view name) const;

    virtual bool IsPanel() const { return false; }
    virtual bool IsItem() const { return false; }
    virtual bool IsPage() const { return false; }

protected:
    // The area aligned children share, in this control's coordinates.
    virtual TRect AlignArea() const { return {0, 0, width_, height_}; }
    void Realign();

private:
    void PlaceAligned(int left, int top, int width, int height);

    std::string name_;
    int left_ = 0, top_ = 0, width_ = 100, height_ = 30;
    TAlign align_ = TAlign::alNone;
    TPRControl* parent_ = nullptr;
    std::vector<std::unique_ptr<TPRControl>> children_;
    bool aligning_ = false;
};

// Something printable on a panel. The base prints nothing.
class TPRItem : public TPRControl {
public:
    explicit TPRItem(std::string name = {});
    bool IsItem() const override { return true; }

    bool Printable() const { return printable_; }
    void SetPrintable(bool value) { printable_ = value; }

    // `rect` is the item's rectangle on the page, in pixels.
    virtual void Print(TPRCanvas& canvas, const TRect& rect);

private:
    bool printable_ = true;
};

// A panel: prints its children in child order, each at its bounds moved by the panel's
// place on the page (nested panels recursively, items only when printable).
class TPRPanel : public TPRControl {
public:
    explicit TPRPanel(std::string name = {});
    bool IsPanel() const override { return true; }
    virtual void Print(TPRCanvas& canvas, const TRect& rect);
};

using TPRPrintPanelEvent = std::function<void(TPRPanel& sender, TPRCanvas& canvas, const TRect&)>;

// A panel with hooks before and after its children are printed.
class TPRLayoutPanel : public TPRPanel {
public:
    explicit TPRLayoutPanel(std::string name = {}) : TPRPanel(std::move(name)) {}
    TPRPrintPanelEvent BeforePrint, AfterPrint;
    void Print(TPRCanvas& canvas, const TRect& rect) override;
};

using TPRPrintPageEvent = std::function<void(TPRPage& sender, TPRCanvas& canvas)>;

// One page design. Children are aligned inside the page inset by its margins and by the
// page's one-pixel bevel.
class TPRPage : public TPRControl {
public:
    explicit TPRPage(std::string name = {});
    bool IsPage() const override { return true; }

    int MarginTop() const { return marginTop_; }
    int MarginLeft() const { return marginLeft_; }
    int MarginRight() const { return marginRight_; }
    int MarginBottom() const { return marginBottom_; }
    // Negative values and values not below half the page width are ignored.
    void SetMarginTop(int value) { SetMargin(marginTop_, value); }
    void SetMarginLeft(int value) { SetMargin(marginLeft_, value); }
    void SetMarginRight(int value) { SetMargin(marginRight_, value); }
    void SetMarginBottom(int value) { SetMargin(marginBottom_, value); }

    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }

    // Runs before the panels are printed, with the new PDF page current.
    TPRPrintPageEvent OnPrintPage;

    // Sizes the current PDF page to this page, runs OnPrintPage, prints the panels.
    void Print(TPRCanvas& canvas);

protected:
    TRect AlignArea() const override;

private:
    void SetMargin(int& margin, int value);

    int marginTop_ = 32, marginLeft_ = 32, marginRight_ = 32, marginBottom_ = 32;
    bool visible_ = true;
};

// The report's view of the page being printed.
class TPRCanvas {
public:
    TPdfCanvas* PdfCanvas() const { return pdfCanvas_; }
    void SetPdfCanvas(TPdfCanvas* canvas) { pdfCanvas_ = canvas; }
    // Height of the current PDF page in points (pixels).
    int PageHeight() const;

private:
    TPdfCanvas* pdfCanvas_ = nullptr;
};

// A label or text: font, colour and spacing.
class TPRCustomLabel : public TPRItem {
public:
    explicit TPRCustomLabel(std::string name = {}) : TPRItem(std::move(name)) {}

    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value); // above 0xFFFFFFF fails
    TPRFontName FontName() const { return fontName_; }
    void SetFontName(TPRFontName value) { fontName_ = value; }
    float FontSize() const { return fontSize_; }
    void SetFontSize(float value); // 0 or less is ignored
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool value) { fontBold_ = value; }
    bool FontItalic() const { return fontItalic_; }
    void SetFontItalic(bool value) { fontItalic_ = value; }
    float CharSpace() const { return charSpace_; }
    void SetCharSpace(float value) { charSpace_ = value; }
    float WordSpace() const { return wordSpace_; }
    void SetWordSpace(float value); // negative is ignored

protected:
    // SetFont with the PDF font of this label's font settings.
    void SelectFont(TPdfCanvas& canvas) const;

private:
    TColor fontColor_ = clBlack;
    TPRFontName fontName_ = TPRFontName::fnGothic;
    float fontSize_ = 12;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    float charSpace_ = 0;
    float wordSpace_ = 0;
};

// One line of text in a rectangle, its baseline 0.85 font sizes below the top.
class TPRLabel : public TPRCustomLabel {
public:
    explicit TPRLabel(std::string name = {}) : TPRCustomLabel(std::move(name)) {}

    std::string Caption;
    TextAlignment Alignment = TextAlignment::Left;
    bool Clipping = false;
    // Spreads the characters over the label's width.
    bool AlignJustified = false;

    void Print(TPRCanvas& canvas, const TRect& rect) override;
};

// Lines of text, broken at CR LF and (with WordWrap) at spaces; what does not fit below is
// dropped.
class TPRText : public TPRCustomLabel {
public:
    explicit TPRText(std::string name = {}) : TPRCustomLabel(std::move(name)) {}

    std::vector<std::string> Lines;
    bool WordWrap = false;
    float Leading() const { return leading_; }
    void SetLeading(float value); // negative is ignored

    // The lines joined with CR LF, without leading and trailing blanks and control bytes.
    std::string Text() const;
    // Replaces the lines by the text split at CR LF, LF or CR.
    void SetText(std::string_view text);

    void Print(TPRCanvas& canvas, const TRect& rect) override;

private:
    float leading_ = 14;
};

class TPRShape : public TPRItem {
public:
    explicit TPRShape(std::string name = {}) : TPRItem(std::move(name)) {}

    float LineWidth() const { return lineWidth_; }
    void SetLineWidth(float value); // negative is ignored
    TColor LineColor = clBlack;
    TPenStyle LineStyle = TPenStyle::psSolid;
    TColor FillColor = clNone;

private:
    float lineWidth_ = 0;
};

// A rectangle outline, a filled rectangle, or (one pixel high or wide) a line. No graphics
// state is saved around it: its colours and line width stay set for what follows.
class TPRRect : public TPRShape {
public:
    explicit TPRRect(std::string name = {}) : TPRShape(std::move(name)) {}
    void Print(TPRCanvas& canvas, const TRect& rect) override;
};

// What an image item shows: nothing, a bitmap or a JPEG picture.
using TPRPicture = std::variant<std::monostate, Bitmap, JpegPicture>;

// A bitmap, drawn stretched over the item or at its pixel size clipped to the item. Shared
// images are one image object per document under the item's name; otherwise each print
// adds an image of its own under the name followed by a free number.
class TPRImage : public TPRItem {
public:
    explicit TPRImage(std::string name = {});

    const TPRPicture& Picture() const { return picture_; }
    // Fails for a picture of the wrong kind; an empty picture is always taken.
    void SetPicture(TPRPicture picture);

    bool SharedImage = true;
    bool Stretch = true;

    void Print(TPRCanvas& canvas, const TRect& rect) override;

protected:
    // The picture kind this item takes.
    virtual bool TakesPicture(const TPRPicture& picture) const;
    virtual const char* WrongPictureMessage() const { return "only bitmap image is allowed."; }
    virtual bool HasPicture() const;
    virtual const char* CreatorName() const { return "Pdf-Bitmap"; }
    virtual std::string UnusedImageName(TPdfDoc& doc);
    std::unique_ptr<TPdfImage> CreateImage() const;
    // The picture's size in pixels.
    int PictureWidth() const;
    int PictureHeight() const;
    // A pseudo-random number in 0 .. range - 1.
    std::uint32_t Random(std::uint32_t range);

    TPRPicture picture_;

private:
    std::uint32_t seed_;
};

// A report: opens a PDF document, prints laid-out pages into it and writes the file.
class TPReport {
public:
    TPReport();
    ~TPReport(); // discards an open document
    TPReport(const TPReport&) = delete;
    TPReport& operator=(const TPReport&) = delete;

    // The Shift-JIS path EndDoc writes.
    std::string FileName = "default.pdf";
    TPdfCompressionMethod CompressionMethod = cmNone;

    // The document settings; setting them while a document is open fails.
    const std::string& Author() const { return author_; }
    void SetAuthor(std::string value);
    TDateTime CreationDate() const { return creationDate_; }
    void SetCreationDate(TDateTime value);
    const std::string& Creator() const { return creator_; }
    void SetCreator(std::string value);
    const std::string& Keywords() const { return keywords_; }
    void SetKeywords(std::string value);
    TDateTime ModDate() const { return modDate_; }
    void SetModDate(TDateTime value);
    const std::string& Subject() const { return subject_; }
    void SetSubject(std::string value);
    const std::string& Title() const { return title_; }
    void SetTitle(std::string value);
    TPdfPageLayout PageLayout() const { return pageLayout_; }
    void SetPageLayout(TPdfPageLayout value);
    TPdfPageMode PageMode() const { return pageMode_; }
    void SetPageMode(TPdfPageMode value);
    TPdfPageMode NonFullScreenPageMode() const { return nonFullScreenPageMode_; }
    void SetNonFullScreenPageMode(TPdfPageMode value); // pmFullScreen is kept as pmUseNone
    bool UseOutlines() const { return useOutlines_; }
    void SetUseOutlines(bool value);
    TPdfViewerPreferences ViewerPreference() const { return viewerPreference_; }
    void SetViewerPreference(TPdfViewerPreferences value);

    // Discards an open document and opens a new one with the settings above.
    void BeginDoc();
    // Adds a PDF page and prints the page design onto it.
    void PrintPage(TPRPage& page);
    // Writes the document to FileName and closes it. The file appears only when complete;
    // on any failure no file is left, an existing one stays as it was, and the document is
    // discarded all the same.
    void EndDoc();
    // Discards the open document without writing.
    void AbortDoc();
    bool IsOpen() const { return doc_ != nullptr; }

    // The document opens at this destination (the last one set wins).
    void SetOpenAction(TPRDestination* destination);
    TPROutlineRoot* GetOutlineRoot();
    // A destination on the page printed last, its top 10 pixels above the page.
    TPRDestination* CreateDestination();
    // Pages printed since BeginDoc.
    int PageCount() const { return pageCount_; }
    TPRCanvas& Canvas() { return canvas_; }

private:
    void RequireClosed(const char* setter) const;

    std::unique_ptr<TPdfDoc> doc_;
    TPRCanvas canvas_;
    TPROutlineRoot* outlineRoot_ = nullptr;
    int pageCount_ = 0;

    std::string author_, creator_, keywords_, subject_, title_;
    TDateTime creationDate_;
    TDateTime modDate_ = 0;
    TPdfPageLayout pageLayout_ = plSinglePage;
    TPdfPageMode pageMode_ = pmUseNone;
    TPdfPageMode nonFullScreenPageMode_ = pmUseNone;
    bool useOutlines_ = false;
    TPdfViewerPreferences viewerPreference_;
};

// A place in the document, in page pixels: Top and Bottom count from the top of the page
// (stored as the page height minus the value), Left and Right pass through.
class TPRDestination : public PdfAttachment {
public:
    explicit TPRDestination(TPdfDestination* destination) : data_(destination) {}

    TPdfDestination* PdfDestination() const { return data_; }
    TPdfDestinationType DestinationType() const { return data_->DestinationType(); }
    void SetDestinationType(TPdfDestinationType value) { data_->SetDestinationType(value); }
    int Left() const { return data_->Left(); }
    void SetLeft(int value) { data_->SetLeft(value); }
    int Top() const { return PageHeight() - data_->Top(); }
    void SetTop(int value) { data_->SetTop(PageHeight() - value); }
    int Right() const { return data_->Right(); }
    void SetRight(int value) { data_->SetRight(value); }
    int Bottom() const { return PageHeight() - data_->Bottom(); }
    void SetBottom(int value) { data_->SetBottom(PageHeight() - value); }
    float Zoom() const { return data_->Zoom(); }
    void SetZoom(float value) { data_->SetZoom(value); }

private:
    int PageHeight() const;

    TPdfDestination* data_;
};

// One bookmark of the open document.
class TPROutlineEntry : public PdfAttachment {
public:
    explicit TPROutlineEntry(TPdfOutlineEntry* entry) : data_(entry) {}

    TPdfOutlineEntry* PdfEntry() const { return data_; }
    // A new last child.
    TPROutlineEntry* AddChild();
    const std::string& Title() const { return data_->Title(); }
    void SetTitle(std::string value) { data_->SetTitle(std::move(value)); }
    TPRDestination* Dest() const;
    // The destination must belong to this entry's document.
    void SetDest(TPRDestination* value);
    bool Opened() const { return data_->Opened(); }
    void SetOpened(bool value) { data_->SetOpened(value); }

private:
    TPdfOutlineEntry* data_;
};

class TPROutlineRoot : public TPROutlineEntry {
public:
    using TPROutlineEntry::TPROutlineEntry;
};

} // namespace pendlar
