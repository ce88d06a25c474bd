// The settings store: one field per stored value, created with defaults, loaded once when
// the main window is first shown and saved once when it closes. The settings windows edit
// the fields directly; nothing reaches the settings file before shutdown.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pendlar {

// A cover-sheet text item, stored as a 50-byte little-endian record.
struct TCoverItemRecord {
    static constexpr std::size_t kSize = 50;
    static constexpr std::size_t kFontNameMax = 30;
    static constexpr std::uint32_t kWindowTextColour = 0xFF000008;

    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::uint8_t Print = 1;     // 1 printed, 0 not
    std::uint8_t Charset = 128; // 128 = Shift-JIS
    std::uint32_t Colour = kWindowTextColour;
    std::string FontName;   // Shift-JIS, at most 30 bytes
    std::int32_t Size = 9;  // points
    std::uint8_t Style = 0; // bit 0 bold, 1 italic, 2 underline, 3 strike-out

    std::array<std::uint8_t, kSize> ToBytes() const;
    static TCoverItemRecord FromBytes(const std::array<std::uint8_t, kSize>& bytes);
    friend bool operator==(const TCoverItemRecord&, const TCoverItemRecord&) = default;
};

// Position and magnification of the cover sheet's QR symbol, a 12-byte record.
struct TQRPositionRecord {
    static constexpr std::size_t kSize = 12;

    std::int32_t Left = 64;
    std::int32_t Top = 72;
    std::int32_t Pxmag = 2; // pixels per module

    std::array<std::uint8_t, kSize> ToBytes() const;
    static TQRPositionRecord FromBytes(const std::array<std::uint8_t, kSize>& bytes);
    friend bool operator==(const TQRPositionRecord&, const TQRPositionRecord&) = default;
};

class TRegistory {
public:
    TRegistory();

    void SetDefaults();
    // Loads all or nothing: any read failure gives the defaults for every field.
    void LoadSettings();
    // Writes every value; a folder that cannot be created or written leaves the old file.
    // False when nothing was written (the program goes on without a message; a tool
    // reports it).
    bool SaveSettings() const;

    void SetHPCode(const std::string& text); // keeps the first 16 bytes
    void SetKaCode(const std::string& text); // keeps the first 4 bytes

    // Strings are Shift-JIS.
    std::string FileOpenDir;
    std::string ScannerDir;
    bool JpegType;
    bool TiffType;
    bool BitmapType;
    bool PngType;
    bool DicomType;
    bool DicomText;
    int Sequence;
    int IdNoGet;
    int Resolver;
    int IdNoPosition;
    int IdNoMaxSize;
    int ImSize;
    bool UseIryoData;
    std::string Target;
    std::string L1Front, L1Back, L2Front, L2Back, L3Front, L3Back, L4Front, L4Back;
    std::string HPCode;
    std::string KaCode;
    int HeaderOut;
    bool WriteInhibit;
    bool FirstPage;
    bool WriteDate;
    bool NyuGai;
    bool Stretch;
    int Quality;
    bool FolderClear;
    bool PolicyUse;
    int PdfPageWidth;
    int PdfPageHeight;
    double PrintDensity;
    double PanelDensity;
    int PageWidth;
    int PageHeight;
    TCoverItemRecord lblIdno, lblName, lblSex, lblBirth, lblAddress;
    TCoverItemRecord labelIdno, labelName, labelSex, labelBirth, labelAddress;
    TQRPositionRecord QRCodeImage;
    std::string CsvFolder;
    std::string LogOutFolder;
    bool KeyWordUse;
    std::array<bool, 8> UseKeyLabel;     // UseKeyLabel1 … UseKeyLabel8
    std::array<std::string, 8> KeyLabel; // KeyLabel1 … KeyLabel8
    std::array<int, 8> IjiItem;          // IjiItem1 … IjiItem8
    bool NoUseBase;
    bool UseLinuxPath;
    bool NoIdNo;
    int ShowImage;
    bool ThumbStrech;
    std::string PolicyHelpFile;
    std::string DatabasePath;
    bool DataBaseSecret;
    bool DBRegist;
    bool Koyomi;
    int SKugiri;
    int WKugiri;
    bool PdfHeader;
    bool PdfImage;
    bool PdfKeyWord;
    int PdfInsType;
};

} // namespace pendlar
