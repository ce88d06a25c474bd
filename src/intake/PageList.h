// The page list of the chart being filed and the thumbnails it shows on the page-check tab.
//
// One APageList record per page, in chart order. Thumbnails are square bitmaps of side
// 32 x ImSize + 64 kept in ThumbnailImageList; a record names its thumbnail by index and
// the thumbnails themselves never move, so reordering or deleting pages touches only the
// records.
#pragma once

#include "util/Bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pendlar {

struct APageList {
    std::string Path;             // Shift-JIS; only its file-name part is used to find the file
    std::int32_t ThumbIndex = -1; // -1: no thumbnail (a DICOM page that cannot be shown)
    std::optional<std::vector<std::string>> Notes; // Shift-JIS lines, or none
    std::string Caption;                           // bookmark title; empty means none
};

// The side of a thumbnail for the size step ImSize (0-4 give 64 … 192). Steps outside
// are kept within 0-4 so a damaged settings value cannot ask for a huge image.
int ThumbnailSide(int imSize);

class ThumbnailImageList {
public:
    // Empties the list and sets the side of its images.
    void Reset(int side);
    int Side() const { return side_; }
    int Count() const { return static_cast<int>(images_.size()); }
    int Add(Bitmap image);
    // Replaces image `index`; false (nothing changed) when there is no such image.
    bool Replace(int index, Bitmap image);
    // nullptr for an index that names no image (-1 included).
    const Bitmap* Image(int index) const;

private:
    int side_ = 64;
    std::vector<Bitmap> images_;
};

// The thumbnail of a page of pageWidth x pageHeight drawn from `source` (the page itself or
// a reduced decode of it): a white side x side Rgb24 square with the page either stretched
// onto all of it or scaled to fit and centred.
Bitmap MakeThumbnailBitmap(const Bitmap& source, int pageWidth, int pageHeight, int side,
                           bool stretch);

} // namespace pendlar
