// A PDF document under construction: catalog, information, page tree, outlines,
// destinations, annotations, fonts and images, and the canvas that writes page content and
// measures text with the fonts' metrics.
//
// Coordinates are PDF points, origin at the lower left of the page, y upward. A document is
// reusable: NewDoc starts one (freeing the previous), AddPage adds pages, SaveToStream or
// SaveToFile writes it, FreeDoc or destruction ends it.
#pragma once

#include "pdf/PdfTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

class TPdfDoc;
class TPdfDestination;

// An object of a higher layer (the report's wrapper of a destination or outline entry) that
// lives exactly as long as the PDF-level object it wraps.
class PdfAttachment {
public:
    virtual ~PdfAttachment() = default;
};

// A rectangle in PDF coordinates, Top above Bottom.
struct TPdfRect {
    float Left = 0, Top = 0, Right = 0, Bottom = 0;
};

enum TPdfPageLayout : std::uint8_t { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPdfPageMode : std::uint8_t { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TPdfViewerPreference : std::uint8_t {
    vpHideToolbar,
    vpHideMenubar,
    vpHideWindowUI,
    vpFitWindow,
    vpCenterWindow
};
enum TPdfCompressionMethod : std::uint8_t { cmNone };

// A set of viewer preferences.
class TPdfViewerPreferences {
public:
    TPdfViewerPreferences() = default;
    TPdfViewerPreferences(std::initializer_list<TPdfViewerPreference> items) {
        for (auto item : items)
            Include(item);
    }
    void Include(TPdfViewerPreference item) { bits_ |= 1u << item; }
    void Exclude(TPdfViewerPreference item) { bits_ &= ~(1u << item); }
    bool Contains(TPdfViewerPreference item) const { return (bits_ >> item) & 1u; }
    bool Empty() const { return bits_ == 0; }
    friend bool operator==(TPdfViewerPreferences, TPdfViewerPreferences) = default;

private:
    unsigned bits_ = 0;
};

enum class TPdfDestinationType : std::uint8_t { XYZ, Fit, FitH, FitV, FitR, FitB, FitBH, FitBV };

enum class TPdfAnnotationSubtype : std::uint8_t {
    Text,
    Link,
    Sound,
    FreeText,
    Stamp,
    Square,
    Circle,
    StrikeOut,
    Highlight,
    Underline,
    Ink,
    FileAttachment,
    Popup
};

enum class TextAlignment : std::uint8_t { Left, Right, Center };

// Binds an object of this layer to the dictionary it fills.
class TPdfDictionaryWrapper {
public:
    TPdfDictionaryWrapper() = default;
    virtual ~TPdfDictionaryWrapper() = default;
    TPdfDictionaryWrapper(const TPdfDictionaryWrapper&) = delete;
    TPdfDictionaryWrapper& operator=(const TPdfDictionaryWrapper&) = delete;

    virtual void SetData(TPdfDictionary* data) { data_ = data; }
    TPdfDictionary* Data() const { return data_; }
    bool HasData() const { return data_ != nullptr; }

protected:
    TPdfDictionary* data_ = nullptr;
};

// The document information dictionary; every entry is a text.
class TPdfInfo : public TPdfDictionaryWrapper {
public:
    void SetAuthor(std::string value) { SetText("Author", std::move(value)); }
    void SetCreationDate(const PdfDateTime& value) {
        SetText("CreationDate", PdfDateString(value));
    }
    void SetModDate(const PdfDateTime& value) { SetText("ModDate", PdfDateString(value)); }
    void SetCreator(std::string value) { SetText("Creator", std::move(value)); }
    void SetTitle(std::string value) { SetText("Title", std::move(value)); }
    void SetSubject(std::string value) { SetText("Subject", std::move(value)); }
    void SetKeywords(std::string value) { SetText("Keywords", std::move(value)); }

    std::string Author() const { return Text("Author"); }
    std::string Creator() const { return Text("Creator"); }
    std::string Title() const { return Text("Title"); }
    std::string Subject() const { return Text("Subject"); }
    std::string Keywords() const { return Text("Keywords"); }

private:
    void SetText(std::string_view key, std::string value);
    std::string Text(std::string_view key) const;
};

class TPdfCatalog : public TPdfDictionaryWrapper {
public:
    void SetPageLayout(TPdfPageLayout value);
    TPdfPageLayout PageLayout() const;
    void SetPageMode(TPdfPageMode value);
    TPdfPageMode PageMode() const;
    void SetNonFullScreenPageMode(TPdfPageMode value);
    void SetViewerPreference(TPdfViewerPreferences value);
    // Takes only a dictionary whose Type is Pages.
    void SetPages(TPdfDictionary* pages);
    TPdfDictionary* Pages() const;

    void SetOpenAction(TPdfDestination* destination) { openAction_ = destination; }
    TPdfDestination* OpenAction() const { return openAction_; }
    // Writes the open action into the catalog, or removes it when none is set.
    void SaveOpenAction();

private:
    TPdfDictionary* ViewerPreferences();

    TPdfDestination* openAction_ = nullptr;
};

// A place in the document: a page and how to show it.
class TPdfDestination {
public:
    // On the document's current page.
    explicit TPdfDestination(TPdfDoc* doc);

    TPdfDestinationType DestinationType() const { return type_; }
    void SetDestinationType(TPdfDestinationType value) { type_ = value; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }
    // Negative values are stored as -1.
    void SetLeft(int value) { left_ = value < 0 ? -1 : value; }
    void SetTop(int value) { top_ = value < 0 ? -1 : value; }
    void SetRight(int value) { right_ = value < 0 ? -1 : value; }
    void SetBottom(int value) { bottom_ = value < 0 ? -1 : value; }
    float Zoom() const { return zoom_; }
    void SetZoom(float value); // 0 to 10

    TPdfDoc* Doc() const { return doc_; }
    TPdfDictionary* Page() const { return page_; }

    // The destination array: the page, the type name and its operands.
    std::unique_ptr<TPdfArray> GetValue() const;

    void SetReference(std::unique_ptr<PdfAttachment> reference) {
        reference_ = std::move(reference);
    }
    PdfAttachment* Reference() const { return reference_.get(); }

private:
    TPdfDoc* doc_;
    TPdfDictionary* page_;
    TPdfDestinationType type_ = TPdfDestinationType::XYZ;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    float zoom_ = 1.0f;
    std::unique_ptr<PdfAttachment> reference_;
};

// One bookmark. Entries are made with AddChild and belong to the document.
class TPdfOutlineEntry : public TPdfDictionaryWrapper {
public:
    // A new last child of `parent` (which must exist), registered in parent's document.
    static TPdfOutlineEntry* CreateEntry(TPdfOutlineEntry* parent);
    TPdfOutlineEntry* AddChild() { return CreateEntry(this); }

    const std::string& Title() const { return title_; }
    void SetTitle(std::string value) { title_ = std::move(value); }
    TPdfDestination* Dest() const { return dest_; }
    void SetDest(TPdfDestination* value) { dest_ = value; }
    bool Opened() const { return opened_; }
    void SetOpened(bool value) { opened_ = value; }

    TPdfOutlineEntry* Parent() const { return parent_; }
    TPdfOutlineEntry* Next() const { return next_; }
    TPdfOutlineEntry* Prev() const { return prev_; }
    TPdfOutlineEntry* First() const { return first_; }
    TPdfOutlineEntry* Last() const { return last_; }
    int Count() const { return count_; }
    TPdfDoc* Doc() const { return doc_; }

    // Writes this entry, its descendants and its following siblings into their dictionaries.
    virtual void Save();

    void SetReference(std::unique_ptr<PdfAttachment> reference) {
        reference_ = std::move(reference);
    }
    PdfAttachment* Reference() const { return reference_.get(); }

protected:
    explicit TPdfOutlineEntry(TPdfDoc* doc) : doc_(doc) {}

    TPdfOutlineEntry* parent_ = nullptr;
    TPdfOutlineEntry* next_ = nullptr;
    TPdfOutlineEntry* prev_ = nullptr;
    TPdfOutlineEntry* first_ = nullptr;
    TPdfOutlineEntry* last_ = nullptr;
    TPdfDestination* dest_ = nullptr;
    TPdfDoc* doc_;
    std::string title_;
    bool opened_ = false;
    int count_ = 0;

private:
    std::unique_ptr<PdfAttachment> reference_;
};

class TPdfOutlineRoot : public TPdfOutlineEntry {
public:
    explicit TPdfOutlineRoot(TPdfDoc* doc) : TPdfOutlineEntry(doc) { opened_ = true; }
    void Save() override;
};

// A font of the document (the kinds are in PdfFonts.h and PdfJpFonts.h).
class TPdfFont : public TPdfDictionaryWrapper {
public:
    TPdfFont(TPdfXref* xref, std::string_view name) : xref_(xref), name_(name) {}

    // The name the font was created under (GetFont's name).
    const std::string& Name() const { return name_; }
    // Width of the character at a 1-based byte position, in thousandths of the font size.
    virtual int CharWidth(std::string_view text, int position) const = 0;
    // Creates and registers the font's dictionaries and reads its widths back; the font
    // registry (CreatePdfFontKind) calls it once, right after construction.
    virtual void Build() = 0;

protected:
    TPdfXref* xref_;
    std::string name_;
};

// The text state of the canvas.
class TPdfCanvasAttribute {
public:
    float WordSpace() const { return wordSpace_; }
    float CharSpace() const { return charSpace_; }
    float FontSize() const { return fontSize_; }
    float Leading() const { return leading_; }
    std::int16_t HorizontalScaling() const { return horizontalScaling_; }
    TPdfFont* Font() const { return font_; }

    void SetWordSpace(float value);       // 0 or more
    void SetCharSpace(float value);       // -30 to 300
    void SetFontSize(float value);        // 0 to 300
    void SetLeading(float value);         // 0 to 300
    void SetHorizontalScaling(int value); // 10 to 300 percent
    void SetFont(TPdfFont* font) { font_ = font; }

    // Width of a text in points with this state; see TPdfCanvas::TextWidth.
    double TextWidth(std::string_view text) const;

private:
    float wordSpace_ = 0;
    float charSpace_ = 0;
    float fontSize_ = 0;
    float leading_ = 0;
    std::int16_t horizontalScaling_ = 100;
    TPdfFont* font_ = nullptr;
};

// Writes the content of the document's current page. Operands are written in the content
// number format. A virtual canvas writes nothing but still measures.
class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfDoc* doc) : doc_(doc) {}

    // Makes `page` current, keeping the text state of the page left behind.
    void SetPage(TPdfDictionary* page);
    TPdfDictionary* GetPage() const;
    TPdfDoc* GetDoc() const;
    bool IsVirtual() const { return virtual_; }
    void SetVirtual(bool value) { virtual_ = value; }
    TPdfCanvasAttribute& Attribute() { return attribute_; }
    const TPdfCanvasAttribute& Attribute() const { return attribute_; }

    // Graphics state and paths.
    void SaveState();
    void RestoreState();
    void ConcatMatrix(float a, float b, float c, float d, float e, float f);
    void SetDash(const std::vector<int>& lengths, int phase);
    void SetLineWidth(float width);
    void MoveTo(float x, float y);
    void LineTo(float x, float y);
    void AppendRect(float x, float y, float width, float height);
    void ClosePath();
    void EndPathNoPaint();
    void StrokePath();
    void CloseAndStroke();
    void FillPath();
    void CloseFillAndStroke();
    void ClipPath();

    // Colours: red in the lowest byte, then green, then blue; negative is black.
    void SetFillRGB(std::int32_t color);
    void SetStrokeRGB(std::int32_t color);

    // Text state and text.
    void SetCharSpace(float value);
    void SetWordSpace(float value);
    void SetLeading(float value);
    void SetHorizontalScaling(int value);
    void SetFont(std::string_view name, float size);
    void BeginText();
    void EndText();
    void MoveTextOrigin(float x, float y);
    void NextLine();
    void ShowString(std::string_view text);

    // Measuring with the current font, size, spacing and scaling.
    double TextWidth(std::string_view text) const;
    // The number of bytes of the text that fit into `width` points.
    int FitLength(std::string_view text, double width) const;
    // One line in a rectangle, its baseline 0.85 font sizes below the top.
    void TextInRect(const TPdfRect& rect, std::string_view text, TextAlignment alignment,
                    bool clipping);
    // Lines broken at spaces (when wordWrap) and at CR LF; what does not fit is dropped.
    void TextInRectWrapped(const TPdfRect& rect, std::string_view text, bool wordWrap);

    // External objects (images) registered under a name.
    void PaintXObject(std::string_view name);
    void DrawXObject(float x, float y, float width, float height, std::string_view name);
    void DrawXObjectEx(float x, float y, float width, float height, float clipX, float clipY,
                       float clipWidth, float clipHeight, std::string_view name);

    // The page's MediaBox.
    int PageHeight() const;
    int PageWidth() const;
    void SetPageWidth(int value);
    void SetPageHeight(int value);

private:
    friend class TPdfDoc;

    void Write(std::string_view bytes);
    bool HasContents() const { return contents_ != nullptr; }
    void SaveTextState();
    void ResetTextState();
    TPdfStream* RequireContents();
    void RequireXObject(std::string_view name, const char* caller);
    void Detach();

    TPdfDoc* doc_;
    TPdfDictionary* page_ = nullptr;
    TPdfStream* contents_ = nullptr;
    TPdfCanvasAttribute attribute_;
    bool virtual_ = false;
};

class TPdfDoc {
public:
    TPdfDoc();
    ~TPdfDoc();
    TPdfDoc(const TPdfDoc&) = delete;
    TPdfDoc& operator=(const TPdfDoc&) = delete;

    void NewDoc();
    void FreeDoc();
    bool HasDoc() const { return hasDoc_; }

    void AddPage();
    // Writes the whole file from the stream's start.
    void SaveToStream(PdfOutStream& out);
    // Writes the file to a temporary file beside the target and renames it over the target
    // once complete; a failure leaves no file behind and an existing one unchanged.
    void SaveToFile(std::string_view sjisPath);

    TPdfCanvas* GetCanvas();
    TPdfInfo* GetInfo();
    TPdfCatalog* GetRoot();
    TPdfOutlineRoot* GetOutlineRoot();

    TPdfFont* GetFont(std::string_view name);
    TPdfFont* CreateFont(std::string_view name);

    TPdfStream* GetXObject(std::string_view name) const;
    // Registers a direct object (the registry takes it) and names it.
    void RegisterXObject(TPdfObject* object, std::string_view name);
    void AddImage(std::string_view name, std::unique_ptr<TPdfStream> image);

    TPdfDictionary* AddAnotation(TPdfAnnotationSubtype subtype, const TPdfRect& rect);
    TPdfDestination* CreateDestination();

    TPdfXref* ObjectMgr() const { return xref_.get(); }
    TPdfTrailer* Trailer() const { return trailer_.get(); }
    TPdfDictionary* CurrentPages() const { return currentPages_; }

    int DefaultPageWidth() const { return defaultPageWidth_; }
    int DefaultPageHeight() const { return defaultPageHeight_; }
    bool UseOutlines() const { return useOutlines_; }
    void SetUseOutlines(bool value) { useOutlines_ = value; }
    TPdfCompressionMethod CompressionMethod() const { return compressionMethod_; }
    void SetCompressionMethod(TPdfCompressionMethod value) { compressionMethod_ = value; }

private:
    friend class TPdfOutlineEntry;

    TPdfDictionary* RegisterDictionary();

    bool hasDoc_ = false;
    std::unique_ptr<TPdfCatalog> root_;
    TPdfDictionary* currentPages_ = nullptr;
    std::unique_ptr<TPdfCanvas> canvas_;
    std::unique_ptr<TPdfHeader> header_;
    std::unique_ptr<TPdfTrailer> trailer_;
    std::unique_ptr<TPdfXref> xref_;
    std::unique_ptr<TPdfInfo> info_;
    std::vector<std::unique_ptr<TPdfFont>> fonts_;
    std::vector<std::unique_ptr<TPdfOutlineEntry>> outlineEntries_;
    std::vector<std::unique_ptr<TPdfDestination>> destinations_;
    TPdfOutlineRoot* outlineRoot_ = nullptr;
    std::unique_ptr<TPdfArray> xObjectList_;
    std::int16_t defaultPageWidth_ = 596;
    std::int16_t defaultPageHeight_ = 842;
    TPdfCompressionMethod compressionMethod_ = cmNone;
    bool useOutlines_ = false;
};

} // namespace pendlar
