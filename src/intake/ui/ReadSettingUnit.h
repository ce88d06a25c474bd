// The intake settings dialog ("読込設定"): scanner folder, page types, order, the source of
// the patient number and the thumbnail size.
#pragma once

#include "intake/ReadSettings.h"

#include <QDialog>

class QCheckBox;
class QFileSystemModel;
class QLineEdit;
class QSpinBox;
class QStatusBar;
class QTreeView;

namespace pendlar {

class RadioGroup;

class TReadSet : public QDialog {
public:
    explicit TReadSet(QWidget* parent = nullptr);

    // Fills the controls from `values`, shows the dialog and, on "設定", writes every
    // control back. True when confirmed.
    bool Execute(ReadSettings& values);

    // The controls copied from and into the values (used by Execute and by tests).
    void Load(const ReadSettings& values);
    void Store(ReadSettings& values) const;

    QTreeView* ShellTreeView1;
    QFileSystemModel* FolderModel;
    QLineEdit* ScanPathDisp;
    QCheckBox *JpegBox, *TiffBox, *BitmapBox, *PngBox, *DicomBox, *DicomTextBox;
    RadioGroup* order;
    RadioGroup* IdGetRadio;
    QSpinBox *QRSpin, *PosSpin, *SizeSpin;
    RadioGroup* ImSizeRadio;
    QCheckBox* ThumbCheck;
    QCheckBox* UseIryoJyoho;
    QStatusBar* StatusBar1;

private:
    void SelectFolder(const QString& folder);
    QString SelectedFolder() const;
    void IdGetRadioClick();
    void DicomBoxClick();
};

} // namespace pendlar
