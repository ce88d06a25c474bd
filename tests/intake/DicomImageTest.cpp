// The DICOM reader on files made by dcmtk (img2dcm, dcmconv, dcmodify; dcmdump as the
// oracle for values) and on small byte-built files for what dcmtk will not write.
#include "intake/DicomImage.h"

#include "intake/ImageFile.h"
#include "support/TempDir.h"
#include "util/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace pendlar {
namespace {

using test::ReadFile;
using test::RunCommand;
using test::TempDir;
using test::WriteFile;

const char* const kExplicitLittle = "1.2.840.10008.1.2.1";

// Writes DICOM elements in a chosen byte order and value-representation form.
class DicomBytes {
public:
    bool Little = true;
    bool Explicit = true;
    std::string Out;

    DicomBytes& Preamble() {
        Out.append(128, '\0');
        Out += "DICM";
        return *this;
    }
    // The file meta group, always explicit little endian, with its group length.
    DicomBytes& Meta(const std::string& syntax) {
        DicomBytes body;
        body.El(0x0002, 0x0001, "OB", std::string("\0\1", 2));
        body.Str(0x0002, 0x0010, "UI", syntax);
        DicomBytes meta;
        meta.El(0x0002, 0x0000, "UL", Le32(static_cast<std::uint32_t>(body.Out.size())));
        Out += meta.Out + body.Out;
        return *this;
    }
    DicomBytes& El(std::uint16_t g, std::uint16_t e, const std::string& vr,
                   const std::string& value, std::uint32_t length = 0xFFFFFFFE) {
        std::uint32_t n = length == 0xFFFFFFFE ? static_cast<std::uint32_t>(value.size()) : length;
        Put16(g);
        Put16(e);
        if (Explicit && g != 0xFFFE) {
            Out += vr;
            if (vr == "OB" || vr == "OW" || vr == "SQ" || vr == "UN" || vr == "UT") {
                Out.append(2, '\0');
                Put32(n);
            } else {
                Put16(static_cast<std::uint16_t>(n));
            }
        } else {
            Put32(n);
        }
        Out += value;
        return *this;
    }
    // A text value, padded to an even length (UIDs with NUL, others with a blank).
    DicomBytes& Str(std::uint16_t g, std::uint16_t e, const std::string& vr, std::string text) {
        if (text.size() % 2)
            text += vr == "UI" ? '\0' : ' ';
        return El(g, e, vr, text);
    }
    DicomBytes& Us(std::uint16_t g, std::uint16_t e, std::uint16_t v) {
        return El(g, e, "US", Word(v));
    }
    std::string Word(std::uint16_t v) const {
        return Little ? std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}
                      : std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
    }
    std::string Words(const std::vector<int>& values) const {
        std::string out;
        for (int v : values)
            out += Word(static_cast<std::uint16_t>(v));
        return out;
    }
    // The image elements every test picture needs.
    DicomBytes& Picture(int columns, int rows, int bits, int stored, const std::string& pixels,
                        int representation = -1) {
        Us(0x0028, 0x0002, 1);
        Str(0x0028, 0x0004, "CS", "MONOCHROME2");
        Us(0x0028, 0x0010, static_cast<std::uint16_t>(rows));
        Us(0x0028, 0x0011, static_cast<std::uint16_t>(columns));
        Us(0x0028, 0x0100, static_cast<std::uint16_t>(bits));
        Us(0x0028, 0x0101, static_cast<std::uint16_t>(stored));
        Us(0x0028, 0x0102, static_cast<std::uint16_t>(stored - 1));
        if (representation >= 0)
            Us(0x0028, 0x0103, static_cast<std::uint16_t>(representation));
        return El(0x7FE0, 0x0010, bits == 8 ? "OB" : "OW", pixels);
    }

private:
    static std::string Le32(std::uint32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i)
            s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    }
    void Put16(std::uint16_t v) { Out += Word(v); }
    void Put32(std::uint32_t v) {
        if (Little) {
            Out += Le32(v);
        } else {
            std::string le = Le32(v);
            Out += std::string(le.rbegin(), le.rend());
        }
    }
};

// 16 signed samples from -500 to 1000 in steps of 100: after the stretch, grey i * 17.
std::vector<int> Ramp() {
    std::vector<int> v;
    for (int i = 0; i < 16; ++i)
        v.push_back(-500 + 100 * i);
    return v;
}

// A 16-bit 8 x 2 ramp with a preamble, explicit little endian, and a few listing elements.
std::string RampFile() {
    DicomBytes d;
    d.Preamble().Meta(kExplicitLittle);
    d.Str(0x0008, 0x0060, "CS", "OT");
    d.Str(0x0010, 0x0010, "PN", "DOE^JOHN");
    d.El(0x0010, 0x1010, "AS", "045Y");
    return d.Picture(8, 2, 16, 12, d.Words(Ramp()), 1).Out;
}

std::vector<int> Greys(const Bitmap& image) {
    std::vector<int> g;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            g.push_back(image.Pixel(x, y).R);
    return g;
}

std::vector<int> RampGreys() {
    std::vector<int> g;
    for (int i = 0; i < 16; ++i)
        g.push_back(17 * i);
    return g;
}

bool HasLine(const TDicomImage& r, const std::string& line) {
    std::vector<std::string> lines = r.TextLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Dicom : public ::testing::Test {
protected:
    // Reads bytes written to a file; the messages shown go to ui.
    bool ReadBytes(const std::string& bytes, const std::string& name = "page.dcm") {
        WriteFile(dir.Path() / name, bytes);
        path = dir.Sjis(name);
        return reader.Read(path);
    }
    bool Render() { return reader.Render(1, true, path); }

    TempDir dir;
    ScriptedUserInterface ui;
    TDicomImage reader{ui};
    std::string path;
};

TEST_F(Dicom, ExplicitLittleEndianWithPreambleRendersTheStretched16BitRamp) {
    ASSERT_TRUE(ReadBytes(RampFile()));
    EXPECT_TRUE(reader.HeaderRead());
    EXPECT_TRUE(reader.ImageUsable());
    EXPECT_TRUE(ui.Messages.empty());
    for (const char* line :
         {"0002,0010,Transfer Syntax UID: 1.2.840.10008.1.2.1.", "0008,0060,Modality: OT",
          "0010,0010,Patient Name: DOE.JOHN",
          // four bytes, not a text element: a 32-bit number
          "0010,1010,Patient Age: 1496658992", "0028,0010,Rows: 2", "0028,0011,Columns: 8",
          "0028,0101,Bits Stored: 12", "7FE0,0010,Pixel Data: 32"})
        EXPECT_TRUE(HasLine(reader, line)) << line;
    const DicomHeader& h = reader.Header();
    EXPECT_EQ(h.BitsAllocated, 16);
    EXPECT_EQ(h.BitsStored, 16);
    EXPECT_EQ(h.PixelStart, reader.FileSize() - 32);
    ASSERT_TRUE(Render());
    EXPECT_EQ(reader.Image().Format(), PixelFormat::Bits8);
    EXPECT_EQ(reader.Image().Width(), 8);
    EXPECT_EQ(Greys(reader.Image()), RampGreys());
    EXPECT_EQ(reader.LastFrame(), 1);
    reader.ReleaseImage();
    EXPECT_TRUE(reader.Image().Empty());
}

TEST_F(Dicom, TextLinesEndWithTheRestAfterTheLastCarriageReturn) {
    ASSERT_TRUE(ReadBytes(RampFile()));
    std::vector<std::string> lines = reader.TextLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(std::count(reader.Text().begin(), reader.Text().end(), '\r') + 1,
              static_cast<long>(lines.size()));
    ASSERT_FALSE(ReadBytes("not a DICOM file at all, just text"));
    EXPECT_TRUE(reader.TextLines().empty());
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(Dicom, RawImplicitFileWith510ColumnsGivesA512WideBitmap) {
    DicomBytes d;
    d.Explicit = false;
    std::string pixels;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 510; ++x)
            pixels.push_back(static_cast<char>(x % 256));
    d.Str(0x0008, 0x0060, "CS", "OT").Picture(510, 2, 8, 8, pixels);
    ASSERT_TRUE(ReadBytes(d.Out));
    EXPECT_TRUE(HasLine(reader, "0028,0011,Columns: 510"));
    ASSERT_TRUE(Render());
    const Bitmap& image = reader.Image();
    ASSERT_EQ(image.Width(), 512);
    ASSERT_EQ(image.Height(), 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(image.Pixel(0, y).R, 0);
        EXPECT_EQ(image.Pixel(300, y).R, 300 % 256);
        EXPECT_EQ(image.Pixel(509, y).R, 509 % 256);
        EXPECT_EQ(image.Pixel(510, y).R, 0);
        EXPECT_EQ(image.Pixel(511, y).R, 0);
    }
}

TEST_F(Dicom, TwelveBitPackedSamples) {
    // Five samples in 8 bytes (the last group short); unpacked as the format packs them.
    const unsigned char packed[] = {0x12, 0x34, 0x56, 0x01, 0x00, 0x00, 0xFF, 0xFF};
    std::vector<int> samples = {(0x12 * 16) | 0x4, ((0x6) * 256) | 0x30 | 0x5, (0x01 * 16) | 0x0, 0,
                                (0xFF * 16 | 0xF) & 0xFFF};
    int lo = *std::min_element(samples.begin(), samples.end());
    int hi = *std::max_element(samples.begin(), samples.end());
    std::vector<int> expected;
    for (int s : samples)
        expected.push_back((s - lo) * 255 / (hi - lo));
    expected.insert(expected.end(), 3, 0); // padding to 8 columns
    DicomBytes d;
    d.Preamble().Meta(kExplicitLittle);
    d.Picture(5, 1, 12, 12, std::string(reinterpret_cast<const char*>(packed), 8));
    ASSERT_TRUE(ReadBytes(d.Out));
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), expected);
}

TEST_F(Dicom, ListingLimitOf10000Characters) {
    auto file = [](std::size_t comment) {
        DicomBytes d;
        d.Explicit = false;
        d.Str(0x0008, 0x0060, "CS", "OT").El(0x0020, 0x4000, "LT", std::string(comment, 'A'));
        return d.Picture(1, 1, 8, 8, std::string(1, '\x7F')).Out;
    };
    // The listing before the pixel data without the comment's characters.
    ASSERT_TRUE(ReadBytes(file(0)));
    const std::size_t pixelLine = std::string("7FE0,0010,Pixel Data: 1\r").size();
    const std::size_t base = reader.Text().size() - pixelLine;
    struct Case {
        std::size_t Listing;
        bool Read;
    } cases[] = {{10000, true}, {10001, false}, {50000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Listing);
        EXPECT_EQ(ReadBytes(file(c.Listing - base)), c.Read);
        EXPECT_EQ(reader.HeaderRead(), c.Read);
    }
}

TEST_F(Dicom, DictionaryNamesAndSpecialValuesInTheListing) {
    DicomBytes d;
    d.Preamble().Meta(kExplicitLittle);
    d.El(0x0008, 0x0005, "CS", "ISO_IR 192");
    d.Str(0x0008, 0x1030, "LO", "\x93\xfa\x96\x7b study"); // Japanese bytes become dots
    d.El(0x0009, 0x0000, "UL", std::string("\4\0\0\0", 4));
    d.El(0x0009, 0x0010, "LO", "PRIVATE ");
    d.El(0x0009, 0x1001, "UT", "long form"); // 32-bit length after two reserved bytes
    d.El(0x0018, 0x1310, "US", d.Words({0, 256, 256, 0}));
    d.Str(0x0020, 0x0013, "IS", "7");
    d.Str(0x0028, 0x0008, "IS", "+3");
    d.El(0x0028, 0x0009, "AT", d.Words({0x0018, 0x1063}));
    d.Str(0x0028, 0x0030, "DS", "0.5\\0.25");
    d.El(0x0028, 0x1201, "OW", d.Words({1, 2, 3, 4}));
    d.El(0x4000, 0x0010, "LT", "note 2");
    d.Us(0x6000, 0x0010, 2);
    std::string pixels(3 * 4, '\0');
    d.Picture(2, 2, 8, 8, pixels);
    ASSERT_TRUE(ReadBytes(d.Out));
    for (const char* line : {
             "0008,0005,Specific Character Set: ISO.IR 192",
             "0008,1030,Study Description: .... study",
             "0009,0000,Group Length: 4",
             "0009,0010,UNKNOWN: PRIVATE ",
             "0009,1001,UNKNOWN: long form",
             "0018,1310,Acquisition Matrix: 0, 256, 256, 0",
             "0020,0013,Image Number: 7 ",
             "0028,0008,Number of Frames: 3",
             "0028,0009,Frame Increment Pointer: x0018, x1063",
             "0028,0030,Pixel Spacing: 0.5\\0.25",
             "0028,1201,Red Table: Custom",
             "4000,0010,Text: note 2",
             "6000,0010,Overlay: 2",
         })
        EXPECT_TRUE(HasLine(reader, line)) << line;
    EXPECT_EQ(reader.Header().Frames, 3);
    EXPECT_DOUBLE_EQ(reader.Header().PixelSpacingX, 0.5);
    EXPECT_DOUBLE_EQ(reader.Header().PixelSpacingY, 0.25);
    EXPECT_TRUE(ui.Messages.empty());
    // Three frames of 2 x 2: the third is there, a fourth is not.
    EXPECT_TRUE(reader.Render(3, false, path));
    EXPECT_FALSE(reader.Render(4, false, path));
    EXPECT_TRUE(reader.Image().Empty());
}

// Every message of the reader: its text, its plain box, and what it leaves usable.
TEST_F(Dicom, MessagesForWhatCannotBeShown) {
    struct Case {
        const char* Name;
        std::string Syntax;
        std::function<void(DicomBytes&)> Extra;
        std::string Message;
        bool Read, Usable;
    } cases[] = {
        {"32 bits allocated", kExplicitLittle, [](DicomBytes& d) { d.Us(0x0028, 0x0100, 32); },
         "This software can only read 8, 12 and 16 bit DICOM files. This file allocates 32 bits "
         "per voxel.",
         true, false},
        {"24 bits stored", kExplicitLittle, [](DicomBytes& d) { d.Us(0x0028, 0x0101, 24); },
         "This software can only read 8, 12 and 16 bit DICOM files. This file stores 24 bits per "
         "voxel.",
         true, false},
        {"RLE", "1.2.840.10008.1.2.5", nullptr,
         "Unable to extract lossless run length encoding: 1.2.840.10008.1.2.5", true, false},
        {"unknown syntax", "1.2.840.10008.1.2.6.1", nullptr,
         "Unable to extract unknown data type: 1.2.840.10008.1.2.6.1", true, false},
        {"deflated", "1.2.840.10008.1.2.1.99", nullptr,
         "Unable to extract unknown data type: 1.2.840.10008.1.2.1.99", true, false},
        {"bad slice thickness", kExplicitLittle,
         [](DicomBytes& d) { d.Str(0x0018, 0x0050, "DS", "1..5"); },
         "Unable to convert the string 1..5 to a real number", true, true},
        {"value past the end", kExplicitLittle,
         [](DicomBytes& d) { d.El(0x0010, 0x0010, "PN", "DOE", 400); },
         "Dicom format exceeds file size.", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ui.Messages.clear();
        DicomBytes d;
        d.Preamble().Meta(c.Syntax);
        if (c.Extra)
            c.Extra(d);
        if (c.Read)
            d.Picture(2, 1, 8, 8, "\1\2");
        EXPECT_EQ(ReadBytes(d.Out), c.Read);
        EXPECT_EQ(reader.ImageUsable(), c.Usable);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text, c.Message);
        EXPECT_EQ(ui.Messages[0].Icon, MsgIcon::None);
        EXPECT_EQ(ui.Messages[0].Buttons, MsgButtons::Ok);
        EXPECT_EQ(Render(), c.Usable);
        if (c.Read) {
            EXPECT_TRUE(HasLine(reader, "7FE0,0010,Pixel Data: 2"));
        }
    }
}

TEST_F(Dicom, RawBigEndianFileStartingWithGroup0008) {
    DicomBytes d;
    d.Explicit = false;
    d.Little = false;
    d.Str(0x0008, 0x0060, "CS", "OT").Picture(8, 2, 16, 16, d.Words(Ramp()));
    ASSERT_TRUE(ReadBytes(d.Out));
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_TRUE(HasLine(reader, "0028,0011,Columns: 8"));
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), RampGreys());
}

TEST_F(Dicom, FirstLengthOf0x04000000SwitchesToBigEndian) {
    // A raw implicit big-endian file whose first element is a group length: read as little
    // endian its length is 0x04000000.
    DicomBytes d;
    d.Explicit = false;
    d.Little = false;
    d.El(0x0000, 0x0000, "UL", std::string("\0\0\0\x10", 4));
    d.Str(0x0008, 0x0060, "CS", "OT").Picture(8, 2, 16, 16, d.Words(Ramp()));
    ASSERT_TRUE(ReadBytes(d.Out));
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Switching to big endian"});
    EXPECT_TRUE(HasLine(reader, "0000,0000,Group Length: 16"));
    EXPECT_FALSE(reader.Header().LittleEndian);
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), RampGreys());
}

TEST_F(Dicom, RenderingEdgeCases) {
    // All samples equal: black. MONOCHROME1: white is the lowest value. Colour: brightness.
    DicomBytes flat;
    flat.Preamble()
        .Meta(kExplicitLittle)
        .Picture(8, 1, 16, 16, flat.Words(std::vector<int>(8, 700)));
    ASSERT_TRUE(ReadBytes(flat.Out));
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), std::vector<int>(8, 0));

    DicomBytes inverted;
    inverted.Preamble().Meta(kExplicitLittle).Str(0x0028, 0x0004, "CS", "MONOCHROME1");
    inverted.Us(0x0028, 0x0010, 1).Us(0x0028, 0x0011, 8).Us(0x0028, 0x0100, 8);
    inverted.El(0x7FE0, 0x0010, "OB", std::string("\0\x10\x20\x30\x40\x50\x60\xFF", 8));
    ASSERT_TRUE(ReadBytes(inverted.Out));
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), (std::vector<int>{255, 239, 223, 207, 191, 175, 159, 0}));

    // Unsigned 16-bit samples above 32767 stay the brightest.
    DicomBytes bright;
    bright.Preamble().Meta(kExplicitLittle);
    bright.Picture(8, 1, 16, 16, bright.Words({0, 0, 0, 0, 0, 0, 0, 65535}), 0);
    ASSERT_TRUE(ReadBytes(bright.Out));
    ASSERT_TRUE(Render());
    EXPECT_EQ(Greys(reader.Image()), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 255}));

    // A frame cut short renders nothing, and leaves no picture of the last file behind.
    std::string cut = RampFile();
    cut.resize(cut.size() - 2);
    ASSERT_TRUE(ReadBytes(cut));
    EXPECT_FALSE(Render());
    EXPECT_TRUE(reader.Image().Empty());
}

TEST_F(Dicom, BrokenSequencesAndFilesEndTheWalkCleanly) {
    auto withSequence = [](const std::string& items) {
        DicomBytes d;
        d.Preamble().Meta(kExplicitLittle);
        d.El(0x0008, 0x1140, "SQ", items, 0xFFFFFFFF);
        return d.Picture(2, 1, 8, 8, "\1\2").Out;
    };
    DicomBytes item; // an item of undefined length holding a nested sequence
    item.El(0xFFFE, 0xE000, "", "", 0xFFFFFFFF);
    item.El(0x0008, 0x1150, "SQ", "", 0xFFFFFFFF).El(0xFFFE, 0xE0DD, "", "", 0);
    item.Str(0x0008, 0x1155, "UI", "1.2.3").El(0xFFFE, 0xE00D, "", "", 0);
    DicomBytes end;
    end.El(0xFFFE, 0xE0DD, "", "", 0);
    ASSERT_TRUE(ReadBytes(withSequence(item.Out + end.Out)));
    EXPECT_TRUE(HasLine(reader, "0008,1140,Referenced Image Sequence: Sequence"));
    EXPECT_TRUE(Render());

    std::string deep; // nesting far deeper than any real file
    for (int i = 0; i < 200; ++i) {
        DicomBytes level;
        level.El(0xFFFE, 0xE000, "", "", 0xFFFFFFFF).El(0x0008, 0x1150, "SQ", "", 0xFFFFFFFF);
        deep += level.Out;
    }
    for (const std::string& bytes : {withSequence(item.Out), withSequence(deep),
                                     RampFile().substr(0, 200), std::string(132, 'D')}) {
        EXPECT_FALSE(ReadBytes(bytes));
        EXPECT_FALSE(reader.HeaderRead());
        EXPECT_FALSE(Render());
    }
    EXPECT_THROW(reader.Read(dir.Sjis("missing.dcm")), EDicomOpenError);
}

// Files written by dcmtk: the same picture in every transfer syntax dcmconv writes.
class DicomFromDcmtk : public Dicom {
protected:
    void SetUp() override {
        for (const char* tool : {"img2dcm", "dcmconv", "dcmodify", "dcmdump", "convert"})
            if (!test::HaveProgram(tool))
                GTEST_SKIP() << tool << " is not installed";
    }
    std::string File(const std::string& name) const { return (dir.Path() / name).string(); }
    int Run(const std::string& command) { return RunCommand(command + " 2>/dev/null"); }
    std::string Dump(const std::string& name) {
        std::string out;
        RunCommand("dcmdump +P 0028,0010 +P 0028,0011 '" + File(name) + "'", &out);
        return out;
    }
};

TEST_F(DicomFromDcmtk, EveryTransferSyntaxGivesTheSamePicture) {
    WriteFile(File("ramp.dcm"), RampFile());
    ASSERT_EQ(Run("dcmconv +ti '" + File("ramp.dcm") + "' '" + File("implicit.dcm") + "'"), 0);
    ASSERT_EQ(Run("dcmconv +tb '" + File("ramp.dcm") + "' '" + File("big.dcm") + "'"), 0);
    ASSERT_EQ(Run("dcmconv +te '" + File("big.dcm") + "' '" + File("back.dcm") + "'"), 0);
    ASSERT_EQ(Run("dcmconv -e +tb '" + File("ramp.dcm") + "' '" + File("big-e.dcm") + "'"), 0);
    for (const char* name : {"implicit.dcm", "big.dcm", "back.dcm", "big-e.dcm"}) {
        SCOPED_TRACE(name);
        path = File(name);
        ASSERT_TRUE(reader.Read(path));
        EXPECT_TRUE(ui.Messages.empty());
        EXPECT_NE(Dump(name).find("US 2 "), std::string::npos); // dcmdump agrees on Rows
        EXPECT_TRUE(HasLine(reader, "0028,0010,Rows: 2"));
        EXPECT_TRUE(HasLine(reader, "0028,0011,Columns: 8"));
        EXPECT_TRUE(HasLine(reader, "0010,0010,Patient Name: DOE.JOHN"));
        ASSERT_TRUE(Render());
        EXPECT_EQ(Greys(reader.Image()), RampGreys());
    }
    // In the big-endian data set the age's four bytes are a big-endian number.
    ASSERT_TRUE(reader.Read(File("big.dcm")));
    EXPECT_TRUE(HasLine(reader, "0010,1010,Patient Age: 808727897"));
    EXPECT_FALSE(reader.Header().LittleEndian);
}

TEST_F(DicomFromDcmtk, Img2dcmPictureWithUndefinedLengthSequences) {
    // img2dcm writes an RGB secondary capture even for a grey picture; it is shown as grey.
    ASSERT_EQ(Run("convert -size 20x3 gradient:black-white -type grayscale BMP3:'" +
                  File("grey.bmp") + "'"),
              0);
    ASSERT_EQ(Run("img2dcm -i BMP '" + File("grey.bmp") + "' '" + File("grey.dcm") + "'"), 0);
    ASSERT_EQ(Run("dcmodify -nb -i '(0008,1140)[0].(0008,1150)=1.2.3' -i "
                  "'(0008,1140)[1].(0008,1155)=1.2.4' '" +
                  File("grey.dcm") + "'"),
              0);
    std::optional<Bitmap> bmp = LoadImageFile(File("grey.bmp"));
    ASSERT_TRUE(bmp);
    for (const char* options : {"", "-e", "-e +ti", "-e +tb"}) {
        SCOPED_TRACE(options);
        ASSERT_EQ(Run(std::string("dcmconv ") + options + " '" + File("grey.dcm") + "' '" +
                      File("out.dcm") + "'"),
                  0);
        path = File("out.dcm");
        ASSERT_TRUE(reader.Read(path));
        EXPECT_TRUE(HasLine(reader, "0008,1140,Referenced Image Sequence: Sequence"));
        EXPECT_TRUE(HasLine(reader, "0028,0002,Samples Per Pixel: 3"));
        ASSERT_TRUE(Render());
        const Bitmap& image = reader.Image();
        ASSERT_EQ(image.Width(), 24);
        ASSERT_EQ(image.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(image.Pixel(x, y).R, x < 20 ? bmp->Pixel(x, y).R : 0) << x << "," << y;
    }
}

TEST_F(DicomFromDcmtk, JpegEncapsulatedIsListedButNotShown) {
    ASSERT_EQ(
        Run("convert -size 16x8 gradient:black-white -type grayscale '" + File("g.jpg") + "'"), 0);
    ASSERT_EQ(Run("img2dcm '" + File("g.jpg") + "' '" + File("jpeg.dcm") + "'"), 0);
    path = File("jpeg.dcm");
    EXPECT_TRUE(reader.Read(path));
    EXPECT_FALSE(reader.ImageUsable());
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{"Unable to extract JPEG: 1.2.840.10008.1.2.4.50"});
    EXPECT_TRUE(HasLine(reader, "0028,0010,Rows: 8"));
    EXPECT_FALSE(Render());

    // The tool: exit 0 with the listing, exit 1 with the reader's message.
    const std::string tool = PENDLAR_TOOL;
    std::string out;
    EXPECT_EQ(RunCommand(tool + " dicom-info '" + path + "' 2>/dev/null", &out), 0);
    EXPECT_NE(out.find("0028,0011,Columns: 16\n"), std::string::npos);
    std::string err;
    EXPECT_EQ(RunCommand(tool + " dicom-png '" + path + "' '" + File("x.png") + "' 2>&1", &err), 1);
    EXPECT_NE(err.find("Unable to extract JPEG: 1.2.840.10008.1.2.4.50"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(File("x.png")));

    WriteFile(File("ramp.dcm"), RampFile());
    EXPECT_EQ(RunCommand(tool + " dicom-png '" + File("ramp.dcm") + "' '" + File("r.png") + "'"),
              0);
    std::optional<Bitmap> png = LoadImageFile(File("r.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(Greys(*png), RampGreys());
    WriteFile(File("text.dcm"), "plain text");
    EXPECT_EQ(RunCommand(tool + " dicom-info '" + File("text.dcm") + "' 2>/dev/null"), 1);
    EXPECT_EQ(RunCommand(tool + " dicom-info 2>/dev/null"), 2);
}

} // namespace
} // namespace pendlar
