#include "qrdecode/Symbol.h"

namespace pendlar {

void TSymbol::NewSymbol(int version) {
    arrangement_ = std::make_unique<TArrangement>(version);
    version_ = version;
    level_ = 0;
    mask_ = 0;
}

} // namespace pendlar
