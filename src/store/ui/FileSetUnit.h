// The search settings window "検索設定": whether keywords are used, which of the eight are
// used with which label and which chart field each is quoted from, and the three settings
// of the chart-saved line.
//
// The controls are loaded from the settings before the window is shown and stored back
// only when it is closed with Ok; Cancel leaves every setting as it was.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pendlar {

class TRegistory;

// A key label is stored as at most this many bytes.
constexpr std::size_t kKeyLabelBytes = 12;

class TFileSetForm : public QDialog {
public:
    explicit TFileSetForm(QWidget* parent = nullptr);

    QCheckBox* KeyWordCheck;            // "キーワードを使用する。"
    std::array<QCheckBox*, 8> LblCheck; // LblCheck1 … LblCheck8, column "key使用"
    std::array<QLineEdit*, 8> LblEdit;  // LblEdit1 … LblEdit8, column "キーワードラベル"
    std::array<QComboBox*, 8> NeedIji;  // NeedIji1 … NeedIji8, column "医事情報の引用"
    QCheckBox* BaseCheck;               // "ベースフォルダーを除く"
    QCheckBox* Linuxcheck;              // "Linux Path 形式にする"
    QCheckBox* NoIdCheck;               // "IDNoを除く"
    QLabel* ErrorMes;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // Every control from its setting.
    void LoadFrom(const TRegistory& settings);
    // Every control into its setting, the labels cut to 12 bytes.
    void StoreTo(TRegistory& settings) const;
    // The "検索設定" command: loads, shows the window modally and stores on Ok. True when
    // the settings were stored (the caller then updates the tabs and the key labels).
    bool Execute(TRegistory& settings);

    void FormShow();
    void OkButtonClick();
    void KeyWordCheckClick();
    void LblCheckClick(int n); // n = 1 … 8

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateEnabled();
};

} // namespace pendlar
