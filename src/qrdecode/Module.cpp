#include "qrdecode/Module.h"

namespace pendlar {

TModule::TModule(int size)
    : size_(size > 0 ? size : 0),
      cells_(static_cast<std::size_t>(size_) * static_cast<std::size_t>(size_)) {}

TModuleCell* TModule::At(int x, int y) {
    if (x < 0 || y < 0 || x >= size_ || y >= size_)
        return nullptr;
    return &cells_[static_cast<std::size_t>(x) * static_cast<std::size_t>(size_) +
                   static_cast<std::size_t>(y)];
}

TModuleCell TModule::Cell(int x, int y) const {
    if (x < 0 || y < 0 || x >= size_ || y >= size_)
        return {};
    return cells_[static_cast<std::size_t>(x) * static_cast<std::size_t>(size_) +
                  static_cast<std::size_t>(y)];
}

void TModule::SetCell(int x, int y, const TModuleCell& cell) {
    if (TModuleCell* c = At(x, y))
        *c = cell;
}

void TModule::SetRaw(int x, int y, std::uint8_t v) {
    if (TModuleCell* c = At(x, y))
        c->Raw = v;
}

void TModule::SetMask(int x, int y, std::uint8_t v) {
    if (TModuleCell* c = At(x, y))
        c->Mask = v;
}

void TModule::SetUnmasked(int x, int y, std::uint8_t v) {
    if (TModuleCell* c = At(x, y))
        c->Unmasked = v;
}

void TModule::SetKind(int x, int y, std::uint8_t v) {
    if (TModuleCell* c = At(x, y))
        c->Kind = v;
}

} // namespace pendlar
