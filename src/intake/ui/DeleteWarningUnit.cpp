#include "intake/ui/DeleteWarningUnit.h"

#include "util/ui/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

TDeleteWarningForm::TDeleteWarningForm(QWidget* parent) : QDialog(parent) {
    setObjectName("DeleteWarningForm");
    setWindowTitle(Utf8Text("警告"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Utf8Text("以下のフォルダーにあるファイルは、全て削除されます。")));
    FileDirLabel = new QLineEdit;
    FileDirLabel->setObjectName("FileDirLabel");
    FileDirLabel->setReadOnly(true);
    FileDirLabel->setMinimumWidth(360);
    layout->addWidget(FileDirLabel);
    layout->addWidget(new QLabel(Utf8Text("削除してよいですか？")));
    auto* buttons = new QHBoxLayout;
    CancelBtn = new QPushButton("Cancel");
    OkBtn = new QPushButton("Ok");
    CancelBtn->setDefault(true); // emptying a folder is never the default
    buttons->addStretch();
    buttons->addWidget(CancelBtn);
    buttons->addWidget(OkBtn);
    layout->addLayout(buttons);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

bool TDeleteWarningForm::Execute(const std::string& sjisFolder) {
    FileDirLabel->setText(SjisToQString(sjisFolder));
    return exec() == QDialog::Accepted;
}

} // namespace pendlar
