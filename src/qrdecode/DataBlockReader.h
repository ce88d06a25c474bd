// Reads the data segments of a corrected symbol into its text: numeric, alphanumeric,
// 8-bit byte and kanji segments, one after the other, until a terminator or a mode this
// decoder does not take (ECI, FNC1, structured append). Bytes are kept as they are, so
// Shift-JIS text comes out as Shift-JIS; kanji characters come out as their Shift-JIS
// codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pendlar {

class TDataBlockReader {
public:
    TDataBlockReader(std::vector<std::uint8_t> codewords, int version);

    // The next `bits` bits, most significant first; 0 (and Overrun()) when fewer are left.
    std::uint32_t ReadBits(int bits);
    bool Overrun() const { return overrun_; }
    int BitsLeft() const;

    // Appends the text of every segment to `text`. False when a segment does not fit the
    // data it claims (its count runs past the last codeword, or a value is outside its
    // mode's range): such a symbol is damaged, and its text is not to be trusted.
    bool Read(std::string& text);

    int Mode() const { return mode_; }
    int CharacterCount() const { return count_; }

private:
    bool ReadNumeric(std::string& text);
    bool ReadAlphanumeric(std::string& text);
    bool ReadBytes(std::string& text);
    bool ReadKanji(std::string& text);

    std::vector<std::uint8_t> codewords_;
    int version_;
    std::size_t index_ = 0; // current codeword
    int bit_ = 7;           // next bit of it, 7 = most significant
    int mode_ = 0;
    int count_ = 0;
    bool overrun_ = false;
};

} // namespace pendlar
