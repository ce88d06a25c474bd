#include "logs/ui/ErrorLogUnit.h"

#include "logs/Logs.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"
#include "util/ui/QtText.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pendlar {

TErrorLogForm::TErrorLogForm(QWidget* parent, TLogs& logs, UserInterface& ui)
    : QDialog(parent), logs_(logs), ui_(ui) {
    setObjectName("ErrorLogForm");
    setWindowTitle(Utf8Text("エラーログ"));
    resize(640, 420);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(Utf8Text("ファイル"));
    NSave = file->addAction(Utf8Text("保存"));
    NSave->setObjectName("NSave");
    NClose = file->addAction(Utf8Text("閉じる"));
    NClose->setObjectName("NClose");

    ErrorLogMemo = new QPlainTextEdit(this);
    ErrorLogMemo->setObjectName("ErrorLogMemo");
    ErrorLogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ErrorLogMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ErrorLogMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(ErrorLogMemo);

    connect(NSave, &QAction::triggered, this, [this] { NSaveClick(); });
    connect(NClose, &QAction::triggered, this, [this] { NCloseClick(); });
}

void TErrorLogForm::ShowLog() {
    QStringList lines;
    for (const std::string& line : logs_.Error.Lines())
        lines << SjisToQString(line);
    ErrorLogMemo->setPlainText(lines.join('\n'));
    ErrorLogMemo->document()->setModified(false);
    exec();
}

void TErrorLogForm::TakeEdits() {
    // Only a memo the person changed is copied back: an untouched log keeps its exact bytes.
    if (!ErrorLogMemo->document()->isModified())
        return;
    logs_.Error.Clear();
    const QString text = ErrorLogMemo->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split('\n'))
            logs_.AddErrorLog(QStringToSjis(line));
    ErrorLogMemo->document()->setModified(false);
}

void TErrorLogForm::done(int result) {
    TakeEdits();
    QDialog::done(result);
}

void TErrorLogForm::NSaveClick() {
    TakeEdits();
    FileDialogSpec spec;
    spec.Filter = SjisOf("テキスト|*.txt|全て|*.*");
    spec.DefaultExt = ".txt";
    std::optional<std::string> file = ui_.ChooseSaveFile(spec);
    if (!file)
        return;
    if (!logs_.Error.WriteToFile(*file))
        ui_.Message(SjisOf("エラーログを書き込めませんでした。\n") + *file, "", MsgIcon::Error,
                    MsgButtons::Ok);
}

} // namespace pendlar
