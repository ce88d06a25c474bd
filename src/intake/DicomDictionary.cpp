#include "intake/DicomDictionary.h"

#include <algorithm>
#include <iterator>

namespace pendlar {
namespace {

struct Entry {
    std::uint16_t Group;
    std::uint16_t Element;
    const char* Name;
};

// Sorted by group, then element.
constexpr Entry kNames[] = {
    {0x0002, 0x0000, "File Meta Elements Group Len"},
    {0x0002, 0x0001, "File Meta Info Version"},
    {0x0002, 0x0002, "Media Storage SOP Class UID"},
    {0x0002, 0x0003, "Media Storage SOP Inst UID"},
    {0x0002, 0x0010, "Transfer Syntax UID"},
    {0x0002, 0x0012, "Implementation Class UID"},
    {0x0002, 0x0013, "Implementation Version Name"},
    {0x0002, 0x0016, "Source App Entity Title"},
    {0x0002, 0x0100, "Private Info Creator UID"},
    {0x0002, 0x0102, "Private Info"},
    {0x0008, 0x0000, "Identifying Group Length"},
    {0x0008, 0x0001, "Length to End"},
    {0x0008, 0x0005, "Specific Character Set"},
    {0x0008, 0x0008, "Image Type"},
    {0x0008, 0x0010, "Recognition Code"},
    {0x0008, 0x0012, "Instance Creation Date"},
    {0x0008, 0x0013, "Instance Creation Time"},
    {0x0008, 0x0014, "Instance Creator UID"},
    {0x0008, 0x0016, "SOP Class UID"},
    {0x0008, 0x0018, "SOP Instance UID"},
    {0x0008, 0x0020, "Study Date"},
    {0x0008, 0x0021, "Series Date"},
    {0x0008, 0x0022, "Acquisition Date"},
    {0x0008, 0x0023, "Image Date"},
    {0x0008, 0x0030, "Study Time"},
    {0x0008, 0x0031, "Series Time"},
    {0x0008, 0x0032, "Acquisition Time"},
    {0x0008, 0x0033, "Image Time"},
    {0x0008, 0x0040, "Data Set Type"},
    {0x0008, 0x0041, "Data Set Subtype"},
    {0x0008, 0x0050, "Accession Number"},
    {0x0008, 0x0060, "Modality"},
    {0x0008, 0x0064, "Conversion Type"},
    {0x0008, 0x0070, "Manufacturer"},
    {0x0008, 0x0080, "Institution Name"},
    {0x0008, 0x0081, "City Name"},
    {0x0008, 0x0090, "Referring Physician's Name"},
    {0x0008, 0x1010, "Station Name"},
    {0x0008, 0x1030, "Study Description"},
    {0x0008, 0x103E, "Series Description"},
    {0x0008, 0x1040, "Institutional Dept. Name"},
    {0x0008, 0x1050, "Performing Physician's Name"},
    {0x0008, 0x1060, "Name Phys(s) Read Study"},
    {0x0008, 0x1070, "Operator's Name"},
    {0x0008, 0x1080, "Admitting Diagnosis Description"},
    {0x0008, 0x1090, "Manufacturer's Model Name"},
    {0x0008, 0x1140, "Referenced Image Sequence"},
    {0x0008, 0x2120, "Stage Name"},
    {0x0008, 0x2122, "Stage Number"},
    {0x0008, 0x2124, "Number of Stages"},
    {0x0008, 0x2128, "View Number"},
    {0x0008, 0x212A, "Number of Views in stage"},
    {0x0008, 0x2204, "Transducer Orientation"},
    {0x0010, 0x0000, "Patient Group Length"},
    {0x0010, 0x0010, "Patient Name"},
    {0x0010, 0x0020, "Patient ID"},
    {0x0010, 0x0030, "Patient Date of Birth"},
    {0x0010, 0x0040, "Patient Sex"},
    {0x0010, 0x1010, "Patient Age"},
    {0x0010, 0x1030, "Patient Weight"},
    {0x0010, 0x21B0, "Additional Patient History"},
    {0x0018, 0x0000, "Acquisition Group Length"},
    {0x0018, 0x0010, "Contrast/Bolus Agent"},
    {0x0018, 0x0015, "Body Part Examined"},
    {0x0018, 0x0020, "Scanning Sequence"},
    {0x0018, 0x0021, "Sequence Variant"},
    {0x0018, 0x0022, "Scan Options"},
    {0x0018, 0x0023, "MR Acquisition Type"},
    {0x0018, 0x0024, "Sequence Name"},
    {0x0018, 0x0025, "Angio Flag"},
    {0x0018, 0x0030, "Radionuclide"},
    {0x0018, 0x0050, "Slice Thickness"},
    {0x0018, 0x0060, "KVP"},
    {0x0018, 0x0070, "Counts Accumulated"},
    {0x0018, 0x0071, "Acquisition Condition"},
    {0x0018, 0x0080, "Repetition Time"},
    {0x0018, 0x0081, "Echo Time"},
    {0x0018, 0x0082, "Inversion Time"},
    {0x0018, 0x0083, "Number of Averages"},
    {0x0018, 0x0084, "Imaging Frequency"},
    {0x0018, 0x0085, "Imaged Nucleus"},
    {0x0018, 0x0086, "Echo Number"},
    {0x0018, 0x0087, "Magnetic Field Strength"},
    {0x0018, 0x0088, "Spacing Between Slices"},
    {0x0018, 0x0089, "Number of Phase Encoding Steps"},
    {0x0018, 0x0090, "Data collection diameter"},
    {0x0018, 0x0091, "Echo Train Length"},
    {0x0018, 0x0093, "Percent Sampling"},
    {0x0018, 0x0094, "Percent Phase Field View"},
    {0x0018, 0x0095, "Pixel Bandwidth"},
    {0x0018, 0x1000, "Device Serial Number"},
    {0x0018, 0x1020, "Software Version"},
    {0x0018, 0x1030, "Protocol Name"},
    {0x0018, 0x1040, "Contrast/Bolus Route"},
    {0x0018, 0x1050, "Spatial Resolution"},
    {0x0018, 0x1062, "Nominal Interval"},
    {0x0018, 0x1063, "Frame Time"},
    {0x0018, 0x1088, "Heart Rate"},
    {0x0018, 0x1090, "Cardiac Number of Images"},
    {0x0018, 0x1094, "Trigger Window"},
    {0x0018, 0x1100, "Reconstruction Diameter"},
    {0x0018, 0x1110, "Distance Source to Detector"},
    {0x0018, 0x1111, "Distance Source to Patient"},
    {0x0018, 0x1120, "Gantry/Detector Tilt"},
    {0x0018, 0x1130, "Table Height"},
    {0x0018, 0x1140, "Rotation Direction"},
    {0x0018, 0x1149, "Field of View Dimension[s]"},
    {0x0018, 0x1150, "Exposure Time"},
    {0x0018, 0x1151, "X-ray Tube Current"},
    {0x0018, 0x1152, "Exposure"},
    {0x0018, 0x1160, "Filter Type"},
    {0x0018, 0x1170, "Generator Power"},
    {0x0018, 0x1190, "Focal Spot[s]"},
    {0x0018, 0x1200, "Date of Last Calibration"},
    {0x0018, 0x1201, "Time of Last Calibration"},
    {0x0018, 0x1210, "Convolution Kernel"},
    {0x0018, 0x1250, "Receiving Coil"},
    {0x0018, 0x1251, "Transmitting Coil"},
    {0x0018, 0x1260, "Plate Type"},
    {0x0018, 0x1261, "Phosphor Type"},
    {0x0018, 0x1310, "Acquisition Matrix"},
    {0x0018, 0x1312, "Phase Encoding Direction"},
    {0x0018, 0x1314, "Flip Angle"},
    {0x0018, 0x1315, "Variable Flip Angle Flag"},
    {0x0018, 0x1316, "SAR"},
    {0x0018, 0x1400, "Aquisition Device Processing Description"},
    {0x0018, 0x1401, "Aquisition Device Processing Code"},
    {0x0018, 0x1402, "Cassette Orientation"},
    {0x0018, 0x1403, "Cassette Size"},
    {0x0018, 0x5020, "Processing Function"},
    {0x0018, 0x5100, "Patient Position"},
    {0x0018, 0x5101, "View Position"},
    {0x0018, 0x6000, "Sensitivity"},
    {0x0020, 0x0000, "Relationship Group Length"},
    {0x0020, 0x000D, "Study Instance UID"},
    {0x0020, 0x000E, "Series Instance UID"},
    {0x0020, 0x0010, "Study ID"},
    {0x0020, 0x0011, "Series Number"},
    {0x0020, 0x0012, "Acquisition Number"},
    {0x0020, 0x0013, "Image Number"},
    {0x0020, 0x0020, "Patient Orientation"},
    {0x0020, 0x0030, "Image Position"},
    {0x0020, 0x0032, "Image Position Patient"},
    {0x0020, 0x0035, "Image Orientation"},
    {0x0020, 0x0037, "Image Orientation (Patient)"},
    {0x0020, 0x0050, "Location"},
    {0x0020, 0x0052, "Frame of Reference UID"},
    {0x0020, 0x0060, "Laterality"},
    {0x0020, 0x0070, "Image Geometry Type"},
    {0x0020, 0x1002, "Images in Acquisition"},
    {0x0020, 0x1040, "Position Reference"},
    {0x0020, 0x1041, "Slice Location"},
    {0x0020, 0x3401, "Modifying Device ID"},
    {0x0020, 0x3402, "Modified Image ID"},
    {0x0020, 0x3403, "Modified Image Date"},
    {0x0020, 0x3404, "Modifying Device Mfg."},
    {0x0020, 0x3405, "Modified Image Time"},
    {0x0020, 0x3406, "Modified Image Desc."},
    {0x0020, 0x4000, "Image Comments"},
    {0x0020, 0x5000, "Original Image ID"},
    {0x0028, 0x0000, "Image Presentation Group Length"},
    {0x0028, 0x0002, "Samples Per Pixel"},
    {0x0028, 0x0004, "Photometric Interpretation"},
    {0x0028, 0x0005, "Image Dimensions (ret)"},
    {0x0028, 0x0006, "Planar Configuration"},
    {0x0028, 0x0008, "Number of Frames"},
    {0x0028, 0x0009, "Frame Increment Pointer"},
    {0x0028, 0x0010, "Rows"},
    {0x0028, 0x0011, "Columns"},
    {0x0028, 0x0030, "Pixel Spacing"},
    {0x0028, 0x0031, "Zoom Factor"},
    {0x0028, 0x0032, "Zoom Center"},
    {0x0028, 0x0034, "Pixel Aspect Ratio"},
    {0x0028, 0x0040, "Image Format [ret]"},
    {0x0028, 0x0050, "Manipulated Image [ret]"},
    {0x0028, 0x0051, "Corrected Image"},
    {0x0028, 0x0060, "Compression Code [ret]"},
    {0x0028, 0x0100, "Bits Allocated"},
    {0x0028, 0x0101, "Bits Stored"},
    {0x0028, 0x0102, "High Bit"},
    {0x0028, 0x0103, "Pixel Representation"},
    {0x0028, 0x0104, "Smallest Valid Pixel Value"},
    {0x0028, 0x0105, "Largest Valid Pixel Value"},
    {0x0028, 0x0106, "Smallest Image Pixel Value"},
    {0x0028, 0x0107, "Largest Image Pixel Value"},
    {0x0028, 0x0120, "Pixel Padding Value"},
    {0x0028, 0x0200, "Image Location [ret]"},
    {0x0028, 0x1050, "Window Center"},
    {0x0028, 0x1051, "Window Width"},
    {0x0028, 0x1052, "Rescale Intercept"},
    {0x0028, 0x1053, "Rescale Slope"},
    {0x0028, 0x1100, "Gray Lookup Table [ret]"},
    {0x0028, 0x1101, "Red Palette Descriptor"},
    {0x0028, 0x1102, "Green Palette Descriptor"},
    {0x0028, 0x1103, "Blue Palette Descriptor"},
    {0x0028, 0x1200, "Gray Lookup Data [ret]"},
    {0x0028, 0x1201, "Red Table"},
    {0x0028, 0x1202, "Green Table"},
    {0x0028, 0x1203, "Blue Table"},
    {0x0054, 0x0000, "Nuclear Acquisition Group Length"},
    {0x0054, 0x0011, "Number of Energy Windows"},
    {0x0054, 0x0021, "Number of Detectors"},
    {0x0054, 0x0051, "Number of Rotations"},
    {0x0054, 0x0080, "Slice Vector"},
    {0x0054, 0x0081, "Number of Slices"},
    {0x0054, 0x0202, "Type of Detector Motion"},
    {0x0054, 0x0400, "Image ID"},
    {0x2010, 0x0000, "Film Box Group Length"},
    {0x2010, 0x0100, "Border Density"},
    {0x7FE0, 0x0000, "Pixel Data Group Length"},
    {0x7FE0, 0x0010, "Pixel Data"},
};

struct Tag {
    std::uint16_t Group;
    std::uint16_t Element;
};

// Sorted by group, then element.
constexpr Tag kTextElements[] = {
    {0x0008, 0x0008}, {0x0008, 0x0060}, {0x0008, 0x0064}, {0x0008, 0x1030}, {0x0008, 0x1070},
    {0x0008, 0x1090}, {0x0008, 0x2122}, {0x0008, 0x2124}, {0x0008, 0x2128}, {0x0008, 0x212A},
    {0x0010, 0x0010}, {0x0010, 0x0040}, {0x0018, 0x0010}, {0x0018, 0x0020}, {0x0018, 0x0021},
    {0x0018, 0x0023}, {0x0018, 0x0025}, {0x0018, 0x0070}, {0x0018, 0x0071}, {0x0018, 0x0082},
    {0x0018, 0x0083}, {0x0018, 0x0085}, {0x0018, 0x0086}, {0x0018, 0x0089}, {0x0018, 0x0091},
    {0x0018, 0x1000}, {0x0018, 0x1020}, {0x0018, 0x1050}, {0x0018, 0x1088}, {0x0018, 0x1090},
    {0x0018, 0x1094}, {0x0018, 0x1149}, {0x0018, 0x1250}, {0x0018, 0x1251}, {0x0018, 0x1260},
    {0x0018, 0x1261}, {0x0018, 0x1312}, {0x0018, 0x1314}, {0x0018, 0x1315}, {0x0018, 0x1316},
    {0x0018, 0x1401}, {0x0018, 0x5100}, {0x0018, 0x5101}, {0x0018, 0x6000}, {0x0020, 0x0011},
    {0x0020, 0x0012}, {0x0020, 0x0013}, {0x0020, 0x0020}, {0x0020, 0x1040}, {0x0028, 0x0008},
    {0x0028, 0x0034}, {0x0028, 0x0060}, {0x0028, 0x1050}, {0x0028, 0x1051}, {0x0028, 0x1052},
    {0x0028, 0x1053},
};

constexpr bool Less(std::uint16_t g1, std::uint16_t e1, std::uint16_t g2, std::uint16_t e2) {
    return g1 < g2 || (g1 == g2 && e1 < e2);
}

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kNames); ++i)
        if (!Less(kNames[i - 1].Group, kNames[i - 1].Element, kNames[i].Group, kNames[i].Element))
            return false;
    for (std::size_t i = 1; i < std::size(kTextElements); ++i)
        if (!Less(kTextElements[i - 1].Group, kTextElements[i - 1].Element, kTextElements[i].Group,
                  kTextElements[i].Element))
            return false;
    return true;
}
static_assert(Sorted(), "the dictionary tables must stay sorted for the binary search");

} // namespace

std::string DicomElementName(std::uint16_t group, std::uint16_t element) {
    const Entry* it =
        std::lower_bound(std::begin(kNames), std::end(kNames), Entry{group, element, nullptr},
                         [](const Entry& a, const Entry& b) {
                             return Less(a.Group, a.Element, b.Group, b.Element);
                         });
    if (it != std::end(kNames) && it->Group == group && it->Element == element)
        return it->Name;
    switch (group) {
    case 0x0002:
    case 0x0008:
    case 0x0010:
    case 0x0018:
    case 0x0020:
    case 0x0028:
    case 0x0054:
    case 0x2010:
    case 0x7FE0:
        return "UNKNOWN";
    case 0x4000:
        return "Text";
    default:
        break;
    }
    if (element == 0x0000)
        return "Group Length";
    if (element == 0x4000)
        return "Comments";
    if (group >= 0x6000 && group <= 0x601E && group % 2 == 0)
        return "Overlay";
    return "UNKNOWN";
}

bool IsDicomTextElement(std::uint16_t group, std::uint16_t element) {
    return std::binary_search(
        std::begin(kTextElements), std::end(kTextElements), Tag{group, element},
        [](const Tag& a, const Tag& b) { return Less(a.Group, a.Element, b.Group, b.Element); });
}

} // namespace pendlar
