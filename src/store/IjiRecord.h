// The billing record as the billing system writes it into PDF_DATA.IJIDATA: 5920 plain
// bytes (before encryption), little-endian integers, Shift-JIS texts as length-prefixed
// strings whose capacity is the field length minus one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pendlar {

constexpr std::size_t kIjiRecordSize = 5920;
constexpr std::int32_t kIjiDataVersion = 15;
inline constexpr const char* kIjiSignature = "PDFCARUTE";

enum class IjiKind {
    Text,     // length byte + text; date fields hold date texts as typed
    Index,    // int32, a choice index
    Number,   // int32 (version, target year)
    DateTime, // double, days since 1899-12-30
    Flag,     // one byte, non-zero = ticked
};

struct IjiField {
    std::string Name; // the input field (and chart-record field) it fills
    std::size_t Offset;
    std::size_t Length; // bytes in the record
    IjiKind Kind;
    int Group; // 0 header, 1-7 the import groups
};

// Every field in record order.
const std::vector<IjiField>& IjiLayout();
const IjiField* FindIjiField(const std::string& name);

using IjiValue = std::variant<std::string, std::int32_t, double, bool>;

struct IjiEntry {
    const IjiField* Field;
    IjiValue Value;
};

// Reads one field from a plain record of at least kIjiRecordSize bytes; nullopt when the
// bytes cannot be that field (a text length beyond its capacity, a date that is not a
// day of 0001-01-01 … 9999-12-31).
std::optional<IjiValue> ReadIjiField(const std::string& plain, const IjiField& field);

// Writes one field into a plain record; false when the value does not fit (text too long)
// or is of the wrong kind.
bool WriteIjiField(std::string& plain, const IjiField& field, const IjiValue& value);

// A plain record with every text empty, every index -1, every number and flag 0, and the
// signature and version of the current format.
std::string EmptyIjiRecord();

} // namespace pendlar
