#include "store/IjiRecord.h"

#include "util/DateTime.h"

#include <bit>
#include <cstring>

namespace pendlar {
namespace {

// Dates are copied as the bytes of a double, which the record keeps little-endian.
static_assert(std::endian::native == std::endian::little);

void Add(std::vector<IjiField>& v, std::string name, std::size_t offset, std::size_t length,
         IjiKind kind, int group) {
    v.push_back({std::move(name), offset, length, kind, group});
}

std::vector<IjiField> BuildLayout() {
    std::vector<IjiField> v;
    const IjiKind T = IjiKind::Text, I = IjiKind::Index;
    Add(v, "Signature", 0, 11, T, 0);
    Add(v, "DataVersion", 11, 4, IjiKind::Number, 0);
    Add(v, "TargetYear", 15, 4, IjiKind::Number, 0);
    Add(v, "CreateDate", 19, 8, IjiKind::DateTime, 0);

    struct Plain {
        const char* name;
        std::size_t offset, length;
        IjiKind kind;
    };
    const Plain group1[] = {
        {"PName", 27, 41, T},     {"PKana", 68, 41, T},     {"Psex", 109, 4, I},
        {"PBirth", 113, 11, T},   {"Padress", 124, 61, T},  {"Pubin", 185, 21, T},
        {"Ptel", 206, 21, T},     {"Pkeitai", 227, 21, T},  {"RName", 248, 41, T},
        {"Raddress", 289, 61, T}, {"Rzokugara", 350, 4, I}, {"Rtel", 354, 21, T},
        {"Rkeitai", 375, 21, T},  {"Sname", 396, 41, T},    {"Sadress", 437, 61, T},
        {"Stel", 498, 21, T},
    };
    for (const auto& f : group1)
        Add(v, f.name, f.offset, f.length, f.kind, 1);
    const Plain group2[] = {
        {"Hhokenno", 519, 41, T},   {"Hkigouno", 560, 41, T},   {"Hname", 601, 41, T},
        {"Hzokugara", 642, 4, I},   {"Hlimitdate", 646, 11, T}, {"Hshikakudate", 657, 11, T},
        {"Hhokenname", 668, 41, T}, {"Hhokenadr", 709, 61, T},  {"Hhokentel", 770, 21, T},
        {"Hkouhino1", 791, 41, T},  {"Hjukyuno1", 832, 41, T},  {"Hkouhino2", 873, 41, T},
        {"Hjukyuno2", 914, 41, T},  {"Hjname", 955, 41, T},     {"Hjadr", 996, 61, T},
        {"Hjtel", 1057, 21, T},
    };
    for (const auto& f : group2)
        Add(v, f.name, f.offset, f.length, f.kind, 2);
    const Plain group3[] = {
        {"Ketsueki", 1078, 4, I},   {"Rh", 1082, 4, I},          {"HBS", 1086, 4, I},
        {"HCV", 1090, 4, I},        {"TPHA", 1094, 4, I},        {"Kinki", 1098, 4, I},
        {"Kousezai", 1102, 256, T}, {"kioureki", 1358, 256, T},  {"kazoureki", 1614, 256, T},
        {"arerugi", 1870, 256, T},  {"kansensho", 2126, 256, T}, {"bikou", 2382, 256, T},
    };
    for (const auto& f : group3)
        Add(v, f.name, f.offset, f.length, f.kind, 3);
    for (int period = 1; period <= 2; ++period) {
        std::size_t base = period == 1 ? 2638 : 2754;
        std::string n = std::to_string(period);
        Add(v, "RByumei" + n, base, 61, T, 4);
        const char* dates[] = {"Rikenfrom", "Rikento", "Rkoufu", "Rnyuinfrom", "Rnyuinto"};
        for (int i = 0; i < 5; ++i)
            Add(v, dates[i] + n, base + 61 + 11 * static_cast<std::size_t>(i), 11, T, 4);
    }
    Add(v, "Rrousai", 2870, 256, T, 4);
    for (std::size_t row = 1; row <= 14; ++row) {
        std::size_t base = 3126 + 87 * (row - 1);
        std::string n = std::to_string(row);
        Add(v, "Gbyoname" + n, base, 61, T, 5);
        Add(v, "Gshoshinbi" + n, base + 61, 11, T, 5);
        Add(v, "Gshuryobi" + n, base + 72, 11, T, 5);
        Add(v, "Gtenki" + n, base + 83, 4, I, 5);
    }
    const Plain group6[] = {
        {"NShinryoka", 4344, 41, T},   {"Nbyuto", 4385, 21, T},
        {"Nshujidct", 4406, 41, T},    {"Nnyuinday", 4447, 11, T},
        {"Ntaiinday", 4458, 11, T},    {"NzenkaiNyuinCheck", 4469, 1, IjiKind::Flag},
        {"Nzenkainyuin", 4470, 11, T}, {"Nzenkaitaiin", 4481, 11, T},
        {"Ntenki", 4492, 4, I},        {"NtenkiTo", 4496, 4, I},
    };
    for (const auto& f : group6)
        Add(v, f.name, f.offset, f.length, f.kind, 6);
    for (std::size_t row = 1; row <= 14; ++row) {
        std::size_t base = 4500 + 87 * (row - 1);
        std::string n = std::to_string(row);
        Add(v, "NShidan" + n, base, 61, T, 6);
        Add(v, "NShidanday" + n, base + 61, 11, T, 6);
        Add(v, "Ntenkiday" + n, base + 72, 11, T, 6);
        Add(v, "Ntenki" + n, base + 83, 4, I, 6);
    }
    Add(v, "FFutanKubun", 5718, 4, I, 7);
    for (std::size_t year = 1; year <= 6; ++year) {
        std::size_t base = 5722 + 33 * (year - 1);
        std::string n = std::to_string(year);
        Add(v, "Fnendo" + n, base, 21, T, 7);
        for (std::size_t month = 1; month <= 12; ++month)
            Add(v, "Ftsuki" + n + "_" + std::to_string(month), base + 20 + month, 1, IjiKind::Flag,
                7);
    }
    return v;
}

std::int32_t GetInt32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(s[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

void PutInt32(std::string& s, std::size_t at, std::int32_t value) {
    std::uint32_t v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

} // namespace

const std::vector<IjiField>& IjiLayout() {
    static const std::vector<IjiField> layout = BuildLayout();
    return layout;
}

const IjiField* FindIjiField(const std::string& name) {
    for (const auto& f : IjiLayout())
        if (f.Name == name)
            return &f;
    return nullptr;
}

std::optional<IjiValue> ReadIjiField(const std::string& plain, const IjiField& f) {
    if (plain.size() < f.Offset + f.Length)
        return std::nullopt;
    switch (f.Kind) {
    case IjiKind::Text: {
        std::size_t length = static_cast<std::uint8_t>(plain[f.Offset]);
        if (length > f.Length - 1)
            return std::nullopt;
        return IjiValue(plain.substr(f.Offset + 1, length));
    }
    case IjiKind::Index:
    case IjiKind::Number:
        return IjiValue(GetInt32(plain, f.Offset));
    case IjiKind::DateTime: {
        double d;
        std::memcpy(&d, plain.data() + f.Offset, sizeof d);
        // The creation date is shown and printed as a calendar date: a value that is no
        // day of 0001-01-01 … 9999-12-31 (or not a number) is a damaged record.
        if (!InCalendar(d))
            return std::nullopt;
        return IjiValue(d);
    }
    case IjiKind::Flag:
        return IjiValue(plain[f.Offset] != 0);
    }
    return std::nullopt;
}

bool WriteIjiField(std::string& plain, const IjiField& f, const IjiValue& value) {
    if (plain.size() < f.Offset + f.Length)
        return false;
    switch (f.Kind) {
    case IjiKind::Text: {
        const std::string* text = std::get_if<std::string>(&value);
        if (!text || text->size() > f.Length - 1)
            return false;
        plain[f.Offset] = static_cast<char>(text->size());
        std::memset(plain.data() + f.Offset + 1, 0, f.Length - 1);
        std::memcpy(plain.data() + f.Offset + 1, text->data(), text->size());
        return true;
    }
    case IjiKind::Index:
    case IjiKind::Number: {
        const std::int32_t* n = std::get_if<std::int32_t>(&value);
        if (!n)
            return false;
        PutInt32(plain, f.Offset, *n);
        return true;
    }
    case IjiKind::DateTime: {
        const double* d = std::get_if<double>(&value);
        if (!d)
            return false;
        std::memcpy(plain.data() + f.Offset, d, sizeof *d);
        return true;
    }
    case IjiKind::Flag: {
        const bool* b = std::get_if<bool>(&value);
        if (!b)
            return false;
        plain[f.Offset] = *b ? 1 : 0;
        return true;
    }
    }
    return false;
}

std::string EmptyIjiRecord() {
    std::string plain(kIjiRecordSize, '\0');
    for (const auto& f : IjiLayout())
        if (f.Kind == IjiKind::Index)
            PutInt32(plain, f.Offset, -1);
    WriteIjiField(plain, *FindIjiField("Signature"), std::string(kIjiSignature));
    WriteIjiField(plain, *FindIjiField("DataVersion"), kIjiDataVersion);
    return plain;
}

} // namespace pendlar
