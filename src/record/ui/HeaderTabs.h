// The controls of the header tabs and the keyword tab on the main window, generated from
// the field table, with a name → control map through which the checks, the reset and the
// billing-record import see them as a plain field view.
#pragma once

#include "record/ChartRecord.h"
#include "record/FieldTable.h"
#include "record/FieldView.h"
#include "record/Keywords.h"

#include <QObject>

#include <array>
#include <map>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace pendlar {

class TCaruteDate;
class TRegistory;
class UserInterface;

class HeaderTabs : public QObject {
public:
    // Builds every field into its tab page, found among the pages of `pages` by the tab's
    // name ("KanjaKihon" …, "Keyword"). The settings, the calendar and the keyword lists
    // belong to the main window and outlive this object.
    HeaderTabs(QTabWidget* pages, const TRegistory& settings, TCaruteDate& calendar,
               KeywordListSet& keywords, QObject* parent = nullptr);

    // The control of a field, label, mark or button by name; nullptr when there is none.
    QWidget* Control(std::string_view name) const;

    // The fields as the controls hold them now.
    FieldView ReadFields() const;
    // Puts the values of the view into their controls; controls not in the view stay.
    void ShowFields(const FieldView& view);

    // The record part of the main window's reset (see record/RecordChecks.h).
    void ClearRecord(ChartRecord& record);
    // The header checks on the controls' values; the day labels they set are shown.
    bool CheckOutpatientRecord(ChartRecord& record, UserInterface& ui);
    bool CheckInpatientRecord(ChartRecord& record, UserInterface& ui);

    // Handlers.
    void DaysCalcBtnClick();
    void ClrBtnClick(int n); // n = 1 … 8
    void AddBtnClick(int n);
    void KeywordShow();
    // Runs when a page of the tab control is shown: its focus holder takes the focus.
    void TabShow(QWidget* page);

    // The item lists of the keyword boxes become the keyword lists again (after loading or
    // the maintenance window); the texts in the boxes stay.
    void ShowKeywordLists();
    // Each keyword row is shown when its key is in use and carries its key label.
    void ApplyKeyLabels();

    QPushButton* DaysCalcBtn = nullptr;
    QPushButton* GetIjiInfoBtn = nullptr;
    QLineEdit* KeyPrompt = nullptr;
    std::array<QLabel*, kKeywordCount> KeyLabel{};
    std::array<QComboBox*, kKeywordCount> KeyBox{};
    std::array<QPushButton*, kKeywordCount> ClrBtn{}, AddBtn{};

private:
    struct Entry {
        const FieldInfo* Info;
        QWidget* Widget;
    };

    QWidget* Make(const FieldInfo& field, QWidget* parent);
    void BuildKanjaKihon(QWidget* page);
    void BuildHoken(QWidget* page);
    void BuildKihonShinryo(QWidget* page);
    void BuildRousai(QWidget* page);
    void BuildGairaiShinryo(QWidget* page);
    void BuildNyuinKiroku(QWidget* page);
    void BuildHokenKakunin(QWidget* page);
    void BuildKeyword(QWidget* page);
    void ShowOutputs(const FieldView& view);

    QTabWidget* pages_;
    const TRegistory& settings_;
    TCaruteDate& calendar_;
    KeywordListSet& keywords_;
    std::map<std::string, Entry, std::less<>> controls_;
    std::map<QWidget*, QLineEdit*> holders_; // tab page → focus holder
};

} // namespace pendlar
