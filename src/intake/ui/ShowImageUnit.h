// The page editor "ページ編集": one page of the page list at full resolution, marked up
// with pen, eraser, lines, ellipses, rectangles and comment stamps, turned by 90° or 180°,
// and saved back over its page file; and the page's bookmark title and note lines.
//
// The page check list calls EditPage, which shows the window modally and returns what the
// page list takes back. Every opening starts from the page file on disk; a page that cannot
// be loaded is said so in the status bar and offers no drawing and no saving, so an image
// left from an earlier opening can never be written over another page.
#pragma once

#include "util/Bitmap.h"
#include "util/UserInterface.h"

#include <QColor>
#include <QCursor>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace pendlar {

// What the page list takes back when the editor closes.
struct EditorResult {
    // The bookmark text, at most 16 bytes of Shift-JIS, cut before a character that
    // would be split.
    std::string Bookmark;
    // The lines of the note area. Empty when the area was empty: the page's notes are
    // then to be left as they are.
    std::vector<std::string> Notes;
    int ZoomStep = 3;
    // The page file was saved during this opening (its thumbnail needs redrawing).
    bool Rewritten = false;
};

class TImageShow : public QDialog {
public:
    static constexpr int kZoomSteps = 11;
    static constexpr double kZoom[kZoomSteps] = {0.17, 0.25, 0.35, 0.5, 0.7, 1.0,
                                                 1.4,  2.0,  2.8,  4.0, 5.64};
    enum Tool { NoTool = -1, Pen, Eraser, Line, Ellipse, Rectangle, Spoit, Text };

    explicit TImageShow(UserInterface& ui, QWidget* parent = nullptr);
    ~TImageShow() override;

    // Opens `sjisPath` with the given bookmark text (`caption`), note lines and zoom step
    // (clamped into 0..10), shows the window modally and returns the results.
    EditorResult EditPage(const std::string& sjisPath, const std::string& caption,
                          const std::vector<std::string>& notes, int zoomStep);

    // The two halves of EditPage, for a caller that shows the window itself.
    void Open(const std::string& sjisPath, const std::string& caption,
              const std::vector<std::string>& notes, int zoomStep);
    EditorResult Result() const;

    // The ready-made comments (Comment.txt) and bookmark titles (Shiori.txt), Shift-JIS;
    // loaded at start-up and written back at shutdown by the main window. The boxes show
    // them and "登録" appends to them.
    std::vector<std::string> CommentList;
    std::vector<std::string> ShioriList;

    // Handlers.
    void ZoomInBtnClick();
    void ZoomOutBtnClick();
    void ChooseTool(Tool tool);
    void StrSetBtnClick();
    void DotSizeBoxChange(int index);
    void ColorBtnClick();
    void StrPropertyBtnClick();
    void RotLeftBtnClick();
    void RotRieghtBtnClick();
    void UpDownBtnClick();
    void UndoBtnClick();
    void SaveClick();
    void EditMenuPopup();
    void ShioriAddClick();
    void ShioriPasteClick();
    void CommentAddClick();
    void CommentPasteClick();
    void Image1MouseDown(Qt::MouseButton button, QPoint pos);
    void Image1MouseMove(QPoint pos);
    void Image1MouseUp(Qt::MouseButton button, QPoint pos);

    // State, for the caller and for tests.
    bool PageLoaded() const { return loaded_; }
    const QImage& WorkingImage() const { return working_; }
    const QImage& DisplayImage() const { return display_; }
    int ZoomStep() const { return zoomStep_; }
    double ZoomFactor() const { return kZoom[zoomStep_]; }
    Tool CurrentTool() const { return tool_; }
    QColor CurrentColor() const { return colour_; }
    int LineWidth() const { return lineWidth_; }
    const QFont& TextFont() const { return textFont_; }
    void SetCurrentColor(const QColor& c);
    void SetTextFont(const QFont& f);
    // The tool cursors, numbers 100 (pen) to 106 (text).
    QCursor ToolCursor(int number) const;

    // Controls.
    QToolButton* ZoomInBtn;
    QToolButton* ZoomOutBtn;
    QToolButton* PenBtn;
    QToolButton* EraseBtn;
    QToolButton* LineBtn;
    QToolButton* CurcleBtn;
    QToolButton* SquareBtn;
    QToolButton* DispToolBtn;
    QToolButton* UndoBtn;
    QComboBox* DotSizeBox;
    QToolButton* ColorBtn;
    QToolButton* SpoitBtn;
    QLabel* ColorPanel;
    QToolButton* StrSetBtn;
    QToolButton* StrPropertyBtn;
    QComboBox* StrBox;
    QToolButton* RotLeftBtn;
    QToolButton* RotRieghtBtn;
    QToolButton* UpDownBtn;
    QComboBox* ShioriBox;
    QToolButton* ImageSaveBtn;
    QWidget* Image1;
    QLabel* TextDisplay;
    QScrollArea* ScrollBox;
    QPlainTextEdit* NoteMemo;
    QStatusBar* StatusBar;
    QLabel* StatusZoom;    // field 1
    QLabel* StatusMessage; // field 2

    QMenu* FileMenu;
    QAction* SaveMenu;
    QAction* CloseMenu;
    QMenu* EditMenu;
    QAction* ShioriAddMenu;
    QAction* ShioriPasteMenu;
    QAction* CommentAddMenu;
    QAction* CommentPasteMenu;
    QAction* NoteClearMenu;
    QAction* NoteCopyMenu;
    QAction* NoteCutMenu;
    QAction* NotePasteMenu;
    QMenu* ViewMenu;
    // One tool bar per group, each with its checked entry in "表示".
    enum Bar { ShioriBar, ZoomBar, ToolBar, LineBar, ColorBar, TextBar, RotateBar, kBars };
    QToolBar* Bars[kBars];
    QAction* BarMenus[kBars];

private:
    class Canvas;
    friend class Canvas;

    void BuildWindow();
    void ApplyZoom();
    void ShowZoom();
    void SetEditingEnabled(bool on);
    void Rotate(int how);
    QPoint Map(QPoint pos) const;
    QFont ScaledTextFont() const;
    void WriteText(QPoint at);
    void Message(const char* utf8);

    UserInterface& ui_;
    std::string path_;
    bool loaded_ = false;
    QImage working_;
    QImage display_;
    QImage undo_;
    // Format and palette of the page as it came, so it is saved in its own depth when the
    // edits allow.
    std::vector<std::uint32_t> palette_;
    PixelFormat format_ = PixelFormat::Rgb24;
    int zoomStep_ = 3;
    Tool tool_ = NoTool;
    QColor colour_ = Qt::black;
    int lineWidth_ = 3;
    QFont textFont_;
    QPoint start_, end_, prevEnd_, penPos_;
    bool drawing_ = false;
    bool rewritten_ = false;
    QIcon toolIcons_[7];
    QCursor cursors_[7];
};

} // namespace pendlar
