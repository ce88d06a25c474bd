// The values the intake settings dialog edits, copied from the settings store before it is
// shown and back when it is confirmed.
#pragma once

#include <string>

namespace pendlar {

class TRegistory;

struct ReadSettings {
    std::string ScannerDir;
    bool JpegType = true, TiffType = true, BitmapType = true, PngType = true, DicomType = true;
    bool DicomText = false;
    int Sequence = 0;
    int IdNoGet = 0;
    int Resolver = 7;
    int IdNoPosition = 1;
    int IdNoMaxSize = 8;
    int ImSize = 0;
    bool ThumbStrech = false;
    bool UseIryoData = false;

    static ReadSettings From(const TRegistory& settings);
    // Stores every value; true when the thumbnails must be redrawn (ImSize or ThumbStrech
    // changed).
    bool StoreInto(TRegistory& settings) const;
};

} // namespace pendlar
