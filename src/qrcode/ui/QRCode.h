// The QR symbol picture control: a widget that shows the picture its encoder core draws.
// Every property is the core's (see QRCodeCore.h); this layer adds what needs the window
// system: the comment font, colours as QColor, the vector picture for picEMF / picWMF, the
// clipboard and the events with their sender. Texts are Shift-JIS.
#pragma once

#include "qrcode/QRCodeCore.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMetaObject>
#include <QPicture>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pendlar {

class QPictureCanvas;

class TQRCode : public QWidget {
public:
    // Sender and Watch (true only while a clipboard change is being applied).
    using TNotifyWatchEvent = std::function<void(TQRCode& sender, bool watch)>;

    explicit TQRCode(QWidget* parent = nullptr);
    ~TQRCode() override;

    // The encoder core, for the settings this layer only forwards.
    QRCodeCore& Core() { return core_; }
    const QRCodeCore& Core() const { return core_; }

    // ---- the data
    const std::string& Code() const { return core_.Code(); }
    void SetCode(const std::string& sjis) { core_.SetCode(sjis); }
    int Len() const { return core_.Len(); }
    bool Binary() const { return core_.Binary(); }
    bool BinaryOperation() const { return core_.BinaryOperation(); }
    void SetBinaryOperation(bool on) { core_.SetBinaryOperation(on); }

    // ---- splitting
    TQRMode Mode() const { return core_.Mode(); }
    void SetMode(TQRMode mode) { core_.SetMode(mode); }
    int Count() const { return core_.Count(); }
    void SetCount(int count) { core_.SetCount(count); }
    int Column() const { return core_.Column(); }
    void SetColumn(int column) { core_.SetColumn(column); }
    int Parity() const { return core_.Parity(); }
    TNumbering Numbering() const { return core_.Numbering(); }
    void SetNumbering(TNumbering n) { core_.SetNumbering(n); }

    // ---- comments
    const std::string& CommentUp() const { return core_.CommentUp(); }
    void SetCommentUp(const std::string& sjis) { core_.SetCommentUp(sjis); }
    const std::string& CommentDown() const { return core_.CommentDown(); }
    void SetCommentDown(const std::string& sjis) { core_.SetCommentDown(sjis); }
    TLocation CommentUpLoc() const { return core_.CommentUpLoc(); }
    void SetCommentUpLoc(TLocation loc) { core_.SetCommentUpLoc(loc); }
    TLocation CommentDownLoc() const { return core_.CommentDownLoc(); }
    void SetCommentDownLoc(TLocation loc) { core_.SetCommentDownLoc(loc); }
    const QFont& ComFont() const { return comFont_; }
    void SetComFont(const QFont& font);
    const QColor& ComFontColor() const { return comFontColor_; }
    void SetComFontColor(const QColor& colour);

    // ---- geometry
    int SymbolWidth() const { return core_.SymbolWidth(); }
    int SymbolHeight() const { return core_.SymbolHeight(); }
    long long SymbolWidthS() const { return core_.SymbolWidthS(); }
    long long SymbolHeightS() const { return core_.SymbolHeightS(); }
    long long SymbolWidthA() const { return core_.SymbolWidthA(); }
    long long SymbolHeightA() const { return core_.SymbolHeightA(); }
    int QuietZone() const { return core_.QuietZone(); }
    int SymbolLeft() const { return core_.SymbolLeft(); }
    void SetSymbolLeft(int v) { core_.SetSymbolLeft(v); }
    int SymbolTop() const { return core_.SymbolTop(); }
    void SetSymbolTop(int v) { core_.SetSymbolTop(v); }
    int SymbolSpaceUp() const { return core_.SymbolSpaceUp(); }
    void SetSymbolSpaceUp(int v) { core_.SetSymbolSpaceUp(v); }
    int SymbolSpaceDown() const { return core_.SymbolSpaceDown(); }
    void SetSymbolSpaceDown(int v) { core_.SetSymbolSpaceDown(v); }
    int SymbolSpaceLeft() const { return core_.SymbolSpaceLeft(); }
    void SetSymbolSpaceLeft(int v) { core_.SetSymbolSpaceLeft(v); }
    int SymbolSpaceRight() const { return core_.SymbolSpaceRight(); }
    void SetSymbolSpaceRight(int v) { core_.SetSymbolSpaceRight(v); }

    // ---- encoding
    int Version() const { return core_.Version(); }
    void SetVersion(int v) { core_.SetVersion(v); }
    int Emode() const { return core_.Emode(); }
    void SetEmode(int v) { core_.SetEmode(v); }
    int EmodeR() const { return core_.EmodeR(); }
    int Eclevel() const { return core_.Eclevel(); }
    void SetEclevel(int v) { core_.SetEclevel(v); }
    int Masktype() const { return core_.Masktype(); }
    void SetMasktype(int v) { core_.SetMasktype(v); }
    int MasktypeR() const { return core_.MasktypeR(); }
    int Capacity() const { return core_.Capacity(); }
    int Pxmag() const { return core_.Pxmag(); }
    void SetPxmag(int v) { core_.SetPxmag(v); }
    int Angle() const { return core_.Angle(); }
    void SetAngle(int v) { core_.SetAngle(v); }
    std::vector<std::string> PBM() { return core_.PBM(); }

    // ---- drawing
    bool Match() const { return core_.Match(); }
    void SetMatch(bool on) { core_.SetMatch(on); }
    bool Transparent() const { return core_.Transparent(); }
    void SetTransparent(bool on);
    QColor SymbolColor() const;
    void SetSymbolColor(const QColor& colour);
    QColor BackColor() const;
    void SetBackColor(const QColor& colour);
    TPictures SymbolPicture() const { return core_.SymbolPicture(); }
    void SetSymbolPicture(TPictures kind) { core_.SetSymbolPicture(kind); }
    bool SymbolEnabled() const { return core_.SymbolEnabled(); }
    void SetSymbolEnabled(bool on) { core_.SetSymbolEnabled(on); }
    bool SymbolDebug() const { return core_.SymbolDebug(); }
    void SetSymbolDebug(bool on) { core_.SetSymbolDebug(on); }
    bool SymbolDisped() const { return core_.SymbolDisped(); }
    bool ClearOption() const { return core_.ClearOption(); }
    void SetClearOption(bool on) { core_.SetClearOption(on); }

    // Encodes and draws; throws std::runtime_error ("Illegal ...") for an unsound split.
    void PaintSymbol();
    // Empties the picture and resets SymbolDisped.
    void Clear();
    // Puts the picture on the clipboard: the bitmap, or with picEMF / picWMF the vector
    // picture (rendered as an image, with the QPicture data beside it). When nothing is
    // shown the bitmap goes as it stands; an empty picture leaves the clipboard alone.
    void CopyToClipboard();

    // The bitmap picture; empty when nothing was drawn or after Clear.
    QImage Picture() const;
    // The vector picture of the last drawing with picEMF / picWMF (empty otherwise).
    QPicture VectorPicture() const;

    // ---- clipboard watch
    bool ClipWatch() const { return clipWatch_; }
    void SetClipWatch(bool on);

    TNotifyWatchEvent OnChangeCode, OnChangedCode, OnPaintSymbol, OnPaintedSymbol;

    // The Qt picture of a Bitmap (Rgb24 or indexed).
    static QImage ToImage(const Bitmap& bitmap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ClipboardChanged();
    Bitmap RenderComment(const std::string& sjis, Rgb background) const;

    QRCodeCore core_;
    std::unique_ptr<QPictureCanvas> vector_;
    QFont comFont_;
    QColor comFontColor_ = Qt::black;
    bool clipWatch_ = false;
    bool ignoreClipboard_ = false;
    bool resizing_ = false;
    QMetaObject::Connection clipConnection_;
};

} // namespace pendlar
