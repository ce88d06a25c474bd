// The program entry: sets up Qt in Japanese, creates every window once and runs the
// event loop until the main window closes.
#include "app/AppWindows.h"
#include "app/ApplicationSetup.h"
#include "app/MainUnit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    std::string error;
    if (!pendlar::TakeProfileOption(argc, argv, error)) {
        std::fprintf(stderr, "pendlar: %s\nusage: pendlar [--profile DIR]\n", error.c_str());
        return 2;
    }
    QApplication app(argc, argv);
    pendlar::SetUpApplication(app);
    // The hidden secondary windows must not keep the program alive, nor may a closed
    // dialog end it: the main window's close ends the loop.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<pendlar::ApplicationWindows> windows = pendlar::CreateApplicationWindows();
    windows->MainForm->OnClosed = [] { QCoreApplication::quit(); };
    windows->MainForm->show();
    return app.exec();
}
