#include "intake/ui/ScannerChooser.h"

#include "util/ui/QtText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendlar {

ScannerChooser::ScannerChooser(QWidget* parent) : QDialog(parent) {
    setObjectName("ScannerChooser");
    setWindowTitle(Utf8Text("Ｔｗａｉｎ装置選択"));
    auto* layout = new QVBoxLayout(this);
    DeviceList = new QListWidget;
    DeviceList->setObjectName("DeviceList");
    DeviceList->setMinimumWidth(380);
    layout->addWidget(DeviceList);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(DeviceList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

void ScannerChooser::Fill(const std::vector<ScannerDevice>& devices) {
    DeviceList->clear();
    for (const auto& d : devices)
        DeviceList->addItem(QString::fromStdString(d.Vendor + " " + d.Model + " (" + d.Name + ")"));
    if (!devices.empty())
        DeviceList->setCurrentRow(0);
}

std::optional<int> ScannerChooser::Execute(const std::vector<ScannerDevice>& devices) {
    Fill(devices);
    if (exec() != QDialog::Accepted || DeviceList->currentRow() < 0)
        return std::nullopt;
    return DeviceList->currentRow();
}

} // namespace pendlar
