// How a window shows another one modally. The windows call it instead of exec() so that
// tests and tools can answer a dialog without a person; by default it is exec().
#pragma once

#include <QDialog>

#include <functional>

namespace pendlar {

using ModalRunner = std::function<int(QDialog& dialog)>;

inline int RunModal(const ModalRunner& runner, QDialog& dialog) {
    return runner ? runner(dialog) : dialog.exec();
}

} // namespace pendlar
