#include "intake/ui/BigImageUnit.h"

#include "intake/ImageFile.h"
#include "intake/ui/IntakeImages.h"
#include "util/ui/QtText.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pendlar {

TBigImageForm::TBigImageForm(QWidget* parent) : QDialog(parent) {
    setObjectName("BigImageForm");
    setWindowTitle(Utf8Text("イメージの表示"));
    resize(900, 700);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea;
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setWidgetResizable(false);
    layout->addWidget(ScrollBox1, 1);
    StatusBar1 = new QStatusBar;
    layout->addWidget(StatusBar1);
}

bool TBigImageForm::LoadPage(const std::string& sjisFile) {
    auto page = LoadImageFile(sjisFile);
    if (!page) {
        // The window lives for the whole run: a picture left from another page must not
        // stand for this one.
        Image1->clear();
        Image1->adjustSize();
        StatusBar1->showMessage(Utf8Text("ファイルを開くことができません。"));
        return false;
    }
    Image1->setPixmap(QPixmap::fromImage(BitmapToQImage(*page)));
    Image1->adjustSize();
    StatusBar1->showMessage(QString("%1 x %2").arg(page->Width()).arg(page->Height()));
    return true;
}

void TBigImageForm::Execute(const std::string& sjisFile) {
    LoadPage(sjisFile);
    exec();
}

} // namespace pendlar
