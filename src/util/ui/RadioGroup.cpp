#include "util/ui/RadioGroup.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace pendlar {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_.addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    connect(&buttons_, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            OnClick();
    });
}

void RadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = buttons_.button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button directly.
    buttons_.setExclusive(false);
    for (QAbstractButton* b : buttons_.buttons())
        b->setChecked(false);
    buttons_.setExclusive(true);
}

} // namespace pendlar
