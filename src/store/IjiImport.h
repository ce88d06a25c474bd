// Reading a billing record from its stored blob: decryption, the signature and version
// checks, and the fields group by group, stopping at the first group that cannot be read.
// The caller (the patient confirmation) shows the message of a failure and copies the
// fields that were read into the header tabs.
#pragma once

#include "store/IjiRecord.h"
#include "store/ProtectData.h"

#include <optional>
#include <string>
#include <vector>

namespace pendlar {

struct IjiDecodeResult {
    enum class Status {
        Ok,
        NoData,          // no blob (or it could not be read)
        SizeError,       // a blob of length 0
        ShortRecord,     // fewer plain bytes than a record holds
        SignatureFormat, // the header fields cannot be read
        Signature,       // not "PDFCARUTE"
        Version,         // not 15
        GroupError,      // a field of FailedGroup cannot be read; earlier fields are in Entries
    };

    Status State = Status::NoData;
    int FailedGroup = 0;
    std::string Signature;
    std::int32_t DataVersion = 0;
    std::int32_t TargetYear = 0;
    double CreateDate = 0;
    bool HeaderRead = false; // Signature … CreateDate hold the record's values
    std::vector<IjiEntry> Entries; // the fields of groups 1-7 read, in record order

    bool Ok() const { return State == Status::Ok; }
};

IjiDecodeResult DecodeIjiBlob(const std::optional<std::string>& blob, const TProtectData& protect);

// The message box text and the error-log line of a failed decode (Shift-JIS); the size
// error has no box (its text goes to the status bar) and the short record no log line.
std::string IjiFailureMessage(const IjiDecodeResult& result);
std::string IjiFailureLogLine(const IjiDecodeResult& result);

} // namespace pendlar
