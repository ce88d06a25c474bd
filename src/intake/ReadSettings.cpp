#include "intake/ReadSettings.h"

#include "settings/Registory.h"

namespace pendlar {

ReadSettings ReadSettings::From(const TRegistory& s) {
    ReadSettings r;
    r.ScannerDir = s.ScannerDir;
    r.JpegType = s.JpegType;
    r.TiffType = s.TiffType;
    r.BitmapType = s.BitmapType;
    r.PngType = s.PngType;
    r.DicomType = s.DicomType;
    r.DicomText = s.DicomText;
    r.Sequence = s.Sequence;
    r.IdNoGet = s.IdNoGet;
    r.Resolver = s.Resolver;
    r.IdNoPosition = s.IdNoPosition;
    r.IdNoMaxSize = s.IdNoMaxSize;
    r.ImSize = s.ImSize;
    r.ThumbStrech = s.ThumbStrech;
    r.UseIryoData = s.UseIryoData;
    return r;
}

bool ReadSettings::StoreInto(TRegistory& s) const {
    const bool redraw = s.ImSize != ImSize || s.ThumbStrech != ThumbStrech;
    s.ScannerDir = ScannerDir;
    s.JpegType = JpegType;
    s.TiffType = TiffType;
    s.BitmapType = BitmapType;
    s.PngType = PngType;
    s.DicomType = DicomType;
    s.DicomText = DicomText;
    s.Sequence = Sequence;
    s.IdNoGet = IdNoGet;
    s.Resolver = Resolver;
    s.IdNoPosition = IdNoPosition;
    s.IdNoMaxSize = IdNoMaxSize;
    s.ImSize = ImSize;
    s.ThumbStrech = ThumbStrech;
    s.UseIryoData = UseIryoData;
    return redraw;
}

} // namespace pendlar
