// The enumerations of the QR symbol control, shared by the encoder core and the window layer.
#pragma once

namespace pendlar {

// How the data are spread over symbols: one symbol; up to 16 linked symbols (structured
// append, a reader joins them again); up to 1024 independent symbols.
enum TQRMode { qrSingle = 0, qrConnect = 1, qrPlus = 2 };

// How symbol numbers are added to the comments of a set of several symbols.
enum TNumbering { nbrNone = 0, nbrHead = 1, nbrTail = 2, nbrIfVoid = 3 };

// Horizontal placement of a comment within its symbol cell.
enum TLocation { locLeft = 0, locCenter = 1, locRight = 2 };

// The kind of picture drawn: a bitmap, or a vector picture (only while the control is
// sized to the symbols).
enum TPictures { picBMP = 0, picEMF = 1, picWMF = 2 };

// Data encodings of a segment, numbered as the control's Emode property numbers them.
enum QRDataMode { qrNumeric = 0, qrAlphanumeric = 1, qrByte = 2, qrKanji = 3 };

} // namespace pendlar
