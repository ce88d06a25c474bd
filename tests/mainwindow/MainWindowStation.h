// The real main window on a scanner folder of generated pages, and what a test reads off it:
// the thumbnail view, the QR-frame image, the status panels and the dialogs it opens.
#pragma once

#include "Station.h"

#include "intake/ui/PageCheckView.h"
#include "intake/ui/QRFrameImage.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QFileDialog;

namespace pendlar::test {

// A page of w × h filled with `paper`, a dark frame and its number written large, so that
// its thumbnail can be told apart by the colour at its centre.
QImage SolidPage(QColor paper, int w = 240, int h = 340);
bool SaveImage(const QImage& image, const std::filesystem::path& path);

class MainWindowStation : public Station {
public:
    // A database, the scanner folder "scan" and `settings`, then the start-up.
    explicit MainWindowStation(const std::function<void(TRegistory&)>& settings = {});

    std::filesystem::path Scan;

    PageCheckView& View();
    QRFrameImage& Image3();
    std::string Status0();
    std::string Status1();

    // Writes a page of the given paper colour into the scanner folder.
    void Page(const std::string& name, QColor paper);
    // The paper colours of the view's items, in view order, as the names given to Page().
    std::vector<std::string> Order();
    // The item's picture as the view shows it.
    QImage ItemImage(int item);
    std::vector<std::string> Captions();

    // Mouse on the view: a click on item `item` with `button` and `keys`.
    void ClickItem(int item, Qt::MouseButton button, Qt::KeyboardModifiers keys = {});
    // A frame dragged on Image3 from `from` over the middle to `to`.
    void DragFrame(QPoint from, QPoint to);
    void ShowTab(QWidget* tab);

private:
    std::vector<std::pair<std::string, QColor>> papers_;
};

// Answers the next file dialog: selects `names` (quoted, in this order, relative to the
// folder the dialog shows) and accepts; an empty list cancels. `shownFolder` receives the
// folder the dialog opened in.
void AnswerFileDialog(const std::vector<std::string>& names, std::string* shownFolder = nullptr);

} // namespace pendlar::test
