// The search window: stored charts found by patient number, sub number or keywords.
// Its controls arrive with the filing flows; until then it exists with its caption, so the
// program creates every window once, in order.
#pragma once

#include "util/ui/QtText.h"

#include <QDialog>

namespace pendlar {

class TDBSearchForm : public QDialog {
public:
    explicit TDBSearchForm(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("DBSearchForm");
        setWindowTitle(Utf8Text("検索"));
    }
};

} // namespace pendlar
