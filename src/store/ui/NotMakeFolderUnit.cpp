#include "store/ui/NotMakeFolderUnit.h"

#include "util/ui/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pendlar {

TNotMakeFolder::TNotMakeFolder(QWidget* parent) : QDialog(parent) {
    setObjectName("NotMakeFolder");
    setWindowTitle(Utf8Text("警告"));

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    // Selectable, so the clerk can copy the folder into a note for the administrator.
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->setTextFormat(Qt::PlainText);
    Label2 = new QLabel(Utf8Text("ファイルまたはフォルダーを作成できません。　"), this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel(Utf8Text("Diskの容量不足または書き込み不可のデバイスの可能性があります。"),
                        this);
    Label3->setObjectName("Label3");
    Label4 = new QLabel(Utf8Text("又は、使用中の可能性があります。"), this);
    Label4->setObjectName("Label4");
    OkButton = new QPushButton(Utf8Text("了解"), this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);

    auto* texts = new QVBoxLayout;
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        texts->addWidget(label);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool TNotMakeFolder::ShowFolder(const std::string& sjisFolder) {
    Label1->setText(SjisToQString(sjisFolder));
    return exec() == QDialog::Accepted;
}

} // namespace pendlar
