// The warning shown when a chart folder cannot be made.
// Its controls arrive with the filing flows; until then it exists with its caption, so the
// program creates every window once, in order.
#pragma once

#include "util/ui/QtText.h"

#include <QDialog>

namespace pendlar {

class TNotMakeFolder : public QDialog {
public:
    explicit TNotMakeFolder(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("NotMakeFolder");
        setWindowTitle(Utf8Text("警告"));
    }
};

} // namespace pendlar
