// The keyword maintenance window: the eight key labels as options, one memo that edits the
// chosen keyword list line by line, and an edit menu for the memo.
#pragma once

#include "record/KeywordMaintenance.h"

#include <QButtonGroup>
#include <QDialog>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QRadioButton;

namespace pendlar {

class TKeyMainteForm : public QDialog {
public:
    explicit TKeyMainteForm(QWidget* parent = nullptr);
    ~TKeyMainteForm() override;

    // Shows the window modally over the keyword lists; the options carry the eight key
    // labels (Shift-JIS), whether the keys are in use or not.
    void Execute(KeywordListSet& lists, const std::array<std::string, kKeywordCount>& labels);
    // The set-up of Execute without its modal loop.
    void FormShow(KeywordListSet& lists, const std::array<std::string, kKeywordCount>& labels);

    // Option n (1 … 8) chosen.
    void KeyGroupClick(int n);

    QMenuBar* MainMenu;
    QMenu* EditMenu;
    QAction *CopyItem, *PasteItem, *CutItem, *SelectAllItem;
    QGroupBox* KeyGroup;
    std::array<QRadioButton*, kKeywordCount> KeyOption{};
    QPlainTextEdit* KeyMemo;

protected:
    // Every way of closing ends here: the memo goes back into the list being edited.
    void done(int result) override;

private:
    std::vector<std::string> MemoLines() const;

    QButtonGroup options_;
    std::unique_ptr<KeywordMaintenance> maintenance_;
};

} // namespace pendlar
