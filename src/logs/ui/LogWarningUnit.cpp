#include "logs/ui/LogWarningUnit.h"

#include "util/ui/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pendlar {

TLogWarningForm::TLogWarningForm(QWidget* parent) : QDialog(parent) {
    setObjectName("LogWarningForm");
    setWindowTitle(Utf8Text("警告"));

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(40, 40));
    auto* question = new QLabel(Utf8Text("ログファイルをクリアしてもよいですか?"), this);
    auto* note = new QLabel(Utf8Text("ログ情報は、破棄されます。"), this);
    CancelButton = new QPushButton(Utf8Text("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    OkButton = new QPushButton(Utf8Text("Ok"), this);
    OkButton->setObjectName("OkButton");
    // Clearing loses lines: Enter must not do it.
    CancelButton->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(question);
    texts->addWidget(note);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace pendlar
