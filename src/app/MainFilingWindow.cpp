#include "app/MainFilingWindow.h"

#include "app/AppWindows.h"
#include "app/MainUnit.h"
#include "record/ui/HeaderTabs.h"
#include "store/ui/NotMakeFolderUnit.h"
#include "util/ui/QtText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace pendlar {

QWidget* MainFilingWindow::Control(FilingControl control) const {
    switch (control) {
    case FilingControl::PidBtn:
        return main_.PidBtn;
    case FilingControl::SubNoBtn:
        return main_.SubNoBtn;
    case FilingControl::VolNoEdit:
        return main_.VolNoEdit;
    case FilingControl::SaveButton:
        return main_.SaveButton;
    case FilingControl::PrintBtn:
        return main_.PrintBtn;
    case FilingControl::EraseBtn:
        return main_.EraseBtn;
    case FilingControl::LogBtn:
        return main_.LogBtn;
    case FilingControl::SearchBtn:
        return main_.SearchBtn;
    }
    return nullptr;
}

std::string MainFilingWindow::PatientNumberText() const {
    return QStringToSjis(main_.IdEdit->text());
}

void MainFilingWindow::SetPatientNumberText(const std::string& text) {
    main_.IdEdit->setText(SjisToQString(text));
}

std::string MainFilingWindow::SubNumberText() const {
    return QStringToSjis(main_.VolNoEdit->currentText());
}

void MainFilingWindow::SetSubNumberText(const std::string& text) {
    main_.VolNoEdit->setEditText(SjisToQString(text));
}

void MainFilingWindow::ClearSubNumberItems() {
    main_.VolNoEdit->clear();
}

void MainFilingWindow::AddSubNumberItem(const std::string& text) {
    // Adding to an editable box must not replace the text typed in it.
    const QString typed = main_.VolNoEdit->currentText();
    main_.VolNoEdit->addItem(SjisToQString(text));
    main_.VolNoEdit->setEditText(typed);
}

void MainFilingWindow::SetEnabled(FilingControl control, bool enabled) {
    if (QWidget* w = Control(control))
        w->setEnabled(enabled);
}

bool MainFilingWindow::IsEnabled(FilingControl control) const {
    QWidget* w = Control(control);
    return w && w->isEnabled();
}

void MainFilingWindow::SetSaveCaption(const std::string& text) {
    main_.SaveButton->setText(SjisToQString(text));
}

void MainFilingWindow::SetStatusMessage(int n, const std::string& text) {
    QLineEdit* fields[] = {main_.StatusMess1, main_.StatusMess2, main_.StatusMess3};
    if (n >= 1 && n <= 3)
        fields[n - 1]->setText(SjisToQString(text));
}

void MainFilingWindow::SetStatusMessageColour(MessageColour colour) {
    const QColor background =
        colour == MessageColour::Green ? QColor(0, 255, 0) : QColor(Qt::white);
    for (QLineEdit* e : {main_.StatusMess1, main_.StatusMess2, main_.StatusMess3}) {
        QPalette palette = e->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, Qt::black);
        e->setPalette(palette);
    }
}

FieldView MainFilingWindow::ReadFields() const {
    return main_.Header->ReadFields();
}

void MainFilingWindow::ShowFields(const FieldView& view) {
    main_.Header->ShowFields(view);
}

void MainFilingWindow::ClearRecord() {
    main_.ClearRecord();
}

void MainFilingWindow::ShowTab(const std::string& pageName) {
    if (QWidget* page = main_.PageControl->findChild<QWidget*>(QString::fromStdString(pageName)))
        main_.PageControl->setCurrentWidget(page);
}

void MainFilingWindow::HideCommercial() {
    main_.HideCommercial();
}

void MainFilingWindow::LockControls(bool lock) {
    main_.LockControls(lock);
}

void MainFilingWindow::ShowNotMakeFolder(const std::string& folder) {
    if (main_.Windows() && main_.Windows()->NotMakeFolder)
        main_.Windows()->NotMakeFolder->ShowFolder(folder);
}

} // namespace pendlar
