#include "record/ui/HeaderTabs.h"

#include "record/DayCount.h"
#include "record/RecordChecks.h"
#include "record/ui/FieldControls.h"
#include "settings/Registory.h"
#include "util/CaruteDate.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace pendlar {
namespace {

// Widths in half-width characters of the font: a Shift-JIS byte is about one of them.
int CharWidth(const QWidget* w) {
    return w->fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

int TextWidth(const QWidget* w, int bytes) {
    return CharWidth(w) * bytes + 14;
}

// How many bytes of a text field are on view. The field accepts its whole capacity and
// scrolls; the view is sized for what a clerk usually types, so that two fields fit side
// by side as on the paper form.
int ShownBytes(const FieldInfo& f) {
    if (f.Kind == FieldKind::Date)
        return 14;
    if (f.Name == "NShinryoka" || f.Name == "Nshujidct")
        return 24; // three to a line on the inpatient tab
    if (f.Name.starts_with("Fnendo"))
        return 14;
    if (f.Capacity <= 20)
        return f.Capacity;
    if (f.Capacity <= 40)
        return 30;
    return 50;
}

QLabel* Caption(const char* utf8, QWidget* parent) {
    auto* label = new QLabel(Utf8Text(utf8), parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* MarkLabel(FieldMark mark, QWidget* parent) {
    auto* label = new QLabel(parent);
    if (mark == FieldMark::Required)
        label->setText(Utf8Text("＊"));
    else if (mark == FieldMark::OneOf)
        label->setText(Utf8Text("△"));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    label->setPalette(palette);
    return label;
}

QString MemoToWidget(const std::string& sjis) {
    return SjisToQString(sjis).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string MemoFromWidget(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QStringToSjis(crlf);
}

QGroupBox* Box(const char* title, QWidget* parent) {
    auto* box = new QGroupBox(Utf8Text(title), parent);
    return box;
}

// Equal column widths across the grids of one tab, so that labels and fields of different
// boxes line up like the columns of a printed form.
void AlignColumns(const std::vector<QGridLayout*>& grids) {
    int columns = 0;
    for (QGridLayout* g : grids)
        columns = std::max(columns, g->columnCount());
    for (int c = 0; c < columns; ++c) {
        int width = 0;
        for (QGridLayout* g : grids)
            for (int i = 0; i < g->count(); ++i) {
                int row, column, rowSpan, columnSpan;
                g->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
                if (column == c && columnSpan == 1 && g->itemAt(i)->widget())
                    width = std::max(width, g->itemAt(i)->widget()->sizeHint().width());
            }
        for (QGridLayout* g : grids)
            g->setColumnMinimumWidth(c, width);
    }
}

} // namespace

HeaderTabs::HeaderTabs(QTabWidget* pages, const TRegistory& settings, TCaruteDate& calendar,
                       KeywordListSet& keywords, QObject* parent)
    : QObject(parent), pages_(pages), settings_(settings), calendar_(calendar),
      keywords_(keywords) {
    for (const TabInfo& tab : RecordTabs()) {
        QWidget* page = pages->findChild<QWidget*>(tab.Name);
        if (!page)
            throw std::logic_error(std::string("no tab page ") + tab.Name);
        // A tiny read-only edit without border takes the focus when the tab is shown, so
        // that no field is being edited on arrival.
        auto* holder = new QLineEdit(page);
        holder->setObjectName(tab.FocusHolder);
        holder->setReadOnly(true);
        holder->setFrame(false);
        holder->setGeometry(0, 0, 2, 2);
        QPalette clear = holder->palette();
        clear.setColor(QPalette::Base, Qt::transparent);
        holder->setPalette(clear);
        holders_[page] = holder;
        if (tab.Id == RecordTab::Keyword)
            KeyPrompt = holder;

        for (const FieldInfo& f : RecordFields())
            if (f.Tab == tab.Id)
                controls_[f.Name] = {&f, Make(f, page)};

        switch (tab.Id) {
        case RecordTab::KanjaKihon:
            BuildKanjaKihon(page);
            break;
        case RecordTab::Hoken:
            BuildHoken(page);
            break;
        case RecordTab::KihonShinryo:
            BuildKihonShinryo(page);
            break;
        case RecordTab::Rousai:
            BuildRousai(page);
            break;
        case RecordTab::GairaiShinryo:
            BuildGairaiShinryo(page);
            break;
        case RecordTab::NyuinKiroku:
            BuildNyuinKiroku(page);
            break;
        case RecordTab::HokenKakunin:
            BuildHokenKakunin(page);
            break;
        case RecordTab::Keyword:
            BuildKeyword(page);
            break;
        }
        holder->raise();
    }
    connect(pages_, &QTabWidget::currentChanged, this,
            [this](int index) { TabShow(pages_->widget(index)); });
}

QWidget* HeaderTabs::Make(const FieldInfo& f, QWidget* parent) {
    QWidget* w = nullptr;
    switch (f.Kind) {
    case FieldKind::Text:
    case FieldKind::Date: {
        auto* edit = new QLineEdit(parent);
        if (f.Capacity > 0)
            edit->setValidator(new ByteLimit(f.Capacity, edit));
        if (f.NoInputMethod)
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        if (f.Capacity >= 255)
            edit->setMinimumWidth(TextWidth(edit, 64));
        else
            edit->setFixedWidth(TextWidth(edit, ShownBytes(f)));
        w = edit;
        break;
    }
    case FieldKind::Memo: {
        auto* memo = new QPlainTextEdit(parent);
        memo->setTabChangesFocus(true);
        LimitMemo(memo, f.Capacity);
        memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * 4 + 12);
        w = memo;
        break;
    }
    case FieldKind::Choice: {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        // A typed text must not become an item: the lists are the lookup tables' and the
        // keyword lists', and the stored index depends on them.
        box->setInsertPolicy(QComboBox::NoInsert);
        int bytes = f.Tab == RecordTab::Keyword ? 40 : 6;
        for (const char* item : f.Choices) {
            box->addItem(Utf8Text(item));
            bytes = std::max(bytes, static_cast<int>(SjisOf(item).size()) + 2);
        }
        box->setCurrentIndex(-1);
        box->setFixedWidth(TextWidth(box, bytes) + 24);
        w = box;
        break;
    }
    case FieldKind::Radio:
        w = new OptionButtons(f.Choices, parent);
        break;
    case FieldKind::Check:
        w = new QCheckBox(Utf8Text(f.Label), parent);
        break;
    case FieldKind::DayLabel: {
        auto* label = new QLabel(parent);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(TextWidth(label, 8));
        w = label;
        break;
    }
    case FieldKind::ErrorMark: {
        auto* mark = new QLabel(QStringLiteral("*"), parent);
        QPalette palette = mark->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        mark->setPalette(palette);
        mark->setFixedWidth(CharWidth(mark) + 4);
        // The mark keeps its place when hidden, so the dates beside it do not move.
        QSizePolicy policy = mark->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        mark->setSizePolicy(policy);
        mark->hide();
        w = mark;
        break;
    }
    case FieldKind::Button:
        w = new QPushButton(Utf8Text(f.Label), parent);
        break;
    }
    w->setObjectName(QString::fromStdString(f.Name));
    return w;
}

namespace {

using Line = std::vector<const char*>;

struct FormBox {
    const char* Title;
    std::vector<Line> Lines;
};

// Boxes of form lines: each line holds fields side by side as mark, label and control; the
// last control of a line with fewer fields than the widest runs on to the end.
std::vector<QGridLayout*> FormBoxes(const HeaderTabs& tabs, const std::vector<FormBox>& forms,
                                    QWidget* page, QBoxLayout* into) {
    std::size_t pairs = 1;
    for (const FormBox& form : forms)
        for (const Line& line : form.Lines)
            pairs = std::max(pairs, line.size());
    const int last = static_cast<int>(pairs) * 3 - 1;
    std::vector<QGridLayout*> grids;
    for (const FormBox& form : forms) {
        QGroupBox* box = Box(form.Title, page);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        for (std::size_t r = 0; r < form.Lines.size(); ++r) {
            const Line& line = form.Lines[r];
            for (std::size_t i = 0; i < line.size(); ++i) {
                const FieldInfo& f = *FindField(line[i]);
                const int row = static_cast<int>(r), col = static_cast<int>(i) * 3;
                grid->addWidget(MarkLabel(f.Mark, box), row, col);
                if (f.Kind != FieldKind::Check)
                    grid->addWidget(Caption(f.Label, box), row, col + 1);
                QWidget* control = tabs.Control(f.Name);
                control->setParent(box);
                const int span = i + 1 == line.size() ? last - (col + 2) + 1 : 1;
                grid->addWidget(control, row, col + 2, 1, span, Qt::AlignLeft | Qt::AlignVCenter);
            }
        }
        grid->setColumnStretch(last + 1, 1);
        into->addWidget(box);
        grids.push_back(grid);
    }
    return grids;
}

// A table of numbered rows: one column per prefix ("Gbyoname", …), headed by the label of
// its field, the control of row n named prefix + n.
QGroupBox* RowTable(const HeaderTabs& tabs, const std::vector<const char*>& prefixes, int rows,
                    QWidget* page) {
    auto* box = new QGroupBox(page);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (std::size_t c = 0; c < prefixes.size(); ++c) {
        const FieldInfo& f = *FindField(std::string(prefixes[c]) + "1");
        grid->addWidget(Caption(f.Label, box), 0, static_cast<int>(c) + 1);
    }
    for (int n = 1; n <= rows; ++n) {
        auto* number = new QLabel(QString::number(n), box);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, n, 0);
        for (std::size_t c = 0; c < prefixes.size(); ++c) {
            QWidget* control = tabs.Control(std::string(prefixes[c]) + std::to_string(n));
            control->setParent(box);
            grid->addWidget(control, n, static_cast<int>(c) + 1, Qt::AlignLeft);
        }
    }
    grid->setColumnStretch(static_cast<int>(prefixes.size()) + 1, 1);
    return box;
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(8);
    return layout;
}

} // namespace

void HeaderTabs::BuildKanjaKihon(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    AlignColumns(FormBoxes(
        *this,
        {{"", {{"PName", "PKana"}, {"Psex", "PBirth"}, {"Pubin", "Padress"}, {"Ptel", "Pkeitai"}}},
         {"連絡先", {{"RName", "Rzokugara"}, {"Raddress"}, {"Rtel", "Rkeitai"}}},
         {"紹介者", {{"Sname", "Stel"}, {"Sadress"}}}},
        page, layout));
    auto* legend = new QGroupBox(page);
    auto* legendLayout = new QHBoxLayout(legend);
    legendLayout->setSpacing(24);
    for (const char* item : TabOf(RecordTab::KanjaKihon).Legend)
        legendLayout->addWidget(Caption(item, legend));
    legendLayout->addStretch(1);
    layout->addWidget(legend);
    layout->addStretch(1);
}

void HeaderTabs::BuildHoken(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    AlignColumns(FormBoxes(
        *this,
        {{"被保険者証等",
          {{"Hhokenno", "Hkigouno"}, {"Hname", "Hzokugara"}, {"Hlimitdate", "Hshikakudate"}}},
         {"保険者", {{"Hhokenname", "Hhokentel"}, {"Hhokenadr"}}},
         {"第一公費", {{"Hkouhino1", "Hjukyuno1"}}},
         {"第二公費", {{"Hkouhino2", "Hjukyuno2"}}},
         {"事業所", {{"Hjname", "Hjtel"}, {"Hjadr"}}}},
        page, layout));
    layout->addStretch(1);
}

void HeaderTabs::BuildKihonShinryo(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    AlignColumns(FormBoxes(
        *this,
        {{"血液型", {{"Ketsueki", "Rh"}}}, {"", {{"HBS", "HCV", "TPHA", "Kinki"}, {"Kousezai"}}}},
        page, layout));

    auto* memos = new QGroupBox(page);
    auto* grid = new QGridLayout(memos);
    const char* names[] = {"kioureki", "kazoureki", "arerugi", "kansensho", "bikou"};
    for (int i = 0; i < 5; ++i) {
        const FieldInfo& f = *FindField(names[i]);
        const int row = i / 2 * 2, col = i % 2;
        grid->addWidget(Caption(f.Label, memos), row, col);
        QWidget* memo = Control(f.Name);
        memo->setParent(memos);
        grid->addWidget(memo, row + 1, col);
    }
    layout->addWidget(memos);
    layout->addStretch(1);
}

void HeaderTabs::BuildRousai(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    std::vector<QGridLayout*> grids;
    for (int n = 1; n <= ChartRecord::kRousaiPeriods; ++n) {
        const std::string s = std::to_string(n);
        auto* box = new QGroupBox(QString::number(n), page);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        auto place = [&](const std::string& name, int row, int col, int span = 1) {
            QWidget* w = Control(name);
            w->setParent(box);
            grid->addWidget(w, row, col, 1, span, Qt::AlignLeft | Qt::AlignVCenter);
        };
        auto label = [&](const std::string& name, int row, int col) {
            grid->addWidget(Caption(FindField(name)->Label, box), row, col);
        };
        // Columns: caption | 自 | from | * | 至 | to | * | 日数 | days.
        label("RByumei" + s, 0, 0);
        place("RByumei" + s, 0, 1, 8);
        const std::pair<const char*, const char*> periods[] = {{"Rikenfrom", "Rikento"},
                                                               {"Rnyuinfrom", "Rnyuinto"}};
        const char* days[] = {"Rikenday", "Rnyuinday"};
        const char* marks[2][2][2] = {{{"Ikfm1Err", "Ikto1Err"}, {"Ninfm1Err", "Ninto1Err"}},
                                      {{"Ikfm2Err", "Ikto2Err"}, {"Ninfm2Err", "Ninto2Err"}}};
        for (int p = 0; p < 2; ++p) {
            const int row = p == 0 ? 1 : 3;
            const std::string from = periods[p].first + s, to = periods[p].second + s;
            grid->addWidget(Caption(FindField(from)->Group, box), row, 0);
            label(from, row, 1);
            place(from, row, 2);
            place(marks[n - 1][p][0], row, 3);
            label(to, row, 4);
            place(to, row, 5);
            place(marks[n - 1][p][1], row, 6);
            label(days[p] + s, row, 7);
            place(days[p] + s, row, 8);
        }
        label("Rkoufu" + s, 2, 0);
        place("Rkoufu" + s, 2, 2);
        grid->setColumnStretch(9, 1);
        layout->addWidget(box);
        grids.push_back(grid);
    }
    AlignColumns(grids);

    auto* remark = new QGroupBox(page);
    auto* remarkLayout = new QVBoxLayout(remark);
    remarkLayout->addWidget(Caption(FindField("Rrousai")->Label, remark));
    QWidget* rrousai = Control("Rrousai");
    rrousai->setParent(remark);
    remarkLayout->addWidget(rrousai);
    layout->addWidget(remark);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    DaysCalcBtn = static_cast<QPushButton*>(Control("DaysCalcBtn"));
    buttons->addWidget(DaysCalcBtn);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(DaysCalcBtn, &QPushButton::clicked, this, [this] { DaysCalcBtnClick(); });
}

void HeaderTabs::BuildGairaiShinryo(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(RowTable(*this, {"Gbyoname", "Gshoshinbi", "Gshuryobi", "Gtenki"},
                               ChartRecord::kRows, page));
    layout->addStretch(1);
}

void HeaderTabs::BuildNyuinKiroku(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    AlignColumns(FormBoxes(*this,
                           {{"",
                             {{"NShinryoka", "Nbyuto", "Nshujidct"},
                              {"Nnyuinday", "Ntaiinday"},
                              {"NzenkaiNyuinCheck", "Nzenkainyuin", "Nzenkaitaiin"},
                              {"Ntenki", "NtenkiTo"}}}},
                           page, layout));
    layout->addWidget(RowTable(*this, {"NShidan", "NShidanday", "Ntenkiday", "Ntenki"},
                               ChartRecord::kRows, page));
    layout->addStretch(1);
}

void HeaderTabs::BuildHokenKakunin(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    AlignColumns(FormBoxes(*this, {{"", {{"FFutanKubun"}}}}, page, layout));
    auto* box = new QGroupBox(page);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->addWidget(Caption(FindField("Fnendo1")->Label, box), 0, 0);
    grid->addWidget(Caption(FindField("Ftsuki1_1")->Group, box), 0, 1, 1, ChartRecord::kMonths);
    for (int n = 1; n <= ChartRecord::kYears; ++n) {
        QWidget* year = Control("Fnendo" + std::to_string(n));
        year->setParent(box);
        grid->addWidget(year, n, 0);
        for (int m = 1; m <= ChartRecord::kMonths; ++m) {
            QWidget* month = Control("Ftsuki" + std::to_string(n) + "_" + std::to_string(m));
            month->setParent(box);
            grid->addWidget(month, n, m);
        }
    }
    grid->setColumnStretch(ChartRecord::kMonths + 1, 1);
    layout->addWidget(box);
    layout->addStretch(1);
}

void HeaderTabs::BuildKeyword(QWidget* page) {
    QVBoxLayout* layout = PageLayout(page);
    auto* box = new QGroupBox(page);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    const char* headings[] = {"キーラベル", "キーワード", "クリア", "追加"};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(Caption(headings[c], box), 0, c,
                        c >= 2 ? Qt::AlignHCenter : Qt::Alignment());
    for (int n = 1; n <= kKeywordCount; ++n) {
        const std::string s = std::to_string(n);
        KeyLabel[n - 1] = Caption(FindField(KeyBoxName(n))->Label, box);
        KeyLabel[n - 1]->setObjectName(QString::fromStdString("KeyLabel" + s));
        KeyLabel[n - 1]->setMinimumWidth(TextWidth(box, 20));
        KeyBox[n - 1] = static_cast<QComboBox*>(Control(KeyBoxName(n)));
        KeyBox[n - 1]->setParent(box);
        ClrBtn[n - 1] = new QPushButton(Utf8Text("×"), box);
        ClrBtn[n - 1]->setObjectName(QString::fromStdString("Clr" + s + "Btn"));
        AddBtn[n - 1] = new QPushButton(Utf8Text("＋"), box);
        AddBtn[n - 1]->setObjectName(QString::fromStdString("Add" + s + "Btn"));
        for (QPushButton* b : {ClrBtn[n - 1], AddBtn[n - 1]}) {
            b->setFixedSize(28, 24);
            b->setFocusPolicy(Qt::TabFocus);
        }
        ClrBtn[n - 1]->setToolTip(Utf8Text("クリア"));
        AddBtn[n - 1]->setToolTip(Utf8Text("追加"));
        grid->addWidget(KeyLabel[n - 1], n, 0);
        grid->addWidget(KeyBox[n - 1], n, 1);
        grid->addWidget(ClrBtn[n - 1], n, 2, Qt::AlignHCenter);
        grid->addWidget(AddBtn[n - 1], n, 3, Qt::AlignHCenter);
        connect(ClrBtn[n - 1], &QPushButton::clicked, this, [this, n] { ClrBtnClick(n); });
        connect(AddBtn[n - 1], &QPushButton::clicked, this, [this, n] { AddBtnClick(n); });
    }
    grid->setColumnStretch(4, 1);
    layout->addWidget(box);

    auto* buttons = new QHBoxLayout;
    GetIjiInfoBtn = new QPushButton(Utf8Text("取り込み"), page);
    GetIjiInfoBtn->setObjectName("GetIjiInfoBtn");
    buttons->addWidget(GetIjiInfoBtn);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
}

QWidget* HeaderTabs::Control(std::string_view name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.Widget;
}

FieldView HeaderTabs::ReadFields() const {
    FieldView view;
    for (const auto& [name, e] : controls_) {
        FieldValue& v = view[name];
        switch (e.Info->Kind) {
        case FieldKind::Text:
        case FieldKind::Date:
            v.Text = QStringToSjis(static_cast<QLineEdit*>(e.Widget)->text());
            break;
        case FieldKind::Memo:
            v.Text = MemoFromWidget(static_cast<QPlainTextEdit*>(e.Widget)->toPlainText());
            break;
        case FieldKind::Choice: {
            auto* box = static_cast<QComboBox*>(e.Widget);
            std::vector<std::string> items;
            for (int i = 0; i < box->count(); ++i)
                items.push_back(QStringToSjis(box->itemText(i)));
            v.Text = QStringToSjis(box->currentText());
            v.Index = ChoiceIndex(v.Text, items, box->currentIndex());
            break;
        }
        case FieldKind::Radio:
            v.Index = static_cast<OptionButtons*>(e.Widget)->Index();
            break;
        case FieldKind::Check:
            v.Flag = static_cast<QCheckBox*>(e.Widget)->isChecked();
            break;
        case FieldKind::DayLabel:
            v.Text = QStringToSjis(static_cast<QLabel*>(e.Widget)->text());
            break;
        case FieldKind::ErrorMark:
            v.Flag = !e.Widget->isHidden();
            break;
        case FieldKind::Button:
            view.erase(name);
            break;
        }
    }
    return view;
}

void HeaderTabs::ShowFields(const FieldView& view) {
    for (const auto& [name, v] : view) {
        auto it = controls_.find(name);
        if (it == controls_.end())
            continue;
        QWidget* w = it->second.Widget;
        switch (it->second.Info->Kind) {
        case FieldKind::Text:
        case FieldKind::Date:
            static_cast<QLineEdit*>(w)->setText(SjisToQString(v.Text));
            break;
        case FieldKind::Memo:
            static_cast<QPlainTextEdit*>(w)->setPlainText(MemoToWidget(v.Text));
            break;
        case FieldKind::Choice: {
            auto* box = static_cast<QComboBox*>(w);
            if (v.Index >= 0 && v.Index < box->count()) {
                box->setCurrentIndex(v.Index);
            } else {
                box->setCurrentIndex(-1);
                box->setEditText(SjisToQString(v.Text));
            }
            break;
        }
        case FieldKind::Radio:
            static_cast<OptionButtons*>(w)->SetIndex(v.Index);
            break;
        case FieldKind::Check:
            static_cast<QCheckBox*>(w)->setChecked(v.Flag);
            break;
        case FieldKind::DayLabel:
            static_cast<QLabel*>(w)->setText(SjisToQString(v.Text));
            break;
        case FieldKind::ErrorMark:
            w->setHidden(!v.Flag);
            break;
        case FieldKind::Button:
            break;
        }
    }
}

void HeaderTabs::ShowOutputs(const FieldView& view) {
    FieldView outputs;
    for (const auto& [name, v] : view)
        if (const FieldInfo* f = FindField(name);
            f && (f->Kind == FieldKind::DayLabel || f->Kind == FieldKind::ErrorMark))
            outputs[name] = v;
    ShowFields(outputs);
}

void HeaderTabs::ClearRecord(ChartRecord& record) {
    FieldView view = ReadFields();
    pendlar::ClearRecord(view, record);
    ShowFields(view);
}

bool HeaderTabs::CheckOutpatientRecord(ChartRecord& record, UserInterface& ui) {
    FieldView view = ReadFields();
    const bool ok = pendlar::CheckOutpatientRecord(view, record, calendar_, ui);
    ShowOutputs(view);
    return ok;
}

bool HeaderTabs::CheckInpatientRecord(ChartRecord& record, UserInterface& ui) {
    return pendlar::CheckInpatientRecord(ReadFields(), record, calendar_, ui);
}

void HeaderTabs::DaysCalcBtnClick() {
    FieldView view = ReadFields();
    CountDays(view, settings_.HeaderOut, calendar_);
    ShowOutputs(view);
}

void HeaderTabs::ClrBtnClick(int n) {
    QComboBox* box = KeyBox.at(n - 1);
    box->setCurrentIndex(-1);
    box->clearEditText();
}

void HeaderTabs::AddBtnClick(int n) {
    FieldView view;
    view[KeyBoxName(n)].Text = QStringToSjis(KeyBox.at(n - 1)->currentText());
    AddKeyword(keywords_, view, n);
    QComboBox* box = KeyBox[n - 1];
    const QString text = box->currentText();
    box->addItem(SjisToQString(keywords_.List(n).back()));
    box->setEditText(text);
}

void HeaderTabs::KeywordShow() {
    KeyPrompt->setFocus();
    for (int n = 1; n <= kKeywordCount; ++n)
        KeyLabel[n - 1]->setText(SjisToQString(settings_.KeyLabel[n - 1]));
}

void HeaderTabs::TabShow(QWidget* page) {
    auto it = holders_.find(page);
    if (it == holders_.end())
        return;
    if (it->second == KeyPrompt)
        KeywordShow();
    else
        it->second->setFocus();
}

void HeaderTabs::ShowKeywordLists() {
    for (int n = 1; n <= kKeywordCount; ++n) {
        QComboBox* box = KeyBox[n - 1];
        const QString text = box->currentText();
        const QSignalBlocker block(box);
        box->clear();
        for (const std::string& item : keywords_.List(n))
            box->addItem(SjisToQString(item));
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

void HeaderTabs::ApplyKeyLabels() {
    for (int n = 1; n <= kKeywordCount; ++n) {
        const bool use = settings_.UseKeyLabel[n - 1];
        for (QWidget* w : std::initializer_list<QWidget*>{KeyLabel[n - 1], KeyBox[n - 1],
                                                          ClrBtn[n - 1], AddBtn[n - 1]})
            w->setHidden(!use);
        KeyLabel[n - 1]->setText(SjisToQString(settings_.KeyLabel[n - 1]));
    }
}

} // namespace pendlar
