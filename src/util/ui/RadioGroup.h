// A titled group of option buttons with one selected index, the option-group control of
// the settings dialogs.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

#include <functional>

namespace pendlar {

class RadioGroup : public QGroupBox {
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    // The selected item, -1 when none.
    int ItemIndex() const { return buttons_.checkedId(); }
    // Selects an item; an index out of range selects none.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.buttons().size()); }

    // Called when the person picks an item (not when SetItemIndex is called).
    std::function<void()> OnClick;

private:
    QButtonGroup buttons_;
};

} // namespace pendlar
