#include "settings/Registory.h"

#include "settings/SettingsFile.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <cstring>

namespace pendlar {
namespace {

// "ＭＳ Ｐゴシック", the stored default font of the cover-sheet items.
const std::string kDefaultFont = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

void PutInt32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetInt32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

TCoverItemRecord Item(std::int32_t left, std::int32_t top) {
    TCoverItemRecord r;
    r.Left = left;
    r.Top = top;
    r.FontName = kDefaultFont;
    return r;
}

} // namespace

std::array<std::uint8_t, TCoverItemRecord::kSize> TCoverItemRecord::ToBytes() const {
    std::array<std::uint8_t, kSize> b{};
    PutInt32(&b[0], static_cast<std::uint32_t>(Left));
    PutInt32(&b[4], static_cast<std::uint32_t>(Top));
    b[8] = Print;
    b[9] = Charset;
    PutInt32(&b[10], Colour);
    std::size_t n = std::min(FontName.size(), kFontNameMax);
    b[14] = static_cast<std::uint8_t>(n);
    std::memcpy(&b[15], FontName.data(), n);
    PutInt32(&b[45], static_cast<std::uint32_t>(Size));
    b[49] = Style;
    return b;
}

TCoverItemRecord TCoverItemRecord::FromBytes(const std::array<std::uint8_t, kSize>& b) {
    TCoverItemRecord r;
    r.Left = static_cast<std::int32_t>(GetInt32(&b[0]));
    r.Top = static_cast<std::int32_t>(GetInt32(&b[4]));
    r.Print = b[8];
    r.Charset = b[9];
    r.Colour = GetInt32(&b[10]);
    // The length byte of a damaged record may claim more than the 30 bytes there are.
    std::size_t n = std::min<std::size_t>(b[14], kFontNameMax);
    r.FontName.assign(reinterpret_cast<const char*>(&b[15]), n);
    r.Size = static_cast<std::int32_t>(GetInt32(&b[45]));
    r.Style = b[49];
    return r;
}

std::array<std::uint8_t, TQRPositionRecord::kSize> TQRPositionRecord::ToBytes() const {
    std::array<std::uint8_t, kSize> b{};
    PutInt32(&b[0], static_cast<std::uint32_t>(Left));
    PutInt32(&b[4], static_cast<std::uint32_t>(Top));
    PutInt32(&b[8], static_cast<std::uint32_t>(Pxmag));
    return b;
}

TQRPositionRecord TQRPositionRecord::FromBytes(const std::array<std::uint8_t, kSize>& b) {
    TQRPositionRecord r;
    r.Left = static_cast<std::int32_t>(GetInt32(&b[0]));
    r.Top = static_cast<std::int32_t>(GetInt32(&b[4]));
    r.Pxmag = static_cast<std::int32_t>(GetInt32(&b[8]));
    return r;
}

TRegistory::TRegistory() {
    SetDefaults();
}

void TRegistory::SetDefaults() {
    // The stored defaults name the Windows drive root; here that is the home folder.
    const std::string root = HomeFolder();
    FileOpenDir = root;
    ScannerDir = root;
    JpegType = TiffType = BitmapType = PngType = DicomType = DicomText = true;
    Sequence = 0;
    IdNoGet = 0;
    Resolver = 0;
    IdNoPosition = 1;
    IdNoMaxSize = 8;
    ImSize = 0;
    UseIryoData = true;
    Target = root;
    L1Front = L1Back = L2Front = L2Back = L3Front = L3Back = L4Front = L4Back = "";
    HPCode = "";
    KaCode = "0";
    HeaderOut = 0;
    WriteInhibit = true;
    FirstPage = false;
    WriteDate = true;
    NyuGai = false;
    Stretch = false;
    Quality = 80;
    FolderClear = true;
    PolicyUse = false;
    PdfPageWidth = 700;
    PdfPageHeight = 1000;
    PrintDensity = 600.0;
    PanelDensity = 76.2;
    PageWidth = 610;
    PageHeight = 891;
    lblIdno = Item(144, 72);
    lblName = Item(144, 104);
    lblSex = Item(144, 144);
    lblBirth = Item(144, 176);
    lblAddress = Item(144, 205);
    labelIdno = Item(232, 72);
    labelName = Item(232, 104);
    labelSex = Item(232, 144);
    labelBirth = Item(232, 176);
    labelAddress = Item(232, 205);
    QRCodeImage = TQRPositionRecord{};
    CsvFolder = root;
    LogOutFolder = root;
    KeyWordUse = false;
    UseKeyLabel.fill(false);
    KeyLabel.fill("");
    IjiItem.fill(0);
    NoUseBase = false;
    UseLinuxPath = false;
    NoIdNo = false;
    ShowImage = 5;
    ThumbStrech = false;
    PolicyHelpFile = root + "Policy.pdf";
    DatabasePath = root;
    DataBaseSecret = false;
    DBRegist = true;
    Koyomi = false;
    SKugiri = 0;
    WKugiri = 0;
    PdfHeader = false;
    PdfImage = true;
    PdfKeyWord = false;
    PdfInsType = 0;
}

void TRegistory::LoadSettings() {
    std::optional<std::string> text = ReadWholeFile(SettingsFilePath());
    if (!text) {
        SetDefaults();
        return;
    }
    LoadSettingsText(*this, *text);
}

bool TRegistory::SaveSettings() const {
    const std::string path = SettingsFilePath();
    std::error_code ec;
    std::filesystem::create_directories(FsPath(path).parent_path(), ec);
    // A folder that cannot be made or written leaves the old file as it was, without a message.
    return WriteFileAtomically(path, FormatSettingsFile(*this));
}

void TRegistory::SetHPCode(const std::string& text) {
    HPCode = FirstBytes(text, 16);
}

void TRegistory::SetKaCode(const std::string& text) {
    KaCode = FirstBytes(text, 4);
}

} // namespace pendlar
