#include "util/ui/TimeSettingUnit.h"

#include "settings/Registory.h"
#include "util/CaruteDate.h"
#include "util/ui/QtText.h"

#include <QHBoxLayout>

namespace pendlar {

TTimeSet::TTimeSet(QWidget* parent) : QDialog(parent) {
    setObjectName("TimeSet");
    setWindowTitle(Utf8Text("暦表示設定"));
    KoyomiSet = new RadioGroup(Utf8Text("暦設定"), {Utf8Text("西暦"), Utf8Text("和暦")}, this);
    KoyomiSet->setObjectName("KoyomiSet");
    SeirekiGroup =
        new RadioGroup(Utf8Text("区切り文字"),
                       {Utf8Text(".　ピリオド"), Utf8Text("/　スラッシュ"), Utf8Text("-　ハイフン"),
                        Utf8Text("_　アンダーライン"), Utf8Text(" 　空白")},
                       this);
    SeirekiGroup->setObjectName("SeirekiGroup");
    warekiGroup = new RadioGroup(Utf8Text("和暦"), {Utf8Text("省略形"), Utf8Text("全表示")}, this);
    warekiGroup->setObjectName("warekiGroup");

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(KoyomiSet);
    layout->addWidget(SeirekiGroup);
    layout->addWidget(warekiGroup);
    KoyomiSet->OnClick = [this] { KoyomiSetClick(); };
}

void TTimeSet::KoyomiSetClick() {
    bool western = KoyomiSet->ItemIndex() == 0;
    SeirekiGroup->setEnabled(western);
    warekiGroup->setEnabled(!western);
}

void DateSetMenuClick(TTimeSet& dialog, TRegistory& settings, TCaruteDate& calendar) {
    dialog.KoyomiSet->SetItemIndex(settings.Koyomi ? 0 : 1);
    dialog.SeirekiGroup->SetItemIndex(settings.SKugiri);
    dialog.warekiGroup->SetItemIndex(settings.WKugiri);
    dialog.KoyomiSetClick();
    dialog.exec();
    settings.Koyomi = dialog.KoyomiSet->ItemIndex() == 0;
    // A stored style outside the lists leaves no button selected; keep the stored value
    // rather than writing -1, which no date format knows.
    if (dialog.SeirekiGroup->ItemIndex() >= 0)
        settings.SKugiri = dialog.SeirekiGroup->ItemIndex();
    if (dialog.warekiGroup->ItemIndex() >= 0)
        settings.WKugiri = dialog.warekiGroup->ItemIndex();
    calendar.SetDisplayMode(settings.Koyomi, settings.SKugiri, settings.WKugiri);
}

} // namespace pendlar
