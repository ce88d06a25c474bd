#include "pdf/PdfTypes.h"

#include "PdfTestSupport.h"

#include <functional>

namespace pendlar {
namespace {

using test::ExpectFailure;
using test::WriteObject;

const std::string kNihon = "\x93\xfa\x96\x7b"; // 日本

TEST(PdfObjects, WrittenForms) {
    auto dictionaryAllHidden = [] {
        auto d = std::make_unique<TPdfDictionary>();
        d->PutHidden("_Font", new TPdfName("Arial"));
        d->PutHidden("Widths", new TPdfArray(nullptr, {1, 2}));
        return std::unique_ptr<TPdfObject>(std::move(d));
    };
    struct Case {
        const char* what;
        std::function<std::unique_ptr<TPdfObject>()> make;
        std::string written;
    } cases[] = {
        {"ASCII and katakana keep their bytes",
         [] { return std::make_unique<TPdfText>("ab(c)\\d \xb1\xb2"); },
         "(ab\\(c\\)\\\\d \xb1\xb2)"},
        {"control bytes", [] { return std::make_unique<TPdfText>("\r\n\t\b\f"); },
         "(\\r\\n\\t\\b\\f)"},
        {"empty text", [] { return std::make_unique<TPdfText>(""); }, "()"},
        {"double-byte text", [] { return std::make_unique<TPdfText>("A" + kNihon); },
         "<FEFF001B656E001B004165E5672C>"},
        {"lone lead byte at the end", [] { return std::make_unique<TPdfText>("ab\x82"); },
         "<FEFF001B656E001B00610062FFFD>"},
        {"invalid pair in the middle",
         [] {
             return std::make_unique<TPdfText>("\x82"
                                               "A" +
                                               kNihon);
         },
         "<FEFF001B656E001BFFFD004165E5672C>"},
        {"empty name", [] { return std::make_unique<TPdfName>(""); }, "/"},
        {"comma stays", [] { return std::make_unique<TPdfName>("Gothic,Bold"); }, "/Gothic,Bold"},
        {"space in a name", [] { return std::make_unique<TPdfName>("A B"); }, "/A#20B"},
        {"delimiters in a name", [] { return std::make_unique<TPdfName>("#%()/<>[]{}"); },
         "/#23#25#28#29#2F#3C#3E#5B#5D#7B#7D"},
        {"bytes outside ASCII", [] { return std::make_unique<TPdfName>("\x7f\xe9\x01"); },
         "/#7F#E9#01"},
        {"integer", [] { return std::make_unique<TPdfNumber>(-42); }, "-42"},
        {"real one", [] { return std::make_unique<TPdfReal>(1); }, "1"},
        {"real half", [] { return std::make_unique<TPdfReal>(0.5); }, "0.5"},
        {"real third", [] { return std::make_unique<TPdfReal>(1.0 / 3); }, "0.333333333333333"},
        {"real minus zero", [] { return std::make_unique<TPdfReal>(-0.0); }, "0"},
        {"true", [] { return std::make_unique<TPdfBoolean>(true); }, "true"},
        {"false", [] { return std::make_unique<TPdfBoolean>(false); }, "false"},
        {"null", [] { return std::make_unique<TPdfNull>(); }, "null"},
        {"array",
         [] {
             return std::make_unique<TPdfArray>(
                 nullptr, std::initializer_list<std::int32_t>{0, 0, 596, 842});
         },
         "[0 0 596 842 ]"},
        {"empty array", [] { return std::make_unique<TPdfArray>(); }, "[]"},
        {"empty dictionary", [] { return std::make_unique<TPdfDictionary>(); }, "<<\r\n>>"},
        {"all-hidden dictionary", dictionaryAllHidden, "<<\r\n>>"},
        {"empty stream", [] { return std::make_unique<TPdfStream>(); },
         "<<\r\n/Length 0\r\n/Filter []\r\n>>\r\nstream\r\n\nendstream"},
        {"raw bytes", [] { return std::make_unique<TPdfBinary>("<00 FF >"); }, "<00 FF >"},
        {"reference", [] { return TPdfVirtualObject::CreateVirtual(12); }, "12 0 R"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WriteObject(*c.make()), c.written) << c.what;
}

TEST(PdfObjects, StreamLengthFollowsTheBufferAndKeepsItsPlace) {
    TPdfStream stream;
    stream.Attributes()->PutName("Type", "XObject");
    stream.Stream() = "abc\n";
    EXPECT_EQ(
        WriteObject(stream),
        "<<\r\n/Length 4\r\n/Filter []\r\n/Type /XObject\r\n>>\r\nstream\r\nabc\n\nendstream");
}

TEST(PdfObjects, NumberFormats) {
    struct Case {
        double value;
        const char* content;
    } cases[] = {
        {12.345, "12.35"}, {596, "596"},        {128.0 / 255, "0.5"}, {-3.14159, "-3.13"},
        {-0.005, "0"},     {0.004, "0"},        {-0.006, "0"},        {1000000, "1000000"},
        {0.1, "0.1"},      {-250.5, "-250.49"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatContentNumber(c.value), c.content) << c.value;
    EXPECT_EQ(PdfDateString({2006, 11, 17, 14, 25, 6}), "D:20061117142506");
    EXPECT_EQ(PdfDateString({2024, 1, 2, 3, 4, 5}), "D:20240102030405");
}

TEST(PdfObjects, DoubleByteTestAndCharacterCount) {
    struct Case {
        std::string text;
        bool multiByte;
        int count;
    } cases[] = {
        {"", false, 0},
        {"abc", false, 3},
        {"\xb1\xb2", false, 2},
        {kNihon, true, 2},
        {"A" + kNihon + "B", true, 4},
        {"ab\x82", true, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasMultiByteString(c.text), c.multiByte) << c.text;
        EXPECT_EQ(CharCount(c.text), c.count) << c.text;
    }
}

TEST(PdfObjects, SourceDateEpochIsNowInUtc) {
    setenv("SOURCE_DATE_EPOCH", "1163773506", 1);
    EXPECT_EQ(PdfDateString(PdfDateTime::Now()), "D:20061117142506");
    setenv("SOURCE_DATE_EPOCH", "not a number", 1);
    EXPECT_NE(PdfDateString(PdfDateTime::Now()), "D:20061117142506");
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(PdfArrays, AppendOwnsDirectItemsAndReferencesIndirectOnes) {
    TPdfXref xref;
    auto* target = xref.AddObject(std::make_unique<TPdfDictionary>(&xref));
    TPdfArray array(&xref);
    auto* name = new TPdfName("X");
    array.Append(name);
    array.Append(name); // the same direct object twice: one item
    array.Append(target);
    array.Append(target); // an indirect object twice: two references
    EXPECT_EQ(WriteObject(array), "[/X 1 0 R 1 0 R ]");
    EXPECT_EQ(array.ItemAt(1), target);
    EXPECT_EQ(array.ItemAt(4), nullptr);
    EXPECT_EQ(array.FindName("X"), name);
    EXPECT_TRUE(array.RemoveName("X"));
    EXPECT_FALSE(array.RemoveName("X"));
    EXPECT_EQ(WriteObject(array), "[1 0 R 1 0 R ]");

    TPdfArray detached; // no registry: references cannot be resolved
    detached.Append(target);
    EXPECT_EQ(detached.ItemAt(0), nullptr);
}

TEST(PdfDictionaries, PutMovesAnExistingKeyToTheEnd) {
    TPdfXref xref;
    auto* pages = xref.AddObject(std::make_unique<TPdfDictionary>(&xref));
    TPdfDictionary d(&xref);
    d.PutName("Type", "Catalog");
    d.Put("Pages", pages);
    d.PutNumber("Count", 1);
    d.Put("Pages", pages);
    EXPECT_EQ(WriteObject(d), "<<\r\n/Type /Catalog\r\n/Count 1\r\n/Pages 1 0 R\r\n>>");
    EXPECT_EQ(d.Lookup("Pages"), pages);
    EXPECT_EQ(d.ItemCount(), 3u);

    // Putting the value a key already holds must not free it on the way.
    auto* kids = new TPdfArray(&xref);
    d.Put("Kids", kids);
    d.PutName("Last", "x");
    d.Put("Kids", kids);
    EXPECT_EQ(d.ItemAt(4).Key(), "Kids");
    EXPECT_EQ(d.LookupArray("Kids"), kids);

    d.Remove("Count");
    d.Remove("Missing");
    EXPECT_EQ(d.Lookup("Count"), nullptr);
    EXPECT_EQ(d.Lookup("type"), nullptr); // keys compare case-sensitively
    EXPECT_EQ(d.TypeOf(), "Catalog");
    EXPECT_EQ(TPdfDictionary().TypeOf(), "");
    // A typed lookup of a value of another kind finds nothing rather than a wrong object.
    EXPECT_EQ(d.LookupNumber("Type"), nullptr);
}

TEST(PdfXref, EntriesAndFrameLines) {
    TPdfXref xref;
    ASSERT_EQ(xref.ItemCount(), 1u);
    EXPECT_EQ(xref.Items(0).EntryType, 'f');
    EXPECT_EQ(xref.ObjectAt(0), nullptr);
    auto* object = new TPdfNull();
    EXPECT_EQ(xref.AddObject(object), 1);
    EXPECT_EQ(object->ObjectType(), ObjectKind::Indirect);
    EXPECT_EQ(object->ObjectNumber(), 1);
    EXPECT_EQ(xref.ObjectAt(1), object);
    EXPECT_EQ(xref.ObjectAt(2), nullptr);
    EXPECT_EQ(WriteObject(*object), "1 0 R");

    struct Line {
        std::int64_t offset;
        std::uint16_t generation;
        char type;
        const char* written;
    } lines[] = {
        {1234, 0, 'n', "0000001234 00000 n\r\n"},
        {-1, 0, 'n', "0000000000 00000 n\r\n"},
        {0, 65535, 'f', "0000000000 65535 f\r\n"},
        {12345678901, 0, 'n', "12345678901 00000 n\r\n"},
    };
    for (const auto& l : lines) {
        TPdfXrefEntry entry;
        entry.ByteOffset = l.offset;
        entry.GenerationNumber = l.generation;
        entry.EntryType = l.type;
        PdfStringOutStream out;
        entry.SaveToStream(out);
        EXPECT_EQ(out.Data(), l.written);
    }
}

TEST(PdfObjects, Failures) {
    ExpectFailure<EPdfInvalidOperation>(
        [] {
            TPdfNull direct;
            PdfStringOutStream out;
            direct.WriteIndirect(out);
        },
        "internal error wrong object type");
    ExpectFailure<std::runtime_error>([] { TPdfVirtualObject reference; },
                                      "virtualObject must be create by CreateVirtual method.");
    ExpectFailure<EPdfInvalidValue>([] { TPdfDictionaryElement element("Key", nullptr); },
                                    "internal error. wrong object.");
    ExpectFailure<EPdfInvalidValue>([] { TPdfDictionary().Put("Key", nullptr); },
                                    "internal error. wrong object.");
    TPdfXref xref;
    auto* registered = xref.AddObject(std::make_unique<TPdfNull>());
    ExpectFailure<EPdfInvalidOperation>([&] { xref.AddObject(registered); },
                                        "AddObject --wrong object type.");
    auto reference = TPdfVirtualObject::CreateVirtual(1);
    ExpectFailure<EPdfInvalidOperation>([&] { xref.AddObject(reference.get()); },
                                        "AddObject --wrong object type.");
    EXPECT_EQ(xref.ItemCount(), 2u);
}

} // namespace
} // namespace pendlar
