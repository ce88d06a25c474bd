#include "qrdecode/DataBlockReader.h"

#include "qrdecode/SymbolTables.h"

namespace pendlar {
namespace {

constexpr int kModeNumeric = 1;
constexpr int kModeAlphanumeric = 2;
constexpr int kModeByte = 4;
constexpr int kModeKanji = 8;

} // namespace

TDataBlockReader::TDataBlockReader(std::vector<std::uint8_t> codewords, int version)
    : codewords_(std::move(codewords)), version_(version) {}

int TDataBlockReader::BitsLeft() const {
    if (index_ >= codewords_.size())
        return 0;
    return static_cast<int>(codewords_.size() - index_ - 1) * 8 + bit_ + 1;
}

std::uint32_t TDataBlockReader::ReadBits(int bits) {
    if (bits > BitsLeft()) {
        overrun_ = true;
        index_ = codewords_.size();
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
        value = (value << 1) | ((codewords_[index_] >> bit_) & 1u);
        if (--bit_ < 0) {
            bit_ = 7;
            ++index_;
        }
    }
    return value;
}

bool TDataBlockReader::Read(std::string& text) {
    for (;;) {
        // Fewer than four bits left is a terminator cut short by the end of the data.
        if (BitsLeft() < 4)
            return true;
        mode_ = static_cast<int>(ReadBits(4));
        TSegmentMode mode;
        switch (mode_) {
        case kModeNumeric:
            mode = TSegmentMode::Numeric;
            break;
        case kModeAlphanumeric:
            mode = TSegmentMode::Alphanumeric;
            break;
        case kModeByte:
            mode = TSegmentMode::Byte;
            break;
        case kModeKanji:
            mode = TSegmentMode::Kanji;
            break;
        default:
            return true; // terminator, or a mode this decoder does not take
        }
        count_ = static_cast<int>(ReadBits(CharacterCountBits(version_, mode)));
        if (overrun_)
            return false;
        bool ok = false;
        switch (mode) {
        case TSegmentMode::Numeric:
            ok = ReadNumeric(text);
            break;
        case TSegmentMode::Alphanumeric:
            ok = ReadAlphanumeric(text);
            break;
        case TSegmentMode::Byte:
            ok = ReadBytes(text);
            break;
        case TSegmentMode::Kanji:
            ok = ReadKanji(text);
            break;
        }
        if (!ok || overrun_)
            return false;
    }
}

bool TDataBlockReader::ReadNumeric(std::string& text) {
    int left = count_;
    while (left > 0) {
        const int digits = left >= 3 ? 3 : left;
        const int bits = digits == 3 ? 10 : digits == 2 ? 7 : 4;
        const std::uint32_t value = ReadBits(bits);
        const std::uint32_t limit = digits == 3 ? 999 : digits == 2 ? 99 : 9;
        if (overrun_ || value > limit)
            return false;
        // Leading zeros are part of the text: a patient number 00123 stays 00123.
        char group[3];
        std::uint32_t v = value;
        for (int i = digits - 1; i >= 0; --i) {
            group[i] = static_cast<char>('0' + v % 10);
            v /= 10;
        }
        text.append(group, static_cast<std::size_t>(digits));
        left -= digits;
    }
    return true;
}

bool TDataBlockReader::ReadAlphanumeric(std::string& text) {
    int left = count_;
    while (left > 0) {
        if (left >= 2) {
            const std::uint32_t value = ReadBits(11);
            if (overrun_ || value >= 45 * 45)
                return false;
            text += kAlphanumericSet[value / 45];
            text += kAlphanumericSet[value % 45];
            left -= 2;
        } else {
            const std::uint32_t value = ReadBits(6);
            if (overrun_ || value >= 45)
                return false;
            text += kAlphanumericSet[value];
            left -= 1;
        }
    }
    return true;
}

bool TDataBlockReader::ReadBytes(std::string& text) {
    for (int i = 0; i < count_; ++i) {
        const std::uint32_t value = ReadBits(8);
        if (overrun_)
            return false;
        text += static_cast<char>(value);
    }
    return true;
}

bool TDataBlockReader::ReadKanji(std::string& text) {
    for (int i = 0; i < count_; ++i) {
        const std::uint32_t a = ReadBits(13);
        if (overrun_)
            return false;
        const std::uint32_t w = (a / 0xC0) * 0x100 + (a % 0xC0);
        const std::uint32_t code = w + 0x8140 <= 0x9FFC ? w + 0x8140 : w + 0xC140;
        text += static_cast<char>((code >> 8) & 0xFF);
        text += static_cast<char>(code & 0xFF);
    }
    return true;
}

} // namespace pendlar
