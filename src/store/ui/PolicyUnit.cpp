#include "store/ui/PolicyUnit.h"

#include "util/ui/QtText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

namespace {

QLineEdit* PasswordEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QCheckBox* Permission(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(Utf8Text(caption), parent);
    box->setObjectName(name);
    box->setChecked(true);
    return box;
}

} // namespace

TPolicyForm::TPolicyForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PolicyForm");
    setWindowTitle(Utf8Text("セキュリティポリシーの選択"));
    UserPasswordEdit = PasswordEdit(this, "UserPasswordEdit");
    OwnerPasswordEdit = PasswordEdit(this, "OwnerPasswordEdit");
    OwnerConfirmEdit = PasswordEdit(this, "OwnerConfirmEdit");
    PrintCheck = Permission(this, "PrintCheck", "印刷を許可");
    CopyCheck = Permission(this, "CopyCheck", "テキストのコピーを許可");
    ChangeCheck = Permission(this, "ChangeCheck", "文書の変更を許可");
    AnnotCheck = Permission(this, "AnnotCheck", "注釈の追加を許可");
    ErrLabel = new QLabel(this);
    ErrLabel->setObjectName("ErrLabel");
    ErrLabel->setStyleSheet("color: red");
    OkButton = new QPushButton("Ok", this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");

    auto* form = new QFormLayout;
    form->addRow(Utf8Text("文書を開くパスワード（省略可）"), UserPasswordEdit);
    form->addRow(Utf8Text("権限パスワード"), OwnerPasswordEdit);
    form->addRow(Utf8Text("権限パスワード（確認）"), OwnerConfirmEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox* box : {PrintCheck, CopyCheck, ChangeCheck, AnnotCheck})
        layout->addWidget(box);
    layout->addWidget(ErrLabel);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<SecurityPolicy> TPolicyForm::PolicyOfControls(QString* why) const {
    const QString owner = OwnerPasswordEdit->text();
    QString error;
    if (owner.isEmpty())
        error = Utf8Text("権限パスワードを入力してください。");
    else if (owner != OwnerConfirmEdit->text())
        error = Utf8Text("権限パスワードが確認と一致しません。");
    else if (owner == UserPasswordEdit->text())
        // With equal passwords every reader would have the owner's rights.
        error = Utf8Text("権限パスワードは文書を開くパスワードと別にしてください。");
    if (!error.isEmpty()) {
        if (why)
            *why = error;
        return std::nullopt;
    }
    SecurityPolicy policy;
    policy.UserPassword = UserPasswordEdit->text().toStdString();
    policy.OwnerPassword = owner.toStdString();
    policy.AllowPrinting = PrintCheck->isChecked();
    policy.AllowCopying = CopyCheck->isChecked();
    policy.AllowChanging = ChangeCheck->isChecked();
    policy.AllowAnnotating = AnnotCheck->isChecked();
    return policy;
}

void TPolicyForm::OkButtonClick() {
    QString why;
    if (!PolicyOfControls(&why)) {
        ErrLabel->setText(why);
        return;
    }
    ErrLabel->clear();
    accept();
}

std::optional<SecurityPolicy> TPolicyForm::ChooseSecurityPolicy() {
    for (QLineEdit* edit : {UserPasswordEdit, OwnerPasswordEdit, OwnerConfirmEdit})
        edit->clear();
    ErrLabel->clear();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    std::optional<SecurityPolicy> policy = PolicyOfControls(nullptr);
    for (QLineEdit* edit : {UserPasswordEdit, OwnerPasswordEdit, OwnerConfirmEdit})
        edit->clear();
    return policy;
}

} // namespace pendlar
