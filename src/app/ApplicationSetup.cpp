#include "app/ApplicationSetup.h"

#include "util/Profile.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace pendlar {

void SetUpApplication(QApplication& app) {
    QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto* translator = new QTranslator(&app);
    if (translator->load(japanese, "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QFont font(kJapaneseFontFamily);
    font.setPointSize(10);
    QApplication::setFont(font);
    QApplication::setApplicationName("Quilmo Pendlar");
}

bool TakeProfileOption(int& argc, char** argv, std::string& error) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--profile") == 0) {
            if (i + 1 >= argc) {
                error = "--profile needs a folder";
                return false;
            }
            SetProfileDir(argv[++i]);
        } else if (std::strncmp(arg, "--profile=", 10) == 0) {
            if (arg[10] == '\0') {
                error = "--profile needs a folder";
                return false;
            }
            SetProfileDir(arg + 10);
        } else {
            argv[out++] = argv[i];
        }
    }
    argc = out;
    argv[argc] = nullptr;
    return true;
}

} // namespace pendlar
