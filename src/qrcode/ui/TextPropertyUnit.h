// The property window of a cover-sheet text item ("文字のプロパティ"): print flag,
// position and font.
#pragma once

#include "settings/Registory.h"

#include <QDialog>
#include <QFont>

class QCheckBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace pendlar {

class TTxtAtrForm : public QDialog {
public:
    explicit TTxtAtrForm(QWidget* parent = nullptr);

    // Loads the window with an item's top, left, print flag and font.
    void Load(const TCoverItemRecord& item);
    // Gives an item the window's top, left, print flag and font. The stored font name is
    // kept unless another font was chosen in the font dialog.
    void Store(TCoverItemRecord& item) const;

    // Sets the font as the font dialog would.
    void ChooseFont(const QFont& font);
    // Opens the font dialog.
    void FontBtnClick();

    QCheckBox* PrintCheck;
    QSpinBox *TopEdit, *LeftEdit;
    QToolButton* FontBtn;
    QLabel* FontName;

private:
    TCoverItemRecord item_;
    bool fontChosen_ = false;
};

} // namespace pendlar
