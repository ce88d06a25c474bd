// The scanner chooser: the SANE devices found, one to pick.
#pragma once

#include "intake/ScannerSource.h"

#include <QDialog>

#include <optional>
#include <vector>

class QListWidget;

namespace pendlar {

class ScannerChooser : public QDialog {
public:
    explicit ScannerChooser(QWidget* parent = nullptr);
    // Lists the devices (and shows the dialog); the chosen index, or nullopt.
    std::optional<int> Execute(const std::vector<ScannerDevice>& devices);
    void Fill(const std::vector<ScannerDevice>& devices);

    QListWidget* DeviceList;
};

} // namespace pendlar
