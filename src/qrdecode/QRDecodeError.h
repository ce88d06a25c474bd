// The exception of the QR decoder's geometry: raised when the located corners make no
// usable grid (two corners in one place, parallel edges, a map that leaves the number
// line). TQRDecode catches it and reports a failed decode; it never reaches the person.
#pragma once

#include <stdexcept>
#include <string>

namespace pendlar {

class EQRDecodeError : public std::runtime_error {
public:
    explicit EQRDecodeError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace pendlar
