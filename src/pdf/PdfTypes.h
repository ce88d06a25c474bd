// The PDF object model and the file frame: objects, the cross-reference registry, header and
// trailer, and their byte-exact serialisation. The writer produces uncompressed PDF 1.2 and
// never reads PDF.
//
// Ownership follows one rule: the registry (TPdfXref) owns every indirect object; arrays,
// dictionaries and dictionary elements own their direct items. An indirect object is never
// owned by a container, which holds a TPdfVirtualObject (a reference) to it instead. Objects
// are handed to containers as raw pointers: a direct object passes into the container's
// ownership, an indirect one is referenced. The unique_ptr overloads do the same and return
// the object for further filling.
//
// All texts are Shift-JIS byte strings.
#pragma once

#include "pdf/PdfOutStream.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

// A value handed to the writer is unusable.
class EPdfInvalidValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A call in a state that does not allow it.
class EPdfInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ObjectKind { Direct, Indirect, Reference };

class TPdfObjectMgr;
class TPdfXref;

class TPdfObject {
public:
    TPdfObject() = default;
    virtual ~TPdfObject() = default;
    TPdfObject(const TPdfObject&) = delete;
    TPdfObject& operator=(const TPdfObject&) = delete;

    ObjectKind ObjectType() const { return kind_; }
    int ObjectNumber() const { return objectNumber_; }
    int GenerationNumber() const { return generationNumber_; }

    // As an item or value: "n g R" for an indirect object or a reference, else the value.
    void Write(PdfOutStream& out) const;
    // The numbered block "n g obj" ... "endobj" of a registered object.
    void WriteIndirect(PdfOutStream& out) const;

protected:
    virtual void WriteValue(PdfOutStream& out) const;

private:
    friend class TPdfXref;
    friend class TPdfVirtualObject;

    ObjectKind kind_ = ObjectKind::Direct;
    int objectNumber_ = -1;
    int generationNumber_ = 0;
};

class TPdfNull : public TPdfObject {
protected:
    void WriteValue(PdfOutStream& out) const override;
};

class TPdfBoolean : public TPdfObject {
public:
    explicit TPdfBoolean(bool value = false) : value_(value) {}
    bool Value() const { return value_; }
    void SetValue(bool value) { value_ = value; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    bool value_;
};

class TPdfNumber : public TPdfObject {
public:
    explicit TPdfNumber(std::int32_t value = 0) : value_(value) {}
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value) { value_ = value; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::int32_t value_;
};

class TPdfReal : public TPdfObject {
public:
    explicit TPdfReal(double value = 0) : value_(value) {}
    double Value() const { return value_; }
    void SetValue(double value) { value_ = value; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    double value_;
};

class TPdfText : public TPdfObject {
public:
    explicit TPdfText(std::string value = {}) : value_(std::move(value)) {}
    const std::string& Value() const { return value_; }
    void SetValue(std::string value) { value_ = std::move(value); }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::string value_;
};

class TPdfName : public TPdfObject {
public:
    explicit TPdfName(std::string value = {}) : value_(std::move(value)) {}
    const std::string& Value() const { return value_; }
    void SetValue(std::string value) { value_ = std::move(value); }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::string value_;
};

class TPdfArray : public TPdfObject {
public:
    explicit TPdfArray(TPdfObjectMgr* objectMgr = nullptr) : objectMgr_(objectMgr) {}
    TPdfArray(TPdfObjectMgr* objectMgr, std::initializer_list<std::int32_t> numbers);

    // Adds an item at the end. Nothing happens when that very object is already an item;
    // an indirect object is added as a new reference.
    void Append(TPdfObject* object);
    template <class T> T* Append(std::unique_ptr<T> object) {
        T* raw = object.release();
        Append(static_cast<TPdfObject*>(raw));
        return raw;
    }

    // The item, a reference resolved through the registry; null when out of range or when
    // a reference cannot be resolved.
    TPdfObject* ItemAt(std::size_t index) const;
    std::size_t ItemCount() const { return items_.size(); }
    // Replaces an item, freeing the old one.
    void Replace(std::size_t index, TPdfObject* object);

    TPdfName* FindName(std::string_view name) const;
    bool RemoveName(std::string_view name);

    TPdfObjectMgr* ObjectMgr() const { return objectMgr_; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::unique_ptr<TPdfObject> Adopt(TPdfObject* object) const;

    TPdfObjectMgr* objectMgr_;
    std::vector<std::unique_ptr<TPdfObject>> items_;
};

// One key and value of a dictionary. A hidden element carries writer state: found by
// lookups like any other, never written.
class TPdfDictionaryElement {
public:
    TPdfDictionaryElement(std::string_view key, TPdfObject* value, bool hidden = false);

    const std::string& Key() const { return key_->Value(); }
    TPdfObject* Value() const { return value_.get(); }
    bool IsHidden() const { return hidden_; }

private:
    friend class TPdfDictionary;

    std::unique_ptr<TPdfName> key_;
    std::unique_ptr<TPdfObject> value_;
    bool hidden_;
};

class TPdfDictionary : public TPdfObject {
public:
    explicit TPdfDictionary(TPdfObjectMgr* objectMgr = nullptr) : objectMgr_(objectMgr) {}

    // Removes an element with the same key, then appends the new one at the end: putting an
    // existing key moves it to the end.
    void Put(std::string_view key, TPdfObject* value);
    void PutHidden(std::string_view key, TPdfObject* value);
    template <class T> T* Put(std::string_view key, std::unique_ptr<T> value) {
        T* raw = value.release();
        Put(key, static_cast<TPdfObject*>(raw));
        return raw;
    }
    void PutNumber(std::string_view key, std::int32_t value);
    void PutName(std::string_view key, std::string_view value);
    void Remove(std::string_view key);

    // The value of the first element with that key (byte-wise, case-sensitive), a reference
    // resolved through the registry; null when there is none.
    TPdfObject* Lookup(std::string_view key) const;
    // The same, or null when the value is of another kind.
    TPdfNumber* LookupNumber(std::string_view key) const;
    TPdfReal* LookupReal(std::string_view key) const;
    TPdfName* LookupName(std::string_view key) const;
    TPdfText* LookupText(std::string_view key) const;
    TPdfArray* LookupArray(std::string_view key) const;
    TPdfDictionary* LookupDictionary(std::string_view key) const;

    // The text of the Type name, or empty.
    std::string TypeOf() const;

    std::size_t ItemCount() const { return items_.size(); }
    const TPdfDictionaryElement& ItemAt(std::size_t index) const { return *items_[index]; }

    TPdfObjectMgr* ObjectMgr() const { return objectMgr_; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    void PutElement(std::string_view key, TPdfObject* value, bool hidden);

    TPdfObjectMgr* objectMgr_;
    std::vector<std::unique_ptr<TPdfDictionaryElement>> items_;
};

class TPdfStream : public TPdfObject {
public:
    // The dictionary starts with Length 0 and an empty Filter array.
    explicit TPdfStream(TPdfObjectMgr* objectMgr = nullptr);

    TPdfDictionary* Attributes() const { return attributes_.get(); }
    std::string& Stream() { return stream_; }
    const std::string& Stream() const { return stream_; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::unique_ptr<TPdfDictionary> attributes_;
    std::string stream_;
};

class TPdfXObject : public TPdfStream {
public:
    using TPdfStream::TPdfStream;
};

class TPdfImage : public TPdfXObject {
public:
    using TPdfXObject::TPdfXObject;
};

// Bytes written exactly as they are (for example a hexadecimal palette string).
class TPdfBinary : public TPdfObject {
public:
    explicit TPdfBinary(std::string bytes = {}) : stream_(std::move(bytes)) {}
    std::string& Stream() { return stream_; }
    const std::string& Stream() const { return stream_; }

protected:
    void WriteValue(PdfOutStream& out) const override;

private:
    std::string stream_;
};

// A reference to an indirect object, always written as "n 0 R".
class TPdfVirtualObject : public TPdfObject {
public:
    // Refuses: references are made only by CreateVirtual.
    TPdfVirtualObject();
    static std::unique_ptr<TPdfVirtualObject> CreateVirtual(int objectNumber);

private:
    struct Target {
        int number;
    };
    explicit TPdfVirtualObject(Target target);
};

// The registry that numbers indirect objects and resolves references.
class TPdfObjectMgr {
public:
    virtual ~TPdfObjectMgr() = default;
    virtual int AddObject(TPdfObject* object) = 0;
    virtual TPdfObject* ObjectAt(int objectNumber) const = 0;
};

struct TPdfXrefEntry {
    char EntryType = 'n';         // 'n' in use, 'f' free
    std::int64_t ByteOffset = -1; // -1 until the object is written
    std::uint16_t GenerationNumber = 0;
    std::unique_ptr<TPdfObject> Value;

    // The 20-byte cross-reference line.
    void SaveToStream(PdfOutStream& out) const;
};

// The cross-reference table. Entry 0 is the free head of the list; entry i holds object i.
class TPdfXref : public TPdfObjectMgr {
public:
    TPdfXref();

    // Takes ownership of a direct object and numbers it; an object that is already indirect
    // or a reference is refused (and stays with the caller).
    int AddObject(TPdfObject* object) override;
    template <class T> T* AddObject(std::unique_ptr<T> object) {
        T* raw = object.get();
        AddObject(static_cast<TPdfObject*>(raw));
        object.release();
        return raw;
    }
    TPdfObject* ObjectAt(int objectNumber) const override;

    std::size_t ItemCount() const { return entries_.size(); }
    TPdfXrefEntry& Items(std::size_t index) { return *entries_[index]; }
    const TPdfXrefEntry& Items(std::size_t index) const { return *entries_[index]; }

    // Writes every object in number order, storing its offset, then nothing else.
    void WriteObjects(PdfOutStream& out);
    // Writes the table itself.
    void SaveToStream(PdfOutStream& out) const;

private:
    std::vector<std::unique_ptr<TPdfXrefEntry>> entries_;
};

class TPdfHeader {
public:
    void WriteToStream(PdfOutStream& out) const;
};

class TPdfTrailer {
public:
    explicit TPdfTrailer(TPdfObjectMgr* objectMgr);

    TPdfDictionary* Attributes() const { return attributes_.get(); }
    std::int64_t XrefAddress() const { return xrefAddress_; }
    void SetXrefAddress(std::int64_t offset) { xrefAddress_ = offset; }

    void WriteToStream(PdfOutStream& out) const;

private:
    std::unique_ptr<TPdfDictionary> attributes_;
    std::int64_t xrefAddress_ = 0;
};

// A calendar date and time without a zone, as the document's dates are written.
struct PdfDateTime {
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0;

    // The document's "now": the local time, or, when SOURCE_DATE_EPOCH holds a number of
    // seconds, that instant in UTC, so that equal input gives equal bytes on any machine.
    static PdfDateTime Now();
};

// Text utilities shared by the document, fonts and report layers.

// "D:" followed by yyyymmddhhnnss.
std::string PdfDateString(const PdfDateTime& time);
// Up to 15 significant digits, "." as the point, no trailing zeros or point.
std::string FormatReal(double value);
// Content stream operands: rounded to two decimals, half always added (toward +infinity).
std::string FormatContentNumber(double value);
// True when the text holds a lead byte (and so a double-byte character or a cut one).
bool HasMultiByteString(std::string_view text);
// Characters: single bytes plus double-byte characters, each counted once.
int CharCount(std::string_view text);

// Written forms, as they appear in the file.
std::string PdfNameString(std::string_view name);
std::string PdfLiteralString(std::string_view text); // "(" escaped bytes ")"
std::string PdfTextString(std::string_view text);    // literal or UTF-16 hexadecimal

} // namespace pendlar
