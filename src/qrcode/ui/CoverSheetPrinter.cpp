#include "qrcode/ui/CoverSheetPrinter.h"

#include "qrcode/CoverSheetGeometry.h"
#include "qrcode/ui/CoverSheetFont.h"
#include "qrcode/ui/QRCode.h"
#include "util/Sjis.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace pendlar {

const std::array<const char*, kCoverItemCount>& CoverItemSamples() {
    static const std::array<const char*, kCoverItemCount> samples = {
        "患者番号", "氏名",         "性別", "生年月日", "住所",
        "99999999", "カルテ　太郎", "男性", "2000.1.1", "日本県美国市山手　"};
    return samples;
}

std::array<TCoverItemRecord*, kCoverItemCount> CoverItemRecords(TRegistory& s) {
    return {&s.lblIdno,   &s.lblName,   &s.lblSex,   &s.lblBirth,   &s.lblAddress,
            &s.labelIdno, &s.labelName, &s.labelSex, &s.labelBirth, &s.labelAddress};
}

void SetUpCoverSymbol(QRCodeCore& core, int pxmag) {
    const bool enabled = core.SymbolEnabled();
    core.SetSymbolEnabled(false);
    core.SetMatch(false);
    core.SetControlSize(kCoverSymbolArea, kCoverSymbolArea);
    core.SetVersion(1);
    core.SetEclevel(0);
    core.SetEmode(2);
    core.SetMasktype(0);
    core.SetPxmag(pxmag);
    core.SetSymbolEnabled(enabled);
}

bool CoverSymbolFits(const QRCodeCore& core) {
    return core.SymbolLeft() + core.SymbolWidthA() <= kCoverSymbolArea &&
           core.SymbolTop() + core.SymbolHeightA() <= kCoverSymbolArea;
}

std::array<const TCoverItemRecord*, kCoverItemCount> CoverItemRecords(const TRegistory& s) {
    return {&s.lblIdno,   &s.lblName,   &s.lblSex,   &s.lblBirth,   &s.lblAddress,
            &s.labelIdno, &s.labelName, &s.labelSex, &s.labelBirth, &s.labelAddress};
}

CoverSheetPage CoverSheetFor(const TRegistory& settings, const std::array<std::string, 5>& values,
                             long number, bool* shown) {
    CoverSheetPage page;
    const auto records = CoverItemRecords(settings);
    for (int i = 0; i < kCoverItemCount; ++i) {
        page.Items[static_cast<std::size_t>(i)] = *records[static_cast<std::size_t>(i)];
        page.Texts[static_cast<std::size_t>(i)] =
            i < 5 ? SjisOf(CoverItemSamples()[static_cast<std::size_t>(i)])
                  : values[static_cast<std::size_t>(i - 5)];
    }
    page.SymbolLeft = settings.QRCodeImage.Left;
    page.SymbolTop = settings.QRCodeImage.Top;
    QRCodeCore core;
    core.SetSymbolEnabled(false);
    SetUpCoverSymbol(core, settings.QRCodeImage.Pxmag);
    core.SetCode(std::to_string(number));
    core.SetSymbolEnabled(true);
    if (shown)
        *shown = core.SymbolDisped() && CoverSymbolFits(core);
    page.Symbol = TQRCode::ToImage(core.Picture());
    if (page.Symbol.isNull()) {
        page.Symbol = QImage(kCoverSymbolArea, kCoverSymbolArea, QImage::Format_RGB888);
        page.Symbol.fill(Qt::white);
    }
    return page;
}

void SetUpCoverPrinter(QPrinter& printer, const TRegistory& settings) {
    const double panel = settings.PanelDensity < 1.0 ? 1.0 : settings.PanelDensity;
    const double density = std::clamp(settings.PrintDensity, 1.0, 100000.0);
    printer.setResolution(static_cast<int>(std::lround(density)));
    printer.setFullPage(true);
    // A real printer keeps the paper chosen in its setup dialog; a PDF file gets the
    // design page's size.
    if (printer.outputFormat() != QPrinter::PdfFormat)
        return;
    const QSizeF inches(settings.PageWidth / panel, settings.PageHeight / panel);
    const QPageSize size(inches, QPageSize::Inch);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

void PrintCoverSheet(QPainter& painter, const CoverSheetPage& page, TRegistory& settings) {
    if (settings.PanelDensity < 1.0)
        settings.PanelDensity = 1.0;
    const double print = settings.PrintDensity, panel = settings.PanelDensity;
    auto S = [&](int v) { return ScaleToPrinter(v, print, panel); };

    painter.save();
    const int w = page.Symbol.width(), h = page.Symbol.height();
    const int k = SymbolMagnification(w, print, panel);
    // A density typed into the settings file by hand could ask for a picture beyond memory.
    constexpr int kMaxSide = 32768;
    if (k > 0 && w > 0 && h > 0 && w <= kMaxSide / k && h <= kMaxSide / k) {
        // Enlarged here by repeating pixels, so no later step can smooth the modules.
        const QImage enlarged =
            page.Symbol.scaled(w * k, h * k, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QPoint(S(page.SymbolLeft), S(page.SymbolTop)), enlarged);
    }

    for (int i = 0; i < kCoverItemCount; ++i) {
        const TCoverItemRecord& item = page.Items[static_cast<std::size_t>(i)];
        if (!item.Print)
            continue;
        const QFont font(CoverItemFont(item), painter.device());
        painter.setFont(font);
        painter.setPen(CoverItemColour(item));
        const QFontMetrics fm(font, painter.device());
        // The position is the text's top-left corner, as on the design page.
        painter.drawText(QPoint(S(item.Left), S(item.Top) + fm.ascent()),
                         SjisQString(page.Texts[static_cast<std::size_t>(i)]));
    }
    painter.restore();
}

} // namespace pendlar
