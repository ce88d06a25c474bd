// Samples a located symbol into its module matrix, one pixel per module.
#pragma once

#include "qrdecode/Coordinates.h"
#include "qrdecode/Planes.h"

namespace pendlar {

class TImageReader {
public:
    // 0 with the matrix and its size filled; 1 when the symbol was not located, leaving
    // the matrix as it was. Raises EQRDecodeError as TCoordinates::Locate does.
    int Read(const TPlaneBoolean& binary);
    // After a read whose matrix did not decode: samples the matrix again from the next way
    // of placing the grid (TCoordinates::LocateAgain). False, with the matrix as it was,
    // when there is none.
    bool ReadAgain(const TPlaneBoolean& binary);

    void SetCornerRadius(int modules) { coordinates_.SetCornerRadius(modules); }
    void SetForcedVersion(int version) { coordinates_.SetForcedVersion(version); }

    // Indexed [column][row], true = dark.
    const TPlaneBoolean& Matrix() const { return matrix_; }
    int Size() const { return size_; }
    int LastResult() const { return result_; }
    const TCoordinates& Coordinates() const { return coordinates_; }

private:
    void Sample(const TPlaneBoolean& binary);

    TCoordinates coordinates_;
    TPlaneBoolean matrix_;
    int size_ = 0;
    int result_ = 0;
};

} // namespace pendlar
