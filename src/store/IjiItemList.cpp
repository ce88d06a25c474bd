#include "store/IjiItemList.h"

namespace pendlar {

std::span<const IjiItem> IjiItemList() {
    static const IjiItem items[kIjiItemCount] = {
        {"未指定", ""},
        {"氏名", "PName"},
        {"ふりがな", "PKana"},
        {"住所", "Padress"},
        {"抗生剤", "Kousezai"},
        {"既往歴", "kioureki"},
        {"家族暦", "kazoureki"},
        {"アレルギー", "arerugi"},
        {"感染症", "kansensho"},
        {"備考", "bikou"},
        {"労災傷病名1", "RByumei1"},
        {"労災傷病名2", "RByumei2"},
        {"労務災害", "Rrousai"},
        {"外来傷病名1", "Gbyoname1"},
        {"外来傷病名2", "Gbyoname2"},
        {"外来傷病名3", "Gbyoname3"},
        {"外来傷病名4", "Gbyoname4"},
        {"外来傷病名5", "Gbyoname5"},
        {"外来傷病名6", "Gbyoname6"},
        {"外来傷病名7", "Gbyoname7"},
        {"外来傷病名8", "Gbyoname8"},
        {"外来傷病名9", "Gbyoname9"},
        {"外来傷病名10", "Gbyoname10"},
        {"外来傷病名11", "Gbyoname11"},
        {"外来傷病名12", "Gbyoname12"},
        {"外来傷病名13", "Gbyoname13"},
        {"外来傷病名14", "Gbyoname14"},
        {"入院傷病名1", "NShidan1"},
        {"入院傷病名2", "NShidan2"},
        {"入院傷病名3", "NShidan3"},
        {"入院傷病名4", "NShidan4"},
        {"入院傷病名5", "NShidan5"},
        {"入院傷病名6", "NShidan6"},
        {"入院傷病名7", "NShidan7"},
        {"入院傷病名8", "NShidan8"},
        {"入院傷病名9", "NShidan9"},
        {"入院傷病名10", "NShidan10"},
        {"入院傷病名11", "NShidan11"},
        {"入院傷病名12", "NShidan12"},
        {"入院傷病名13", "NShidan13"},
        {"入院傷病名14", "NShidan14"},
    };
    return items;
}

} // namespace pendlar
