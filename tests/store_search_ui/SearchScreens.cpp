// Renders the search window with a few rows found, the search settings window and the
// folder warning to PNG files for a person to look at (run under Xvfb). The database and
// the word lists are made in OUTDIR.
#include "ScreenGrab.h"

#include "SearchTestSupport.h"

#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/ui/DBSearchUnit.h"
#include "store/ui/FileSetUnit.h"
#include "store/ui/NotMakeFolderUnit.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>

// Fontconfig and the desktop bus of the X server keep their caches until the process ends.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\n";
}

namespace {

using pendlar::test::SaveWidget;

using namespace pendlar;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: search_screens OUTDIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "db");
    std::filesystem::remove(out / "db" / "QuilmoCaruteDb.sqb");
    std::ofstream(out / "Key1.txt", std::ios::binary) << SjisOf("胃癌\r\n胃潰瘍\r\n肺炎\r\n");

    ChartDatabase db;
    db.CaruteDatabase.SetFileName(
        test::MakeSampleDatabase(FileNameToSjisPath((out / "db").string())));
    TRegistory settings;
    settings.KeyWordUse = true;
    settings.UseKeyLabel = {true, true, false, false, true, true, false, true};
    settings.KeyLabel = {SjisOf("病名"), SjisOf("メモ"), "", "",
                         SjisOf("数値"), SjisOf("記号"), "", SjisOf("八番")};
    ScriptedUserInterface ui;
    bool ok = true;

    TDBSearchForm search(nullptr, settings, db, ui, FileNameToSjisPath(out.string()));
    search.show();
    search.IdNoEdit->setText("1234567");
    search.IdNoSrButtonClick();
    ok &= SaveWidget(search, out / "search-by-number.png");
    search.ComboBox[0]->setEditText(Utf8Text("胃"));
    search.KeyButtonClick();
    ok &= SaveWidget(search, out / "search-by-keyword.png");
    search.ClearButtonClick();
    search.ComboBox[1]->setEditText(Utf8Text("該当しない"));
    search.KeyButtonClick();
    ok &= SaveWidget(search, out / "search-none.png");
    search.hide();
    settings.KeyWordUse = false;
    search.show();
    ok &= SaveWidget(search, out / "search-no-keywords.png");
    search.hide();

    TFileSetForm fileSet;
    settings.KeyWordUse = true;
    settings.IjiItem = {1, 0, 0, 0, 13, 27, 0, 9};
    fileSet.LoadFrom(settings);
    QTimer::singleShot(0, [&] {
        fileSet.LblCheck[2]->click();
        fileSet.OkButton->click(); // row 3 has no label: the window stays with its message
        ok &= SaveWidget(fileSet, out / "search-settings.png");
        fileSet.reject();
    });
    fileSet.exec();

    TNotMakeFolder folder;
    QTimer::singleShot(0, [&] {
        ok &= SaveWidget(folder, out / "not-make-folder.png");
        folder.OkButton->click();
    });
    folder.ShowFolder(SjisOf("/srv/カルテ/01/23/45/67"));
    return ok ? 0 : 1;
}
