// The page-append settings dialog.
// Its controls arrive with the filing flows; until then it exists with its caption, so the
// program creates every window once, in order.
#pragma once

#include "util/ui/QtText.h"

#include <QDialog>

namespace pendlar {

class TAppendSetForm : public QDialog {
public:
    explicit TAppendSetForm(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("AppendSetForm");
        setWindowTitle(Utf8Text("追加設定"));
    }
};

} // namespace pendlar
