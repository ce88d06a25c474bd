// The QR symbol control without its window: the text to encode and every setting of the
// control, the splitting of the data over symbols, the encoding of each symbol, the
// drawing of the symbol set into a bitmap picture and the PBM text.
//
// The window control holds one QRCodeCore, forwards its properties to it, connects the
// hooks (events, resizing, comment font, vector picture) and shows Picture(). Setters
// ignore values outside their ranges, store the rest and repaint, as the control does.
// Every text is Shift-JIS.
#pragma once

#include "qrcode/BitmapCanvas.h"
#include "qrcode/QRSymbolEncoder.h"
#include "qrcode/QRTypes.h"
#include "qrcode/SymbolCanvas.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pendlar {

class QRCodeCore {
public:
    QRCodeCore() = default;
    QRCodeCore(const QRCodeCore&) = delete;
    QRCodeCore& operator=(const QRCodeCore&) = delete;

    // ---- the data
    const std::string& Code() const { return code_; }
    void SetCode(const std::string& code);
    // The same as SetCode for a text taken from the clipboard: the events get Watch = true.
    void SetCodeFromClipboard(const std::string& code);
    // The data bytes after escape decoding.
    const std::string& Data() const { return data_; }
    int Len() const { return static_cast<int>(data_.size()); }
    bool Binary() const { return binary_; }
    bool BinaryOperation() const { return binaryOperation_; }
    void SetBinaryOperation(bool on);

    // ---- splitting over symbols
    TQRMode Mode() const { return mode_; }
    void SetMode(TQRMode mode);
    int Count() const { return count_; }
    void SetCount(int count);
    int Column() const { return column_; }
    void SetColumn(int column);
    int Parity() const { return parity_; }
    TNumbering Numbering() const { return numbering_; }
    void SetNumbering(TNumbering numbering);

    // ---- comments
    const std::string& CommentUp() const { return commentUp_; }
    void SetCommentUp(const std::string& text);
    const std::string& CommentDown() const { return commentDown_; }
    void SetCommentDown(const std::string& text);
    TLocation CommentUpLoc() const { return commentUpLoc_; }
    void SetCommentUpLoc(TLocation loc);
    TLocation CommentDownLoc() const { return commentDownLoc_; }
    void SetCommentDownLoc(TLocation loc);

    // ---- geometry (pixels)
    int SymbolWidth() const; // (modules per side + 8) x Pxmag
    int SymbolHeight() const { return SymbolWidth(); }
    long long SymbolWidthS() const; // plus the left and right spaces
    long long SymbolHeightS() const;
    long long SymbolWidthA() const; // the whole set
    long long SymbolHeightA() const;
    int QuietZone() const { return 4 * pxmag_; }
    int SymbolLeft() const { return symbolLeft_; }
    void SetSymbolLeft(int v);
    int SymbolTop() const { return symbolTop_; }
    void SetSymbolTop(int v);
    int SymbolSpaceUp() const { return spaceUp_; }
    void SetSymbolSpaceUp(int v);
    int SymbolSpaceDown() const { return spaceDown_; }
    void SetSymbolSpaceDown(int v);
    int SymbolSpaceLeft() const { return spaceLeft_; }
    void SetSymbolSpaceLeft(int v);
    int SymbolSpaceRight() const { return spaceRight_; }
    void SetSymbolSpaceRight(int v);

    // ---- encoding
    int Version() const { return version_; }
    void SetVersion(int v);
    int Emode() const { return emode_; }
    void SetEmode(int v);
    int EmodeR() const { return emodeR_; }
    int Eclevel() const { return eclevel_; }
    void SetEclevel(int v);
    int Masktype() const { return masktype_; }
    void SetMasktype(int v);
    int MasktypeR() const { return masktypeR_; }
    // Characters one symbol holds in EmodeR (alphanumeric while it is -1), times Count.
    int Capacity() const;
    int Pxmag() const { return pxmag_; }
    void SetPxmag(int v);
    int Angle() const { return angle_; }
    void SetAngle(int v);

    // The symbols as PBM text lines, rebuilt at each call: "P1", a comment line naming the
    // mode and count, "w w", then for each symbol that can be encoded two empty lines and
    // w rows of " 0" / " 1" entries with the quiet zone and every module Pxmag times.
    std::vector<std::string> PBM();

    // ---- drawing
    bool Match() const { return match_; }
    void SetMatch(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    Rgb SymbolColor() const { return symbolColor_; }
    void SetSymbolColor(Rgb c);
    Rgb BackColor() const { return backColor_; }
    void SetBackColor(Rgb c);
    TPictures SymbolPicture() const { return symbolPicture_; }
    void SetSymbolPicture(TPictures kind);
    bool SymbolEnabled() const { return symbolEnabled_; }
    void SetSymbolEnabled(bool on);
    bool SymbolDebug() const { return symbolDebug_; }
    void SetSymbolDebug(bool on) { symbolDebug_ = on; } // stores only
    bool SymbolDisped() const { return symbolDisped_; }
    bool ClearOption() const { return clearOption_; }
    void SetClearOption(bool on);

    // The size of the control; an empty picture takes it before drawing. Stores only.
    void SetControlSize(int width, int height);
    int ControlWidth() const { return controlWidth_; }
    int ControlHeight() const { return controlHeight_; }

    // Splits the data and draws every symbol that can be shown. SymbolDisped is true only
    // when every symbol of the set was shown. Throws std::runtime_error when the split is
    // not sound (see CheckQRSplit).
    void PaintSymbol();
    // Empties the picture and resets SymbolDisped.
    void Clear();
    const Bitmap& Picture() const { return picture_; }

    // Splits the data as a paint does (Count, Mode and Parity follow) and checks the split.
    void SplitData();
    // Part boundaries of the last split: Count + 1 offsets into Data().
    const std::vector<std::size_t>& Offsets() const { return offsets_; }
    // Encodes symbol i (1 to Count) of the last split.
    QRSymbol EncodeSymbol(int i) const;

    // ---- hooks for the window layer
    // Before and after Code changes, before and after drawing; the argument is Watch.
    std::function<void(bool)> OnChangeCode, OnChangedCode, OnPaintSymbol, OnPaintedSymbol;
    // With Match, the control takes the size of its picture.
    std::function<void(int, int)> OnMatchResize;
    // Renders comments; without one they are not drawn.
    TextRenderer CommentRenderer;
    // The vector picture drawn with SymbolPicture picEMF or picWMF; none: bitmap only.
    SymbolCanvas* VectorPicture = nullptr;

    // A picture larger than this many pixels is not made: the symbols are not shown.
    static constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

private:
    void ApplyCode(const std::string& code, bool watch);
    void DecodeData();
    void Fire(const std::function<void(bool)>& event) const;
    std::string NumberedComment(const std::string& comment, int i) const;
    bool DrawOneSymbol(int i, long long left, long long top, long long setLeft, long long setTop,
                       const QRSymbol& symbol);
    void DrawComments(SymbolCanvas& canvas, long long left, long long top, int i);

    std::string code_;
    std::string data_;
    bool binary_ = false;
    bool binaryOperation_ = false;
    TQRMode mode_ = qrSingle;
    int count_ = 1;
    int column_ = 16;
    int parity_ = 0;
    TNumbering numbering_ = nbrIfVoid;
    std::string commentUp_, commentDown_;
    TLocation commentUpLoc_ = locLeft, commentDownLoc_ = locLeft;
    int symbolLeft_ = 0, symbolTop_ = 0;
    int spaceUp_ = 0, spaceDown_ = 0, spaceLeft_ = 0, spaceRight_ = 0;
    int version_ = 1;
    int emode_ = -1, emodeR_ = -1;
    int eclevel_ = 0;
    int masktype_ = -1, masktypeR_ = -1;
    int pxmag_ = 1;
    int angle_ = 0;
    bool match_ = false;
    bool transparent_ = false;
    Rgb symbolColor_{0, 0, 0};
    Rgb backColor_{255, 255, 255};
    TPictures symbolPicture_ = picBMP;
    bool symbolEnabled_ = true;
    bool symbolDebug_ = false;
    bool symbolDisped_ = false;
    bool clearOption_ = false;
    int controlWidth_ = 0, controlHeight_ = 0;
    bool watching_ = false;

    std::vector<std::size_t> offsets_{0, 0};
    Bitmap picture_;
};

} // namespace pendlar
