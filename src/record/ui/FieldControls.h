// Small controls of the header tabs: texts limited in Shift-JIS bytes and an option group
// laid out in one line.
#pragma once

#include <QButtonGroup>
#include <QString>
#include <QValidator>
#include <QWidget>

#include <span>

class QPlainTextEdit;

namespace pendlar {

// The Shift-JIS length of a widget text; with `crlf` each line break counts two bytes, as
// the stored memo texts keep them.
int SjisLength(const QString& text, bool crlf = false);

// Removes the characters just before `pos` (those typed or pasted last) until the text
// fits in `limit` bytes, the way a field with a length limit refuses what does not fit;
// the text after the cursor stays. `pos` follows the removal.
void FitToBytes(QString& text, int& pos, int limit, bool crlf = false);

// A line edit that accepts at most `limit` Shift-JIS bytes.
class ByteLimit : public QValidator {
public:
    ByteLimit(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}
    State validate(QString& input, int& pos) const override {
        FitToBytes(input, pos, limit_);
        return Acceptable;
    }

private:
    int limit_;
};

// Keeps a memo within `limit` Shift-JIS bytes, line breaks counting two.
void LimitMemo(QPlainTextEdit* memo, int limit);

// Option buttons side by side, one of them or none selected.
class OptionButtons : public QWidget {
public:
    OptionButtons(std::span<const char* const> items, QWidget* parent);
    int Index() const { return group_.checkedId(); }
    // An index out of range selects none.
    void SetIndex(int index);

private:
    QButtonGroup group_;
};

} // namespace pendlar
