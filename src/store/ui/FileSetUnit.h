// The search, keyword and CSV settings dialog.
// Its controls arrive with the filing flows; until then it exists with its caption, so the
// program creates every window once, in order.
#pragma once

#include "util/ui/QtText.h"

#include <QDialog>

namespace pendlar {

class TFileSetForm : public QDialog {
public:
    explicit TFileSetForm(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("FileSetForm");
        setWindowTitle(Utf8Text("検索設定"));
    }
};

} // namespace pendlar
