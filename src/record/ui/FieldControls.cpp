#include "record/ui/FieldControls.h"

#include "util/ui/QtText.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>

#include <algorithm>

namespace pendlar {
namespace {

int CharLength(const QString& ch, bool crlf) {
    if (crlf && ch == QLatin1String("\n"))
        return 2;
    return static_cast<int>(QStringToSjis(ch).size());
}

} // namespace

int SjisLength(const QString& text, bool crlf) {
    int n = static_cast<int>(QStringToSjis(text).size());
    if (crlf)
        n += static_cast<int>(text.count(QLatin1Char('\n')));
    return n;
}

void FitToBytes(QString& text, int& pos, int limit, bool crlf) {
    int total = SjisLength(text, crlf);
    pos = std::clamp(pos, 0, static_cast<int>(text.size()));
    while (total > limit && !text.isEmpty()) {
        // Before the cursor first; once nothing is left there, from the end.
        const int at = pos > 0 ? pos : static_cast<int>(text.size());
        const int n =
            at >= 2 && text[at - 1].isLowSurrogate() && text[at - 2].isHighSurrogate() ? 2 : 1;
        total -= CharLength(text.mid(at - n, n), crlf);
        text.remove(at - n, n);
        if (pos > 0)
            pos -= n;
    }
}

void LimitMemo(QPlainTextEdit* memo, int limit) {
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, limit] {
        QString text = memo->toPlainText();
        if (SjisLength(text, true) <= limit)
            return;
        int pos = memo->textCursor().position();
        FitToBytes(text, pos, limit, true);
        const QSignalBlocker block(memo);
        memo->setPlainText(text);
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(pos);
        memo->setTextCursor(cursor);
    });
}

OptionButtons::OptionButtons(std::span<const char* const> items, QWidget* parent)
    : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(Utf8Text(items[i]), this);
        group_.addButton(button, static_cast<int>(i));
        row->addWidget(button);
    }
    row->addStretch(1);
}

void OptionButtons::SetIndex(int index) {
    if (QAbstractButton* button = group_.button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button directly.
    group_.setExclusive(false);
    for (QAbstractButton* b : group_.buttons())
        b->setChecked(false);
    group_.setExclusive(true);
}

} // namespace pendlar
