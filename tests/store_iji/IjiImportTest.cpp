#include "store/IjiImport.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace pendlar {
namespace {

const std::string kKey = "AbcdefghijKlmnopqrstUvwxyzAbcdefghijKlmn";

std::string Set(std::string plain, const char* name, const IjiValue& value) {
    EXPECT_TRUE(WriteIjiField(plain, *FindIjiField(name), value)) << name;
    return plain;
}

TEST(IjiImport, ReadsEveryFieldOfASoundRecord) {
    std::string plain = EmptyIjiRecord();
    plain = Set(plain, "TargetYear", std::int32_t{2024});
    plain = Set(plain, "CreateDate", 45415.25);
    plain = Set(plain, "PName", SjisOf("山田 太郎"));
    plain = Set(plain, "Psex", std::int32_t{2}); // out of range is data, not a failure
    plain = Set(plain, "Gbyoname14", SjisOf("高血圧症"));
    plain = Set(plain, "Ftsuki6_12", true);
    TProtectData protect(kKey);
    IjiDecodeResult r = DecodeIjiBlob(protect.Encrypt(plain), protect);
    ASSERT_TRUE(r.Ok()) << IjiFailureLogLine(r);
    EXPECT_EQ(r.TargetYear, 2024);
    EXPECT_EQ(r.CreateDate, 45415.25);
    std::size_t groupFields = 0;
    for (const auto& f : IjiLayout())
        groupFields += f.Group > 0;
    ASSERT_EQ(r.Entries.size(), groupFields);
    auto value = [&](const char* name) {
        for (const auto& e : r.Entries)
            if (e.Field->Name == name)
                return e.Value;
        return IjiValue();
    };
    EXPECT_EQ(std::get<std::string>(value("PName")), SjisOf("山田 太郎"));
    EXPECT_EQ(std::get<std::int32_t>(value("Psex")), 2);
    EXPECT_EQ(std::get<std::string>(value("Gbyoname14")), SjisOf("高血圧症"));
    EXPECT_TRUE(std::get<bool>(value("Ftsuki6_12")));
    EXPECT_EQ(std::get<std::int32_t>(value("Ketsueki")), -1);
}

TEST(IjiImport, Failures) {
    TProtectData protect(kKey);
    std::string sound = EmptyIjiRecord();
    std::string badRow = sound;
    badRow[FindIjiField("Gbyoname3")->Offset] = static_cast<char>(61); // beyond 60 bytes
    std::string badDate = Set(sound, "CreateDate", 0.0);
    double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(badDate.data() + FindIjiField("CreateDate")->Offset, &nan, sizeof nan);

    using S = IjiDecodeResult::Status;
    struct Case {
        const char* what;
        std::optional<std::string> blob;
        const TProtectData* key;
        S state;
        const char* message;
        const char* logLine;
    } cases[] = {
        {"no data", std::nullopt, &protect, S::NoData,
         "医事データエラー： 情報の形式に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Format Error"},
        {"empty blob", std::string(), &protect, S::SizeError,
         "医事データエラー： サイズに誤りがあります。", "** Iji Data Size Error"},
        {"short blob", protect.Encrypt(sound.substr(0, 5919)), &protect, S::ShortRecord,
         "Stream read error", ""},
        {"date not a number", protect.Encrypt(badDate), &protect, S::SignatureFormat,
         "医事データエラー：署名情報の形式に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Signature Format Error"},
        // Finite, but past every calendar: shown and printed as a date, it had no day.
        {"date past 9999", protect.Encrypt(Set(sound, "CreateDate", 1e300)), &protect,
         S::SignatureFormat,
         "医事データエラー：署名情報の形式に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Signature Format Error"},
        {"date before year 1", protect.Encrypt(Set(sound, "CreateDate", -693594.0)), &protect,
         S::SignatureFormat,
         "医事データエラー：署名情報の形式に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Signature Format Error"},
        {"other signature", protect.Encrypt(Set(sound, "Signature", std::string("PDFCARUTX"))),
         &protect, S::Signature,
         "医事データエラー：署名情報に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Signature Error"},
        {"version 14", protect.Encrypt(Set(sound, "DataVersion", std::int32_t{14})), &protect,
         S::Version, "医事データエラー：作成バージョンに誤りがあります。\n読み込みを終了します。",
         "** Iji Data Version Error"},
        {"bad outpatient row", protect.Encrypt(badRow), &protect, S::GroupError,
         "医事データエラー：外来診療記録情報の形式に誤りがあります。\n読み込みを終了します。",
         "** Iji Data Format5 Error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IjiDecodeResult r = DecodeIjiBlob(c.blob, *c.key);
        EXPECT_EQ(r.State, c.state);
        EXPECT_EQ(SjisToUtf8(IjiFailureMessage(r)), c.message);
        EXPECT_EQ(IjiFailureLogLine(r), c.logLine);
    }

    // The rows before the damaged one are read; nothing after it.
    IjiDecodeResult r = DecodeIjiBlob(protect.Encrypt(badRow), protect);
    ASSERT_FALSE(r.Entries.empty());
    EXPECT_EQ(r.Entries.back().Field->Name, "Gtenki2");
    EXPECT_EQ(r.FailedGroup, 5);

    // A wrong key (or none) never passes the signature check.
    TProtectData other(std::string(40, 'Z')), none(std::nullopt);
    for (const TProtectData* key : {&other, &none}) {
        S state = DecodeIjiBlob(protect.Encrypt(sound), *key).State;
        EXPECT_TRUE(state == S::Signature || state == S::SignatureFormat);
    }
}

} // namespace
} // namespace pendlar
