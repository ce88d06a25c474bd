// Drawing one cover sheet on the printer's current page, shared by the designer's test
// print, its batch printing and pendlar-tool cover-sheets.
//
// Design dots become printer dots by S(v) (CoverSheetGeometry.h). The symbol control's
// whole picture is enlarged by a whole number, copying pixels (no smoothing), and drawn
// with lossless image rendering, so that a PDF keeps every module sharp.
#pragma once

#include "qrcode/QRCodeCore.h"
#include "settings/Registory.h"

#include <QImage>

#include <array>
#include <string>

class QPainter;
class QPrinter;

namespace pendlar {

// The text items in their print order: the five captions, then the five patient values.
constexpr int kCoverItemCount = 10;

// The design-time sample text of each item (UTF-8), in print order.
const std::array<const char*, kCoverItemCount>& CoverItemSamples();

// The settings record of each item, in print order.
std::array<TCoverItemRecord*, kCoverItemCount> CoverItemRecords(TRegistory& settings);
std::array<const TCoverItemRecord*, kCoverItemCount> CoverItemRecords(const TRegistory& settings);

struct CoverSheetPage {
    std::array<TCoverItemRecord, kCoverItemCount> Items; // position, print flag, font
    std::array<std::string, kCoverItemCount> Texts;      // Shift-JIS
    int SymbolLeft = 0, SymbolTop = 0;                   // design dots
    QImage Symbol; // the symbol control's whole picture (kCoverSymbolArea square)
};

// The cover sheet's symbol settings: version 1, level L, byte mode, mask 0, the module
// size, drawn from the top-left corner of a kCoverSymbolArea-square control.
void SetUpCoverSymbol(QRCodeCore& core, int pxmag);

// True when the drawn symbol fits inside the control's area; a larger one would be cut.
bool CoverSymbolFits(const QRCodeCore& core);

// The page of a patient: the layout from the settings, the captions, the five values
// (Shift-JIS: number, name, sex, birth date, address) and the symbol of `number`.
// `shown` tells whether the symbol could be drawn whole.
CoverSheetPage CoverSheetFor(const TRegistory& settings, const std::array<std::string, 5>& values,
                             long number, bool* shown = nullptr);

// Sets the printer to the printer density, the paper to the design page and the origin to
// the paper's corner, so that printer coordinates are those of the sheet.
void SetUpCoverPrinter(QPrinter& printer, const TRegistory& settings);

// Draws one sheet on the painter's current page. A PanelDensity below 1 is first set to 1.0
// in the settings.
void PrintCoverSheet(QPainter& painter, const CoverSheetPage& page, TRegistory& settings);

} // namespace pendlar
