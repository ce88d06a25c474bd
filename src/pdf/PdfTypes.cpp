#include "pdf/PdfTypes.h"

#include "util/Sjis.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pendlar {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char c) {
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}

// The bytes a name writes as #XX: delimiters, the comment and escape signs, and every byte
// outside the printable ASCII range.
bool NameNeedsEscape(unsigned char c) {
    if (c < 0x21 || c > 0x7E)
        return true;
    switch (c) {
    case '#':
    case '%':
    case '(':
    case ')':
    case '/':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
        return true;
    default:
        return false;
    }
}

// Owns a direct object or a reference; an indirect object stays with the registry and is
// represented by a new reference.
std::unique_ptr<TPdfObject> AdoptValue(TPdfObject* object) {
    if (object->ObjectType() == ObjectKind::Indirect)
        return TPdfVirtualObject::CreateVirtual(object->ObjectNumber());
    return std::unique_ptr<TPdfObject>(object);
}

TPdfObject* Resolve(TPdfObject* object, const TPdfObjectMgr* objectMgr) {
    if (object == nullptr || object->ObjectType() != ObjectKind::Reference)
        return object;
    return objectMgr ? objectMgr->ObjectAt(object->ObjectNumber()) : nullptr;
}

std::string PaddedNumber(std::int64_t value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(value));
    return buffer;
}

} // namespace

// ---- TPdfObject ----

void TPdfObject::Write(PdfOutStream& out) const {
    if (kind_ == ObjectKind::Direct) {
        WriteValue(out);
        return;
    }
    out.Write(std::to_string(objectNumber_));
    out.Write(' ');
    out.Write(std::to_string(generationNumber_));
    out.Write(" R");
}

void TPdfObject::WriteIndirect(PdfOutStream& out) const {
    if (kind_ != ObjectKind::Indirect)
        throw EPdfInvalidOperation("internal error wrong object type");
    out.Write(std::to_string(objectNumber_));
    out.Write(' ');
    out.Write(std::to_string(generationNumber_));
    out.Write(" obj\r\n");
    WriteValue(out);
    out.Write("\r\nendobj\r\n");
}

void TPdfObject::WriteValue(PdfOutStream&) const {}

void TPdfNull::WriteValue(PdfOutStream& out) const {
    out.Write("null");
}

void TPdfBoolean::WriteValue(PdfOutStream& out) const {
    out.Write(value_ ? "true" : "false");
}

void TPdfNumber::WriteValue(PdfOutStream& out) const {
    out.Write(std::to_string(value_));
}

void TPdfReal::WriteValue(PdfOutStream& out) const {
    out.Write(FormatReal(value_));
}

void TPdfText::WriteValue(PdfOutStream& out) const {
    out.Write(PdfTextString(value_));
}

void TPdfName::WriteValue(PdfOutStream& out) const {
    out.Write(PdfNameString(value_));
}

void TPdfBinary::WriteValue(PdfOutStream& out) const {
    out.Write(stream_);
}

// ---- TPdfArray ----

TPdfArray::TPdfArray(TPdfObjectMgr* objectMgr, std::initializer_list<std::int32_t> numbers)
    : objectMgr_(objectMgr) {
    for (std::int32_t n : numbers)
        items_.push_back(std::make_unique<TPdfNumber>(n));
}

std::unique_ptr<TPdfObject> TPdfArray::Adopt(TPdfObject* object) const {
    if (object == nullptr)
        throw EPdfInvalidValue("internal error. wrong object.");
    return AdoptValue(object);
}

void TPdfArray::Append(TPdfObject* object) {
    for (const auto& item : items_)
        if (item.get() == object)
            return;
    items_.push_back(Adopt(object));
}

TPdfObject* TPdfArray::ItemAt(std::size_t index) const {
    if (index >= items_.size())
        return nullptr;
    return Resolve(items_[index].get(), objectMgr_);
}

void TPdfArray::Replace(std::size_t index, TPdfObject* object) {
    if (index >= items_.size() || items_[index].get() == object)
        return;
    items_[index] = Adopt(object);
}

TPdfName* TPdfArray::FindName(std::string_view name) const {
    for (const auto& item : items_)
        if (auto* n = dynamic_cast<TPdfName*>(item.get()); n && n->Value() == name)
            return n;
    return nullptr;
}

bool TPdfArray::RemoveName(std::string_view name) {
    TPdfName* found = FindName(name);
    if (found == nullptr)
        return false;
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->get() == found) {
            items_.erase(it);
            break;
        }
    return true;
}

void TPdfArray::WriteValue(PdfOutStream& out) const {
    out.Write('[');
    for (const auto& item : items_) {
        item->Write(out);
        out.Write(' ');
    }
    out.Write(']');
}

// ---- TPdfDictionary ----

TPdfDictionaryElement::TPdfDictionaryElement(std::string_view key, TPdfObject* value, bool hidden)
    : key_(std::make_unique<TPdfName>(std::string(key))), hidden_(hidden) {
    if (value == nullptr)
        throw EPdfInvalidValue("internal error. wrong object.");
    value_ = AdoptValue(value);
}

void TPdfDictionary::PutElement(std::string_view key, TPdfObject* value, bool hidden) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if ((*it)->Key() != key)
            continue;
        if ((*it)->Value() == value) {
            // Putting the value a key already holds only moves the key to the end; freeing
            // the old element first would free the value being put.
            auto element = std::move(*it);
            items_.erase(it);
            element->hidden_ = hidden;
            items_.push_back(std::move(element));
            return;
        }
        items_.erase(it);
        break;
    }
    items_.push_back(std::make_unique<TPdfDictionaryElement>(key, value, hidden));
}

void TPdfDictionary::Put(std::string_view key, TPdfObject* value) {
    PutElement(key, value, false);
}

void TPdfDictionary::PutHidden(std::string_view key, TPdfObject* value) {
    PutElement(key, value, true);
}

void TPdfDictionary::PutNumber(std::string_view key, std::int32_t value) {
    Put(key, new TPdfNumber(value));
}

void TPdfDictionary::PutName(std::string_view key, std::string_view value) {
    Put(key, new TPdfName(std::string(value)));
}

void TPdfDictionary::Remove(std::string_view key) {
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if ((*it)->Key() == key) {
            items_.erase(it);
            return;
        }
}

TPdfObject* TPdfDictionary::Lookup(std::string_view key) const {
    for (const auto& item : items_)
        if (item->Key() == key)
            return Resolve(item->Value(), objectMgr_);
    return nullptr;
}

TPdfNumber* TPdfDictionary::LookupNumber(std::string_view key) const {
    return dynamic_cast<TPdfNumber*>(Lookup(key));
}

TPdfReal* TPdfDictionary::LookupReal(std::string_view key) const {
    return dynamic_cast<TPdfReal*>(Lookup(key));
}

TPdfName* TPdfDictionary::LookupName(std::string_view key) const {
    return dynamic_cast<TPdfName*>(Lookup(key));
}

TPdfText* TPdfDictionary::LookupText(std::string_view key) const {
    return dynamic_cast<TPdfText*>(Lookup(key));
}

TPdfArray* TPdfDictionary::LookupArray(std::string_view key) const {
    return dynamic_cast<TPdfArray*>(Lookup(key));
}

TPdfDictionary* TPdfDictionary::LookupDictionary(std::string_view key) const {
    return dynamic_cast<TPdfDictionary*>(Lookup(key));
}

std::string TPdfDictionary::TypeOf() const {
    TPdfName* type = LookupName("Type");
    return type ? type->Value() : std::string();
}

void TPdfDictionary::WriteValue(PdfOutStream& out) const {
    out.Write("<<\r\n");
    for (const auto& item : items_) {
        if (item->IsHidden())
            continue;
        item->key_->Write(out);
        out.Write(' ');
        item->Value()->Write(out);
        out.Write("\r\n");
    }
    out.Write(">>");
}

// ---- TPdfStream ----

TPdfStream::TPdfStream(TPdfObjectMgr* objectMgr)
    : attributes_(std::make_unique<TPdfDictionary>(objectMgr)) {
    attributes_->PutNumber("Length", 0);
    attributes_->Put("Filter", new TPdfArray(objectMgr));
}

void TPdfStream::WriteValue(PdfOutStream& out) const {
    // Length keeps its place at the head of the dictionary.
    auto length = static_cast<std::int32_t>(stream_.size());
    if (TPdfNumber* number = attributes_->LookupNumber("Length"))
        number->SetValue(length);
    else
        attributes_->PutNumber("Length", length);
    attributes_->Write(out);
    out.Write("\r\nstream\r\n");
    out.Write(stream_);
    out.Write("\nendstream");
}

// ---- TPdfVirtualObject ----

TPdfVirtualObject::TPdfVirtualObject() {
    throw std::runtime_error("virtualObject must be create by CreateVirtual method.");
}

TPdfVirtualObject::TPdfVirtualObject(Target target) {
    kind_ = ObjectKind::Reference;
    objectNumber_ = target.number;
}

std::unique_ptr<TPdfVirtualObject> TPdfVirtualObject::CreateVirtual(int objectNumber) {
    return std::unique_ptr<TPdfVirtualObject>(new TPdfVirtualObject(Target{objectNumber}));
}

// ---- TPdfXref ----

void TPdfXrefEntry::SaveToStream(PdfOutStream& out) const {
    out.Write(PaddedNumber(ByteOffset < 0 ? 0 : ByteOffset, 10));
    out.Write(' ');
    out.Write(PaddedNumber(GenerationNumber, 5));
    out.Write(' ');
    out.Write(EntryType);
    out.Write("\r\n");
}

TPdfXref::TPdfXref() {
    auto head = std::make_unique<TPdfXrefEntry>();
    head->EntryType = 'f';
    head->ByteOffset = 0;
    head->GenerationNumber = 65535;
    entries_.push_back(std::move(head));
}

int TPdfXref::AddObject(TPdfObject* object) {
    if (object == nullptr || object->ObjectType() != ObjectKind::Direct)
        throw EPdfInvalidOperation("AddObject --wrong object type.");
    auto entry = std::make_unique<TPdfXrefEntry>();
    int number = static_cast<int>(entries_.size());
    object->kind_ = ObjectKind::Indirect;
    object->objectNumber_ = number;
    entry->Value.reset(object);
    entries_.push_back(std::move(entry));
    return number;
}

TPdfObject* TPdfXref::ObjectAt(int objectNumber) const {
    if (objectNumber < 0 || static_cast<std::size_t>(objectNumber) >= entries_.size())
        return nullptr;
    return entries_[static_cast<std::size_t>(objectNumber)]->Value.get();
}

void TPdfXref::WriteObjects(PdfOutStream& out) {
    for (std::size_t i = 1; i < entries_.size(); ++i) {
        entries_[i]->ByteOffset = out.Position();
        entries_[i]->Value->WriteIndirect(out);
    }
}

void TPdfXref::SaveToStream(PdfOutStream& out) const {
    out.Write("xref\r\n0 ");
    out.Write(std::to_string(entries_.size()));
    out.Write("\r\n");
    for (const auto& entry : entries_)
        entry->SaveToStream(out);
}

// ---- header and trailer ----

void TPdfHeader::WriteToStream(PdfOutStream& out) const {
    out.Write("%PDF-1.2 \r\n");
}

TPdfTrailer::TPdfTrailer(TPdfObjectMgr* objectMgr)
    : attributes_(std::make_unique<TPdfDictionary>(objectMgr)) {
    attributes_->PutNumber("Size", 0);
}

void TPdfTrailer::WriteToStream(PdfOutStream& out) const {
    out.Write("trailer\r\n");
    attributes_->Write(out);
    out.Write("\r\nstartxref\r\n");
    out.Write(std::to_string(xrefAddress_));
    out.Write("\r\n%%EOF\r\n");
}

// ---- text utilities ----

PdfDateTime PdfDateTime::Now() {
    std::tm parts{};
    bool fixed = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        char* end = nullptr;
        long long seconds = std::strtoll(epoch, &end, 10);
        if (*end == '\0' && seconds >= 0) {
            std::time_t t = static_cast<std::time_t>(seconds);
            fixed = gmtime_r(&t, &parts) != nullptr;
        }
    }
    if (!fixed) {
        std::time_t t = std::time(nullptr);
        localtime_r(&t, &parts);
    }
    PdfDateTime now;
    now.Year = parts.tm_year + 1900;
    now.Month = parts.tm_mon + 1;
    now.Day = parts.tm_mday;
    now.Hour = parts.tm_hour;
    now.Minute = parts.tm_min;
    now.Second = parts.tm_sec;
    return now;
}

std::string PdfDateString(const PdfDateTime& time) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "D:%04d%02d%02d%02d%02d%02d", time.Year, time.Month,
                  time.Day, time.Hour, time.Minute, time.Second);
    return buffer;
}

std::string FormatReal(double value) {
    // A value the file format cannot carry, and minus zero, are written as 0.
    if (!std::isfinite(value) || value == 0)
        return "0";
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string FormatContentNumber(double value) {
    return FormatReal(std::trunc(value * 100 + 0.5) / 100);
}

bool HasMultiByteString(std::string_view text) {
    for (char c : text)
        if (IsLeadByte(static_cast<unsigned char>(c)))
            return true;
    return false;
}

int CharCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        ++count;
        if (IsLeadByte(static_cast<unsigned char>(text[i])))
            ++i;
    }
    return count;
}

std::string PdfNameString(std::string_view name) {
    std::string out = "/";
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (NameNeedsEscape(c)) {
            out += '#';
            AppendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string PdfLiteralString(std::string_view text) {
    std::string out = "(";
    for (char c : text) {
        switch (c) {
        case '(':
        case ')':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            out += c;
        }
    }
    out += ')';
    return out;
}

std::string PdfTextString(std::string_view text) {
    if (!HasMultiByteString(text))
        return PdfLiteralString(text);
    // Byte-order mark, then the language escape U+001B "en" U+001B, then the text in UTF-16;
    // bytes that are no valid Shift-JIS arrive here as U+FFFD.
    std::string out = "<FEFF001B656E001B";
    for (char16_t unit : SjisToUtf16(text)) {
        AppendHexByte(out, static_cast<unsigned char>(unit >> 8));
        AppendHexByte(out, static_cast<unsigned char>(unit & 0xFF));
    }
    out += '>';
    return out;
}

} // namespace pendlar
