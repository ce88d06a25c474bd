// Names of the DICOM header elements as the listing writes them, and the elements whose
// values are always listed as text.
#pragma once

#include <cstdint>
#include <string>

namespace pendlar {

// The listing name of an element; "UNKNOWN" when the dictionary has none.
std::string DicomElementName(std::uint16_t group, std::uint16_t element);

// Elements whose value is listed as text whatever its length.
bool IsDicomTextElement(std::uint16_t group, std::uint16_t element);

} // namespace pendlar
