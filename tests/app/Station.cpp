#include "Station.h"

#include "app/ApplicationSetup.h"
#include "store/Database.h"
#include "store/NewChartDatabase.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace pendlar::test {

void EnsureApplication() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    SetUpApplication(*app);
    QApplication::setQuitOnLastWindowClosed(false);
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

namespace {
std::vector<QTimer*> g_pending;
}

void CancelModalActions() {
    for (QTimer* timer : g_pending)
        delete timer;
    g_pending.clear();
}

void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(QCoreApplication::instance());
    g_pending.push_back(timer);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        std::erase(g_pending, timer);
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

Station::Station() {
    EnsureApplication();
    SetProfileDir(Dir.Path().string());
    // The folder defaults follow the home folder: give each station its own.
    if (const char* home = std::getenv("HOME"))
        savedHome_ = home;
    std::filesystem::create_directories(Dir.Path() / "home");
    setenv("HOME", (Dir.Path() / "home").c_str(), 1);
}

Station::~Station() {
    CancelModalActions();
    Windows.reset();
    SetProfileDir("");
    if (savedHome_)
        setenv("HOME", savedHome_->c_str(), 1);
    else
        unsetenv("HOME");
}

void Station::StoreSettings(const std::function<void(TRegistory&)>& change) {
    TRegistory settings;
    settings.LoadSettings();
    change(settings);
    settings.SaveSettings();
}

TRegistory Station::StoredSettings() const {
    TRegistory settings;
    settings.LoadSettings();
    return settings;
}

std::string Station::MakeDatabase(const std::string& sqlAfter) {
    std::filesystem::create_directories(Dir.Path() / "db");
    NewDatabaseResult result = CreateChartDatabase(Dir.Sjis("db"));
    EXPECT_TRUE(result.Ok) << SjisToUtf8(result.Message);
    if (!sqlAfter.empty()) {
        Database db;
        db.SetFileName(result.Path);
        EXPECT_TRUE(db.Execute(sqlAfter)) << db.LastError();
    }
    StoreSettings([&](TRegistory& s) { s.DatabasePath = result.Path; });
    return result.Path;
}

TMainForm& Station::Create() {
    if (!Windows)
        Windows = CreateApplicationWindows(&UI);
    return Main();
}

TMainForm& Station::Start() {
    TMainForm& main = Create();
    main.show();
    EXPECT_TRUE(WaitUntil([&] { return main.StartupDone(); }));
    return main;
}

std::vector<std::string> Station::ErrorLog() {
    std::vector<std::string> lines;
    for (const std::string& line : Main().Logs.Error.Lines())
        lines.push_back(SjisToUtf8(line));
    return lines;
}

} // namespace pendlar::test
