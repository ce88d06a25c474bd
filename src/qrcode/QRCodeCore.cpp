#include "qrcode/QRCodeCore.h"

#include "qrcode/DataSplit.h"
#include "qrcode/QRTables.h"
#include "qrcode/TildeEscapes.h"

#include <algorithm>

namespace pendlar {
namespace {

// Longest part one symbol can possibly take (version 40, level L, numeric).
constexpr std::size_t kMaxPartBytes = 7089;

const char* ModeName(TQRMode mode) {
    switch (mode) {
    case qrConnect:
        return "Connect";
    case qrPlus:
        return "Plus";
    default:
        return "Single";
    }
}

} // namespace

// ---- the data

void QRCodeCore::SetCode(const std::string& code) {
    ApplyCode(code, false);
}

void QRCodeCore::SetCodeFromClipboard(const std::string& code) {
    ApplyCode(code, true);
}

void QRCodeCore::ApplyCode(const std::string& code, bool watch) {
    const bool saved = watching_;
    watching_ = watch;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{watching_, saved};
    if (symbolEnabled_)
        Fire(OnChangeCode);
    code_ = code;
    DecodeData();
    PaintSymbol();
    if (symbolEnabled_)
        Fire(OnChangedCode);
}

void QRCodeCore::SetBinaryOperation(bool on) {
    binaryOperation_ = on;
    DecodeData();
    PaintSymbol();
}

void QRCodeCore::DecodeData() {
    data_ = code_;
    if (binaryOperation_) {
        if (std::optional<std::string> decoded = DecodeTildeEscapes(code_))
            data_ = std::move(*decoded);
        else
            binaryOperation_ = false; // a broken escape: the text is taken as it stands
    }
    binary_ = HoldsControlBytes(data_);
}

// ---- splitting

void QRCodeCore::SetMode(TQRMode mode) {
    switch (mode) {
    case qrSingle:
        count_ = 1;
        break;
    case qrConnect:
        count_ = std::clamp(count_, 2, kQRMaxConnect);
        break;
    case qrPlus:
        count_ = std::clamp(count_, 2, kQRMaxCount);
        break;
    default:
        return;
    }
    mode_ = mode;
    PaintSymbol();
}

void QRCodeCore::SetCount(int count) {
    if (count < 1 || count > kQRMaxCount)
        return;
    count_ = count;
    PaintSymbol();
}

void QRCodeCore::SetColumn(int column) {
    if (column < 1 || column > kQRMaxCount)
        return;
    column_ = column;
    PaintSymbol();
}

void QRCodeCore::SetNumbering(TNumbering numbering) {
    if (numbering < nbrNone || numbering > nbrIfVoid)
        return;
    numbering_ = numbering;
    if (count_ > 1)
        PaintSymbol();
}

// ---- comments

void QRCodeCore::SetCommentUp(const std::string& text) {
    commentUp_ = text;
    PaintSymbol();
}

void QRCodeCore::SetCommentDown(const std::string& text) {
    commentDown_ = text;
    PaintSymbol();
}

void QRCodeCore::SetCommentUpLoc(TLocation loc) {
    if (loc < locLeft || loc > locRight)
        return;
    commentUpLoc_ = loc;
    if (!commentUp_.empty())
        PaintSymbol();
}

void QRCodeCore::SetCommentDownLoc(TLocation loc) {
    if (loc < locLeft || loc > locRight)
        return;
    commentDownLoc_ = loc;
    if (!commentDown_.empty())
        PaintSymbol();
}

// ---- geometry

int QRCodeCore::SymbolWidth() const {
    return (QRSide(version_) + 8) * pxmag_;
}

long long QRCodeCore::SymbolWidthS() const {
    return static_cast<long long>(SymbolWidth()) + spaceLeft_ + spaceRight_;
}

long long QRCodeCore::SymbolHeightS() const {
    return static_cast<long long>(SymbolHeight()) + spaceUp_ + spaceDown_;
}

long long QRCodeCore::SymbolWidthA() const {
    return std::min(count_, column_) * SymbolWidthS();
}

long long QRCodeCore::SymbolHeightA() const {
    return static_cast<long long>((count_ + column_ - 1) / column_) * SymbolHeightS();
}

void QRCodeCore::SetSymbolLeft(int v) {
    symbolLeft_ = v;
    PaintSymbol();
}

void QRCodeCore::SetSymbolTop(int v) {
    symbolTop_ = v;
    PaintSymbol();
}

void QRCodeCore::SetSymbolSpaceUp(int v) {
    spaceUp_ = v;
    PaintSymbol();
}

void QRCodeCore::SetSymbolSpaceDown(int v) {
    spaceDown_ = v;
    PaintSymbol();
}

void QRCodeCore::SetSymbolSpaceLeft(int v) {
    spaceLeft_ = v;
    PaintSymbol();
}

void QRCodeCore::SetSymbolSpaceRight(int v) {
    spaceRight_ = v;
    PaintSymbol();
}

// ---- encoding settings

void QRCodeCore::SetVersion(int v) {
    if (v < kQRMinVersion || v > kQRMaxVersion)
        return;
    version_ = v;
    PaintSymbol();
}

void QRCodeCore::SetEmode(int v) {
    if (v < -1 || v > 3)
        return;
    emode_ = emodeR_ = v;
    PaintSymbol();
}

void QRCodeCore::SetEclevel(int v) {
    if (v < 0 || v > 3)
        return;
    eclevel_ = v;
    PaintSymbol();
}

void QRCodeCore::SetMasktype(int v) {
    if (v < -1 || v > 7)
        return;
    masktype_ = masktypeR_ = v;
    PaintSymbol();
}

int QRCodeCore::Capacity() const {
    const QRDataMode mode = emodeR_ < 0 ? qrAlphanumeric : static_cast<QRDataMode>(emodeR_);
    return QRCapacity(version_, eclevel_, mode) * count_;
}

void QRCodeCore::SetPxmag(int v) {
    if (v < 1 || v > 10)
        return;
    pxmag_ = v;
    PaintSymbol();
}

void QRCodeCore::SetAngle(int v) {
    if (v != 0 && v != 90 && v != 180 && v != 270)
        return;
    angle_ = v;
    PaintSymbol();
}

// ---- drawing settings

void QRCodeCore::SetMatch(bool on) {
    match_ = on;
    if (on)
        transparent_ = false;
    else
        symbolPicture_ = picBMP;
    PaintSymbol();
}

void QRCodeCore::SetTransparent(bool on) {
    transparent_ = on;
    if (on) {
        match_ = false;
        symbolPicture_ = picBMP;
    }
    PaintSymbol();
}

void QRCodeCore::SetSymbolColor(Rgb c) {
    symbolColor_ = c;
    PaintSymbol();
}

void QRCodeCore::SetBackColor(Rgb c) {
    backColor_ = c;
    PaintSymbol();
}

void QRCodeCore::SetSymbolPicture(TPictures kind) {
    if (kind < picBMP || kind > picWMF)
        return;
    symbolPicture_ = match_ ? kind : picBMP;
    PaintSymbol();
}

void QRCodeCore::SetSymbolEnabled(bool on) {
    symbolEnabled_ = on;
    if (on)
        PaintSymbol();
}

void QRCodeCore::SetClearOption(bool on) {
    clearOption_ = on;
    if (on && !symbolDisped_)
        Clear();
    PaintSymbol();
}

void QRCodeCore::SetControlSize(int width, int height) {
    controlWidth_ = std::max(0, width);
    controlHeight_ = std::max(0, height);
}

// ---- splitting and encoding

void QRCodeCore::SplitData() {
    const QRSplit split = SplitQRData(data_, count_, mode_);
    count_ = split.Count;
    mode_ = split.Mode;
    if (split.ParitySet)
        parity_ = split.Parity;
    offsets_ = split.Offsets;
    CheckQRSplit(static_cast<long>(data_.size()), count_, mode_, column_, offsets_);
}

QRSymbol QRCodeCore::EncodeSymbol(int i) const {
    if (i < 1 || i > count_ || static_cast<std::size_t>(i) >= offsets_.size() ||
        offsets_.back() > data_.size())
        return {};
    const std::size_t begin = offsets_[static_cast<std::size_t>(i - 1)];
    const std::size_t end = offsets_[static_cast<std::size_t>(i)];
    // An empty text makes no symbol: there is nothing a reader could be given.
    if (end <= begin || end - begin > kMaxPartBytes)
        return {};
    QRSymbolRequest request;
    request.Data = std::string_view(data_).substr(begin, end - begin);
    request.Version = version_;
    request.Eclevel = eclevel_;
    request.Emode = emode_;
    request.Masktype = masktype_;
    request.Connect = mode_ == qrConnect;
    request.Index = i - 1;
    request.Total = count_;
    request.Parity = static_cast<std::uint8_t>(parity_);
    return EncodeQRSymbol(request);
}

std::vector<std::string> QRCodeCore::PBM() {
    SplitData();
    std::vector<std::string> lines;
    lines.push_back("P1");
    lines.push_back(std::string("# ") + ModeName(mode_) +
                    " Mode (Count = " + std::to_string(count_) + ")");
    const int w = SymbolWidth();
    lines.push_back(std::to_string(w) + " " + std::to_string(w));
    const int quiet = QuietZone();
    std::string lightRow;
    for (int x = 0; x < w; ++x)
        lightRow += " 0";
    for (int i = 1; i <= count_; ++i) {
        const QRSymbol symbol = EncodeSymbol(i);
        if (!symbol.Ok)
            break;
        lines.emplace_back();
        lines.emplace_back();
        for (int y = 0; y < quiet; ++y)
            lines.push_back(lightRow);
        const QRMatrix& m = symbol.Matrix;
        for (int r = 0; r < m.Side(); ++r) {
            std::string row = lightRow.substr(0, static_cast<std::size_t>(2 * quiet));
            for (int c = 0; c < m.Side(); ++c)
                for (int k = 0; k < pxmag_; ++k)
                    row += m.Dark(r, c) ? " 1" : " 0";
            row += lightRow.substr(0, static_cast<std::size_t>(2 * quiet));
            for (int k = 0; k < pxmag_; ++k)
                lines.push_back(row);
        }
        for (int y = 0; y < quiet; ++y)
            lines.push_back(lightRow);
    }
    return lines;
}

// ---- drawing

void QRCodeCore::Fire(const std::function<void(bool)>& event) const {
    if (event)
        event(watching_);
}

void QRCodeCore::Clear() {
    picture_ = Bitmap();
    symbolDisped_ = false;
}

std::string QRCodeCore::NumberedComment(const std::string& comment, int i) const {
    if (count_ <= 1)
        return comment;
    const std::string n = std::to_string(i);
    switch (numbering_) {
    case nbrHead:
        return comment.empty() ? n : n + " " + comment;
    case nbrTail:
        return comment.empty() ? n : comment + " " + n;
    case nbrIfVoid:
        return comment.empty() ? n : comment;
    default:
        return comment;
    }
}

void QRCodeCore::PaintSymbol() {
    if (!symbolEnabled_)
        return;
    symbolDisped_ = false;
    SplitData();
    Fire(OnPaintSymbol);

    if (picture_.Empty() &&
        static_cast<long long>(controlWidth_) * controlHeight_ <= kMaxPicturePixels)
        picture_ = BitmapCanvas::Filled(controlWidth_, controlHeight_, backColor_);

    // Draw in the unrotated frame: turn the picture back and move the position with it,
    // so that the set lands where it shows once the picture is turned again.
    long long left = symbolLeft_, top = symbolTop_;
    const bool unrotated = !match_ && angle_ != 0;
    if (unrotated) {
        const long long w = picture_.Width(), h = picture_.Height();
        if (angle_ == 90) {
            left = symbolTop_;
            top = w - symbolLeft_ - SymbolHeightA();
        } else if (angle_ == 180) {
            left = w - symbolLeft_ - SymbolWidthA();
            top = h - symbolTop_ - SymbolHeightA();
        } else {
            left = h - symbolTop_ - SymbolWidthA();
            top = symbolLeft_;
        }
        picture_ = BitmapCanvas::Rotated(picture_, 360 - angle_);
    }

    bool all = !data_.empty();
    bool drawn = false;
    for (int i = 1; i <= count_ && all; ++i) {
        const QRSymbol symbol = EncodeSymbol(i);
        if (emode_ < 0 && symbol.Mode >= 0)
            emodeR_ = symbol.Mode;
        if (!symbol.Ok) {
            all = false;
            break;
        }
        masktypeR_ = symbol.Mask;
        const long long cellLeft = left + ((i - 1) % column_) * SymbolWidthS();
        const long long cellTop = top + ((i - 1) / column_) * SymbolHeightS();
        if (!symbolDebug_) {
            if (!DrawOneSymbol(i, cellLeft, cellTop, left, top, symbol)) {
                all = false;
                break;
            }
            drawn = true;
        }
    }

    if (unrotated || (match_ && all && drawn && angle_ != 0))
        picture_ = BitmapCanvas::Rotated(picture_, angle_);
    symbolDisped_ = all;
    if (match_ && drawn) {
        // The control follows its picture, turned or not, so no part of it is cut off.
        controlWidth_ = picture_.Width();
        controlHeight_ = picture_.Height();
        if (OnMatchResize)
            OnMatchResize(controlWidth_, controlHeight_);
    }
    Fire(OnPaintedSymbol);
    if (!all && clearOption_ && !symbolDebug_)
        Clear();
}

bool QRCodeCore::DrawOneSymbol(int i, long long left, long long top, long long setLeft,
                               long long setTop, const QRSymbol& symbol) {
    BitmapCanvas bitmap(picture_, CommentRenderer);
    SymbolCanvas* vector =
        (symbolPicture_ != picBMP && match_ && VectorPicture) ? VectorPicture : nullptr;
    const long long setRight = setLeft + SymbolWidthA(), setBottom = setTop + SymbolHeightA();

    if (i == 1 && match_) {
        const long long w = std::max(0LL, setRight), h = std::max(0LL, setBottom);
        if (w > 0x7FFFFFFF || h > 0x7FFFFFFF || w * h > kMaxPicturePixels)
            return false;
        picture_ = BitmapCanvas::Filled(static_cast<int>(w), static_cast<int>(h), backColor_);
        if (vector) {
            vector->Reset(static_cast<int>(w), static_cast<int>(h));
            vector->FillRect(0, 0, w, h, backColor_);
        }
    }
    SymbolCanvas* canvases[2] = {&bitmap, vector};
    auto each = [&](auto&& draw) {
        for (SymbolCanvas* c : canvases)
            if (c)
                draw(*c);
    };

    if (i == 1 && !transparent_) {
        const long long x0 = match_ ? 0 : setLeft, y0 = match_ ? 0 : setTop;
        each([&](SymbolCanvas& c) {
            c.FillRect(x0, y0, setRight - x0, setBottom - y0, backColor_);
        });
    }

    const QRMatrix& m = symbol.Matrix;
    const long long x0 = left + spaceLeft_ + QuietZone();
    const long long y0 = top + spaceUp_ + QuietZone();
    for (int r = 0; r < m.Side(); ++r) {
        for (int c = 0; c < m.Side();) {
            if (!m.Dark(r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < m.Side() && m.Dark(r, end))
                ++end;
            each([&](SymbolCanvas& cv) {
                cv.FillRect(x0 + static_cast<long long>(c) * pxmag_,
                            y0 + static_cast<long long>(r) * pxmag_,
                            static_cast<long long>(end - c) * pxmag_, pxmag_, symbolColor_);
            });
            c = end;
        }
    }
    each([&](SymbolCanvas& c) { DrawComments(c, left, top, i); });
    return true;
}

void QRCodeCore::DrawComments(SymbolCanvas& canvas, long long left, long long top, int i) {
    auto offset = [&](TLocation loc, int textWidth) -> long long {
        long long x = 0;
        if (loc == locCenter)
            x = (SymbolWidthS() - textWidth) / 2;
        else if (loc == locRight)
            x = SymbolWidthS() - textWidth;
        return x < 0 ? 0 : x;
    };
    const std::string up = NumberedComment(commentUp_, i);
    if (!up.empty()) {
        const TextExtent e = canvas.MeasureText(up);
        const long long y = std::min(top, top + spaceUp_ - e.Height);
        canvas.DrawText(left + offset(commentUpLoc_, e.Width), y, up, backColor_);
    }
    const std::string down = NumberedComment(commentDown_, i);
    if (!down.empty()) {
        const TextExtent e = canvas.MeasureText(down);
        const long long below = top + spaceUp_ + SymbolHeight();
        const long long y = std::max(below, below + spaceDown_ - e.Height);
        canvas.DrawText(left + offset(commentDownLoc_, e.Width), y, down, backColor_);
    }
}

} // namespace pendlar
