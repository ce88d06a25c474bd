// The policy window "セキュリティポリシーの選択": the passwords and permissions chart files
// are protected with. Shown when a policy is prepared and none is held yet; Cancel is the
// null policy (nothing is held, and the window comes again at the next write that needs it).
#pragma once

#include "store/SecurityPolicy.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pendlar {

class TPolicyForm : public QDialog, public SecurityPolicyChooser {
public:
    explicit TPolicyForm(QWidget* parent = nullptr);

    QLineEdit* UserPasswordEdit;  // may stay empty: the file then opens without a password
    QLineEdit* OwnerPasswordEdit; // required
    QLineEdit* OwnerConfirmEdit;  // the owner password once more
    QCheckBox* PrintCheck;        // "印刷を許可"
    QCheckBox* CopyCheck;         // "テキストのコピーを許可"
    QCheckBox* ChangeCheck;       // "文書の変更を許可"
    QCheckBox* AnnotCheck;        // "注釈の追加を許可"
    QLabel* ErrLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // Shows the window modally with empty passwords; nullopt on Cancel.
    std::optional<SecurityPolicy> ChooseSecurityPolicy() override;

    // The policy of the controls, or the reason it cannot be used (ErrLabel's text).
    std::optional<SecurityPolicy> PolicyOfControls(QString* why) const;
    void OkButtonClick();
};

} // namespace pendlar
