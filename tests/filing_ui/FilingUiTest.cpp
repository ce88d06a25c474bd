// The road of one chart on the real main window, offscreen, with a scripted person: a cover
// sheet with the patient's QR code and three pages in the scanner folder, the patient's
// billing record in the database; 取込 → QR read → 確認 → 選択 → 保存, then 検索, 印刷, 消去.
#include "Station.h"

#include "app/MainUnit.h"
#include "qrcode/QRSymbolEncoder.h"
#include "record/ui/HeaderTabs.h"
#include "store/Database.h"
#include "store/IjiRecord.h"
#include "store/ProtectData.h"
#include "store/Query.h"
#include "store/ui/DBSearchUnit.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace pendlar::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKey = "ZxcvbnmasdfGhjklqwertYuiopzxcvbnMasdfghj";
constexpr int kModule = 5;
constexpr int kAt = 40; // the symbol's top-left corner on the cover sheet

// A cover sheet drawn from our own encoder: white paper, the symbol of `text` at (40, 40).
bool CoverSheet(const fs::path& png, const std::string& text) {
    const QRSymbol symbol = EncodeQRSymbol({.Data = text, .Version = 1, .Eclevel = 1});
    if (!symbol.Ok)
        return false;
    QImage page(400, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    for (int r = 0; r < symbol.Matrix.Side(); ++r)
        for (int c = 0; c < symbol.Matrix.Side(); ++c)
            if (symbol.Matrix.Dark(r, c))
                p.fillRect(kAt + c * kModule, kAt + r * kModule, kModule, kModule, Qt::black);
    p.end();
    return page.save(QString::fromStdString(png.string()));
}

bool Page(const fs::path& png, QColor paper) {
    QImage page(240, 340, QImage::Format_RGB32);
    page.fill(paper);
    return page.save(QString::fromStdString(png.string()));
}

// The SQL that puts an encrypted billing record of the patient into PDF_DATA.
std::string BillingRecordSql(long patient) {
    std::string plain = EmptyIjiRecord();
    auto set = [&](const char* name, const IjiValue& v) {
        EXPECT_TRUE(WriteIjiField(plain, *FindIjiField(name), v)) << name;
    };
    set("TargetYear", std::int32_t{2024});
    set("CreateDate", 45415.5);
    set("PName", SjisOf("佐藤 花子"));
    set("Psex", std::int32_t{1});
    const std::string blob = TProtectData(std::string(kKey)).Encrypt(plain);
    static const char* hex = "0123456789ABCDEF";
    std::string literal;
    for (unsigned char b : blob) {
        literal += hex[b >> 4];
        literal += hex[b & 15];
    }
    return "INSERT INTO PDF_DATA (KANJAID, IJIDATA) VALUES (" + std::to_string(patient) + ", X'" +
           literal + "');";
}

void DragFrame(QWidget* image, QPoint from, QPoint to) {
    QTest::mousePress(image, Qt::LeftButton, {}, from);
    const QPointF middle = QPointF(from + to) / 2;
    QMouseEvent move(QEvent::MouseMove, middle, image->mapToGlobal(middle), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(image, &move);
    QTest::mouseRelease(image, Qt::LeftButton, {}, to);
}

// PDF_PATH as stored: CARUTENO, CARUTESUBNO, CARUTEDATE, FILEPATH, INETPATH, FILENAME, KEY1.
std::vector<std::vector<std::string>> StoredRows(const std::string& databaseFile) {
    Database db;
    db.SetFileName(databaseFile);
    Query q(db);
    q.SQL = "SELECT * FROM PDF_PATH;";
    EXPECT_TRUE(q.Open()) << q.LastError();
    std::vector<std::vector<std::string>> rows;
    for (; q.Active() && !q.Eof(); q.Next()) {
        std::vector<std::string> row;
        for (const char* c :
             {"CARUTENO", "CARUTESUBNO", "CARUTEDATE", "FILEPATH", "INETPATH", "FILENAME", "KEY1"})
            row.push_back(SjisToUtf8(q.FieldText(c).value_or("?")));
        rows.push_back(row);
    }
    return rows;
}

TEST(FilingOnTheMainWindow, OneChartFromTheScannerToTheFolderTreeAndBack) {
    ::setenv("SOURCE_DATE_EPOCH", "1714727107", 1); // 2024-05-03 09:05:07
    Station st;
    const fs::path scan = st.Dir.Path() / "scan";
    const fs::path charts = st.Dir.Path() / "charts";
    fs::create_directories(scan);
    const std::string databaseFile = st.MakeDatabase(BillingRecordSql(1234567));
    WriteFile(fs::path(SjisToUtf8(DataFolder())) / "iji.key", std::string(kKey) + "\n");
    st.StoreSettings([&](TRegistory& s) {
        s.ScannerDir = st.Dir.Sjis("scan");
        s.Target = st.Dir.Sjis("charts");
        s.IdNoGet = 0;
        s.UseIryoData = true;
        s.HPCode = "1234";
        s.WriteInhibit = false;
        s.KeyWordUse = true;
        s.UseKeyLabel = {true, false, false, false, false, false, false, false};
        s.IjiItem = {1, 0, 0, 0, 0, 0, 0, 0}; // keyword 1 quotes the patient's name
    });
    ASSERT_TRUE(CoverSheet(scan / "s1.png", "1234567"));
    ASSERT_TRUE(Page(scan / "s2.png", QColor(200, 30, 30)));
    ASSERT_TRUE(Page(scan / "s3.png", QColor(30, 200, 30)));
    ASSERT_TRUE(Page(scan / "s4.png", QColor(30, 30, 200)));

    TMainForm& m = st.Start();
    ASSERT_TRUE(st.UI.Messages.empty()) << SjisToUtf8(st.UI.Messages[0].Text);

    // 取込, the QR frame around the symbol, the patient-check tab reads the number.
    m.ScannerOpenNew->click();
    m.PageControl->setCurrentWidget(m.QRwaku);
    QApplication::processEvents();
    QWidget* image3 = m.QRwaku->findChild<QWidget*>("Image3");
    ASSERT_NE(image3, nullptr);
    DragFrame(image3, {20, 20}, {200, 200});
    m.PageControl->setCurrentWidget(m.Kanjakakunin);
    QApplication::processEvents();
    ASSERT_EQ(m.IdEdit->text().toStdString(), "1234567");

    // 確認: the billing record fills the patient tab and the quoted keyword.
    m.PidBtn->click();
    EXPECT_TRUE(st.UI.Messages.empty()) << SjisToUtf8(st.UI.Messages[0].Text);
    EXPECT_EQ(m.PageControl->currentWidget(), m.KanjaKihon);
    EXPECT_EQ(static_cast<QLineEdit*>(m.Header->Control("PName"))->text().toStdString(),
              "佐藤 花子");
    EXPECT_EQ(m.Header->KeyBox[0]->currentText().toStdString(), "佐藤 花子");
    EXPECT_EQ(m.StatusPanel0->text().toStdString(), "対象年:2024");
    EXPECT_TRUE(m.SubNoBtn->isEnabled());

    // 選択 of sub number 0: a new chart.
    m.SubNoBtn->click();
    EXPECT_EQ(m.StatusMess1->text().toStdString(), "新規に作成します。");
    EXPECT_EQ(m.StatusMess3->text().toStdString(), "科別区分 0");
    ASSERT_TRUE(m.SaveButton->isEnabled());

    // 保存.
    m.SaveButton->click();
    ASSERT_EQ(st.UI.Messages.size(), 1u);
    EXPECT_EQ(SjisToUtf8(st.UI.Messages[0].Text), "保存しました。");
    EXPECT_EQ(st.UI.Messages[0].Icon, MsgIcon::Information);
    const std::string name = "HP1234_1234567_0_2024_5_3_0.pdf";
    const std::string path = (charts / "01/23/45/67" / name).string();
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(charts), {}), 5)
        << "four folders and the one chart";
    const auto rows = StoredRows(databaseFile);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1234567", "0", "2024/05/03 9:05:07", path, path,
                                                 name, "佐藤 花子"}));
    ASSERT_EQ(m.Logs.Save.Lines().size(), 1u);
    EXPECT_EQ(SjisToUtf8(m.Logs.Save.Lines()[0]), "7," + path + ",\"佐藤 花子\"");
    EXPECT_TRUE(fs::is_empty(scan));
    EXPECT_FALSE(m.SaveButton->isEnabled());
    EXPECT_TRUE(m.PrintBtn->isEnabled());

    // 検索 by number and by keyword, in the modeless search window.
    m.SearchBtn->click();
    TDBSearchForm* search = st.Windows->DBSearchForm;
    ASSERT_TRUE(WaitUntil([&] { return search->isVisible(); }));
    search->IdNoEdit->setText("1234567");
    search->IdNoSrButton->click();
    EXPECT_EQ(search->DBGrid1->rowCount(), 1);
    search->ComboBox[0]->setEditText(QString::fromUtf8("花子"));
    search->KeyButton->click();
    EXPECT_EQ(search->DBGrid1->rowCount(), 1);
    search->ComboBox[0]->setEditText(QString::fromUtf8("太郎"));
    search->KeyButton->click();
    EXPECT_EQ(search->DBGrid1->rowCount(), 0);
    search->close();

    // 印刷 hands the chart's path to the shell.
    m.PrintBtn->click();
    EXPECT_EQ(st.UI.ShellOpened, std::vector<std::string>{path});

    // 消去, both questions answered Yes: the file and the row go.
    st.UI.Messages.clear();
    m.EraseBtn->click();
    ASSERT_EQ(st.UI.Messages.size(), 2u);
    EXPECT_EQ(SjisToUtf8(st.UI.Messages[0].Text),
              "このファイルを消去しますか?\n患者番号 1234567 連番 0");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(StoredRows(databaseFile).empty());
    EXPECT_EQ(SjisToUtf8(m.Logs.Save.Lines().back()), path + " を消去しました。");
    EXPECT_FALSE(m.EraseBtn->isEnabled());
    EXPECT_FALSE(m.SubNoBtn->isEnabled());
    ::unsetenv("SOURCE_DATE_EPOCH");
}

} // namespace
} // namespace pendlar::test
