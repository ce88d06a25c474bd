#include "intake/DicomImage.h"

#include "intake/DicomDictionary.h"
#include "util/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace pendlar {
namespace {

constexpr std::uint32_t kUndefinedLength = 0xFFFFFFFF;
constexpr int kMaxNesting = 32;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForReading(const std::string& sjisPath, std::uint64_t* size) {
    std::FILE* f = std::fopen(FsPath(sjisPath).c_str(), "rb");
    if (!f)
        throw EDicomOpenError("Cannot open file \"" + sjisPath + "\". " + std::strerror(errno));
    FilePtr file(f);
    if (fseeko(f, 0, SEEK_END) != 0)
        throw EDicomOpenError("Cannot open file \"" + sjisPath + "\". " + std::strerror(errno));
    off_t end = ftello(f);
    *size = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    fseeko(f, 0, SEEK_SET);
    return file;
}

// Small reads at a tracked position, in the current byte order.
class Source {
public:
    Source(std::FILE* f, std::uint64_t size) : f_(f), size_(size) {}

    std::uint64_t Pos() const { return pos_; }
    std::uint64_t Size() const { return size_; }
    std::uint64_t Left() const { return pos_ < size_ ? size_ - pos_ : 0; }
    bool LittleEndian = true;

    bool Seek(std::uint64_t pos) {
        if (pos > size_ || fseeko(f_, static_cast<off_t>(pos), SEEK_SET) != 0)
            return false;
        pos_ = pos;
        return true;
    }
    bool Skip(std::uint64_t n) { return n <= Left() && Seek(pos_ + n); }
    bool Bytes(void* out, std::size_t n) {
        if (n > Left() || std::fread(out, 1, n, f_) != n)
            return false;
        pos_ += n;
        return true;
    }
    bool Bytes(std::string& out, std::size_t n) {
        out.resize(n);
        return Bytes(out.data(), n);
    }
    bool U16(std::uint16_t& v) {
        unsigned char b[2];
        if (!Bytes(b, 2))
            return false;
        v = LittleEndian ? static_cast<std::uint16_t>(b[0] | (b[1] << 8))
                         : static_cast<std::uint16_t>((b[0] << 8) | b[1]);
        return true;
    }
    bool U32(std::uint32_t& v) {
        unsigned char b[4];
        if (!Bytes(b, 4))
            return false;
        v = LittleEndian ? (b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24))
                         : ((std::uint32_t{b[0]} << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
        return true;
    }

private:
    std::FILE* f_;
    std::uint64_t size_;
    std::uint64_t pos_ = 0;
};

bool Is(char a, char b, const char* code) {
    return a == code[0] && b == code[1];
}

// Value representations followed by two reserved bytes and a 32-bit length: OB, OW and SQ,
// and the newer ones of the same form. Without those an explicit-VR file with an unlimited
// text or an unknown-VR element (common in files from modalities) would be misread from
// that element on.
bool IsLongVr(char a, char b) {
    for (const char* c :
         {"OB", "OW", "SQ", "OF", "OD", "OL", "OV", "UN", "UT", "UC", "UR", "SV", "UV"})
        if (Is(a, b, c))
            return true;
    return false;
}

// Value representations with a 16-bit length.
bool IsShortVr(char a, char b) {
    for (const char* c : {"AE", "AS", "AT", "CS", "DA", "DS", "DT", "FL", "FD", "IS", "LO",
                          "LT", "PN", "SH", "SL", "SS", "ST", "TM", "UI", "UL", "US"})
        if (Is(a, b, c))
            return true;
    return false;
}

bool Alnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Listing form of a text value: a few punctuation marks, digits and ASCII letters kept,
// every other byte (Japanese text included) written as ".".
std::string AsText(const std::string& v) {
    std::string out(v);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (!(Alnum(c) || c == ' ' || c == '+' || c == '-' || c == '/' || c == '\\'))
            ch = '.';
    }
    return out;
}

// The transfer syntax keeps fewer characters: no "/" and no backslash.
std::string AsSyntaxText(const std::string& v) {
    std::string out(v);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (!(Alnum(c) || c == ' ' || c == '+' || c == '-'))
            ch = '.';
    }
    return out;
}

// The UID without the NUL or blank that pads it to an even length.
std::string TrimPadding(std::string v) {
    while (!v.empty() && (v.back() == '\0' || v.back() == ' '))
        v.pop_back();
    return v;
}

std::uint16_t Value16(const std::string& v, std::size_t at, bool little) {
    auto b = [&](std::size_t i) { return i < v.size() ? static_cast<unsigned char>(v[i]) : 0u; };
    return static_cast<std::uint16_t>(little ? (b(at) | (b(at + 1) << 8))
                                             : ((b(at) << 8) | b(at + 1)));
}

std::int32_t Value32(const std::string& v, bool little) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(v[i]));
    };
    std::uint32_t u = little ? (b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24))
                             : ((b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3));
    return static_cast<std::int32_t>(u);
}

std::string Hex4(std::uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

// "+12" -> 12; the sign and digit characters of the value, in order.
int FramesFrom(const std::string& v) {
    std::string digits;
    for (char c : v)
        if ((c >= '0' && c <= '9') || c == '+' || c == '-')
            digits += c;
    bool negative = false;
    std::size_t i = 0;
    while (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
        negative = digits[i++] == '-';
    long long n = 0;
    bool any = false;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        any = true;
        n = std::min<long long>(n * 10 + (digits[i] - '0'), std::numeric_limits<int>::max());
    }
    if (!any || negative || n < 1)
        return 1;
    return static_cast<int>(n);
}

bool ParseReal(std::string s, double& out) {
    while (!s.empty() && s.front() == ' ')
        s.erase(s.begin());
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    if (!s.empty() && s.front() == '+')
        s.erase(s.begin());
    if (s.empty())
        return false;
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// Elements whose value the walk turns into a number or a text of its own.
bool IsSpecial(std::uint32_t tag) {
    switch (tag) {
    case 0x00020010:
    case 0x00180050:
    case 0x00181310:
    case 0x00280008:
    case 0x00280009:
    case 0x00280010:
    case 0x00280011:
    case 0x00280030:
    case 0x00280100:
    case 0x00280101:
    case 0x00280102:
    case 0x00281101:
    case 0x00281102:
    case 0x00281103:
    case 0x00540080:
        return true;
    default:
        return false;
    }
}

} // namespace

// One header walk over one open file.
class TDicomImage::Walk {
public:
    Walk(TDicomImage& owner, Source& in) : owner_(owner), in_(in), h_(owner.header_) {}

    // True when the walk reached the pixel data (or stopped before it on an unusable image).
    bool Run(std::uint64_t start);

private:
    enum class Step { Next, Done, Fail };

    Step Element();
    bool ReadValue(std::uint32_t length, std::string& v);
    bool SkipSequence(bool explicitVr, int depth);
    bool SkipItem(bool explicitVr, int depth);
    void TransferSyntax(const std::string& v);
    void Spacing(const std::string& v, bool pixelSpacing, std::string& listed);
    void Unusable() { owner_.imageUsable_ = false; }
    bool Usable() const { return owner_.imageUsable_; }

    TDicomImage& owner_;
    Source& in_;
    DicomHeader& h_;
    bool first_ = true;
    bool explicitVr_ = false;
    bool lengthFlipped_ = false;
    bool syntaxExplicit_ = false;
    bool syntaxBigEndian_ = false;
};

bool TDicomImage::Walk::Run(std::uint64_t start) {
    if (!in_.Seek(start))
        return false;
    for (;;) {
        switch (Element()) {
        case Step::Next:
            break;
        case Step::Done:
            return true;
        case Step::Fail:
            return false;
        }
    }
}

bool TDicomImage::Walk::ReadValue(std::uint32_t length, std::string& v) {
    if (length > in_.Left()) {
        owner_.Show("Dicom format exceeds file size.");
        return false;
    }
    return in_.Bytes(v, length);
}

TDicomImage::Walk::Step TDicomImage::Walk::Element() {
    const std::uint64_t at = in_.Pos();
    bool groupFlipped = false;
    std::uint16_t group = 0, element = 0;
    std::uint32_t length = 0;
    char vr[2] = {0, 0};
    for (;;) {
        if (!in_.Seek(at) || !in_.U16(group))
            return Step::Fail;
        // A group that reads 0x0800 is group 0x0008 in the other byte order: the data set
        // of a big-endian file after its little-endian meta group.
        if (group == 0x0800 && !groupFlipped) {
            groupFlipped = true;
            in_.LittleEndian = !in_.LittleEndian;
            continue;
        }
        std::uint32_t v = 0;
        if (!in_.U16(element) || !in_.U32(v))
            return Step::Fail;
        const char q0 = static_cast<char>(v & 0xFF), q1 = static_cast<char>((v >> 8) & 0xFF),
                   q2 = static_cast<char>((v >> 16) & 0xFF), q3 = static_cast<char>(v >> 24);
        const unsigned u0 = v & 0xFF, u1 = (v >> 8) & 0xFF, u2 = (v >> 16) & 0xFF, u3 = v >> 24;
        const bool little = in_.LittleEndian;
        length = v;
        vr[0] = vr[1] = 0;
        if (first_)
            explicitVr_ = false;
        if (first_ || explicitVr_) {
            bool found = true;
            if (IsLongVr(q0, q1) || IsLongVr(q3, q2)) {
                vr[0] = IsLongVr(q0, q1) ? q0 : q3;
                vr[1] = IsLongVr(q0, q1) ? q1 : q2;
                if (!in_.U32(length))
                    return Step::Fail;
            } else if (IsShortVr(q0, q1)) {
                vr[0] = q0;
                vr[1] = q1;
                length = little ? u2 + 256 * u3 : 256 * u2 + u3;
            } else if (IsShortVr(q3, q2) &&
                       // In big-endian order q3 q2 is where the code stands, so age strings
                       // (AS) and application entities (AE) count there too.
                       (!little || !(Is(q3, q2, "AE") || Is(q3, q2, "AS")))) {
                vr[0] = q3;
                vr[1] = q2;
                length = little ? 256 * u0 + u1 : u0 + 256 * u1;
            } else {
                found = false;
            }
            if (first_ && found)
                explicitVr_ = true;
        }
        if (first_ && length == 0x04000000 && !lengthFlipped_) {
            lengthFlipped_ = true;
            in_.LittleEndian = !in_.LittleEndian;
            owner_.Show(in_.LittleEndian ? "Switching to little endian"
                                         : "Switching to big endian");
            continue;
        }
        break;
    }
    first_ = false;

    std::string name = DicomElementName(group, element);
    std::string listed;
    const bool pixelData = group == 0x7FE0 && element == 0x0010;
    const bool little = in_.LittleEndian;

    if (pixelData) {
        h_.PixelStart = in_.Pos();
        h_.PixelLength = length;
        listed = std::to_string(length);
        if (length == kUndefinedLength && Usable()) {
            // Encapsulated fragments: compressed data whatever the transfer syntax claimed.
            owner_.Show("Unable to extract unknown data type: " + owner_.syntax_);
            Unusable();
        }
    } else if (length == kUndefinedLength) {
        // A sequence (or unknown-VR data) of undefined length: skipped to its delimiter.
        // Its items are written the way the element itself was: with value
        // representations when it carried one (an explicit data set), else without.
        bool itemsExplicit = vr[0] != 0 && !Is(vr[0], vr[1], "UN");
        if (!SkipSequence(itemsExplicit, 0))
            return Step::Fail;
        listed = "Sequence";
    } else if (Is(vr[0], vr[1], "SQ")) {
        if (length > in_.Left()) {
            owner_.Show("Dicom format exceeds file size.");
            return Step::Fail;
        }
        in_.Skip(length);
        listed = "Sequence";
    } else if (group == 0x0028 && element >= 0x1201 && element <= 0x1203) {
        if (length > in_.Left()) {
            owner_.Show("Dicom format exceeds file size.");
            return Step::Fail;
        }
        in_.Skip(length);
        listed = "Custom";
    } else if (length > 0) {
        const bool text =
            IsDicomTextElement(group, element) || (length != 1 && length != 2 && length != 4);
        const std::uint32_t tag = (std::uint32_t{group} << 16) | element;
        // A plain text longer than the whole listing may be can only end the walk; it is
        // not read into memory first.
        if (text && length > kMaxTextLength && length <= in_.Left() && !IsSpecial(tag))
            return Step::Fail;
        std::string v;
        if (!ReadValue(length, v))
            return Step::Fail;
        auto numbers16 = [&](bool hex) {
            std::string out;
            for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
                if (!out.empty())
                    out += ", ";
                std::uint16_t n = Value16(v, i, little);
                out += hex ? "x" + Hex4(n) : std::to_string(n);
            }
            return out;
        };
        switch (tag) {
        case 0x00020010:
            listed = AsSyntaxText(v);
            TransferSyntax(v);
            break;
        case 0x00280008:
            h_.Frames = FramesFrom(v);
            listed = std::to_string(h_.Frames);
            break;
        case 0x00280009:
            listed = numbers16(true);
            break;
        case 0x00280010:
            h_.Rows = Value16(v, 0, little);
            listed = std::to_string(h_.Rows);
            break;
        case 0x00280011:
            h_.Columns = Value16(v, 0, little);
            listed = std::to_string(h_.Columns);
            break;
        case 0x00280030:
            Spacing(v, true, listed);
            break;
        case 0x00180050:
            Spacing(v, false, listed);
            break;
        case 0x00280100: {
            int n = Value16(v, 0, little);
            h_.BitsAllocated = n;
            if (n != 8 && n != 12 && n != 16) {
                if (Usable())
                    owner_.Show("This software can only read 8, 12 and 16 bit DICOM files. "
                                "This file allocates " +
                                std::to_string(n) + " bits per voxel.");
                Unusable();
            }
            listed = std::to_string(n);
            break;
        }
        case 0x00280101: {
            int n = Value16(v, 0, little);
            if (n <= 8) {
                h_.BitsStored = 8;
            } else if (n <= 16) {
                h_.BitsStored = 16;
            } else {
                h_.BitsStored = n;
                if (Usable())
                    owner_.Show("This software can only read 8, 12 and 16 bit DICOM files. "
                                "This file stores " +
                                std::to_string(n) + " bits per voxel.");
                Unusable();
            }
            listed = std::to_string(n);
            break;
        }
        case 0x00280102:
            listed = std::to_string(Value16(v, 0, little));
            break;
        case 0x00281101:
        case 0x00281102:
        case 0x00281103:
        case 0x00181310:
        case 0x00540080:
            listed = numbers16(false);
            break;
        default:
            if (text)
                listed = AsText(v);
            else if (length == 1)
                listed = std::to_string(static_cast<unsigned char>(v[0]));
            else if (length == 2)
                listed = std::to_string(Value16(v, 0, little));
            else
                listed = std::to_string(Value32(v, little));
            // Kept for rendering colour and inverted grey frames; listed as usual.
            if (tag == 0x00280002)
                h_.SamplesPerPixel = Value16(v, 0, little);
            else if (tag == 0x00280006)
                h_.PlanarConfiguration = Value16(v, 0, little);
            else if (tag == 0x00280103)
                h_.PixelRepresentation = Value16(v, 0, little);
            else if (tag == 0x00280004)
                h_.Photometric = TrimPadding(v);
            break;
        }
    }

    owner_.text_ += Hex4(group) + "," + Hex4(element) + "," + name + ": " + listed + "\r";

    if (pixelData) {
        if (syntaxExplicit_)
            h_.LittleEndian = !syntaxBigEndian_;
        else
            h_.LittleEndian = in_.LittleEndian;
        return Step::Done;
    }
    if (!Usable() && group == 0x7FE0 && element == 0x0000)
        return Step::Done;
    if (owner_.text_.size() > kMaxTextLength)
        return Step::Fail;
    return Step::Next;
}

// Items of a sequence up to its delimitation item; an item of undefined length is walked
// element by element, because its elements may hold sequences of their own.
bool TDicomImage::Walk::SkipSequence(bool explicitVr, int depth) {
    if (depth > kMaxNesting)
        return false;
    for (;;) {
        std::uint16_t group = 0, element = 0;
        std::uint32_t length = 0;
        if (!in_.U16(group) || !in_.U16(element) || !in_.U32(length) || group != 0xFFFE)
            return false;
        if (element == 0xE0DD)
            return true;
        if (element != 0xE000)
            return false;
        if (length == kUndefinedLength) {
            if (!SkipItem(explicitVr, depth + 1))
                return false;
        } else if (!in_.Skip(length)) {
            return false;
        }
    }
}

bool TDicomImage::Walk::SkipItem(bool explicitVr, int depth) {
    if (depth > kMaxNesting)
        return false;
    for (;;) {
        std::uint16_t group = 0, element = 0;
        if (!in_.U16(group) || !in_.U16(element))
            return false;
        if (group == 0xFFFE && element == 0xE00D) {
            std::uint32_t ignored = 0;
            return in_.U32(ignored);
        }
        std::uint32_t length = 0;
        bool unknown = false;
        if (explicitVr && group != 0xFFFE) {
            char vr[2];
            if (!in_.Bytes(vr, 2))
                return false;
            if (IsLongVr(vr[0], vr[1])) {
                unknown = Is(vr[0], vr[1], "UN");
                if (!in_.Skip(2) || !in_.U32(length))
                    return false;
            } else {
                std::uint16_t shortLength = 0;
                if (!in_.U16(shortLength))
                    return false;
                length = shortLength;
            }
        } else if (!in_.U32(length)) {
            return false;
        }
        if (length == kUndefinedLength) {
            if (!SkipSequence(explicitVr && !unknown, depth + 1))
                return false;
        } else if (!in_.Skip(length)) {
            return false;
        }
    }
}

void TDicomImage::Walk::TransferSyntax(const std::string& v) {
    const std::string text = AsSyntaxText(v);
    owner_.syntax_ = TrimPadding(AsSyntaxText(TrimPadding(v)));
    if (text.size() <= 18)
        return; // implicit little endian, the default
    // Deflated explicit little endian shares the 19th character of the plain one, but its
    // data set cannot be walked without inflating it first.
    const bool deflated = owner_.syntax_ == "1.2.840.10008.1.2.1.99";
    switch (deflated ? '?' : text[18]) {
    case '1':
        syntaxExplicit_ = true;
        syntaxBigEndian_ = false;
        break;
    case '2':
        syntaxExplicit_ = true;
        syntaxBigEndian_ = true;
        break;
    case '4':
        owner_.Show("Unable to extract JPEG: " + owner_.syntax_);
        Unusable();
        break;
    case '5':
        owner_.Show("Unable to extract lossless run length encoding: " + owner_.syntax_);
        Unusable();
        break;
    default:
        owner_.Show("Unable to extract unknown data type: " + owner_.syntax_);
        Unusable();
        break;
    }
}

void TDicomImage::Walk::Spacing(const std::string& v, bool pixelSpacing, std::string& listed) {
    listed = v;
    for (char& ch : listed) {
        auto c = static_cast<unsigned char>(ch);
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == '/' || c == 'E' ||
              c == 'e' || c == '\\'))
            ch = ' ';
    }
    std::size_t split = listed.find('\\');
    std::string firstText = listed.substr(0, split);
    double value = 0;
    double* firstSlot = pixelSpacing ? &h_.PixelSpacingX : &h_.SliceThickness;
    if (ParseReal(firstText, value))
        *firstSlot = value;
    else
        owner_.Show("Unable to convert the string " + firstText + " to a real number");
    if (split != std::string::npos) {
        std::string secondText = listed.substr(split + 1);
        secondText = secondText.substr(0, secondText.find('\\'));
        if (ParseReal(secondText, value)) {
            if (pixelSpacing)
                h_.PixelSpacingY = value;
        } else {
            owner_.Show("Unable to convert the string " + secondText + " to a real number");
        }
    }
}

TDicomImage::TDicomImage(UserInterface& ui) : ui_(ui) {}

void TDicomImage::Show(const std::string& message) {
    ui_.Message(message, "", MsgIcon::None, MsgButtons::Ok);
}

bool TDicomImage::Read(const std::string& sjisPath) {
    text_.clear();
    syntax_.clear();
    headerRead_ = false;
    imageUsable_ = true;
    lastFrame_ = 0;
    header_ = DicomHeader{};
    fileSize_ = 0;

    FilePtr file = OpenForReading(sjisPath, &fileSize_);
    Source in(file.get(), fileSize_);
    bool ok = false;
    if (fileSize_ > 8) {
        char marker[4];
        std::uint64_t start = 0;
        bool dicom = false;
        if (in.Seek(0) && in.Bytes(marker, 4) && std::memcmp(marker, "DICM", 4) == 0) {
            start = 4;
            dicom = true;
        } else if (fileSize_ > 132 && in.Seek(128) && in.Bytes(marker, 4) &&
                   std::memcmp(marker, "DICM", 4) == 0) {
            start = 132;
            dicom = true;
        } else {
            // A raw data set: it must start with one of the groups that come first. Group
            // 0x0008 of a big-endian data set reads 0x0800; the walk then turns the order.
            std::uint16_t group = 0;
            if (in.Seek(0) && in.U16(group))
                dicom = group == 0x0000 || group == 0x0002 || group == 0x0004 || group == 0x0008 ||
                        group == 0x0800;
        }
        if (dicom) {
            Walk walk(*this, in);
            ok = walk.Run(start);
        }
    }
    headerRead_ = ok;
    if (!ok)
        imageUsable_ = false; // nothing to render from a header that was not read
    return ok;
}

std::vector<std::string> TDicomImage::TextLines() const {
    std::vector<std::string> lines;
    if (text_.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t cr = text_.find('\r', start);
        if (cr == std::string::npos) {
            lines.push_back(text_.substr(start));
            return lines;
        }
        lines.push_back(text_.substr(start, cr - start));
        start = cr + 1;
    }
}

void TDicomImage::ReleaseImage() {
    image_ = Bitmap();
    lastFrame_ = 0;
}

bool TDicomImage::Render(int frame, bool force, const std::string& sjisPath) {
    if (!headerRead_ || !imageUsable_) {
        ReleaseImage();
        return false;
    }
    if (frame == lastFrame_ && !force && !image_.Empty())
        return true;
    ReleaseImage();

    const DicomHeader& h = header_;
    const int samples = h.SamplesPerPixel;
    // Colour frames are shown as their brightness; other sample counts cannot be shown.
    if (samples != 1 && !(samples == 3 && h.BitsAllocated == 8))
        return false;
    if (frame < 1 || frame > h.Frames || h.Columns <= 0 || h.Rows <= 0)
        return false;
    const std::uint64_t pixels = static_cast<std::uint64_t>(h.Columns) * h.Rows;
    const std::uint64_t frameBytes =
        (pixels * static_cast<std::uint64_t>(samples) * h.BitsAllocated + 7) / 8;
    if (frameBytes == 0)
        return false;

    std::uint64_t size = 0;
    FilePtr file = OpenForReading(sjisPath, &size);
    const std::uint64_t start = h.PixelStart + static_cast<std::uint64_t>(frame - 1) * frameBytes;
    if (start > size || size - start < frameBytes)
        return false;
    Source in(file.get(), size);
    std::string data;
    if (!in.Seek(start) || !in.Bytes(data, frameBytes))
        return false;
    const auto* b = reinterpret_cast<const unsigned char*>(data.data());

    std::vector<std::uint8_t> grey(pixels);
    if (h.BitsAllocated == 8) {
        if (samples == 1) {
            std::copy(b, b + pixels, grey.begin());
        } else {
            const bool planar = h.PlanarConfiguration == 1;
            const bool ybr = h.Photometric.rfind("YBR", 0) == 0;
            for (std::uint64_t i = 0; i < pixels; ++i) {
                unsigned r = planar ? b[i] : b[3 * i];
                unsigned g = planar ? b[pixels + i] : b[3 * i + 1];
                unsigned bl = planar ? b[2 * pixels + i] : b[3 * i + 2];
                grey[i] =
                    ybr ? static_cast<std::uint8_t>(r)
                        : static_cast<std::uint8_t>((299 * r + 587 * g + 114 * bl + 500) / 1000);
            }
        }
    } else {
        // 12- and 16-bit samples, stretched from the frame's smallest to its largest value.
        std::vector<std::uint16_t> raw(pixels);
        if (h.BitsAllocated == 12) {
            for (std::uint64_t i = 0; i < pixels; i += 2) {
                std::uint64_t at = 3 * (i / 2);
                unsigned b0 = b[at], b1 = b[at + 1];
                raw[i] = static_cast<std::uint16_t>(((b0 * 16) | (b1 & 0x0F)) & 0xFFF);
                if (i + 1 < pixels) {
                    unsigned b2 = b[at + 2];
                    raw[i + 1] =
                        static_cast<std::uint16_t>(((b2 & 0x0F) * 256) | (b1 & 0xF0) | (b2 / 16));
                }
            }
        } else {
            for (std::uint64_t i = 0; i < pixels; ++i)
                raw[i] = static_cast<std::uint16_t>(b[2 * i] | (b[2 * i + 1] << 8));
        }
        if (!h.LittleEndian)
            for (auto& s : raw)
                s = static_cast<std::uint16_t>((s >> 8) | (s << 8));
        // Samples are signed unless the file says they are unsigned: an unsigned 16-bit
        // sample above 32767 read as signed would turn the brightest parts black.
        const bool unsignedSamples = h.PixelRepresentation == 0;
        std::vector<std::int32_t> value(pixels);
        for (std::uint64_t i = 0; i < pixels; ++i)
            value[i] = unsignedSamples ? raw[i] : static_cast<std::int16_t>(raw[i]);
        auto [lo, hi] = std::minmax_element(value.begin(), value.end());
        const std::int64_t min = *lo, range = static_cast<std::int64_t>(*hi) - *lo;
        for (std::uint64_t i = 0; i < pixels; ++i)
            grey[i] = range == 0 ? 0 : static_cast<std::uint8_t>((value[i] - min) * 255 / range);
    }
    // MONOCHROME1 stores white as the lowest value (radiographs).
    if (h.Photometric == "MONOCHROME1")
        for (auto& g : grey)
            g = static_cast<std::uint8_t>(255 - g);

    const int padded = (h.Columns + 7) / 8 * 8;
    Bitmap image(padded, h.Rows, PixelFormat::Bits8);
    for (int y = 0; y < h.Rows; ++y)
        std::copy_n(grey.begin() + static_cast<std::ptrdiff_t>(y) * h.Columns, h.Columns,
                    image.Row(y));
    image_ = std::move(image);
    lastFrame_ = frame;
    return true;
}

} // namespace pendlar
