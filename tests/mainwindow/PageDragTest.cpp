// Pages reordered by a real drag and drop on the main window's thumbnail view. A drag needs
// a real window system (Qt's offscreen platform ends every drag at once), so this test runs
// under Xvfb with the xcb platform, and xdotool moves the X pointer as a hand would.
#include "MainWindowStation.h"

#include "app/ApplicationSetup.h"
#include "app/MainUnit.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>

// Fontconfig keeps its caches, and the xcb platform's D-Bus connection its buffers, until
// the process ends without freeing them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus-1\n";
}

namespace pendlar {
namespace {

using test::MainWindowStation;
using Names = std::vector<std::string>;

const QColor kPapers[] = {{200, 60, 60}, {60, 170, 60}, {60, 80, 200}, {220, 200, 40}};
const char* const kNames[] = {"A.png", "B.png", "C.png", "D.png"};

bool CanDrag() {
    return std::getenv("DISPLAY") && QGuiApplication::platformName() == "xcb" &&
           test::HaveProgram("xdotool");
}

// Drags from one point of the screen to another with the X pointer.
bool DragOnScreen(QPoint from, QPoint to) {
    auto at = [](QPoint p) { return QString("mousemove %1 %2 sleep 0.15 ").arg(p.x()).arg(p.y()); };
    const QPoint away = from + QPoint(12, 8);
    const QString script = at(from) + "mousedown 1 sleep 0.15 " + at(away) + at(to) +
                           at(to + QPoint(2, 1)) + at(to) + "mouseup 1 sleep 0.2";
    QProcess xdotool;
    xdotool.start("xdotool", QProcess::splitCommand(script));
    if (!xdotool.waitForStarted())
        return false;
    // The drag runs its own loop inside a mouse handler; events must flow meanwhile.
    return test::WaitUntil([&] { return xdotool.state() == QProcess::NotRunning; }, 10000) &&
           xdotool.exitCode() == 0;
}

TEST(MainWindowPageDrag, DropRulesOnTheRealView) {
    if (!CanDrag())
        GTEST_SKIP() << "needs an X display (xvfb-run), the xcb platform and xdotool";
    struct Case {
        int Dragged;
        int Target; // -1: empty space
        Names Order;
    } cases[] = {
        {0, 2, {"B.png", "A.png", "C.png", "D.png"}},  // A onto C
        {3, 1, {"A.png", "D.png", "B.png", "C.png"}},  // D onto B
        {1, -1, {"A.png", "C.png", "D.png", "B.png"}}, // B onto empty space
        {2, 2, {"A.png", "B.png", "C.png", "D.png"}},  // C onto itself
    };
    MainWindowStation st;
    TMainForm& m = st.Main();
    m.move(0, 0);
    m.raise();
    m.activateWindow();
    for (int i = 0; i < 4; ++i)
        st.Page(kNames[i], kPapers[i]);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kNames[c.Dragged]) + " onto " +
                     (c.Target < 0 ? "empty space" : kNames[c.Target]));
        m.ScannerOpenNew->click();
        ASSERT_EQ(st.Order(), (Names{"A.png", "B.png", "C.png", "D.png"}));
        PageCheckView& view = st.View();
        test::WaitUntil([] { return false; }, 300);
        auto centre = [&](int item) {
            return view.viewport()->mapToGlobal(view.visualItemRect(view.item(item)).center());
        };
        const QPoint empty = view.viewport()->mapToGlobal(
            QPoint(view.viewport()->width() / 2, view.viewport()->height() - 20));
        ASSERT_TRUE(DragOnScreen(centre(c.Dragged), c.Target < 0 ? empty : centre(c.Target)));
        test::WaitUntil([] { return false; }, 200);
        EXPECT_EQ(st.Order(), c.Order);
        EXPECT_EQ(view.count(), 4);
    }
}

} // namespace
} // namespace pendlar

int main(int argc, char** argv) {
    // The xcb platform when a display is there; Station would otherwise start offscreen.
    if (std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    pendlar::SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
