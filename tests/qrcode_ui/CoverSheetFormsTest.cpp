// The cover-sheet windows: the designer with its property, page and test-data windows, the
// printer density window and the patient-list window.
#include "TempDir.h"
#include "qrcode/CoverSheetGeometry.h"
#include "qrcode/ui/CoverSheetFont.h"
#include "qrcode/ui/FaceUnit.h"
#include "qrcode/ui/PrintExecUnit.h"
#include "qrcode/ui/PrintFormatUnit.h"
#include "qrcode/ui/PrintPanelSetUnit.h"
#include "qrcode/ui/PrintSetUnit.h"
#include "qrcode/ui/QRCode.h"
#include "qrcode/ui/QRImagePropertyUnit.h"
#include "qrcode/ui/TestDataUnit.h"
#include "qrcode/ui/TextPropertyUnit.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace pendlar {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Designer {
    TRegistory Settings;
    ScriptedUserInterface Ui;
    TPrintFormatForm Form{nullptr, Settings, Ui};
    // What the next modal window does before it closes; it closes with its result.
    std::function<int(QDialog&)> Next = [](QDialog&) { return int(QDialog::Rejected); };

    Designer() {
        Form.Modal = [this](QDialog& d) { return Next(d); };
        Form.FormShow();
    }
};

TEST(TPrintFormatForm, OpensWithTheStoredLayout) {
    Designer d;
    const auto records = CoverItemRecords(d.Settings);
    for (int i = 0; i < kCoverItemCount; ++i) {
        EXPECT_EQ(d.Form.Items[static_cast<std::size_t>(i)]->pos(),
                  QPoint(records[static_cast<std::size_t>(i)]->Left,
                         records[static_cast<std::size_t>(i)]->Top));
        EXPECT_EQ(d.Form.Items[static_cast<std::size_t>(i)]->text(),
                  U(CoverItemSamples()[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(d.Form.PagePanel->size(), QSize(610, 891));
    EXPECT_EQ(d.Form.QRImage->geometry(), QRect(64, 72, 121, 121));
    EXPECT_TRUE(d.Form.QRImage->SymbolDisped());
    EXPECT_EQ(d.Form.QRImage->Code(), "99999999");
    EXPECT_EQ(d.Form.QRImage->Pxmag(), 2);
    EXPECT_EQ(d.Form.QRImage->Picture().size(), QSize(121, 121));
    EXPECT_TRUE(d.Form.StatusPanel->text().isEmpty());
    // The stored Windows font is not installed here: a Japanese font stands in for it.
    const QString family = d.Form.LabelIDNo->font().family();
    EXPECT_EQ(family, InstalledJapaneseFamily(U("ＭＳ Ｐゴシック")));
    EXPECT_NE(family, U("ＭＳ Ｐゴシック"));
}

TEST(TPrintFormatForm, DraggingAndPropertyWindowsReachTheSettingsOnClose) {
    Designer d;
    // Drag the name caption by (+30, -5); a move without a press does nothing.
    d.Form.ItemMouseMove(1, QPoint(50, 50));
    d.Form.ItemMouseDown(1, Qt::LeftButton, QPoint(4, 6));
    d.Form.ItemMouseMove(1, QPoint(34, 1));
    d.Form.ItemMouseUp(1, Qt::LeftButton);
    d.Form.ItemMouseMove(1, QPoint(90, 90));
    const TCoverItemRecord before = d.Settings.lblName;
    EXPECT_EQ(d.Form.LabelName->pos(), QPoint(before.Left + 30, before.Top - 5));

    // The right button opens the text item's window: print flag off, a new font.
    d.Next = [](QDialog& dialog) {
        auto& w = dynamic_cast<TTxtAtrForm&>(dialog);
        w.PrintCheck->setChecked(false);
        w.TopEdit->setValue(300);
        QFont font(U("Noto Sans CJK JP"));
        font.setFamily(U("とても長い書体の名前とても長い書体の名前"));
        font.setPointSize(14);
        font.setBold(true);
        w.ChooseFont(font);
        return int(QDialog::Accepted);
    };
    d.Form.ItemMouseUp(6, Qt::RightButton);
    // The symbol's window closed without a change keeps the module size.
    d.Next = [](QDialog& dialog) { return dynamic_cast<TQRimgAtrForm&>(dialog).result(); };
    d.Form.ItemMouseUp(10, Qt::RightButton);
    EXPECT_EQ(d.Form.QRImage->Pxmag(), 2);

    d.Form.FormClose();
    EXPECT_EQ(d.Settings.lblName.Left, before.Left + 30);
    EXPECT_EQ(d.Settings.lblName.Top, before.Top - 5);
    EXPECT_EQ(d.Settings.lblName.FontName, before.FontName); // never changed: kept as stored
    const TCoverItemRecord& idno = d.Settings.labelName;
    EXPECT_EQ(idno.Print, 0);
    EXPECT_EQ(idno.Top, 300);
    EXPECT_EQ(idno.Size, 14);
    EXPECT_EQ(idno.Style, 1);
    // 40 bytes of name, cut to 30 at a character boundary.
    EXPECT_EQ(SjisToUtf8(idno.FontName), "とても長い書体の名前とても長い");
    EXPECT_EQ(d.Settings.QRCodeImage, TQRPositionRecord{});
}

// The symbol's window offers module sizes 2 to 100; the status bar says when the symbol
// cannot be used with the size chosen: cut off by its area, or a size it does not take.
TEST(TPrintFormatForm, QRWindowModuleSizes) {
    struct Case {
        int Size;
        int Pxmag; // what the symbol uses afterwards
        bool Refused;
    };
    const Case cases[] = {{3, 3, false},  {4, 4, false}, {5, 5, true},  {10, 10, true},
                          {20, 10, true}, {4, 4, false}, {100, 4, true}};
    Designer d;
    for (const Case& c : cases) {
        d.Next = [&](QDialog& dialog) {
            dynamic_cast<TQRimgAtrForm&>(dialog).SizeEdit->setValue(c.Size);
            return int(QDialog::Accepted);
        };
        d.Form.ItemMouseUp(10, Qt::RightButton);
        EXPECT_EQ(d.Form.QRImage->Pxmag(), c.Pxmag) << c.Size;
        EXPECT_EQ(d.Form.StatusPanel->text(), c.Refused ? U("*** QRCodeの使用はできません。") : "")
            << c.Size;
    }
}

TEST(TPrintFormatForm, PanelSettings) {
    Designer d;
    TPrintPanelSetForm panel;
    d.Form.SetWindows(nullptr, nullptr, &panel, nullptr, nullptr);
    std::vector<QString> errors;
    d.Next = [&](QDialog&) {
        EXPECT_EQ(panel.DensityEdit->text(), U("  76.2"));
        EXPECT_EQ(panel.PaperSelect->currentIndex(), -1);
        panel.PaperSelectChange(3); // Ａ３ 横
        EXPECT_EQ(panel.PaperSelect->itemText(3), U("Ａ３ 横"));
        EXPECT_EQ(panel.HeightEdit->text(), "891");
        EXPECT_EQ(panel.WidthEdit->text(), "1260");
        for (const char* bad : {"40", "abc", "12.5"}) {
            panel.WidthEdit->setText(bad);
            panel.SizeBtnClick();
            errors.push_back(panel.ErrorText->text());
        }
        panel.WidthEdit->setText("1260");
        panel.HeightEdit->setText("99");
        panel.SizeBtnClick();
        errors.push_back(panel.ErrorText->text());
        panel.HeightEdit->setText("891");
        panel.DensityEdit->setText("9.9");
        panel.SizeBtnClick();
        errors.push_back(panel.ErrorText->text());
        EXPECT_EQ(panel.result(), QDialog::Rejected); // still open
        panel.DensityEdit->setText("76.2");
        panel.SizeBtnClick();
        return panel.result();
    };
    d.Form.PanelSetClick();
    EXPECT_EQ(errors, (std::vector<QString>{U("横サイズ？"), U("横サイズ？"), U("横サイズ？"),
                                            U("縦サイズ？"), U("表示密度？")}));
    EXPECT_EQ(d.Settings.PageWidth, 1260);
    EXPECT_EQ(d.Settings.PageHeight, 891);
    EXPECT_EQ(d.Form.PagePanel->size(), QSize(1260, 891));
}

TEST(TPrintFormatForm, TestData) {
    Designer d;
    TTestDataForm data;
    d.Form.SetWindows(nullptr, nullptr, nullptr, &data, nullptr);
    d.Next = [&](QDialog&) {
        EXPECT_TRUE(data.IdNoEdit->text().isEmpty());
        for (const char* refused : {"0", "100000000", "12a", ""}) {
            data.IdNoEdit->setText(refused);
            data.OkBtnClick();
            EXPECT_EQ(data.ErrorLbl->text(), U("患者番号に誤りがあります。")) << refused;
            EXPECT_EQ(data.result(), QDialog::Rejected);
        }
        data.IdNoEdit->setText("00123");
        data.NameEdit->setText(U("山田　花子"));
        data.SexEdit->setText(U("女性"));
        data.OkBtnClick();
        return data.result();
    };
    d.Form.TestDataInputClick();
    EXPECT_EQ(d.Form.IDNoLabel->text(), "00123");
    EXPECT_EQ(d.Form.NameLabel->text(), U("山田　花子"));
    EXPECT_EQ(d.Form.SexLabel->text(), U("女性"));
    EXPECT_TRUE(d.Form.BirthLabel->text().isEmpty());
    EXPECT_EQ(d.Form.QRImage->Code(), "123");
    EXPECT_TRUE(d.Form.QRImage->SymbolDisped());
}

TEST(TPrintFormatForm, BatchPrintingAndTestPrint) {
    test::TempDir dir;
    Designer d;
    std::vector<std::string> lines;
    for (int i = 1; i <= 10; ++i)
        lines.push_back(std::to_string(1000 + i) + "," + SjisOf("氏名") + std::to_string(i));
    d.Form.SetPrintLines(&lines);
    TPrintExecForm exec;
    d.Form.SetWindows(nullptr, nullptr, nullptr, nullptr, &exec);
    const auto pdf = dir.Path() / "batch.pdf";
    d.Form.Printer().setOutputFormat(QPrinter::PdfFormat);
    d.Form.Printer().setOutputFileName(QString::fromStdString(pdf.string()));

    auto pages = [&] {
        std::string out;
        test::RunCommand("pdfinfo '" + pdf.string() + "' | sed -n 's/^Pages: *//p'", &out);
        return out;
    };
    // Lines 5 to 3 are refused; 3 to 5 give three pages.
    for (auto [start, end] : {std::pair{5, 3}, std::pair{3, 5}}) {
        d.Next = [&, start = start, end = end](QDialog&) {
            EXPECT_EQ(exec.StartEdit->maximum(), 10);
            EXPECT_FALSE(exec.StartEdit->isEnabled());
            exec.RangeRadio->setChecked(true);
            EXPECT_TRUE(exec.StartEdit->isEnabled());
            exec.StartEdit->setValue(start);
            exec.EndEdit->setValue(end);
            return int(QDialog::Accepted);
        };
        d.Form.PrintExecMenuClick();
    }
    EXPECT_EQ(pages(), "3\n");
    EXPECT_TRUE(d.Form.StatusPanel->text().isEmpty());
    EXPECT_EQ(d.Form.IDNoLabel->text(), "1005"); // the last printed patient
    EXPECT_EQ(d.Form.NameLabel->text(), U("氏名5"));
    EXPECT_EQ(d.Form.QRImage->Code(), "1005");

    d.Next = [&](QDialog&) {
        exec.OneRadio->setChecked(true);
        exec.LineEdit->setValue(7);
        return int(QDialog::Accepted);
    };
    d.Form.PrintExecMenuClick();
    EXPECT_EQ(pages(), "1\n");
    EXPECT_EQ(d.Form.QRImage->Code(), "1007");

    d.Form.TestPrintClick();
    EXPECT_EQ(pages(), "1\n");
    // Printing never moves the layout.
    d.Form.FormClose();
    EXPECT_EQ(d.Settings.labelIdno, TRegistory().labelIdno);
}

TEST(TPrintFormatForm, RangeErrorIsShown) {
    Designer d;
    std::vector<std::string> lines{"1", "2"};
    d.Form.SetPrintLines(&lines);
    TPrintExecForm exec;
    d.Form.SetWindows(nullptr, nullptr, nullptr, nullptr, &exec);
    d.Next = [&](QDialog&) {
        exec.RangeRadio->setChecked(true);
        exec.StartEdit->setValue(2);
        exec.EndEdit->setValue(1);
        return int(QDialog::Accepted);
    };
    d.Form.PrintExecMenuClick();
    EXPECT_EQ(d.Form.StatusPanel->text(), U("範囲指定に誤りがあります。"));
}

TEST(TPrintSetForm, DensityIsCheckedBeforeItIsTaken) {
    TRegistory settings;
    ScriptedUserInterface ui;
    TFaceForm face(nullptr, settings, ui);
    TPrintSetForm set;
    face.SetWindows(nullptr, &set);
    face.Modal = [&](QDialog&) {
        EXPECT_EQ(set.DencityEdit->text(), U(" 600.0"));
        for (const char* bad : {"9.5", "abc", "", "100000"}) {
            set.DencityEdit->setText(bad);
            set.SetBtnClick();
            EXPECT_EQ(set.ErrorText->text(), U("印刷密度？")) << bad;
            EXPECT_EQ(set.result(), QDialog::Rejected);
        }
        return int(QDialog::Rejected); // closed another way
    };
    face.PrintSetMenuClick();
    EXPECT_EQ(settings.PrintDensity, 600.0);
    face.Modal = [&](QDialog&) {
        set.DencityEdit->setText(" 300.5 ");
        set.SetBtnClick();
        return set.result();
    };
    face.PrintSetMenuClick();
    EXPECT_EQ(settings.PrintDensity, 300.5);
}

TEST(TFaceForm, LoadsAListAndShowsItsFaults) {
    test::TempDir dir;
    std::string list;
    for (int i = 1; i <= 8; ++i)
        list +=
            i == 7 ? std::string("\r\n") : std::to_string(i) + ",name" + std::to_string(i) + "\r\n";
    list.replace(list.find("3,name3"), 7, "abc,name3");
    test::WriteFile(dir.Path() / "list.txt", list);
    TRegistory settings;
    ScriptedUserInterface ui;
    TFaceForm face(nullptr, settings, ui);
    TPrintFormatForm designer(nullptr, settings, ui);
    face.SetWindows(&designer, nullptr);

    ui.FileAnswers.push_back(std::nullopt);
    face.FileOpenMenuClick();
    EXPECT_EQ(face.StatusPanel1->text(), U("ＣＳＶファイルのオープンをキャンセルしました。"));
    ASSERT_EQ(ui.FileDialogs.size(), 1u);
    EXPECT_EQ(SjisToUtf8(ui.FileDialogs[0].Filter), "CSVファイル|*.txt");
    EXPECT_EQ(ui.FileDialogs[0].InitialDir, settings.CsvFolder);

    ui.FileAnswers.push_back(dir.Sjis("list.txt"));
    face.FileOpenMenuClick();
    EXPECT_EQ(face.Memo1->toPlainText(),
              U("1 : 1,name1\n2 : 2,name2\n3 : abc,name3\n"
                " *** ERROR *** : ＩＤＮｏの取得に失敗しました\n---------------\n"
                "4 : 4,name4\n5 : 5,name5\n6 : 6,name6\n7 : \n"
                " *** ERROR *** : データ行が空です。\n---------------\n8 : 8,name8"));
    EXPECT_EQ(face.StatusPanel0->text(), U("件数 8"));
    EXPECT_EQ(face.StatusPanel1->text(), U("読み込みを完了しました。"));
    EXPECT_FALSE(face.Printable());
    EXPECT_EQ(settings.CsvFolder, dir.Sjis() + "/");

    // The designer opens with its print menu off for a faulty list, on for a clean one.
    bool printEnabled = true;
    face.Modal = [&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &designer);
        printEnabled = designer.FileNemu->isEnabled();
        return int(QDialog::Rejected);
    };
    face.FormatMenuClick();
    EXPECT_FALSE(printEnabled);
    test::WriteFile(dir.Path() / "good.txt", "1\r\n2,name\r\n");
    face.LoadList(dir.Sjis("good.txt"));
    EXPECT_TRUE(face.Printable());
    face.FormatMenuClick();
    EXPECT_TRUE(printEnabled);
    face.FormShow(); // reopening asks for a fresh load
    EXPECT_FALSE(face.Printable());
    EXPECT_EQ(face.Lines().size(), 2u);

    test::WriteFile(dir.Path() / "empty.txt", "");
    face.LoadList(dir.Sjis("empty.txt"));
    EXPECT_EQ(face.StatusPanel1->text(), U("ファイルにはデータがありません。"));
    face.LoadList(dir.Sjis("missing.txt"));
    EXPECT_EQ(face.StatusPanel1->text(), U("ファイル読み込みでエラーが発生しました。"));

    // A list that cannot be read leaves nothing printable, not the list loaded before it,
    // and an empty one likewise.
    for (const char* bad : {"missing.txt", "empty.txt"}) {
        face.LoadList(dir.Sjis("good.txt"));
        ASSERT_TRUE(face.Printable());
        face.LoadList(dir.Sjis(bad));
        EXPECT_FALSE(face.Printable()) << bad;
        face.FormatMenuClick();
        EXPECT_FALSE(printEnabled) << bad;
    }
}

} // namespace
} // namespace pendlar
