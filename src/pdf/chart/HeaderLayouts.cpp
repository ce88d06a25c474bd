#include "pdf/chart/HeaderLayouts.h"

#include "util/Sjis.h"

namespace pendlar {
namespace {

using K = LayoutKind;

LayoutItem Label(int left, int top, const char* text, float size = 12, bool bold = false) {
    LayoutItem item;
    item.Kind = K::Label;
    item.Text = text;
    item.Left = left;
    item.Top = top;
    item.FontSize = size;
    item.Bold = bold;
    return item;
}

// A caption centred in the column from `left` of width `width`.
LayoutItem Centred(int left, int top, int width, const char* text) {
    LayoutItem item = Label(left, top, text);
    item.Width = width;
    item.Alignment = TextAlignment::Center;
    return item;
}

LayoutItem Field(std::string name, int left, int top, int width, float size = 12) {
    LayoutItem item;
    item.Kind = K::Field;
    item.Name = std::move(name);
    item.Left = left;
    item.Top = top;
    item.Width = width;
    item.FontSize = size;
    return item;
}

LayoutItem Memo(std::string name, int left, int top, int width, int height) {
    LayoutItem item = Field(std::move(name), left, top, width);
    item.Kind = K::Memo;
    item.Height = height;
    return item;
}

// A caption written downwards, one character per line, `leading` apart.
LayoutItem Vertical(const char* text, int left, int top, float leading) {
    LayoutItem item = Label(left, top, text);
    item.Kind = K::Vertical;
    item.Width = 14;
    item.Leading = leading;
    return item;
}

LayoutItem Box(int left, int top, int width, int height) {
    LayoutItem item;
    item.Kind = K::Box;
    item.Left = left;
    item.Top = top;
    item.Width = width;
    item.Height = height;
    item.LineWidth = 1;
    return item;
}

LayoutItem HLine(int left, int top, int width) {
    LayoutItem item = Box(left, top, width, 1);
    item.Kind = K::Line;
    item.LineWidth = 0.5f;
    return item;
}

LayoutItem VLine(int left, int top, int height) {
    LayoutItem item = Box(left, top, 1, height);
    item.Kind = K::Line;
    item.LineWidth = 0.5f;
    return item;
}

LayoutItem Dotted(int left, int top, int width) {
    LayoutItem item = HLine(left, top, width);
    item.Kind = K::DottedLine;
    return item;
}

std::string N(const char* prefix, int k) {
    return prefix + std::to_string(k);
}

// The patient block the three pages share: the ID row from `idTop` and the kana and name
// rows below it, with the dotted line under the kana line at `dottedTop`.
struct PatientNames {
    const char *Id, *Date, *Kana, *Name, *Sex, *Birth, *Age;
};

void AddPatientBlock(std::vector<LayoutItem>& items, const PatientNames& n, int idTop, int dateLeft,
                     int dateTop, int kanaTop, int dottedTop, int nameTop, int blockBottom) {
    const int rowTop = idTop - 5;     // the ID row's box
    const int nameBlock = idTop + 25; // the kana and name rows' box
    const int valueTop = nameTop - 1; // sex, birth date and age
    items.push_back(Box(0, rowTop, 567, nameBlock - rowTop));
    items.push_back(Label(16, idTop, "患者ID"));
    items.push_back(Field(n.Id, 80, idTop, 150));
    items.push_back(Field(n.Date, dateLeft, dateTop, 60));
    items.push_back(Box(0, nameBlock, 567, blockBottom - nameBlock));
    items.push_back(Label(16, kanaTop, "フリガナ"));
    items.push_back(Field(n.Kana, 80, kanaTop, 200));
    items.push_back(Dotted(8, dottedTop, 281));
    items.push_back(Label(16, nameTop + 1, "患者氏名"));
    items.push_back(Field(n.Name, 80, nameTop, 190, 14));
    items.push_back(Label(272, nameTop + 1, "殿"));
    items.push_back(VLine(290, nameBlock, blockBottom - nameBlock));
    items.push_back(VLine(330, nameBlock, blockBottom - nameBlock));
    items.push_back(HLine(290, kanaTop + 16, 277));
    items.push_back(Label(296, kanaTop, "性別"));
    items.push_back(Field(n.Sex, 296, valueTop, 32));
    items.push_back(Label(336, kanaTop, "生年月日"));
    items.push_back(Field(n.Birth, 336, valueTop, 100));
    items.push_back(Field(n.Age, 440, valueTop, 124));
}

HeaderPageDesign MakeGairai() {
    HeaderPageDesign d{"PRGairai", "PRGairaiLayout", 633, 887, {}};
    auto& v = d.Items;
    v.push_back(Label(200, 16, "外来カルテ", 24, true));
    AddPatientBlock(v,
                    {"PR_KanjaID", "PR_Date", "PR_Furikana", "PR_Kanja_Name", "PR_Sex",
                     "PR_BirthDay", "PR_Nenrei"},
                    53, 504, 57, 85, 110, 118, 137);

    // Address and referrer.
    v.push_back(Box(0, 141, 567, 56));
    v.push_back(Label(16, 146, "現住所"));
    v.push_back(Label(200, 146, "〒"));
    v.push_back(Field("PR_UbinNo", 214, 146, 120));
    v.push_back(Label(360, 146, "Tel"));
    v.push_back(Field("PR_TelNo", 384, 146, 170));
    v.push_back(Field("PR_Address", 24, 169, 529));
    v.push_back(Box(0, 197, 567, 50));
    v.push_back(Label(16, 202, "紹介者氏名"));
    v.push_back(Field("PR_ShokaiName", 80, 202, 200));
    v.push_back(Label(284, 202, "殿"));
    v.push_back(Label(360, 202, "Tel"));
    v.push_back(Field("PR_SHokaiTel", 384, 202, 170));
    v.push_back(Label(16, 225, "住所"));
    v.push_back(Field("PR_ShokaiAdr", 48, 225, 505));

    // Insurance grid, 253 to 454: the card and the insurer on the left, the public payers
    // and the employer on the right.
    v.push_back(Box(0, 253, 567, 201));
    v.push_back(VLine(22, 253, 201));
    v.push_back(VLine(140, 253, 201));
    v.push_back(VLine(326, 253, 201));
    v.push_back(VLine(348, 253, 201));
    v.push_back(VLine(437, 253, 201));
    v.push_back(Vertical("被保険者証等", 4, 262, 19));
    v.push_back(Vertical("保険者", 4, 390, 20));
    struct Row {
        int Top;
        const char* Caption;
        const char* Name;
    };
    const Row left[] = {
        {253, "保険者番号", "PR_HokenjaNo"},        {278, "記号番号", "PR_HokenjaKigou"},
        {303, "被保険者氏名", "PR_HiHokenName"},    {328, "有効期限", "PR_HokenKigen"},
        {353, "資格取得(負傷)", "PR_HokenShutoku"}, {378, "名称", "PR_Hokensha_Name"},
        {403, "所在地", "PR_Hokensha_adr"},         {428, "電話番号", "PR_HokenahaTel"}};
    for (const Row& row : left) {
        if (row.Top != 253)
            v.push_back(HLine(row.Top == 378 ? 0 : 22, row.Top, row.Top == 378 ? 326 : 304));
        v.push_back(Label(26, row.Top + 6, row.Caption));
        v.push_back(Field(row.Name, 148, row.Top + 6, 176));
    }
    v.push_back(Vertical("第一公費", 330, 256, 13));
    v.push_back(Vertical("第二公費", 330, 314, 13));
    v.push_back(Vertical("事業所", 330, 385, 20));
    const Row right[] = {{253, "公費負担者番号", "PR_KouhiNo1"}, {282, "受給番号", "PR_JukyuNo1"},
                         {311, "公費負担者番号", "PR_KouhiNo2"}, {340, "受給番号", "PR_JukyuNo2"},
                         {369, "名称", "PR_JgyosyoName"},        {398, "所在地", "PR_JgyosyoAdr"},
                         {426, "電話番号", "PR_JgyosyoTel"}};
    for (const Row& row : right) {
        if (row.Top != 253) {
            const bool group = row.Top == 311 || row.Top == 369;
            v.push_back(HLine(group ? 326 : 348, row.Top, group ? 241 : 219));
        }
        v.push_back(Label(351, row.Top + 8, row.Caption));
        v.push_back(Field(row.Name, 440, row.Top + 8, 125));
    }

    // Blood and antibiotic test.
    v.push_back(Box(0, 463, 567, 26));
    v.push_back(Box(0, 489, 567, 26));
    v.push_back(VLine(90, 463, 52));
    v.push_back(Label(16, 468, "血液型"));
    v.push_back(Field("PR_Ketsueki", 96, 468, 465));
    v.push_back(Label(16, 494, "抗生剤テスト"));
    v.push_back(Field("PR_Kouseizai", 96, 494, 465));

    // Workers' accident: two heading rows, the two periods from 557 and 587, the remark.
    v.push_back(Box(0, 522, 567, 119));
    v.push_back(HLine(0, 539, 425));
    v.push_back(HLine(0, 557, 567));
    v.push_back(HLine(0, 587, 567));
    v.push_back(HLine(0, 617, 567));
    v.push_back(VLine(150, 539, 78));
    v.push_back(VLine(256, 557, 60));
    v.push_back(VLine(310, 539, 78));
    v.push_back(VLine(425, 522, 95));
    v.push_back(VLine(520, 557, 60));
    v.push_back(VLine(312, 617, 24));
    v.push_back(Centred(0, 524, 425, "労務不能に関する意見"));
    v.push_back(Centred(425, 533, 142, "入院期間"));
    v.push_back(Centred(0, 542, 150, "傷病名"));
    v.push_back(Centred(150, 542, 160, "意見書記入の労務不能期間"));
    v.push_back(Centred(310, 542, 115, "意見書交付"));
    for (int n = 1; n <= 2; ++n) {
        const int top = n == 1 ? 557 : 587;
        v.push_back(Field(N("PR_Rousai_Shobyomei", n), 16, top + 8, 132));
        v.push_back(Field(N("PR_Rousai_roum_From", n), 156, top + 2, 98));
        v.push_back(Field(N("PR_Rousai_roum_To", n), 156, top + 16, 98));
        v.push_back(Field(N("PR_Rousai_roum_days", n), 262, top + 8, 46));
        v.push_back(Field(N("PR_Rousai_iken_date", n), 315, top + 8, 108));
        v.push_back(Field(N("PR_Rousai_nyuin_From", n), 430, top + 2, 88));
        v.push_back(Field(N("PR_Rousai_nyuin_To", n), 430, top + 16, 88));
        v.push_back(Field(N("PR_Rousai_nyuin_days", n), 526, top + 8, 40));
    }
    v.push_back(Label(16, 621, "労務災害又は通勤災害の疑いがある場合は、その旨"));
    v.push_back(Field("PR_Roumu", 320, 621, 245));

    // Outpatient diseases: two blocks of seven rows side by side.
    v.push_back(Box(0, 644, 567, 167));
    v.push_back(HLine(0, 664, 567));
    const int rowTops[] = {668, 689, 710, 730, 751, 772, 794};
    for (int i = 1; i < 7; ++i)
        v.push_back(HLine(0, rowTops[i] - 4, 567));
    struct Block {
        int Left, Right, Name, NameWidth;
    };
    const Block blocks[] = {{0, 280, 16, 120}, {280, 567, 290, 128}};
    for (int b = 0; b < 2; ++b) {
        const Block& k = blocks[b];
        const int start = k.Left + (b == 0 ? 138 : 140), end = k.Right;
        const int date1 = start, date2 = start + 56, outcome = start + 112;
        if (b == 1)
            v.push_back(VLine(k.Left, 644, 167));
        v.push_back(VLine(date1, 644, 167));
        v.push_back(VLine(date2, 644, 167));
        v.push_back(VLine(outcome, 644, 167));
        v.push_back(Centred(k.Left, 648, date1 - k.Left, "傷病名"));
        v.push_back(Centred(date1, 648, 56, "開始"));
        v.push_back(Centred(date2, 648, 56, "終了"));
        v.push_back(Centred(outcome, 648, end - outcome, "転帰"));
        for (int i = 0; i < 7; ++i) {
            const int row = b * 7 + i, top = rowTops[i];
            v.push_back(Field(N("PR_ShobyoName", row), k.Name, top, k.NameWidth));
            v.push_back(Field(N("PR_Shoshin", row), date1 + 3, top + 1, 52, 10));
            v.push_back(Field(N("PR_Shuryo", row), date2 + 3, top + 1, 52, 10));
            v.push_back(Field(N("PR_Tenki", row), outcome + 3, top, end - outcome - 4));
        }
    }
    return d;
}

HeaderPageDesign MakeNyuin() {
    HeaderPageDesign d{"PRNyuin", "PRNyuinLayout", 633, 855, {}};
    auto& v = d.Items;
    v.push_back(Label(192, 8, "入院カルテ", 24));
    AddPatientBlock(v,
                    {"Nyuin_KanjaID", "Nyuin_Date", "Nyuin_Furikana", "Nyuin_Kanja_Name",
                     "Nyuin_Sex", "Nyuin_BirthDay", "Nyuin_Nenrei"},
                    41, 504, 45, 73, 97, 106, 130);

    v.push_back(Box(0, 137, 567, 48));
    v.push_back(Label(16, 142, "現住所"));
    v.push_back(Label(200, 142, "〒"));
    v.push_back(Field("Nyuin_UbinNo", 214, 142, 120));
    v.push_back(Label(360, 142, "Tel"));
    v.push_back(Field("Nyuin_TelNo", 384, 142, 170));
    v.push_back(Field("Nyuin_Address", 24, 163, 529));

    // Contact person.
    v.push_back(Box(0, 185, 567, 58));
    v.push_back(HLine(0, 212, 567));
    v.push_back(Label(16, 190, "連絡先"));
    v.push_back(Field("Nyuin_RenrakuName", 56, 190, 200));
    v.push_back(Label(258, 190, "殿"));
    v.push_back(Label(280, 190, "続柄"));
    v.push_back(Field("Nyuin_RenrakuZoku", 308, 190, 108));
    v.push_back(Label(420, 190, "Tel"));
    v.push_back(Field("Nyuin_RenrakuTel", 444, 190, 120));
    v.push_back(Label(16, 218, "住所"));
    v.push_back(Field("Nyuin_RenrakuAdr", 48, 218, 368));
    v.push_back(Label(420, 218, "携帯"));
    v.push_back(Field("Nyuin_RenrakuKeitai", 446, 218, 118));

    // Admission.
    v.push_back(Box(0, 243, 567, 30));
    v.push_back(VLine(140, 243, 30));
    v.push_back(VLine(290, 243, 30));
    v.push_back(VLine(416, 243, 30));
    v.push_back(Label(16, 249, "負担区分"));
    v.push_back(Field("Nyuin_FutanKubun", 68, 249, 70));
    v.push_back(Label(146, 249, "診療科"));
    v.push_back(Field("Nyuin_Shinryoka", 186, 249, 102));
    v.push_back(Label(296, 249, "病棟"));
    v.push_back(Field("Nyuin_Byotou", 324, 249, 90));
    v.push_back(Label(422, 249, "主治医"));
    v.push_back(Field("Nyuin_ShujiDrName", 462, 249, 104));
    v.push_back(Box(0, 273, 567, 29));
    v.push_back(VLine(150, 273, 29));
    v.push_back(VLine(294, 273, 29));
    v.push_back(Label(16, 280, "入院日"));
    v.push_back(Field("Nyuin_NyuinBi", 56, 280, 92));
    v.push_back(Label(156, 280, "退院日"));
    v.push_back(Field("Nyuin_TaiinBi", 196, 280, 96));
    v.push_back(Label(300, 280, "前回入院"));
    v.push_back(Field("Nyuin_Zenkai", 350, 280, 14));
    v.push_back(Field("Nyuin_ZenkaiNyuin", 368, 280, 80));
    v.push_back(Label(448, 280, "～"));
    v.push_back(Field("Nyuin_ZenkaiTaiin", 462, 280, 102));

    v.push_back(Box(0, 302, 567, 31));
    v.push_back(Box(0, 333, 567, 29));
    v.push_back(VLine(90, 302, 60));
    v.push_back(Label(16, 308, "血液型"));
    v.push_back(Field("Nyuin_Ketsueki", 96, 308, 465));
    v.push_back(Label(16, 340, "抗生剤テスト"));
    v.push_back(Field("Nyuin_Kouseizai", 96, 340, 465));

    // Referrer.
    v.push_back(Box(0, 362, 567, 42));
    v.push_back(Label(16, 367, "紹介者"));
    v.push_back(Field("Nyuin_ShokaiName", 56, 367, 200));
    v.push_back(Label(258, 367, "殿"));
    v.push_back(Label(360, 367, "Tel"));
    v.push_back(Field("Nyuin_ShokaiTelno", 384, 367, 170));
    v.push_back(Label(16, 384, "住所"));
    v.push_back(Field("Nyuin_ShokaiAddress", 48, 384, 505));

    // Diagnoses: fourteen rows from 430, one every 25.
    v.push_back(Box(0, 404, 567, 372));
    v.push_back(HLine(0, 426, 567));
    v.push_back(VLine(300, 404, 372));
    v.push_back(VLine(414, 404, 372));
    v.push_back(VLine(518, 404, 372));
    v.push_back(Centred(0, 410, 300, "傷病名"));
    v.push_back(Centred(300, 410, 114, "開始"));
    v.push_back(Centred(414, 410, 104, "転帰日"));
    v.push_back(Centred(518, 410, 49, "転帰"));
    for (int k = 0; k < 14; ++k) {
        const int top = 430 + 25 * k;
        if (k > 0)
            v.push_back(HLine(0, top - 4, 567));
        v.push_back(Field(N("Nyuin_ShindanName", k), 16, top, 280));
        v.push_back(Field(N("Nyuin_Shindanbi", k), 307, top, 104));
        v.push_back(Field(N("Nyuin_Tenkibi", k), 421, top, 94));
        v.push_back(Field(N("Nyuin_Tenki", k), 524, top, 40));
    }
    return d;
}

HeaderPageDesign MakeNext() {
    HeaderPageDesign d{"PRNext", "PRNextLayout", 633, 817, {}};
    auto& v = d.Items;
    AddPatientBlock(v,
                    {"Next_KanjaID2", "Next_Date2", "Next_Furikana2", "Next_Kanja_Name2",
                     "Next_Sex2", "Next_BirthDay2", "Next_Nenrei2"},
                    41, 464, 45, 72, 96, 105, 130);

    // History memos: caption, then the text in its box.
    struct Section {
        const char* Caption;
        int LabelTop, TextTop, TextHeight;
        const char* Name;
    };
    const Section sections[] = {{"【既往歴】", 136, 152, 49, "Next_Kioureki"},
                                {"【家族歴】", 216, 232, 49, "Next_Kazokureki"},
                                {"【アレルギー】", 295, 311, 49, "Next_Arerugii"},
                                {"【感染症】", 374, 388, 49, "Next_Kansensho"},
                                {"【備考】", 450, 464, 57, "Next_Bikou"}};
    for (const Section& s : sections) {
        v.push_back(Label(8, s.LabelTop, s.Caption));
        v.push_back(Box(0, s.TextTop - 1, 567, s.TextHeight + 2));
        v.push_back(Memo(s.Name, 16, s.TextTop, 537, s.TextHeight));
    }

    // Insurance-confirmation months: the year column, then twelve month columns whose
    // marks stand at the given left edges.
    const int markLeft[12] = {120, 158, 192, 227, 264, 302, 338, 375, 410, 447, 482, 520};
    const int bounds[13] = {108, 144, 181, 217, 254, 290, 326, 363, 399, 436, 472, 508, 545};
    const int rowTops[6] = {554, 584, 616, 648, 680, 713};
    const int rowLines[7] = {546, 577, 609, 641, 673, 705, 738};
    v.push_back(Box(0, 523, 545, 215));
    for (int i = 0; i < 6; ++i)
        v.push_back(HLine(0, rowLines[i], 545));
    for (int j = 0; j < 12; ++j)
        v.push_back(VLine(bounds[j], 523, 215));
    v.push_back(Label(15, 528, "年度"));
    v.push_back(Label(39, 528, "/確認月"));
    static const char* const kMonths[12] = {"1月", "2月", "3月", "4月",  "5月",  "6月",
                                            "7月", "8月", "9月", "10月", "11月", "12月"};
    for (int m = 0; m < 12; ++m)
        v.push_back(Centred(bounds[m], 528, bounds[m + 1] - bounds[m], kMonths[m]));
    for (int r = 0; r < 6; ++r) {
        v.push_back(Field(N("Next_Nendo", r), 15, rowTops[r], 92));
        for (int m = 0; m < 12; ++m)
            v.push_back(
                Field(N("Next_Tsuki", r) + "_" + std::to_string(m), markLeft[m], rowTops[r], 14));
    }
    return d;
}

} // namespace

const HeaderPageDesign& GairaiDesign() {
    static const HeaderPageDesign design = MakeGairai();
    return design;
}

const HeaderPageDesign& NyuinDesign() {
    static const HeaderPageDesign design = MakeNyuin();
    return design;
}

const HeaderPageDesign& NextDesign() {
    static const HeaderPageDesign design = MakeNext();
    return design;
}

HeaderPageItems BuildHeaderPage(const HeaderPageDesign& design, TPRPage& page) {
    page.SetName(design.PageName);
    page.SetBounds(0, 0, design.Width, design.Height);
    auto* layout = page.Add<TPRLayoutPanel>(design.LayoutName);
    layout->SetAlign(TAlign::alClient);

    HeaderPageItems found;
    int running = 0;
    for (const LayoutItem& item : design.Items) {
        const std::string name =
            item.Name.empty() ? std::string(design.PageName) + "_Item" + std::to_string(++running)
                              : item.Name;
        const int height = item.Height > 0 ? item.Height : static_cast<int>(item.FontSize) + 4;
        switch (item.Kind) {
        case K::Label:
        case K::Field: {
            auto* label = layout->Add<TPRLabel>(name);
            label->Caption = SjisOf(item.Text);
            const int width = item.Width > 0
                                  ? item.Width
                                  : static_cast<int>(label->Caption.size() * item.FontSize / 2) + 2;
            label->SetBounds(item.Left, item.Top, width, height);
            label->SetFontSize(item.FontSize);
            label->SetFontBold(item.Bold);
            label->Alignment = item.Alignment;
            if (item.Kind == K::Field)
                found.Fields[name] = label;
            break;
        }
        case K::Memo: {
            auto* text = layout->Add<TPRText>(name);
            text->SetBounds(item.Left, item.Top, item.Width, height);
            text->SetFontSize(item.FontSize);
            text->SetLeading(item.Leading);
            found.Memos[name] = text;
            break;
        }
        case K::Vertical: {
            auto* text = layout->Add<TPRText>(name);
            const std::string caption = SjisOf(item.Text);
            for (std::size_t i = 0; i < caption.size();) {
                std::size_t width = IsLeadByte(static_cast<unsigned char>(caption[i])) ? 2 : 1;
                text->Lines.push_back(caption.substr(i, width));
                i += width;
            }
            const int lines = static_cast<int>(text->Lines.size());
            text->SetBounds(item.Left, item.Top, item.Width,
                            static_cast<int>((lines - 1) * item.Leading + item.FontSize) + 2);
            text->SetFontSize(item.FontSize);
            text->SetLeading(item.Leading);
            break;
        }
        case K::Box:
        case K::Line:
        case K::DottedLine: {
            auto* rect = layout->Add<TPRRect>(name);
            rect->SetBounds(item.Left, item.Top, item.Width, item.Height);
            rect->SetLineWidth(item.LineWidth);
            if (item.Kind == K::DottedLine)
                rect->LineStyle = TPenStyle::psDot;
            break;
        }
        }
    }
    return found;
}

} // namespace pendlar
