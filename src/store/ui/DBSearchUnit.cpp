#include "store/ui/DBSearchUnit.h"

#include "intake/PatientNumber.h"
#include "record/Keywords.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/ShellResultText.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"
#include "util/ui/QtText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pendlar {
namespace {

constexpr int kFirstKeyColumn = 3;

} // namespace

PatientSearchText ParsePatientSearchText(const std::string& text) {
    if (text.empty())
        return {PatientSearchInput::Empty, 0};
    std::optional<std::int32_t> n = ParseInt32(text);
    if (!n)
        return {PatientSearchInput::NotNumber, 0};
    if (*n < 0 || *n > 99999999)
        return {PatientSearchInput::OutOfRange, *n};
    return {PatientSearchInput::Number, *n};
}

TDBSearchForm::TDBSearchForm(QWidget* parent, TRegistory& settings, ChartDatabase& database,
                             UserInterface& ui, std::string keywordFolder)
    : QDialog(parent), SrchQuery(database.CaruteDatabase), settings_(settings),
      database_(database.CaruteDatabase), ui_(ui), keywordFolder_(std::move(keywordFolder)) {
    setObjectName("DBSearchForm");
    setWindowTitle(Utf8Text("検索"));
    setModal(false);
    resize(1040, 560);

    IDPanel = new QWidget(this);
    IDPanel->setObjectName("IDPanel");
    IdNoEdit = new QLineEdit(IDPanel);
    IdNoEdit->setObjectName("IdNoEdit");
    IdNoSrButton = new QPushButton(Utf8Text("患者番号検索"), IDPanel);
    IdNoSrButton->setObjectName("IdNoSrButton");
    auto* idLayout = new QHBoxLayout(IDPanel);
    idLayout->setContentsMargins(0, 0, 0, 0);
    idLayout->addWidget(new QLabel(Utf8Text("患者番号"), IDPanel));
    idLayout->addWidget(IdNoEdit, 1);
    idLayout->addWidget(IdNoSrButton);

    KeyPanel = new QWidget(this);
    KeyPanel->setObjectName("KeyPanel");
    auto* keyGrid = new QGridLayout(KeyPanel);
    keyGrid->setContentsMargins(0, 8, 0, 0);
    keyGrid->addWidget(new QLabel(Utf8Text("検索項目"), KeyPanel), 0, 0);
    keyGrid->addWidget(new QLabel(Utf8Text("検索する文字"), KeyPanel), 0, 1);
    for (int i = 0; i < kSearchKeyCount; ++i) {
        const QString n = QString::number(i + 1);
        KeyLabel[i] = new QLabel(KeyPanel);
        KeyLabel[i]->setObjectName("KeyLabel" + n);
        KeyLabel[i]->setMinimumWidth(90);
        ComboBox[i] = new QComboBox(KeyPanel);
        ComboBox[i]->setObjectName("ComboBox" + n);
        ComboBox[i]->setEditable(true);
        ComboBox[i]->setInsertPolicy(QComboBox::NoInsert);
        ComboBox[i]->setMinimumWidth(200);
        keyGrid->addWidget(KeyLabel[i], i + 1, 0);
        keyGrid->addWidget(ComboBox[i], i + 1, 1);
    }
    ClearButton = new QPushButton(Utf8Text("クリア"), KeyPanel);
    ClearButton->setObjectName("ClearButton");
    KeyButton = new QPushButton(Utf8Text("キーワード検索"), KeyPanel);
    KeyButton->setObjectName("KeyButton");
    auto* keyButtons = new QHBoxLayout;
    keyButtons->addWidget(ClearButton);
    keyButtons->addStretch(1);
    keyButtons->addWidget(KeyButton);
    keyGrid->addLayout(keyButtons, kSearchKeyCount + 1, 0, 1, 2);

    DBGrid1 = new QTableWidget(0, kFirstKeyColumn + kSearchKeyCount, this);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->setHorizontalHeaderLabels(
        {Utf8Text("作成日"), Utf8Text("患者番号"), Utf8Text("連番")});
    // 110 pixels, or what a full date and time needs in this desktop's font.
    DBGrid1->setColumnWidth(
        0, std::max(110, DBGrid1->fontMetrics().horizontalAdvance("0000/00/00 00:00:00") + 16));
    for (int c = kFirstKeyColumn; c < DBGrid1->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, 100);
    DisplayButton = new QPushButton(Utf8Text("表示"), this);
    DisplayButton->setObjectName("DisplayButton");
    QFont bold = DisplayButton->font();
    bold.setBold(true);
    DisplayButton->setFont(bold);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusPanel0->setMinimumWidth(80);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName("StatusPanel1");
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(IDPanel);
    left->addWidget(KeyPanel);
    left->addStretch(1);
    auto* displayRow = new QHBoxLayout;
    displayRow->addStretch(1);
    displayRow->addWidget(DisplayButton);
    auto* right = new QVBoxLayout;
    right->addWidget(DBGrid1, 1);
    right->addLayout(displayRow);
    auto* panels = new QHBoxLayout;
    panels->addLayout(left);
    panels->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(panels, 1);
    layout->addWidget(StatusBar1);

    connect(IdNoSrButton, &QPushButton::clicked, this, [this] { IdNoSrButtonClick(); });
    connect(IdNoEdit, &QLineEdit::returnPressed, this, [this] { IdNoSrButtonClick(); });
    connect(KeyButton, &QPushButton::clicked, this, [this] { KeyButtonClick(); });
    connect(ClearButton, &QPushButton::clicked, this, [this] { ClearButtonClick(); });
    connect(DisplayButton, &QPushButton::clicked, this, [this] { DisplayButtonClick(); });
    // Enter in an edit runs its own search, not whichever button a dialog would default to.
    for (QPushButton* b : {IdNoSrButton, KeyButton, ClearButton, DisplayButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

void TDBSearchForm::SetStatus(int panel, const std::string& sjisText) {
    (panel == 0 ? StatusPanel0 : StatusPanel1)->setText(SjisToQString(sjisText));
}

void TDBSearchForm::CloseSearch() {
    SrchQuery.Close();
    rows_.clear();
    searchOpen_ = false;
    DBGrid1->setRowCount(0);
}

void TDBSearchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TDBSearchForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TDBSearchForm::FormShow() {
    SetStatus(1, "");
    // The grid starts empty, so the count of an earlier search goes with it.
    SetStatus(0, "");
    CloseSearch();
    const bool useKeys = settings_.KeyWordUse;
    KeyPanel->setVisible(useKeys);
    for (int i = 0; i < kSearchKeyCount; ++i)
        DBGrid1->setColumnHidden(kFirstKeyColumn + i, !useKeys || !settings_.UseKeyLabel[i]);
    if (!useKeys)
        return;

    KeywordListSet lists;
    LoadKeywordLists(lists, keywordFolder_.empty() ? DataFolder() : keywordFolder_);
    for (int i = 0; i < kSearchKeyCount; ++i) {
        // The clerk's typed keys stay across openings; only the choices are renewed.
        const QString typed = ComboBox[i]->currentText();
        ComboBox[i]->clear();
        for (const std::string& item : lists[static_cast<std::size_t>(i)])
            ComboBox[i]->addItem(SjisToQString(item));
        ComboBox[i]->setEditText(typed);
        const bool used = settings_.UseKeyLabel[i];
        KeyLabel[i]->setVisible(used);
        ComboBox[i]->setVisible(used);
        const QString label = SjisToQString(settings_.KeyLabel[i]);
        KeyLabel[i]->setText(label);
        DBGrid1->setHorizontalHeaderItem(kFirstKeyColumn + i, new QTableWidgetItem(label));
    }
}

void TDBSearchForm::FormClose() {
    CloseSearch();
}

void TDBSearchForm::ShowRows(ChartSearchResult result) {
    rows_ = std::move(result.Rows);
    searchOpen_ = true;
    DBGrid1->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const StoredChartRow& row = rows_[static_cast<std::size_t>(r)];
        auto cell = [&](int column, const std::string& sjis) {
            DBGrid1->setItem(r, column, new QTableWidgetItem(SjisToQString(sjis)));
        };
        cell(0, row.CARUTEDATE);
        cell(1, row.CARUTENO);
        cell(2, row.CARUTESUBNO);
        for (int i = 0; i < kSearchKeyCount; ++i)
            cell(kFirstKeyColumn + i, row.KEY[static_cast<std::size_t>(i)]);
    }
    if (!rows_.empty())
        DBGrid1->setCurrentCell(0, 0);
    SetStatus(0, std::to_string(rows_.size()));
}

void TDBSearchForm::IdNoSrButtonClick() {
    SetStatus(1, "");
    PatientSearchText input = ParsePatientSearchText(QStringToSjis(IdNoEdit->text()));
    switch (input.Input) {
    case PatientSearchInput::Empty:
        SetStatus(1, SjisOf("患者番号がありません。"));
        return;
    case PatientSearchInput::NotNumber:
        SetStatus(1, SjisOf("患者番号に誤りがあります。"));
        return;
    case PatientSearchInput::OutOfRange:
        SetStatus(1, SjisOf("患者番号の範囲を越えています。"));
        return;
    case PatientSearchInput::Number:
        break;
    }
    CloseSearch();
    ChartSearchResult result = RunChartSearch(SrchQuery, PatientSearchStatement(input.Number));
    if (!result.Ok) {
        SetStatus(0, "");
        ui_.Message(SjisOf("DB System エラー(カルテ)"), "", MsgIcon::Error, MsgButtons::Abort);
        return;
    }
    ShowRows(std::move(result));
}

void TDBSearchForm::KeyButtonClick() {
    SetStatus(1, "");
    // A row hidden by the settings cannot be seen, so what it may still hold takes no part.
    std::array<std::string, kSearchKeyCount> keys;
    for (int i = 0; i < kSearchKeyCount; ++i)
        if (settings_.UseKeyLabel[i])
            keys[static_cast<std::size_t>(i)] = QStringToSjis(ComboBox[i]->currentText());
    std::optional<SearchStatement> statement = KeywordSearchStatement(keys);
    if (!statement) {
        SetStatus(1, SjisOf("検索のキーを設定してください。"));
        return;
    }
    CloseSearch();
    // A connection that cannot be made fails the search itself just below.
    InstallSjisLike(database_);
    ChartSearchResult result = RunChartSearch(SrchQuery, *statement);
    if (!result.Ok) {
        SetStatus(0, "");
        ui_.Message(SjisOf("検索でエラーが発生しました。\nデータベースを確認してください。"), "",
                    MsgIcon::Error, MsgButtons::Abort);
        return;
    }
    const bool none = result.Rows.empty();
    ShowRows(std::move(result));
    if (none)
        SetStatus(1, SjisOf("該当なし。"));
}

void TDBSearchForm::ClearButtonClick() {
    for (QComboBox* box : ComboBox)
        box->setEditText(QString());
}

void TDBSearchForm::DisplayButtonClick() {
    SetStatus(1, "");
    if (!searchOpen_) {
        SetStatus(1, SjisOf("検索してください。"));
        return;
    }
    if (rows_.empty()) {
        SetStatus(1, SjisOf("該当する検索データがありません。"));
        return;
    }
    int current = DBGrid1->currentRow();
    if (current < 0 || current >= static_cast<int>(rows_.size()))
        current = 0;
    const std::string& path = rows_[static_cast<std::size_t>(current)].FILEPATH;
    if (!FileExists(path)) {
        ui_.Message(SjisOf("ファイルが見つかりません。"), "", MsgIcon::Error, MsgButtons::Abort);
        return;
    }
    SetStatus(1, SjisOf("Readerを起動中です。"));
    ui_.ProcessEvents();
    SetStatus(1, ShellResultText(ui_.ShellOpen(path)));
}

} // namespace pendlar
