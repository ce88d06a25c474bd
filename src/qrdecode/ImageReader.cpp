#include "qrdecode/ImageReader.h"

#include "qrdecode/SymbolTables.h"

namespace pendlar {

int TImageReader::Read(const TPlaneBoolean& binary) {
    if (coordinates_.Locate(binary) != 0)
        return result_ = 1;
    Sample(binary);
    return result_ = 0;
}

bool TImageReader::ReadAgain(const TPlaneBoolean& binary) {
    if (result_ != 0 || !coordinates_.LocateAgain(binary))
        return false;
    Sample(binary);
    return true;
}

void TImageReader::Sample(const TPlaneBoolean& binary) {
    const int n = SymbolSize(coordinates_.Version());
    TPlaneBoolean matrix(n, n);
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column) {
            const TPoint p = coordinates_.ModuleToPixel(column, row);
            matrix.Set(column, row, binary.ValueOr(p.X, p.Y, false));
        }
    matrix_ = std::move(matrix);
    size_ = n;
}

} // namespace pendlar
