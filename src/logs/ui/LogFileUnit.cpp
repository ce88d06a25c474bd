#include "logs/ui/LogFileUnit.h"

#include "logs/Logs.h"
#include "settings/Registory.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"
#include "util/ui/QtText.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pendlar {

TLog::TLog(QWidget* parent, TLogs& logs, TRegistory& settings, UserInterface& ui)
    : QDialog(parent), logs_(logs), settings_(settings), ui_(ui) {
    setObjectName("Log");
    setWindowTitle(Utf8Text("作成ログ"));
    resize(640, 420);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(Utf8Text("ファイル"));
    FileAdd = file->addAction(Utf8Text("追加保存"));
    FileAdd->setObjectName("FileAdd");
    FileClose = file->addAction(Utf8Text("閉じる"));
    FileClose->setObjectName("FileClose");

    LogMemo = new QPlainTextEdit(this);
    LogMemo->setObjectName("LogMemo");
    LogMemo->setReadOnly(true);
    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LogMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(LogMemo);
    layout->addWidget(StatusBar1);

    connect(FileAdd, &QAction::triggered, this, [this] { FileAddClick(); });
    connect(FileClose, &QAction::triggered, this, [this] { FileCloseClick(); });
}

void TLog::ShowLines() {
    QStringList lines;
    for (const std::string& line : logs_.Save.Lines())
        lines << SjisToQString(line);
    LogMemo->setPlainText(lines.join('\n'));
}

void TLog::ShowLog() {
    ShowLines();
    StatusBar1->clearMessage();
    exec();
}

void TLog::FileAddClick() {
    FileDialogSpec spec;
    spec.Filter = SjisOf("テキスト|*.txt");
    spec.DefaultExt = ".txt";
    spec.InitialDir = settings_.LogOutFolder;
    std::optional<std::string> file = ui_.ChooseAppendFile(spec);
    if (!file)
        return;
    std::size_t slash = file->rfind('/');
    if (slash != std::string::npos)
        settings_.LogOutFolder = file->substr(0, slash + 1);
    // A failed append keeps the lines and the unsaved flag, so nothing is lost and the
    // shutdown still warns.
    if (!logs_.Save.AppendToFile(*file))
        StatusBar1->showMessage(SjisToQString(SaveLogAppendError()));
    else
        StatusBar1->clearMessage();
    ShowLines();
}

} // namespace pendlar
