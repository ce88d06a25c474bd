// One PDF document as the add and policy flows use it: open, count pages, insert the pages
// of another document with their outline entries, encrypt with a security policy, save in
// place, close. Built over qpdf (libqpdf).
//
// What callers rely on:
// - Open is false when the file is not a readable PDF (missing, damaged, encrypted with a
//   password we do not have); it throws EAcrobatError only when the layer itself cannot
//   work. A damaged file is not repaired: a stored chart is never rewritten from a guess.
// - Save writes a temporary file in the target's folder, reads it back, and only then
//   renames it over the target. Any failure leaves the target byte for byte as it was.
//   A read-only target (no write permission for its owner) is refused.
// - The methods are virtual so that tests can stand in a layer that fails.
#pragma once

#include "store/SecurityPolicy.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QPDF;

namespace pendlar {

// The document layer cannot work at all (the library failed inside, out of memory).
class EAcrobatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CAcroPDDoc {
public:
    // Save types of the flows: a full save that also drops unreferenced objects. Every
    // save here writes the whole file and keeps only reachable objects, whatever the type.
    static constexpr int PDSaveFull = 1;
    static constexpr int PDSaveCollectGarbage = 32;

    CAcroPDDoc();
    virtual ~CAcroPDDoc();
    CAcroPDDoc(const CAcroPDDoc&) = delete;
    CAcroPDDoc& operator=(const CAcroPDDoc&) = delete;

    // Opens a Shift-JIS path, trying no password first and then each of `passwords`
    // (UTF-8). An open document is closed first.
    virtual bool Open(const std::string& sjisPath, const std::vector<std::string>& passwords = {});
    // Releases the document and its file; harmless when nothing is open.
    virtual void Close();
    bool IsOpen() const;

    // The number of pages, or -1 when no document is open.
    virtual int GetNumPages() const;

    // Inserts `count` pages of `source` from `sourceStart` after page `after` of this
    // document (-1: before the first page). With `bookmarks`, the outline entries of
    // `source` that open one of the inserted pages come along, in their order and nesting,
    // pointing at the new pages: before this document's own entries when inserting at the
    // front, after them otherwise. False when nothing could be inserted sensibly; the file
    // on disk is untouched either way.
    virtual bool InsertPages(int after, CAcroPDDoc& source, int sourceStart, int count,
                             bool bookmarks);

    // Whether the document's security can be changed: not encrypted, or opened with its
    // owner password. (Where Acrobat has no JavaScript object for a document.)
    virtual bool CanChangeSecurity() const;
    // Marks the open document to be written encrypted with the policy (AES-256); takes
    // effect at Save. False when the security cannot be changed.
    virtual bool EncryptUsingPolicy(const SecurityPolicy& policy);

    // Writes the document over the Shift-JIS path, in place (see the top). The document is
    // closed afterwards whatever the outcome, because its input file may just have been
    // replaced. False when the file could not be written; the target is then unchanged.
    virtual bool Save(int saveType, const std::string& sjisPath);

    // Why the last operation failed (English, for the logs of tests and the tool).
    const std::string& LastError() const { return lastError_; }

    // Called with the number of bytes written so far each time a piece of a saved file
    // has gone to disk; returning false makes the write fail there. Tests use it to
    // simulate a full disk or a process killed in the middle of a save.
    static std::function<bool(std::uint64_t bytesWritten)> WriteProbe;

private:
    QPDF* Doc() const;
    bool Fail(const std::string& why);

    std::unique_ptr<QPDF> qpdf_;
    std::string password_; // the password the document was opened with
    std::unique_ptr<SecurityPolicy> encryptWith_;
    std::string lastError_;
};

} // namespace pendlar
