// The page editor's own pictures: tool icons and tool cursors, drawn in code so the
// program needs no image files.
#pragma once

#include <QCursor>
#include <QIcon>

namespace pendlar {

// The icon of a drawing tool: 0 pen, 1 eraser, 2 line, 3 ellipse, 4 rectangle,
// 5 colour picker, 6 text.
QIcon EditorToolIcon(int tool);
// The cursor of a drawing tool (same numbering), with its hot spot where the tool acts.
QCursor EditorToolCursor(int tool);

enum class EditorIcon {
    ZoomIn,
    ZoomOut,
    Undo,
    RotateLeft,
    RotateRight,
    Rotate180,
    Save,
    Font,
    Colour
};
QIcon EditorButtonIcon(EditorIcon which);

} // namespace pendlar
