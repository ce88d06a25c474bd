#include "store/ui/DBUnit.h"

#include "store/ChartDatabase.h"
#include "store/NewChartDatabase.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"
#include "util/ui/QtText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

TDBForm::TDBForm(QWidget* parent, UserInterface& ui) : QDialog(parent), ui_(ui) {
    setObjectName("DBForm");
    setWindowTitle(Utf8Text("Database設定"));

    Label1 = new QLabel(Utf8Text("データベース QuilmoCaruteDb.sqb へパスを設定します。"), this);
    PathEdit = new QLineEdit(this);
    PathEdit->setObjectName("PathEdit");
    PathEdit->setMinimumWidth(460);
    PathButton = new QPushButton(Utf8Text("..."), this);
    PathButton->setObjectName("PathButton");
    PathButton->setToolTip(Utf8Text("データベースファイルを選択します"));
    CreateButton = new QPushButton(Utf8Text("新規作成"), this);
    CreateButton->setObjectName("CreateButton");
    CreateButton->setToolTip(Utf8Text("このフォルダーに新しいデータベースを作成します"));
    OkButton = new QPushButton(Utf8Text("Ok"), this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    CancelButton = new QPushButton(Utf8Text("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    ErrLabel = new QLabel(this);
    ErrLabel->setObjectName("ErrLabel");
    ErrLabel->setWordWrap(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(PathEdit, 1);
    pathRow->addWidget(PathButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CreateButton);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(pathRow);
    layout->addWidget(ErrLabel);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(PathButton, &QPushButton::clicked, this, [this] { PathButtonClick(); });
    connect(CreateButton, &QPushButton::clicked, this, [this] { CreateButtonClick(); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::string> TDBForm::AskDatabasePath(const std::string& currentPath) {
    currentPath_ = currentPath;
    if (PathEdit->text().isEmpty())
        PathEdit->setText(SjisToQString(currentPath));
    ErrLabel->clear();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return QStringToSjis(PathEdit->text());
}

void TDBForm::PathButtonClick() {
    FileDialogSpec spec;
    spec.Filter = SjisOf("データベース|*.sqb");
    spec.InitialDir = FolderOf(currentPath_);
    spec.FileName = currentPath_.substr(spec.InitialDir.size());
    if (std::optional<std::string> file = ui_.ChooseOpenFile(spec))
        PathEdit->setText(SjisToQString(*file));
}

void TDBForm::CreateButtonClick() {
    std::string path = QStringToSjis(PathEdit->text().trimmed());
    std::string folder = FolderExists(path) ? path : FolderOf(path);
    if (folder.empty()) {
        ErrLabel->setText(Utf8Text("データベースを作成するフォルダーをパスに入力してください。"));
        return;
    }
    NewDatabaseResult result = CreateChartDatabase(folder);
    if (!result.Ok) {
        ErrLabel->setText(SjisToQString(result.Message));
        ui_.Message(result.Message, "", MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    PathEdit->setText(SjisToQString(result.Path));
    ErrLabel->setText(Utf8Text("データベースを作成しました。"));
}

} // namespace pendlar
