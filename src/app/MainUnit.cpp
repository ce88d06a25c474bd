#include "app/MainUnit.h"

#include "app/AppWindows.h"
#include "app/InfoUnit.h"
#include "app/MainFilingWindow.h"
#include "app/MainFormInterface.h"
#include "app/QtUserInterface.h"
#include "intake/DicomImage.h"
#include "intake/SaneScanner.h"
#include "intake/ui/IntakePanels.h"
#include "intake/ui/ShowImageUnit.h"
#include "logs/ui/ErrorLogUnit.h"
#include "logs/ui/LogFileUnit.h"
#include "logs/ui/LogWarningUnit.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "pdf/ui/WriteSettingUnit.h"
#include "qrcode/ui/FaceUnit.h"
#include "qrdecode/QRDecode.h"
#include "record/ui/HeaderTabs.h"
#include "record/ui/KeyMainteUnit.h"
#include "settings/Registory.h"
#include "store/ChartChoice.h"
#include "store/ChartDatabase.h"
#include "store/PatientConfirm.h"
#include "store/ProtectData.h"
#include "store/SaveChart.h"
#include "store/SecurityPolicyFlows.h"
#include "store/ShellResultText.h"
#include "store/ui/AppendSetUnit.h"
#include "store/ui/DBSearchUnit.h"
#include "store/ui/DBUnit.h"
#include "store/ui/FileSetUnit.h"
#include "store/ui/PolicyUnit.h"
#include "util/CaruteDate.h"
#include "util/DirFile.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/ui/EventHook.h"
#include "util/ui/QtText.h"
#include "util/ui/TimeSettingUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace pendlar {
namespace {

constexpr int kWindowWidth = 947;
constexpr int kWindowHeight = 828;

// Fills the combo boxes of a lookup table that exist in the window, by control name.
class ComboFiller : public LookupChoiceTarget {
public:
    explicit ComboFiller(QWidget* root) : root_(root) {}
    void ReplaceChoices(const std::string& comboName,
                        const std::vector<std::string>& items) override {
        QStringList texts;
        for (const std::string& item : items)
            texts << SjisToQString(item);
        for (QComboBox* box : root_->findChildren<QComboBox*>(QString::fromStdString(comboName))) {
            box->clear();
            box->addItems(texts);
        }
    }

private:
    QWidget* root_;
};

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(Utf8Text(caption), parent);
    button->setObjectName(name);
    button->setMinimumWidth(64);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLineEdit* MessageEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QAction* Entry(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(Utf8Text(caption));
    action->setObjectName(name);
    return action;
}

QMenu* Group(QMenu* menu, const char* name, const char* caption) {
    QMenu* group = menu->addMenu(Utf8Text(caption));
    group->setObjectName(name);
    group->menuAction()->setObjectName(name);
    return group;
}

bool WidgetEnabled(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

} // namespace

TMainForm::TMainForm(UserInterface* ui) {
    if (!ui) {
        qtUi_ = std::make_unique<QtUserInterface>(this);
        ui = qtUi_.get();
    }
    ui_ = std::make_unique<MainFormInterface>(
        *ui, [this](int panel, const std::string& text) { ShowStatus(panel, text); });
    FormCreate();
}

TMainForm::~TMainForm() {
    // FormDestroy: the owned objects go with the members. The event hook goes first: the
    // widget teardown below sends events to the watched controls, and this object's own
    // part is gone by then.
    delete hooks_;
    hooks_ = nullptr;
}

UserInterface& TMainForm::UI() {
    return *ui_;
}

void TMainForm::FormCreate() {
    setObjectName("MainForm");
    setWindowTitle(Utf8Text("Quilmo Pendlar 1.5"));
    resize(kWindowWidth, kWindowHeight);

    Registory = std::make_unique<TRegistory>();
    DirFile = std::make_unique<TDirFile>();

    const std::string folder = DataFolder();
    for (int n = 0; n < 8; ++n)
        KeyPaths[n] = folder + "/Key" + std::to_string(n + 1) + ".txt";

    Database = std::make_unique<ChartDatabase>();
    CaruteDate = std::make_unique<TCaruteDate>();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    BuildPanel3();
    BuildTabs();
    BuildCommercial();
    layout->addWidget(Panel3);
    layout->addWidget(PageControl, 1);
    layout->addWidget(Commercial, 1);
    setCentralWidget(central);
    BuildStatusBar();
    BuildMenu();
    BuildIntake();
    BuildFiling();

    hooks_ = new EventHook(
        this, [this](QObject* watched, QEvent* event) { return FilterEvent(watched, event); });
    // One application-wide filter: it sees the key releases of every window, and the
    // resize and mouse events of the controls below, each exactly once.
    hooks_->Watch(QCoreApplication::instance());

    // The start panel stands where the tabs will be.
    PageControl->hide();
    Commercial->show();
    QRFrame = QRect();
    QRFrameDragging = false;
}

void TMainForm::BuildPanel3() {
    Panel3 = new QWidget(this);
    Panel3->setObjectName("Panel3");
    auto* grid = new QGridLayout(Panel3);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(6);

    auto* idLabel = new QLabel(Utf8Text("     患者番号   "), Panel3);
    IdEdit = new QLineEdit(Panel3);
    IdEdit->setObjectName("IdEdit");
    IdEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    IdEdit->setFixedWidth(120);
    IdEdit->setFixedHeight(25);
    idLabel->setBuddy(IdEdit);
    auto* volLabel = new QLabel(Utf8Text("    連番"), Panel3);
    VolNoEdit = new QComboBox(Panel3);
    VolNoEdit->setObjectName("VolNoEdit");
    VolNoEdit->setEditable(true);
    VolNoEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    VolNoEdit->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    VolNoEdit->setFixedWidth(72);
    volLabel->setBuddy(VolNoEdit);

    PidBtn = Button(Panel3, "PidBtn", "確認");
    SubNoBtn = Button(Panel3, "SubNoBtn", "選択");
    EraseBtn = Button(Panel3, "EraseBtn", "消去");
    PrintBtn = Button(Panel3, "PrintBtn", "印刷");
    SearchBtn = Button(Panel3, "SearchBtn", "検索");
    SaveButton = Button(Panel3, "SaveButton", "保存");
    SaveButton->setEnabled(false);
    CloseButton = Button(Panel3, "CloseButton", "終了");
    MenuPanel = new QLabel(Utf8Text("メニュー ▼"), Panel3);
    MenuPanel->setObjectName("MenuPanel");
    MenuPanel->setToolTip(Utf8Text("メニュー"));
    MenuPanel->setFrameShape(QFrame::Panel);
    MenuPanel->setFrameShadow(QFrame::Raised);
    MenuPanel->setAlignment(Qt::AlignCenter);
    MenuPanel->setMinimumWidth(96);
    MenuPanel->setCursor(Qt::PointingHandCursor);

    ScannerOpenNew = Button(Panel3, "ScannerOpenNew", "取込");
    ScannerOpenAdd = Button(Panel3, "ScannerOpenAdd", "追加");
    LogBtn = Button(Panel3, "LogBtn", "ログ");
    LogBtn->setToolTip(Utf8Text("保存ログ"));
    StatusMess1 = MessageEdit(Panel3, "StatusMess1");
    StatusMess2 = MessageEdit(Panel3, "StatusMess2");
    StatusMess3 = MessageEdit(Panel3, "StatusMess3");

    // The menu opens just below the click on this panel, at the window's left edge.
    auto* row1 = new QHBoxLayout;
    row1->addWidget(MenuPanel);
    row1->addWidget(idLabel);
    row1->addWidget(IdEdit);
    row1->addWidget(volLabel);
    row1->addWidget(VolNoEdit);
    row1->addSpacing(8);
    for (QPushButton* b : {PidBtn, SubNoBtn, EraseBtn, PrintBtn, SearchBtn})
        row1->addWidget(b);
    row1->addStretch(1);
    row1->addWidget(SaveButton);
    row1->addWidget(CloseButton);
    auto* row2 = new QHBoxLayout;
    for (QPushButton* b : {ScannerOpenNew, ScannerOpenAdd, LogBtn})
        row2->addWidget(b);
    row2->addSpacing(8);
    row2->addWidget(StatusMess1, 2);
    row2->addWidget(StatusMess2, 2);
    row2->addWidget(StatusMess3, 3);
    grid->addLayout(row1, 0, 0);
    grid->addLayout(row2, 1, 0);

    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
    connect(LogBtn, &QPushButton::clicked, this, [this] { LogBtnClick(); });
    connect(PidBtn, &QPushButton::clicked, this, [this] { PidBtnClick(); });
    connect(SubNoBtn, &QPushButton::clicked, this, [this] { SubNoBtnClick(); });
    connect(EraseBtn, &QPushButton::clicked, this, [this] { EraseBtnClick(); });
    connect(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    connect(SearchBtn, &QPushButton::clicked, this, [this] { SearchBtnClick(); });
    // The left button runs the save when the button is released over it (clicked); the
    // right button is seen by the event filter.
    connect(SaveButton, &QPushButton::clicked, this,
            [this] { SaveButtonMouseUp(Qt::LeftButton, QPoint()); });
}

void TMainForm::BuildTabs() {
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    auto tab = [this](const char* name, const char* caption) {
        auto* page = new QWidget(PageControl);
        page->setObjectName(name);
        PageControl->addTab(page, Utf8Text(caption));
        return page;
    };
    Pagekakunin = tab("Pagekakunin", "ページ確認");
    Kanjakakunin = tab("Kanjakakunin", "患者確認");
    QRwaku = tab("QRwaku", "QR枠");
    KanjaKihon = tab("KanjaKihon", "患者基本情報");
    Hoken = tab("Hoken", "保険情報");
    KihonShinryo = tab("KihonShinryo", "基本診療情報");
    Rousai = tab("Rousai", "労災");
    GairaiShinryo = tab("GairaiShinryo", "外来診療記録");
    NyuinKiroku = tab("NyuinKiroku", "入院記録");
    HokenKakunin = tab("HokenKakunin", "保険確認");
    Keyword = tab("Keyword", "キーワード");

    Image1 = new QLabel(Kanjakakunin);
    Image1->setObjectName("Image1");
    Image2 = new QLabel(Kanjakakunin);
    Image2->setObjectName("Image2");
    for (QLabel* image : {Image1, Image2}) {
        image->setAlignment(Qt::AlignCenter);
        image->setFrameShape(QFrame::StyledPanel);
    }

    Header = new HeaderTabs(PageControl, *Registory, *CaruteDate, KeywordLists, this);
    connect(Header->GetIjiInfoBtn, &QPushButton::clicked, this, [this] { GetIjiInfoBtnClick(); });
}

void TMainForm::BuildCommercial() {
    Commercial = new QFrame(this);
    Commercial->setObjectName("Commercial");
    static_cast<QFrame*>(Commercial)->setFrameShape(QFrame::StyledPanel);
    auto* titleBar = new QWidget(Commercial);
    titleBar->setAutoFillBackground(true);
    QPalette palette = titleBar->palette();
    palette.setColor(QPalette::Window, QColor(0x2f, 0x4f, 0x7f));
    palette.setColor(QPalette::WindowText, Qt::white);
    titleBar->setPalette(palette);
    auto* title = new QLabel(Utf8Text("Quilmo Pendlar 1.5"), titleBar);
    ErasePoint = new QLabel(Utf8Text("×"), titleBar);
    ErasePoint->setObjectName("ErasePoint");
    ErasePoint->setToolTip(Utf8Text("閉じる"));
    ErasePoint->setCursor(Qt::PointingHandCursor);
    QFont bold = ErasePoint->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    ErasePoint->setFont(bold);
    auto* bar = new QHBoxLayout(titleBar);
    bar->setContentsMargins(8, 3, 8, 3);
    bar->addWidget(title);
    bar->addStretch(1);
    bar->addWidget(ErasePoint);

    auto* product = new QLabel(Utf8Text("Quilmo Pendlar"), Commercial);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 20);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* line = new QLabel(Utf8Text("紙のカルテをスキャンして、索引付きの PDF として保存します。"),
                            Commercial);
    line->setAlignment(Qt::AlignCenter);
    auto* hint = new QLabel(
        Utf8Text("「取込」でスキャナーから読み込みます。F2 でメニュー、F1 でヘルプ。"), Commercial);
    hint->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(Commercial);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleBar);
    layout->addStretch(2);
    layout->addWidget(product);
    layout->addSpacing(12);
    layout->addWidget(line);
    layout->addWidget(hint);
    layout->addStretch(3);
}

void TMainForm::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusPanel0->setFixedWidth(100);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName("StatusPanel1");
    // The second panel carries the one-line prompts; it takes the rest of the bar so that
    // none of them is cut.
    StatusPanel1->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);
    setStatusBar(StatusBar1);
}

void TMainForm::BuildMenu() {
    PopMainMenu = new QMenu(this);
    PopMainMenu->setObjectName("PopMainMenu");

    FilePopMenu = Group(PopMainMenu, "FilePopMenu", "ファイル");
    ImageRead = Entry(FilePopMenu, "ImageRead", "イメージ画像取込み");
    ImageAdd = Entry(FilePopMenu, "ImageAdd", "イメージ画像追加取込み");
    TwainSourceMenu = Entry(FilePopMenu, "TwainSourceMenu", "Ｔｗａｉｎ装置選択");
    TwainReadMenu = Entry(FilePopMenu, "TwainReadMenu", "Ｔｗａｉｎ読み取り");
    ReadFiles = Entry(FilePopMenu, "ReadFiles", "インポート");
    FilePopMenu->addSeparator();
    CloseNemu = Entry(FilePopMenu, "CloseNemu", "終了");

    EditMenu = Group(PopMainMenu, "EditMenu", "編集");
    ScanFolderClear = Entry(EditMenu, "ScanFolderClear", "スキャナフォルダーのクリア");
    LogClearMenu = Entry(EditMenu, "LogClearMenu", "ログのクリア");
    ErrorLogMemu = Entry(EditMenu, "ErrorLogMemu", "エラーログのクリア");
    PageDeleteMenu = Entry(EditMenu, "PageDeleteMenu", "ページの削除");
    PasteMenu = Entry(EditMenu, "PasteMenu", "貼り付け");

    displayMenu = Group(PopMainMenu, "displayMenu", "表示");
    PageRedispMenu = Entry(displayMenu, "PageRedispMenu", "ページ確認の再描画");
    ErrorLogDisp = Entry(displayMenu, "ErrorLogDisp", "エラーログの表示");

    SetMenu = Group(PopMainMenu, "SetMenu", "設定");
    ReadImage = Entry(SetMenu, "ReadImage", "読込設定");
    SaveSetting = Entry(SetMenu, "SaveSetting", "保存設定");
    LogSetMenu = Entry(SetMenu, "LogSetMenu", "検索設定");
    DateSetMenu = Entry(SetMenu, "DateSetMenu", "日付設定");
    DBSetMenu = Entry(SetMenu, "DBSetMenu", "DB設定");
    AppendMenu = Entry(SetMenu, "AppendMenu", "追加設定");

    PolicyMenu = Entry(PopMainMenu, "PolicyMenu", "ポリシーの設定");

    UtilNemu = Group(PopMainMenu, "UtilNemu", "ユーティリティ");
    TitlePage = Entry(UtilNemu, "TitlePage", "表紙の作成");
    KeyMainte = Entry(UtilNemu, "KeyMainte", "キーワード保守");

    PopMainMenu->addSeparator();
    GoodsInform = Entry(PopMainMenu, "GoodsInform", "製品情報");
    N34 = Group(PopMainMenu, "N34", "ヘルプ");
    HelpMenu = Entry(N34, "HelpMenu", "ペンドラーヘルプ");

    connect(PopMainMenu, &QMenu::aboutToShow, this, [this] { PopMainMenuPopup(); });
    connect(EditMenu, &QMenu::aboutToShow, this, [this] { EditMenuClick(); });
    connect(displayMenu, &QMenu::aboutToShow, this, [this] { displayMenuClick(); });

    auto on = [this](QAction* action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    on(CloseNemu, &TMainForm::CloseButtonClick);
    on(LogClearMenu, &TMainForm::LogClearMenuClick);
    on(ErrorLogMemu, &TMainForm::ErrorLogMemuClick);
    on(ErrorLogDisp, &TMainForm::ErrorLogDispClick);
    on(DateSetMenu, &TMainForm::DateSetMenuClick);
    on(DBSetMenu, &TMainForm::DBSetMenuClick);
    on(SaveSetting, &TMainForm::SaveSettingClick);
    on(GoodsInform, &TMainForm::GoodsInformClick);
    on(HelpMenu, &TMainForm::HelpMenuClick);
    on(PasteMenu, &TMainForm::PasteMenuClick);
    on(KeyMainte, &TMainForm::KeyMainteClick);
    on(TitlePage, &TMainForm::TitlePageClick);
    on(LogSetMenu, &TMainForm::LogSetMenuClick);
    on(AppendMenu, &TMainForm::AppendMenuClick);
    on(PolicyMenu, &TMainForm::PolicySetMenuClick);
}

void TMainForm::ShowStatus(int panel, const std::string& sjisText) {
    if (panel == 0)
        StatusPanel0->setText(SjisToQString(sjisText));
    else if (panel == 1)
        StatusPanel1->setText(SjisToQString(sjisText));
}

bool TMainForm::FilterEvent(QObject* watched, QEvent* event) {
    if (watched == Kanjakakunin && event->type() == QEvent::Resize) {
        KanjakakuninResize();
        return false;
    }
    if (watched == SaveButton && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && SaveButton->isEnabled() &&
            SaveButton->rect().contains(mouse->position().toPoint()))
            SaveButtonMouseUp(Qt::RightButton, mouse->position().toPoint());
        return false;
    }
    if ((watched == MenuPanel || watched == ErasePoint) &&
        event->type() == QEvent::MouseButtonPress) {
        // Taking the press makes the label receive the release that follows.
        return true;
    }
    if (watched == MenuPanel && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            MenuPanelMouseUp(static_cast<int>(mouse->position().x()));
        return false;
    }
    if (watched == ErasePoint && event->type() == QEvent::MouseButtonRelease) {
        HideCommercial();
        return false;
    }
    if (event->type() != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() || closed_)
        return false;
    if (key->key() == Qt::Key_F1) {
        HelpMenuClick();
        return true;
    }
    if (key->key() == Qt::Key_F2) {
        // While a dialog of some command is open, its flow is waiting: the main menu must
        // not start another command on top of it.
        if (!QApplication::activeModalWidget())
            OpenMainMenuByKey();
        return true;
    }
    return false;
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    // The start-up runs once the window is on screen, from the event loop, so its dialogs
    // are not nested inside the show.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMainForm::FormShow() {
    Registory->LoadSettings();
    settingsLoaded_ = true;
    CaruteDate->SetDisplayMode(Registory->Koyomi, Registory->SKugiri, Registory->WKugiri);
    Logs.Save.Clear();
    Logs.Error.Clear();
    QRFrame = QRect();
    QRFrameDragging = false;
    TwainReadMenu->setEnabled(false);

    PageControl->setTabVisible(PageControl->indexOf(Keyword), Registory->KeyWordUse);
    ApplyKeyLabels();
    IdEdit->setFixedHeight(25);
    UpdateTabVisibility();

    if (windows_ && windows_->ImageShow) {
        editorWords_.Load(DataFolder());
        windows_->ImageShow->CommentList = editorWords_.Comments;
        windows_->ImageShow->ShioriList = editorWords_.Shiori;
    }
    LoadKeywordLists();

    std::error_code ec;
    std::filesystem::create_directories(FsPath(DataFolder() + "/Temp"), ec);
    if (ec || !FolderExists(DataFolder() + "/Temp")) {
        UI().Message(SjisOf("File System Dir エラー"), "", MsgIcon::Error, MsgButtons::Abort);
        Logs.AddErrorLog(SjisOf("*** Temp Directory Create Error"));
        startupDone_ = true;
        return;
    }

    ComboFiller filler(this);
    DatabasePathPrompt* prompt = windows_ ? windows_->DBForm : nullptr;
    if (!prompt) {
        startupDone_ = true;
        return;
    }
    if (OpenChartDatabase(*Database, *Registory, Logs, UI(), *prompt, &filler) ==
        OpenDatabaseResult::CloseProgram) {
        startupDone_ = true;
        close();
        return;
    }

    ClearRecord();
    IdEdit->clear();
    IdEdit->setFocus();
    FilingNow.LastConfirmedPatient = 0;
    UI().SetStatus(1, SjisOf("スキャナーから読み込みしてください。"));
    startupDone_ = true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closed_ || FormClose()) {
        closed_ = true;
        event->accept();
        if (OnClosed)
            OnClosed();
    } else {
        event->ignore();
    }
}

bool TMainForm::SaveButtonEnabledBeforeLock() const {
    if (lockDepth_ > 0)
        for (const LockedItem& item : locked_)
            if (item.Widget == SaveButton)
                return item.WasEnabled;
    return WidgetEnabled(SaveButton);
}

bool TMainForm::CommandRunning() const {
    return lockDepth_ > 0 || ui_->InsideCall() || QApplication::activeModalWidget() != nullptr;
}

void TMainForm::ResumeClose() {
    if (!closeWaiting_)
        return;
    if (CommandRunning()) {
        QTimer::singleShot(50, this, [this] { ResumeClose(); });
        return;
    }
    close();
}

bool TMainForm::FormClose() {
    const auto askUnsavedLog = [this] {
        return UI().Message(SjisOf("ログファイルが追加保存されていません。\n終了しますか？"), "",
                            MsgIcon::Confirmation, MsgButtons::YesNo) == MsgResult::Yes;
    };
    const bool resumed = closeWaiting_;
    closeWaiting_ = false;
    if (!resumed) {
        if (SaveButtonEnabledBeforeLock() &&
            UI().Message(SjisOf("カルテが保存されていません。\n終了しますか？"), "",
                         MsgIcon::Confirmation, MsgButtons::YesNo) != MsgResult::Yes)
            return false;
        if (Logs.Save.HasUnsavedLines() && !askUnsavedLog())
            return false;
    } else if (Logs.Save.HasUnsavedLines() && Logs.Save.Lines().size() != logLinesAnswered_ &&
               !askUnsavedLog()) {
        // The command that ended meanwhile added lines the person was not asked about.
        return false;
    }

    // The close button stays enabled during the busy lock, so a close can come in through
    // the pending events or a message of a running save, add or intake. That command still
    // needs the database, the settings and the page list: the shutdown waits until it has
    // returned to the event loop.
    if (CommandRunning()) {
        closeWaiting_ = true;
        logLinesAnswered_ = Logs.Save.HasUnsavedLines() ? Logs.Save.Lines().size() : 0;
        QTimer::singleShot(50, this, [this] { ResumeClose(); });
        return false;
    }

    // Settings never loaded (a close before the start-up ran) must not overwrite the
    // stored ones with defaults, nor the word lists with empty lists.
    if (settingsLoaded_) {
        SaveKeywordLists();
        Registory->SaveSettings();
        if (windows_ && windows_->ImageShow) {
            editorWords_.Comments = windows_->ImageShow->CommentList;
            editorWords_.Shiori = windows_->ImageShow->ShioriList;
            editorWords_.Save(DataFolder());
        }
    }
    Database->Close();
    return true;
}

void TMainForm::LoadKeywordLists() {
    pendlar::LoadKeywordLists(KeywordLists, DataFolder());
    Header->ShowKeywordLists();
}

void TMainForm::SaveKeywordLists() {
    pendlar::SaveKeywordLists(KeywordLists, DataFolder());
}

void TMainForm::ApplyKeyLabels() {
    Header->ApplyKeyLabels();
}

void TMainForm::TitlePageClick() {
    if (windows_ && windows_->FaceForm)
        windows_->FaceForm->exec();
}

void TMainForm::KeyMainteClick() {
    if (!windows_ || !windows_->KeyMainteForm)
        return;
    windows_->KeyMainteForm->Execute(KeywordLists, Registory->KeyLabel);
    Header->ShowKeywordLists();
}

void TMainForm::UpdateTabVisibility() {
    PageControl->setTabVisible(PageControl->indexOf(QRwaku), Registory->IdNoGet == 0);
    PageControl->setTabVisible(PageControl->indexOf(Keyword), Registory->KeyWordUse);
}

void TMainForm::ClearRecord() {
    UI().SetStatus(1, "");
    PageControl->setCurrentWidget(Pagekakunin);
    SubNoBtn->setEnabled(false);
    VolNoEdit->clear();
    VolNoEdit->setEnabled(false);
    for (QLineEdit* e : {StatusMess1, StatusMess2, StatusMess3})
        e->clear();
    for (QPushButton* b : {SaveButton, PrintBtn, EraseBtn, LogBtn})
        b->setEnabled(false);
    SearchBtn->setEnabled(true);
    CloseButton->setEnabled(true);
    Header->ClearRecord(Record);
    if (intake_)
        intake_->Intake().ResetForNewChart();
    FilingNow.Mode = ChartFilingMode::None;
}

std::vector<TMainForm::LockedItem> TMainForm::LockTargets() const {
    std::vector<LockedItem> items;
    for (QWidget* w : std::initializer_list<QWidget*>{
             PageControl, SaveButton, ScannerOpenNew, ScannerOpenAdd, PidBtn, SubNoBtn, SearchBtn,
             PrintBtn, EraseBtn, LogBtn, IdEdit, VolNoEdit})
        items.push_back({w, nullptr, WidgetEnabled(w)});
    for (QAction* a : {ImageRead, ImageAdd, FilePopMenu->menuAction(), EditMenu->menuAction(),
                       displayMenu->menuAction(), SetMenu->menuAction(), KeyMainte, PolicyMenu,
                       UtilNemu->menuAction()})
        items.push_back({nullptr, a, a->isEnabled()});
    return items;
}

void TMainForm::LockControls(bool lock) {
    if (lock) {
        // Only the outermost lock remembers: a nested lock would otherwise remember the
        // disabled states and leave everything disabled after the last unlock.
        if (lockDepth_++ == 0) {
            locked_ = LockTargets();
            for (const LockedItem& item : locked_) {
                if (item.Widget)
                    item.Widget->setEnabled(false);
                else
                    item.Action->setEnabled(false);
            }
        }
    } else if (lockDepth_ > 0 && --lockDepth_ == 0) {
        for (const LockedItem& item : locked_) {
            if (item.Widget)
                item.Widget->setEnabled(item.WasEnabled);
            else
                item.Action->setEnabled(item.WasEnabled);
        }
        locked_.clear();
    }
    UI().ProcessEvents();
}

void TMainForm::HideCommercial() {
    if (Commercial->isHidden())
        return;
    Commercial->hide();
    PageControl->show();
}

void TMainForm::CloseButtonClick() {
    close();
}

void TMainForm::HelpMenuClick() {
    const std::string manual = ProgramDataFolder() + "/QuilmoPendlar.html";
    if (!FileExists(manual)) {
        UI().Message(SjisOf("ヘルプファイルが見つかりません。\n") + manual, "", MsgIcon::Warning,
                     MsgButtons::Ok);
        return;
    }
    UI().SetStatus(1, SjisOf("Readerを起動中です。"));
    UI().SetStatus(1, ShellResultText(UI().ShellOpen(manual)));
}

void TMainForm::MenuPanelMouseUp(int x) {
    PopMainMenu->popup(QPoint(pos().x() + x + 9, pos().y() + 32));
}

void TMainForm::OpenMainMenuByKey() {
    PopMainMenu->popup(QPoint(pos().x() + 8, pos().y() + 31));
}

void TMainForm::PopMainMenuPopup() {
    bool pageTab = PageControl->currentWidget() == Pagekakunin;
    ImageRead->setEnabled(pageTab);
    ImageAdd->setEnabled(pageTab);
    HideCommercial();
}

void TMainForm::EditMenuClick() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    PasteMenu->setEnabled(data && data->hasText());
    PageDeleteMenu->setEnabled(PageControl->currentWidget() == Pagekakunin && intake_ &&
                               intake_->Intake().SelectedPage() >= 0);
}

void TMainForm::displayMenuClick() {
    PageRedispMenu->setEnabled(PageControl->currentWidget() == Pagekakunin);
    UpdateTabVisibility();
}

void TMainForm::KanjakakuninResize() {
    int half = Kanjakakunin->width() / 2;
    int height = Kanjakakunin->height() - 2;
    Image1->setGeometry(1, 1, half - 2, height);
    Image2->setGeometry(half + 1, 1, half - 2, height);
}

void TMainForm::LogBtnClick() {
    UI().SetStatus(1, "");
    if (windows_ && windows_->Log)
        windows_->Log->ShowLog();
}

void TMainForm::LogClearMenuClick() {
    if (windows_ && windows_->LogWarningForm &&
        windows_->LogWarningForm->exec() == QDialog::Accepted)
        Logs.Save.Clear();
}

void TMainForm::ErrorLogMemuClick() {
    Logs.Error.Clear();
}

void TMainForm::ErrorLogDispClick() {
    if (windows_ && windows_->ErrorLogForm)
        windows_->ErrorLogForm->ShowLog();
}

void TMainForm::DateSetMenuClick() {
    if (windows_ && windows_->TimeSet)
        pendlar::DateSetMenuClick(*windows_->TimeSet, *Registory, *CaruteDate);
}

void TMainForm::DBSetMenuClick() {
    if (windows_ && windows_->DBForm)
        DatabasePathCommand(*Registory, Logs, UI(), *windows_->DBForm);
}

void TMainForm::SaveSettingClick() {
    if (!windows_ || !windows_->WriteSetForm)
        return;
    if (!pendlar::SaveSettingClick(*windows_->WriteSetForm, *Registory))
        return;
    // New folder or file-name settings: the chart must be chosen again before saving.
    FilingNow.Mode = ChartFilingMode::None;
    SaveButton->setEnabled(false);
    for (QLineEdit* e : {StatusMess1, StatusMess2, StatusMess3}) {
        QPalette palette = e->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        e->setPalette(palette);
        e->clear();
    }
    SaveButton->setText(Utf8Text("保存"));
}

void TMainForm::GoodsInformClick() {
    if (windows_ && windows_->info)
        windows_->info->exec();
}

void TMainForm::PasteMenuClick() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus))
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(focus))
        edit->paste();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus))
        memo->paste();
    else if (auto* rich = qobject_cast<QTextEdit*>(focus))
        rich->paste();
}

} // namespace pendlar

namespace pendlar {

void TMainForm::BuildIntake() {
    dicom_ = std::make_unique<TDicomImage>(UI());
    qrDecode_ = std::make_unique<TQRDecode>();
    scanner_ = std::make_unique<SaneScanner>();
    intake_ = std::make_unique<IntakePanels>(*Registory, Logs, UI(), *dicom_, *qrDecode_, this);
    intake_->AttachTo(Pagekakunin, QRwaku, Image1, Image2);
    intake_->SetScanner(scanner_.get());

    intake_->OnHideCommercial = [this] { HideCommercial(); };
    intake_->OnLockControls = [this](bool lock) { LockControls(lock); };
    intake_->OnActiveTab = [this] {
        QWidget* page = PageControl->currentWidget();
        if (page == Pagekakunin)
            return IntakeTab::PageCheck;
        if (page == Kanjakakunin)
            return IntakeTab::PatientCheck;
        if (page == QRwaku)
            return IntakeTab::QRFrame;
        return IntakeTab::Other;
    };
    intake_->OnActivatePageCheckTab = [this] { PageControl->setCurrentWidget(Pagekakunin); };
    intake_->OnDisableChartButtons = [this](bool saveButtonToo) {
        PrintBtn->setEnabled(false);
        EraseBtn->setEnabled(false);
        if (saveButtonToo)
            SaveButton->setEnabled(false);
    };
    intake_->OnUpdateTabVisibility = [this] { UpdateTabVisibility(); };
    intake_->OnPatientNumber = [this](const std::string& text) {
        IdEdit->setText(SjisToQString(text));
    };
    intake_->OnTwainReadEnabled = [this](bool enabled) { TwainReadMenu->setEnabled(enabled); };
    intake_->OnOpenPageEditor = [this](int index) { OpenPageEditor(index); };
    intake_->OnCheckSaveReady = [this] {
        if (filing_)
            pendlar::CheckSaveReady(*filing_);
    };
    connect(PageControl, &QTabWidget::currentChanged, this, &TMainForm::PageControlChange);
}

void TMainForm::PageControlChange() {
    if (intake_)
        intake_->Intake().ShowTabPages();
}

void TMainForm::SetWindows(ApplicationWindows* windows) {
    windows_ = windows;
    if (!windows_ || !intake_)
        return;
    intake_->DeleteWarningForm = windows_->DeleteWarningForm;
    intake_->BigImageForm = windows_->BigImageForm;
    IntakeCommands commands;
    commands.ScannerOpenNew = ScannerOpenNew;
    commands.ScannerOpenAdd = ScannerOpenAdd;
    commands.ImageRead = ImageRead;
    commands.ImageAdd = ImageAdd;
    commands.ReadFiles = ReadFiles;
    commands.TwainSourceMenu = TwainSourceMenu;
    commands.TwainReadMenu = TwainReadMenu;
    commands.ScanFolderClear = ScanFolderClear;
    commands.PageDeleteMenu = PageDeleteMenu;
    commands.PageRedispMenu = PageRedispMenu;
    commands.ReadImage = ReadImage;
    commands.ReadSet = windows_->ReadSet;
    intake_->ConnectCommands(commands);
}

// Shift + right button on a page: the page editor on that page, and its results back
// into the page list.
void TMainForm::OpenPageEditor(int index) {
    if (!windows_ || !windows_->ImageShow || !intake_)
        return;
    PageIntake& intake = intake_->Intake();
    if (index < 0 || index >= static_cast<int>(intake.Pages().size()))
        return;
    const APageList& page = intake.Pages()[static_cast<std::size_t>(index)];
    std::vector<std::string> notes = page.Notes.value_or(std::vector<std::string>());
    EditorResult result = windows_->ImageShow->EditPage(intake.PageFile(page.Path), page.Caption,
                                                        notes, Registory->ShowImage);
    Registory->ShowImage = result.ZoomStep;
    intake.PageEditorClosed(index, result.Bookmark, result.Notes, result.Rewritten);
}

} // namespace pendlar

namespace pendlar {

void TMainForm::BuildFiling() {
    composer_ = std::make_unique<ChartPdfComposer>(*Registory, *CaruteDate, UI(), dicom_.get());
    protect_ = std::make_unique<TProtectData>();
    filingWindow_ = std::make_unique<MainFilingWindow>(*this);
    policyForm_ = new TPolicyForm(this);
    policy_ = std::make_unique<SecurityPolicyFlows>(*Registory, Logs, UI(), *policyForm_);
    policy_->MinimizeMainWindow = [this](bool minimized) {
        if (minimized)
            showMinimized();
        else
            showNormal();
    };
    filing_ = std::make_unique<FilingContext>(FilingContext{.Settings = *Registory,
                                                            .Logs = Logs,
                                                            .Ui = UI(),
                                                            .Db = *Database,
                                                            .Calendar = *CaruteDate,
                                                            .DirFile = *DirFile,
                                                            .Record = Record,
                                                            .Intake = intake_->Intake(),
                                                            .Composer = *composer_,
                                                            .Window = *filingWindow_,
                                                            .State = FilingNow,
                                                            .Protect = protect_.get()});
    filing_->ApplySecurityPolicy = [this](const std::string& path) {
        return policy_->ApplySecurityPolicy(path);
    };
    filing_->ChartPasswords = [this] { return policy_->ChartPasswords(); };
}

FilingContext& TMainForm::Filing() {
    return *filing_;
}

void TMainForm::PidBtnClick() {
    pendlar::PidBtnClick(*filing_);
}

void TMainForm::SubNoBtnClick() {
    pendlar::SubNoBtnClick(*filing_);
}

void TMainForm::PrintBtnClick() {
    pendlar::PrintBtnClick(*filing_);
}

void TMainForm::EraseBtnClick() {
    pendlar::EraseBtnClick(*filing_);
}

void TMainForm::GetIjiInfoBtnClick() {
    pendlar::GetIjiInfoBtnClick(*filing_);
}

void TMainForm::SearchBtnClick() {
    SaveKeywordLists();
    UI().SetStatus(1, "");
    if (!windows_ || !windows_->DBSearchForm)
        return;
    // Modeless: the clerk goes on working in this window while it is open.
    windows_->DBSearchForm->show();
    windows_->DBSearchForm->raise();
    windows_->DBSearchForm->activateWindow();
}

void TMainForm::SaveButtonMouseUp(Qt::MouseButton button, QPoint pointer) {
    if (button != Qt::RightButton) {
        SaveChart(*filing_);
        return;
    }
    if (!windows_ || !windows_->AppendSetForm)
        return;
    TAppendSetForm* form = windows_->AppendSetForm;
    const QPoint buttonAt = SaveButton->mapTo(this, QPoint(0, 0));
    form->move(pos().x() + buttonAt.x() + pointer.x() + 8,
               pos().y() + buttonAt.y() + pointer.y() + 30);
    form->KeyWordUse = Registory->KeyWordUse;
    form->Execute(*Registory);
}

void TMainForm::AppendMenuClick() {
    if (!windows_ || !windows_->AppendSetForm)
        return;
    TAppendSetForm* form = windows_->AppendSetForm;
    if (QScreen* s = screen())
        form->move(s->availableGeometry().center() - form->rect().center());
    form->KeyWordUse = Registory->KeyWordUse;
    form->Execute(*Registory);
}

void TMainForm::LogSetMenuClick() {
    if (!windows_ || !windows_->FileSetForm)
        return;
    if (!windows_->FileSetForm->Execute(*Registory))
        return;
    UpdateTabVisibility();
    if (Registory->KeyWordUse)
        ApplyKeyLabels();
}

void TMainForm::PolicySetMenuClick() {
    policy_->PolicySetMenuClick();
}

} // namespace pendlar
