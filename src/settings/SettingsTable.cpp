#include "settings/SettingsTable.h"

#include <array>
#include <cstring>

namespace pendlar {
namespace {

template <auto Member> SettingEntry Str(const char* name) {
    return {name, SettingType::String, 0,
            [](const TRegistory& r) -> SettingValue { return r.*Member; },
            [](TRegistory& r, const SettingValue& v) { r.*Member = std::get<std::string>(v); }};
}

template <auto Member> SettingEntry Int(const char* name) {
    return {name, SettingType::Integer, 0,
            [](const TRegistory& r) -> SettingValue { return std::int64_t{r.*Member}; },
            [](TRegistory& r, const SettingValue& v) {
                r.*Member = static_cast<int>(std::get<std::int64_t>(v));
            }};
}

template <auto Member> SettingEntry Bool(const char* name) {
    return {
        name, SettingType::Boolean, 0,
        [](const TRegistory& r) -> SettingValue { return std::int64_t{(r.*Member) ? 1 : 0}; },
        [](TRegistory& r, const SettingValue& v) { r.*Member = std::get<std::int64_t>(v) != 0; }};
}

template <auto Member> SettingEntry Float(const char* name) {
    return {name, SettingType::Float, 0,
            [](const TRegistory& r) -> SettingValue { return r.*Member; },
            [](TRegistory& r, const SettingValue& v) { r.*Member = std::get<double>(v); }};
}

template <auto Member> SettingEntry Record(const char* name) {
    using Rec = std::remove_reference_t<decltype(std::declval<TRegistory&>().*Member)>;
    return {name, SettingType::Binary, Rec::kSize,
            [](const TRegistory& r) -> SettingValue {
                auto bytes = (r.*Member).ToBytes();
                return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
            },
            // A shorter value overwrites only its first bytes; the rest of the record stays.
            [](TRegistory& r, const SettingValue& v) {
                const auto& in = std::get<std::vector<std::uint8_t>>(v);
                auto bytes = (r.*Member).ToBytes();
                if (!in.empty())
                    std::memcpy(bytes.data(), in.data(), std::min(in.size(), bytes.size()));
                r.*Member = Rec::FromBytes(bytes);
            }};
}

template <auto Member, int I> SettingEntry BoolAt(const char* name) {
    return {
        name, SettingType::Boolean, 0,
        [](const TRegistory& r) -> SettingValue { return std::int64_t{(r.*Member)[I] ? 1 : 0}; },
        [](TRegistory& r, const SettingValue& v) {
            (r.*Member)[I] = std::get<std::int64_t>(v) != 0;
        }};
}

template <auto Member, int I> SettingEntry StrAt(const char* name) {
    return {
        name, SettingType::String, 0,
        [](const TRegistory& r) -> SettingValue { return (r.*Member)[I]; },
        [](TRegistory& r, const SettingValue& v) { (r.*Member)[I] = std::get<std::string>(v); }};
}

template <auto Member, int I> SettingEntry IntAt(const char* name) {
    return {name, SettingType::Integer, 0,
            [](const TRegistory& r) -> SettingValue { return std::int64_t{(r.*Member)[I]}; },
            [](TRegistory& r, const SettingValue& v) {
                (r.*Member)[I] = static_cast<int>(std::get<std::int64_t>(v));
            }};
}

using R = TRegistory;

const std::vector<SettingEntry>& Table() {
    static const std::vector<SettingEntry> table = {
        Str<&R::FileOpenDir>("FileOpenDir"),
        Str<&R::ScannerDir>("ScannerDir"),
        Bool<&R::JpegType>("JpegType"),
        Bool<&R::TiffType>("TiffType"),
        Bool<&R::BitmapType>("BitmapType"),
        Bool<&R::PngType>("PngType"),
        Bool<&R::DicomType>("DicomType"),
        Bool<&R::DicomText>("DicomText"),
        Int<&R::Sequence>("Sequence"),
        Int<&R::IdNoGet>("IdNoGet"),
        Int<&R::Resolver>("Resolver"),
        Int<&R::IdNoPosition>("IdNoPosition"),
        Int<&R::IdNoMaxSize>("IdNoMaxSize"),
        Int<&R::ImSize>("ImSize"),
        Bool<&R::UseIryoData>("UseIryoData"),
        Str<&R::Target>("Target"),
        Str<&R::L1Front>("L1Front"),
        Str<&R::L1Back>("L1Back"),
        Str<&R::L2Front>("L2Front"),
        Str<&R::L2Back>("L2Back"),
        Str<&R::L3Front>("L3Front"),
        Str<&R::L3Back>("L3Back"),
        Str<&R::L4Front>("L4Front"),
        Str<&R::L4Back>("L4Back"),
        Str<&R::HPCode>("HPCode"),
        Str<&R::KaCode>("KaCode"),
        Int<&R::HeaderOut>("HeaderOut"),
        Bool<&R::WriteInhibit>("WriteInhibit"),
        Bool<&R::FirstPage>("FirstPage"),
        Bool<&R::WriteDate>("WriteDate"),
        Bool<&R::NyuGai>("NyuGai"),
        Bool<&R::Stretch>("Stretch"),
        Int<&R::Quality>("Quality"),
        Bool<&R::FolderClear>("FolderClear"),
        Bool<&R::PolicyUse>("PolicyUse"),
        Int<&R::PdfPageWidth>("PdfPageWidth"),
        Int<&R::PdfPageHeight>("PdfPageHeight"),
        Float<&R::PrintDensity>("PrintDensity"),
        Float<&R::PanelDensity>("PanelDensity"),
        Int<&R::PageWidth>("PageWidth"),
        Int<&R::PageHeight>("PageHeight"),
        Record<&R::lblIdno>("lblIdno"),
        Record<&R::lblName>("lblName"),
        Record<&R::lblSex>("lblSex"),
        Record<&R::lblBirth>("lblBirth"),
        Record<&R::lblAddress>("lblAddress"),
        Record<&R::labelIdno>("labelIdno"),
        Record<&R::labelName>("labelName"),
        Record<&R::labelSex>("labelSex"),
        Record<&R::labelBirth>("labelBirth"),
        Record<&R::labelAddress>("labelAddress"),
        Record<&R::QRCodeImage>("QRCodeImage"),
        Str<&R::CsvFolder>("CsvFolder"),
        Str<&R::LogOutFolder>("LogOutFolder"),
        Bool<&R::KeyWordUse>("KeyWordUse"),
        BoolAt<&R::UseKeyLabel, 0>("UseKeyLabel1"),
        BoolAt<&R::UseKeyLabel, 1>("UseKeyLabel2"),
        BoolAt<&R::UseKeyLabel, 2>("UseKeyLabel3"),
        BoolAt<&R::UseKeyLabel, 3>("UseKeyLabel4"),
        BoolAt<&R::UseKeyLabel, 4>("UseKeyLabel5"),
        BoolAt<&R::UseKeyLabel, 5>("UseKeyLabel6"),
        BoolAt<&R::UseKeyLabel, 6>("UseKeyLabel7"),
        BoolAt<&R::UseKeyLabel, 7>("UseKeyLabel8"),
        StrAt<&R::KeyLabel, 0>("KeyLabel1"),
        StrAt<&R::KeyLabel, 1>("KeyLabel2"),
        StrAt<&R::KeyLabel, 2>("KeyLabel3"),
        StrAt<&R::KeyLabel, 3>("KeyLabel4"),
        StrAt<&R::KeyLabel, 4>("KeyLabel5"),
        StrAt<&R::KeyLabel, 5>("KeyLabel6"),
        StrAt<&R::KeyLabel, 6>("KeyLabel7"),
        StrAt<&R::KeyLabel, 7>("KeyLabel8"),
        IntAt<&R::IjiItem, 0>("IjiItem1"),
        IntAt<&R::IjiItem, 1>("IjiItem2"),
        IntAt<&R::IjiItem, 2>("IjiItem3"),
        IntAt<&R::IjiItem, 3>("IjiItem4"),
        IntAt<&R::IjiItem, 4>("IjiItem5"),
        IntAt<&R::IjiItem, 5>("IjiItem6"),
        IntAt<&R::IjiItem, 6>("IjiItem7"),
        IntAt<&R::IjiItem, 7>("IjiItem8"),
        Bool<&R::NoUseBase>("NoUseBase"),
        Bool<&R::UseLinuxPath>("UseLinuxPath"),
        Bool<&R::NoIdNo>("NoIdNo"),
        Int<&R::ShowImage>("ShowImage"),
        Bool<&R::ThumbStrech>("ThumbStrech"),
        Str<&R::PolicyHelpFile>("PolicyHelpFile"),
        Bool<&R::UseIryoData>("UseIryoData"),
        Str<&R::DatabasePath>("DatabasePath"),
        Bool<&R::DataBaseSecret>("DataBaseSecret"),
        Bool<&R::DBRegist>("DBRegist"),
        Bool<&R::Koyomi>("Koyomi"),
        Int<&R::SKugiri>("SKugiri"),
        Int<&R::WKugiri>("WKugiri"),
        Bool<&R::PdfHeader>("PdfHeader"),
        Bool<&R::PdfImage>("PdfImage"),
        Bool<&R::PdfKeyWord>("PdfKeyWord"),
        Int<&R::PdfInsType>("PdfInsType"),
    };
    return table;
}

} // namespace

std::span<const SettingEntry> SettingsTable() {
    return Table();
}

const SettingEntry* FindSetting(const std::string& name) {
    for (const auto& e : Table())
        if (name == e.Name)
            return &e;
    return nullptr;
}

} // namespace pendlar
