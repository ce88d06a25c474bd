#include "store/AcroPDDoc.h"

#include "util/FileSystem.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <set>

namespace pendlar {

std::function<bool(std::uint64_t)> CAcroPDDoc::WriteProbe;

namespace {

// The end of the writer's pipeline: buffered writes to the temporary file, with the test
// probe after every piece that reaches the disk. It never throws: qpdf finishes its
// pipelines inside destructors, where an exception ends the program. After the first
// failure it takes everything silently, and the caller reads Error() once the writer is done.
class FilePipeline : public Pipeline {
public:
    explicit FilePipeline(int fd) : Pipeline("chart file", nullptr), fd_(fd) {
        buffer_.reserve(kBufferSize);
    }

    void write(unsigned char const* data, size_t len) override {
        if (!error_.empty())
            return;
        buffer_.append(reinterpret_cast<const char*>(data), len);
        if (buffer_.size() >= kBufferSize)
            Flush();
    }
    void finish() override { Flush(); }

    void Flush() {
        if (!error_.empty())
            return;
        std::size_t done = 0;
        while (done < buffer_.size()) {
            ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return Stop(std::string("writing the file failed: ") + std::strerror(errno));
            done += static_cast<std::size_t>(n);
            written_ += static_cast<std::uint64_t>(n);
            if (CAcroPDDoc::WriteProbe && !CAcroPDDoc::WriteProbe(written_))
                return Stop("writing the file was stopped");
        }
        buffer_.clear();
    }

    // Empty while every byte reached the file.
    const std::string& Error() const { return error_; }

private:
    void Stop(const std::string& why) {
        error_ = why;
        buffer_.clear();
    }

    static constexpr std::size_t kBufferSize = 64 * 1024;
    int fd_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    std::string error_;
};

// A fresh direct copy of a scalar of another document (null for anything else), so that
// nothing of the other document's object graph comes along.
QPDFObjectHandle CopyScalar(QPDFObjectHandle h) {
    if (h.isBool())
        return QPDFObjectHandle::newBool(h.getBoolValue());
    if (h.isInteger())
        return QPDFObjectHandle::newInteger(h.getIntValue());
    if (h.isReal())
        return QPDFObjectHandle::newReal(h.getRealValue());
    if (h.isName())
        return QPDFObjectHandle::newName(h.getName());
    if (h.isString())
        return QPDFObjectHandle::newString(h.getStringValue());
    return QPDFObjectHandle::newNull();
}

// An outline entry of the inserted document, read before anything is copied: its title as
// stored (the raw bytes), the inserted page it opens (-1: none), the rest of its
// destination, whether it is open, and its children.
struct OutlineItem {
    std::string Title;
    int Page = -1;
    std::vector<QPDFObjectHandle> DestTail;
    bool Open = false;
    QPDFObjectHandle Colour, Flags;
    std::vector<OutlineItem> Kids;
};

constexpr int kMaxOutlineDepth = 64;
// More entries than any chart has; a hostile file cannot make the walk grow without end.
constexpr std::size_t kMaxOutlineEntries = 100000;

// The value of a key in a name tree (the /Names /Dests of the catalog), walked by hand:
// each node once, to a bounded depth, keys compared as the bytes they are.
QPDFObjectHandle FindInNameTree(QPDFObjectHandle node, const std::string& key,
                                std::set<QPDFObjGen>& seen, int depth) {
    if (!node.isDictionary() || depth > kMaxOutlineDepth)
        return QPDFObjectHandle::newNull();
    if (node.isIndirect() && !seen.insert(node.getObjGen()).second)
        return QPDFObjectHandle::newNull();
    QPDFObjectHandle names = node.getKey("/Names");
    if (names.isArray()) {
        for (int i = 0; i + 1 < names.getArrayNItems(); i += 2) {
            QPDFObjectHandle k = names.getArrayItem(i);
            if (k.isString() && k.getStringValue() == key)
                return names.getArrayItem(i + 1);
        }
    }
    QPDFObjectHandle kids = node.getKey("/Kids");
    if (kids.isArray()) {
        for (int i = 0; i < kids.getArrayNItems(); ++i) {
            QPDFObjectHandle found = FindInNameTree(kids.getArrayItem(i), key, seen, depth + 1);
            if (!found.isNull())
                return found;
        }
    }
    return QPDFObjectHandle::newNull();
}

// The explicit destination array of an outline entry: its /Dest or the /D of a GoTo
// action, a name looked up in the catalog's /Dests, a string in the /Names /Dests tree,
// and a dictionary with /D unwrapped. Null when there is none.
QPDFObjectHandle ExplicitDest(QPDF& doc, QPDFObjectHandle entry) {
    QPDFObjectHandle dest = entry.getKey("/Dest");
    if (dest.isNull()) {
        QPDFObjectHandle action = entry.getKey("/A");
        if (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoTo"))
            dest = action.getKey("/D");
    }
    QPDFObjectHandle catalog = doc.getRoot();
    if (dest.isName()) {
        QPDFObjectHandle dests = catalog.getKey("/Dests");
        dest = dests.isDictionary() ? dests.getKey(dest.getName()) : QPDFObjectHandle::newNull();
    } else if (dest.isString()) {
        QPDFObjectHandle names = catalog.getKey("/Names");
        std::set<QPDFObjGen> seen;
        dest = names.isDictionary()
                   ? FindInNameTree(names.getKey("/Dests"), dest.getStringValue(), seen, 0)
                   : QPDFObjectHandle::newNull();
    }
    if (dest.isDictionary())
        dest = dest.getKey("/D");
    return dest.isArray() ? dest : QPDFObjectHandle::newNull();
}

// Reads the entries from `first` along /Next, and their children, each entry once.
std::vector<OutlineItem> ReadOutlines(QPDF& doc, QPDFObjectHandle first,
                                      const std::map<QPDFObjGen, int>& pageIndex,
                                      std::set<QPDFObjGen>& seen, int depth) {
    std::vector<OutlineItem> out;
    if (depth > kMaxOutlineDepth)
        return out;
    for (QPDFObjectHandle dict = first; dict.isDictionary(); dict = dict.getKey("/Next")) {
        if (seen.size() >= kMaxOutlineEntries ||
            (dict.isIndirect() && !seen.insert(dict.getObjGen()).second))
            break; // a loop in the outline, or no end to it
        OutlineItem item;
        QPDFObjectHandle title = dict.getKey("/Title");
        if (title.isString()) {
            item.Title = title.getStringValue();
        }
        QPDFObjectHandle dest = ExplicitDest(doc, dict);
        if (dest.isArray() && dest.getArrayNItems() > 0) {
            QPDFObjectHandle page = dest.getArrayItem(0);
            if (page.isIndirect()) {
                auto it = pageIndex.find(page.getObjGen());
                if (it != pageIndex.end()) {
                    item.Page = it->second;
                    for (int i = 1; i < dest.getArrayNItems(); ++i)
                        item.DestTail.push_back(CopyScalar(dest.getArrayItem(i)));
                }
            }
        }
        QPDFObjectHandle count = dict.getKey("/Count");
        item.Open = count.isInteger() && count.getIntValue() > 0;
        QPDFObjectHandle colour = dict.getKey("/C");
        if (colour.isArray() && colour.getArrayNItems() == 3) {
            item.Colour = QPDFObjectHandle::newArray();
            for (int i = 0; i < 3; ++i) {
                QPDFObjectHandle c = colour.getArrayItem(i);
                item.Colour.appendItem(c.isNumber() ? CopyScalar(c)
                                                    : QPDFObjectHandle::newInteger(0));
            }
        }
        QPDFObjectHandle flags = dict.getKey("/F");
        if (flags.isInteger())
            item.Flags = QPDFObjectHandle::newInteger(flags.getIntValue());
        item.Kids = ReadOutlines(doc, dict.getKey("/First"), pageIndex, seen, depth + 1);
        out.push_back(std::move(item));
    }
    return out;
}

// The entries shown below an item when it is open.
int VisibleDescendants(const OutlineItem& item) {
    int n = 0;
    for (const OutlineItem& kid : item.Kids)
        n += 1 + (kid.Open ? VisibleDescendants(kid) : 0);
    return n;
}

// Builds new outline dictionaries in `doc` for `items` below `parent`; returns the first and
// last of them (null handles when there are none).
std::pair<QPDFObjectHandle, QPDFObjectHandle>
BuildOutlines(QPDF& doc, const std::vector<OutlineItem>& items, QPDFObjectHandle parent,
              const std::vector<QPDFObjectHandle>& newPages) {
    QPDFObjectHandle first, last;
    for (const OutlineItem& item : items) {
        QPDFObjectHandle entry = doc.makeIndirectObject(QPDFObjectHandle::newDictionary());
        entry.replaceKey("/Title", QPDFObjectHandle::newString(item.Title));
        entry.replaceKey("/Parent", parent);
        if (item.Page >= 0) {
            QPDFObjectHandle dest = QPDFObjectHandle::newArray();
            dest.appendItem(newPages[static_cast<std::size_t>(item.Page)]);
            for (const QPDFObjectHandle& part : item.DestTail)
                dest.appendItem(part);
            if (item.DestTail.empty())
                dest.appendItem(QPDFObjectHandle::newName("/Fit"));
            entry.replaceKey("/Dest", dest);
        }
        if (item.Colour.isInitialized())
            entry.replaceKey("/C", item.Colour);
        if (item.Flags.isInitialized())
            entry.replaceKey("/F", item.Flags);
        auto [kidFirst, kidLast] = BuildOutlines(doc, item.Kids, entry, newPages);
        if (kidFirst.isInitialized()) {
            entry.replaceKey("/First", kidFirst);
            entry.replaceKey("/Last", kidLast);
            int visible = VisibleDescendants(item);
            entry.replaceKey("/Count",
                             QPDFObjectHandle::newInteger(item.Open ? visible : -visible));
        }
        if (last.isInitialized()) {
            last.replaceKey("/Next", entry);
            entry.replaceKey("/Prev", last);
        } else {
            first = entry;
        }
        last = entry;
    }
    return {first, last};
}

// The top-level entries of an outline root, following /Next from /First (each once).
std::vector<QPDFObjectHandle> TopLevelEntries(QPDFObjectHandle root) {
    std::vector<QPDFObjectHandle> entries;
    std::set<QPDFObjGen> seen;
    QPDFObjectHandle entry = root.getKey("/First");
    while (entry.isDictionary()) {
        if (entry.isIndirect() && !seen.insert(entry.getObjGen()).second)
            break;
        entries.push_back(entry);
        entry = entry.getKey("/Next");
    }
    return entries;
}

void FsyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

CAcroPDDoc::CAcroPDDoc() = default;
CAcroPDDoc::~CAcroPDDoc() = default;

QPDF* CAcroPDDoc::Doc() const {
    return qpdf_.get();
}

bool CAcroPDDoc::IsOpen() const {
    return qpdf_ != nullptr;
}

bool CAcroPDDoc::Fail(const std::string& why) {
    lastError_ = why;
    return false;
}

bool CAcroPDDoc::Open(const std::string& sjisPath, const std::vector<std::string>& passwords) {
    Close();
    lastError_.clear();
    const std::string file = FsPath(sjisPath).string();
    // Owner passwords first: a file whose user password is empty also opens without one,
    // but only the owner password lets its security be changed.
    std::vector<std::string> tries = passwords;
    tries.push_back("");
    for (const std::string& password : tries) {
        auto doc = std::make_unique<QPDF>();
        doc->setSuppressWarnings(true);
        // A damaged file is refused instead of reconstructed: saving a reconstruction over
        // a stored chart could silently drop pages.
        doc->setAttemptRecovery(false);
        try {
            doc->processFile(file.c_str(), password.c_str());
            doc->getAllPages(); // walks the page tree now, so a broken one fails here
            if (doc->anyWarnings())
                return Fail("the file is damaged: " +
                            doc->getWarnings().front().getMessageDetail());
            qpdf_ = std::move(doc);
            password_ = password;
            return true;
        } catch (const QPDFExc& e) {
            if (e.getErrorCode() == qpdf_e_password) {
                lastError_ = e.what();
                continue;
            }
            return Fail(e.what());
        } catch (const std::bad_alloc&) {
            throw EAcrobatError("out of memory while opening a PDF");
        } catch (const std::logic_error& e) {
            throw EAcrobatError(std::string("the PDF library failed: ") + e.what());
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    }
    return false;
}

void CAcroPDDoc::Close() {
    qpdf_.reset();
    password_.clear();
    encryptWith_.reset();
}

int CAcroPDDoc::GetNumPages() const {
    if (!qpdf_)
        return -1;
    try {
        return static_cast<int>(qpdf_->getAllPages().size());
    } catch (const std::exception&) {
        return -1;
    }
}

bool CAcroPDDoc::InsertPages(int after, CAcroPDDoc& source, int sourceStart, int count,
                             bool bookmarks) {
    if (!qpdf_ || !source.qpdf_ || &source == this)
        return Fail("both documents must be open and different");
    const int basePages = GetNumPages();
    const int sourcePages = source.GetNumPages();
    if (after < -1 || after >= basePages || sourceStart < 0 || count <= 0 ||
        sourceStart > sourcePages - count)
        return Fail("page range out of bounds");
    try {
        QPDF& base = *qpdf_;
        QPDF& from = *source.qpdf_;
        // Pages that inherit their size or resources from the page tree must carry them
        // themselves before they move to another tree.
        QPDFPageDocumentHelper(from).pushInheritedAttributesToPage();
        QPDFPageDocumentHelper(base).pushInheritedAttributesToPage();

        std::vector<QPDFObjectHandle> fromPages = from.getAllPages();
        std::map<QPDFObjGen, int> pageIndex;
        for (int i = 0; i < count; ++i)
            pageIndex[fromPages[static_cast<std::size_t>(sourceStart + i)].getObjGen()] = i;

        // The outline is read (named destinations resolved) before anything is copied, and
        // rebuilt afterwards as new dictionaries: copying the other document's entries would
        // drag its whole outline along, and a destination copied before its page is null.
        std::vector<OutlineItem> outline;
        if (bookmarks) {
            // Walked by hand: qpdf's outline helper loops forever on an entry that is its
            // own sibling.
            QPDFObjectHandle root = from.getRoot().getKey("/Outlines");
            std::set<QPDFObjGen> seen;
            if (root.isDictionary())
                outline = ReadOutlines(from, root.getKey("/First"), pageIndex, seen, 0);
        }

        std::vector<QPDFObjectHandle> newPages;
        const int at = after + 1;
        for (int i = 0; i < count; ++i) {
            QPDFObjectHandle page = fromPages[static_cast<std::size_t>(sourceStart + i)];
            const std::vector<QPDFObjectHandle>& now = base.getAllPages();
            const std::size_t position = static_cast<std::size_t>(at + i);
            if (position < now.size())
                base.addPageAt(page, true, now[position]);
            else
                base.addPage(page, false);
            newPages.push_back(base.getAllPages()[position]);
        }

        if (bookmarks && !outline.empty()) {
            QPDFObjectHandle catalog = base.getRoot();
            QPDFObjectHandle root = catalog.getKey("/Outlines");
            if (!root.isDictionary()) {
                root = base.makeIndirectObject(QPDFObjectHandle::newDictionary());
                root.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
                catalog.replaceKey("/Outlines", root);
            }
            std::vector<QPDFObjectHandle> old = TopLevelEntries(root);
            auto [first, last] = BuildOutlines(base, outline, root, newPages);
            if (old.empty()) {
                root.replaceKey("/First", first);
                root.replaceKey("/Last", last);
            } else if (after == -1) {
                last.replaceKey("/Next", old.front());
                old.front().replaceKey("/Prev", last);
                root.replaceKey("/First", first);
                root.replaceKey("/Last", old.back());
            } else {
                old.back().replaceKey("/Next", first);
                first.replaceKey("/Prev", old.back());
                root.replaceKey("/First", old.front());
                root.replaceKey("/Last", last);
            }
            int visible = 0;
            for (QPDFObjectHandle entry : TopLevelEntries(root)) {
                QPDFObjectHandle c = entry.getKey("/Count");
                visible += 1 + (c.isInteger() && c.getIntValue() > 0 ? c.getIntValueAsInt() : 0);
            }
            root.replaceKey("/Count", QPDFObjectHandle::newInteger(visible));
        }
        if (base.anyWarnings() || from.anyWarnings())
            return Fail("the pages could not be read cleanly");
        return true;
    } catch (const std::exception& e) {
        return Fail(std::string("inserting the pages failed: ") + e.what());
    }
}

bool CAcroPDDoc::CanChangeSecurity() const {
    return qpdf_ && (!qpdf_->isEncrypted() || qpdf_->ownerPasswordMatched());
}

bool CAcroPDDoc::EncryptUsingPolicy(const SecurityPolicy& policy) {
    if (!CanChangeSecurity())
        return Fail("the security of this document cannot be changed");
    encryptWith_ = std::make_unique<SecurityPolicy>(policy);
    return true;
}

bool CAcroPDDoc::Save(int /*saveType*/, const std::string& sjisPath) {
    if (!qpdf_)
        return Fail("no document is open");
    const std::filesystem::path target = FsPath(sjisPath);
    // A file its owner may not write has been protected on purpose: it is not rewritten.
    // (The rename below would replace it whatever its permissions.)
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && (existing.st_mode & S_IWUSR) == 0) {
        Close();
        return Fail("the file is read-only");
    }
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temp = (target.parent_path() / hidden).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        Close();
        return Fail(std::string("no temporary file beside the target: ") + std::strerror(errno));
    }
    // The replacement keeps the stored file's permissions (other stations read it too).
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    const int expectedPages = GetNumPages();
    const std::string checkPassword = encryptWith_ ? encryptWith_->OwnerPassword : password_;
    bool ok = false;
    try {
        FilePipeline out(fd);
        QPDFWriter writer(*qpdf_);
        writer.setOutputPipeline(&out);
        // Stream data goes out as stored: the page images are not decoded or recompressed.
        writer.setStreamDataMode(qpdf_s_preserve);
        if (encryptWith_) {
            const SecurityPolicy& p = *encryptWith_;
            writer.setR6EncryptionParameters(p.UserPassword.c_str(), p.OwnerPassword.c_str(), true,
                                             p.AllowCopying, p.AllowChanging, p.AllowAnnotating,
                                             p.AllowAnnotating, p.AllowChanging,
                                             p.AllowPrinting ? qpdf_r3p_full : qpdf_r3p_none, true);
        } else if (!qpdf_->isEncrypted()) {
            // Equal input gives equal bytes; an encrypted file needs a random ID instead.
            writer.setDeterministicID(true);
        }
        writer.write();
        out.Flush();
        if (!out.Error().empty())
            lastError_ = out.Error();
        else if (::fsync(fd) != 0)
            lastError_ = std::string("flushing the file failed: ") + std::strerror(errno);
        else
            ok = true;
    } catch (const std::exception& e) {
        lastError_ = e.what();
    }
    ok = ::close(fd) == 0 && ok;
    // The document may read its own file lazily: it is let go before that file is replaced.
    Close();

    if (ok) {
        // Read back what was written before it replaces anything.
        try {
            QPDF check;
            check.setSuppressWarnings(true);
            check.setAttemptRecovery(false);
            check.processFile(temp.c_str(), checkPassword.c_str());
            ok = static_cast<int>(check.getAllPages().size()) == expectedPages &&
                 !check.anyWarnings();
            if (!ok)
                lastError_ = "the written file does not read back";
        } catch (const std::exception& e) {
            ok = false;
            lastError_ = std::string("the written file does not read back: ") + e.what();
        }
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        lastError_ = std::string("replacing the file failed: ") + std::strerror(errno);
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    FsyncFolder(target.parent_path());
    return true;
}

} // namespace pendlar
