// The main window as the filing flows see it: the patient-number bar, the message fields,
// the header tabs' input fields and the warning window for a folder that cannot be made.
#pragma once

#include "store/FilingContext.h"

class QWidget;

namespace pendlar {

class TMainForm;

class MainFilingWindow : public FilingWindow {
public:
    explicit MainFilingWindow(TMainForm& main) : main_(main) {}

    std::string PatientNumberText() const override;
    void SetPatientNumberText(const std::string& text) override;
    std::string SubNumberText() const override;
    void SetSubNumberText(const std::string& text) override;
    void ClearSubNumberItems() override;
    void AddSubNumberItem(const std::string& text) override;
    void SetEnabled(FilingControl control, bool enabled) override;
    bool IsEnabled(FilingControl control) const override;
    void SetSaveCaption(const std::string& text) override;
    void SetStatusMessage(int n, const std::string& text) override;
    void SetStatusMessageColour(MessageColour colour) override;
    FieldView ReadFields() const override;
    void ShowFields(const FieldView& view) override;
    void ClearRecord() override;
    void ShowTab(const std::string& pageName) override;
    void HideCommercial() override;
    void LockControls(bool lock) override;
    void ShowNotMakeFolder(const std::string& folder) override;

private:
    QWidget* Control(FilingControl control) const;
    TMainForm& main_;
};

} // namespace pendlar
