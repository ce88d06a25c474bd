#include "MainWindowStation.h"

#include "app/MainUnit.h"
#include "util/Sjis.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace pendlar::test {

QImage SolidPage(QColor paper, int w, int h) {
    QImage page(w, h, QImage::Format_RGB32);
    page.fill(paper);
    QPainter p(&page);
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(w / 12, h / 12, w - w / 6, h - h / 6);
    return page;
}

bool SaveImage(const QImage& image, const std::filesystem::path& path) {
    return image.save(QString::fromStdString(path.string()));
}

MainWindowStation::MainWindowStation(const std::function<void(TRegistory&)>& settings) {
    Scan = Dir.Path() / "scan";
    std::filesystem::create_directories(Scan);
    MakeDatabase();
    StoreSettings([&](TRegistory& s) {
        s.ScannerDir = Dir.Sjis("scan");
        if (settings)
            settings(s);
    });
    Start();
    Main().resize(947, 828);
}

PageCheckView& MainWindowStation::View() {
    auto* view = Main().findChild<PageCheckView*>("ListView1");
    EXPECT_NE(view, nullptr);
    return *view;
}

QRFrameImage& MainWindowStation::Image3() {
    auto* image = Main().QRwaku->findChild<QRFrameImage*>();
    EXPECT_NE(image, nullptr);
    return *image;
}

std::string MainWindowStation::Status0() {
    return Main().StatusPanel0->text().toStdString();
}

std::string MainWindowStation::Status1() {
    return Main().StatusPanel1->text().toStdString();
}

void MainWindowStation::Page(const std::string& name, QColor paper) {
    ASSERT_TRUE(SaveImage(SolidPage(paper), Scan / name)) << name;
    std::erase_if(papers_, [&](const auto& p) { return p.first == name; });
    papers_.emplace_back(name, paper);
}

QImage MainWindowStation::ItemImage(int item) {
    QListWidget& view = View();
    return view.item(item)->icon().pixmap(view.iconSize()).toImage();
}

std::vector<std::string> MainWindowStation::Order() {
    std::vector<std::string> names;
    for (int i = 0; i < View().count(); ++i) {
        const QImage image = ItemImage(i);
        const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
        std::string best = "?";
        int bestDistance = std::numeric_limits<int>::max();
        for (const auto& [name, paper] : papers_) {
            const int d = std::abs(c.red() - paper.red()) + std::abs(c.green() - paper.green()) +
                          std::abs(c.blue() - paper.blue());
            if (d < bestDistance) {
                bestDistance = d;
                best = name;
            }
        }
        names.push_back(bestDistance < 40 ? best : "?");
    }
    return names;
}

std::vector<std::string> MainWindowStation::Captions() {
    std::vector<std::string> out;
    for (int i = 0; i < View().count(); ++i)
        out.push_back(View().item(i)->text().toStdString());
    return out;
}

void MainWindowStation::ClickItem(int item, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    QListWidget& view = View();
    const QPoint at = view.visualItemRect(view.item(item)).center();
    QTest::mouseClick(view.viewport(), button, keys, at);
}

void MainWindowStation::DragFrame(QPoint from, QPoint to) {
    QRFrameImage& image = Image3();
    QTest::mousePress(&image, Qt::LeftButton, {}, from);
    const QPointF middle = QPointF(from + to) / 2;
    QMouseEvent move(QEvent::MouseMove, middle, image.mapToGlobal(middle), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&image, &move);
    QTest::mouseRelease(&image, Qt::LeftButton, {}, to);
}

void MainWindowStation::ShowTab(QWidget* tab) {
    Main().PageControl->setCurrentWidget(tab);
    QApplication::processEvents();
}

void AnswerFileDialog(const std::vector<std::string>& names, std::string* shownFolder) {
    OnNextModal([names, shownFolder](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog) {
            ADD_FAILURE() << "expected a file dialog, got " << w->metaObject()->className();
            w->close();
            return;
        }
        if (shownFolder)
            *shownFolder = dialog->directory().absolutePath().toStdString();
        if (names.empty()) {
            dialog->reject();
            return;
        }
        QString typed;
        for (const std::string& name : names)
            typed += "\"" + QString::fromStdString(name) + "\" ";
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(typed.trimmed());
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the names
    });
}

} // namespace pendlar::test
