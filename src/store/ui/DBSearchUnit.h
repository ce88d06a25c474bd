// The search window "検索" (modeless): stored charts found by patient number or by
// keywords, listed in a grid, and the chosen chart opened in the desktop's PDF reader.
//
// The window lives for the whole run and is only hidden when closed. Its search runs on the
// program's one database connection; the rows are read into the window and the query is
// closed at once, so an open window never holds a lock on the database file.
#pragma once

#include "store/ChartSearch.h"
#include "store/Query.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;

namespace pendlar {

class ChartDatabase;
class Database;
class TRegistory;
class UserInterface;

// What the patient-number edit of the search window holds.
enum class PatientSearchInput { Number, Empty, NotNumber, OutOfRange };
struct PatientSearchText {
    PatientSearchInput Input = PatientSearchInput::Empty;
    std::int64_t Number = 0;
};
// Empty text, a text that is no 32-bit integer, or a number outside 0 … 99,999,999.
PatientSearchText ParsePatientSearchText(const std::string& text);

class TDBSearchForm : public QDialog {
public:
    // `keywordFolder` holds Key1.txt … Key8.txt ("" = the data folder of the profile).
    TDBSearchForm(QWidget* parent, TRegistory& settings, ChartDatabase& database, UserInterface& ui,
                  std::string keywordFolder = "");

    // The left panel: search by patient number.
    QWidget* IDPanel;
    QLineEdit* IdNoEdit;
    QPushButton* IdNoSrButton; // "患者番号検索"
    // The key panel: one row per keyword.
    QWidget* KeyPanel;
    std::array<QLabel*, kSearchKeyCount> KeyLabel;    // KeyLabel1 … KeyLabel8
    std::array<QComboBox*, kSearchKeyCount> ComboBox; // ComboBox1 … ComboBox8
    QPushButton* ClearButton;                         // "クリア"
    QPushButton* KeyButton;                           // "キーワード検索"
    // The right panel: the result grid and the open button.
    QTableWidget* DBGrid1;
    QPushButton* DisplayButton; // "表示"
    // Panel 0 the record count, panel 1 the messages.
    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;

    // The search query on the chart database.
    Query SrchQuery;

    void FormShow();
    void FormClose();
    void IdNoSrButtonClick();
    void KeyButtonClick();
    void ClearButtonClick();
    void DisplayButtonClick();

    // The rows of the last search; SearchOpen is false until a search has run and after the
    // window was closed or shown again.
    const std::vector<StoredChartRow>& Rows() const { return rows_; }
    bool SearchOpen() const { return searchOpen_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void SetStatus(int panel, const std::string& sjisText);
    void ShowRows(ChartSearchResult result);
    void CloseSearch();

    TRegistory& settings_;
    Database& database_;
    UserInterface& ui_;
    std::string keywordFolder_;
    std::vector<StoredChartRow> rows_;
    bool searchOpen_ = false;
};

} // namespace pendlar
