// The hidden window that holds the layout of a chart's header pages.
// Its controls arrive with that subsystem; until then it exists with its caption, so the
// program creates every window once, in order.
#pragma once

#include "util/ui/QtText.h"

#include <QDialog>

namespace pendlar {

class TPdfWriteForm : public QDialog {
public:
    explicit TPdfWriteForm(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("PdfWriteForm");
        setWindowTitle(Utf8Text(""));
    }
};

} // namespace pendlar
