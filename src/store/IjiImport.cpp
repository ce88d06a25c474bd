#include "store/IjiImport.h"

#include "util/Sjis.h"

namespace pendlar {

IjiDecodeResult DecodeIjiBlob(const std::optional<std::string>& blob, const TProtectData& protect) {
    using S = IjiDecodeResult::Status;
    IjiDecodeResult r;
    if (!blob) {
        r.State = S::NoData;
        return r;
    }
    if (blob->empty()) {
        r.State = S::SizeError;
        return r;
    }
    std::string plain = protect.Decrypt(*blob);
    if (plain.size() < kIjiRecordSize) {
        r.State = S::ShortRecord;
        return r;
    }
    plain.resize(kIjiRecordSize);

    auto header = [&](const char* name) { return ReadIjiField(plain, *FindIjiField(name)); };
    std::optional<IjiValue> sig = header("Signature"), ver = header("DataVersion"),
                            year = header("TargetYear"), date = header("CreateDate");
    if (!sig || !ver || !year || !date) {
        r.State = S::SignatureFormat;
        return r;
    }
    r.Signature = std::get<std::string>(*sig);
    r.DataVersion = std::get<std::int32_t>(*ver);
    r.TargetYear = std::get<std::int32_t>(*year);
    r.CreateDate = std::get<double>(*date);
    r.HeaderRead = true;
    if (r.Signature != kIjiSignature) {
        r.State = S::Signature;
        return r;
    }
    if (r.DataVersion != kIjiDataVersion) {
        r.State = S::Version;
        return r;
    }
    for (const auto& f : IjiLayout()) {
        if (f.Group == 0)
            continue;
        std::optional<IjiValue> value = ReadIjiField(plain, f);
        if (!value) {
            r.State = S::GroupError;
            r.FailedGroup = f.Group;
            return r;
        }
        r.Entries.push_back({&f, *value});
    }
    r.State = S::Ok;
    return r;
}

std::string IjiFailureMessage(const IjiDecodeResult& r) {
    using S = IjiDecodeResult::Status;
    static const char* const groups[] = {
        "",
        "医事データエラー：患者基本情報の形式に誤りがあります。\n読み込みを終了します。",
        "医事データエラー：保険情報の形式に誤りがあります。\n読み込みを終了します。",
        "基本診療データエラー：基本診療情報の形式に誤りがあります。\n読み込みを終了します。",
        "医事データエラー：労災情報の形式に誤りがあります。\n読み込みを終了します。",
        "医事データエラー：外来診療記録情報の形式に誤りがあります。\n読み込みを終了します。",
        "医事データエラー：入院記録情報の形式に誤りがあります。\n読み込みを終了します。",
        "医事データエラー：保険確認情報の形式に誤りがあります。\n読み込みを終了します。",
    };
    switch (r.State) {
    case S::Ok:
        return "";
    case S::NoData:
        return SjisOf("医事データエラー： 情報の形式に誤りがあります。\n読み込みを終了します。");
    case S::SizeError:
        return SjisOf("医事データエラー： サイズに誤りがあります。");
    case S::ShortRecord:
        return "Stream read error";
    case S::SignatureFormat:
        return SjisOf("医事データエラー：署名情報の形式に誤りがあります。\n読み込みを終了します。");
    case S::Signature:
        return SjisOf("医事データエラー：署名情報に誤りがあります。\n読み込みを終了します。");
    case S::Version:
        return SjisOf("医事データエラー：作成バージョンに誤りがあります。\n読み込みを終了します。");
    case S::GroupError:
        return SjisOf(groups[r.FailedGroup >= 1 && r.FailedGroup <= 7 ? r.FailedGroup : 0]);
    }
    return "";
}

std::string IjiFailureLogLine(const IjiDecodeResult& r) {
    using S = IjiDecodeResult::Status;
    switch (r.State) {
    case S::Ok:
    case S::ShortRecord:
        return "";
    case S::NoData:
        return "** Iji Data Format Error";
    case S::SizeError:
        return "** Iji Data Size Error";
    case S::SignatureFormat:
        return "** Iji Data Signature Format Error";
    case S::Signature:
        return "** Iji Data Signature Error";
    case S::Version:
        return "** Iji Data Version Error";
    case S::GroupError:
        return "** Iji Data Format" + std::to_string(r.FailedGroup) + " Error";
    }
    return "";
}

} // namespace pendlar
