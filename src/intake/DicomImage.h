// The DICOM reader: walks the header of a .dcm file, lists its elements as text and renders
// the first frame of uncompressed pixel data as an 8-bit grey bitmap.
//
// It reads little- and big-endian files, implicit and explicit value representation, with
// or without the 128-byte preamble and the DICM marker. Sequences of undefined length are
// skipped as one listing line. Compressed (encapsulated) pixel data is listed but not shown.
// What the reader has to tell the person (an unsupported transfer syntax or bit depth, a
// file shorter than its header says) it shows as a plain message box through the given
// UserInterface, so a batch intake stops for each one.
#pragma once

#include "util/Bitmap.h"
#include "util/UserInterface.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pendlar {

// A DICOM file that cannot be opened; it ends the intake of the file list.
class EDicomOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the header walk learnt about the pixel data.
struct DicomHeader {
    int Columns = 1;
    int Rows = 1;
    int Frames = 1;
    int BitsAllocated = 0;        // 8, 12 or 16 when usable
    int BitsStored = 0;           // 8 or 16, or the stored value when above 16
    std::uint64_t PixelStart = 0; // byte offset of the pixel data in the file
    std::uint32_t PixelLength = 0;
    bool LittleEndian = true;
    double PixelSpacingX = 1.0;
    double PixelSpacingY = 1.0;
    double SliceThickness = 1.0;
    // Read so that colour and inverted-grey frames come out as a person expects them.
    int SamplesPerPixel = 1;
    int PlanarConfiguration = 0;
    int PixelRepresentation = -1; // -1: not in the file
    std::string Photometric;      // without padding, e.g. "MONOCHROME2"
};

class TDicomImage {
public:
    explicit TDicomImage(UserInterface& ui);

    // Walks the header of the file. True when the walk reached the pixel data. Replaces the
    // listing, the flags and the header record. Throws EDicomOpenError when the file cannot
    // be opened.
    bool Read(const std::string& sjisPath);

    // The listing split at each carriage return, the (empty) rest after the last one
    // included; an empty listing gives no lines.
    std::vector<std::string> TextLines() const;

    // Renders frame `frame` (1-based) of the file last read into Image(), unless that frame
    // is already there and `force` is not set. True when Image() then holds the frame; on
    // failure Image() is empty. Throws EDicomOpenError when the file cannot be opened.
    bool Render(int frame, bool force, const std::string& sjisPath);

    // The rendered frame: Bits8 with a grey palette, rows padded with black on the right to
    // a multiple of 8 pixels.
    const Bitmap& Image() const { return image_; }
    // Drops the rendered frame once the caller has copied it.
    void ReleaseImage();

    // One line per element ("0028,0010,Rows: 512"), each ended by a carriage return.
    const std::string& Text() const { return text_; }
    bool HeaderRead() const { return headerRead_; }
    bool ImageUsable() const { return imageUsable_; }
    const DicomHeader& Header() const { return header_; }
    std::uint64_t FileSize() const { return fileSize_; }
    int LastFrame() const { return lastFrame_; }

    // The longest listing that still counts as a header.
    static constexpr std::size_t kMaxTextLength = 10000;

private:
    class Walk;
    void Show(const std::string& message);

    UserInterface& ui_;
    Bitmap image_;
    std::string text_;
    bool headerRead_ = false;
    bool imageUsable_ = false;
    std::uint64_t fileSize_ = 0;
    int lastFrame_ = 0;
    DicomHeader header_;
    std::string syntax_; // transfer syntax UID of the last file, without padding
};

} // namespace pendlar
