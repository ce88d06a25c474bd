// The QR frame drawn with the mouse on the first page: the drag states and their messages.
//
// The frame is shown with a white pen in XOR mode, so drawing the same rectangle twice
// removes it; the tracker tells the window which rectangles to XOR, in order, and keeps
// what it has drawn consistent with what it believes is on the screen.
#pragma once

#include "intake/PatientNumber.h"

#include <string>
#include <vector>

namespace pendlar {

class QRFrameTracker {
public:
    enum State { None = 0, Dragging = 1, Drawn = 2 };

    // One step's result: the rectangles to XOR onto the shown page (corner points as
    // dragged, so left may be greater than right), and the status text to show in panel 1
    // (Shift-JIS; empty clears it) when Status is set.
    struct Step {
        std::vector<QRFrameRect> Xor;
        bool SetsStatus = false;
        std::string Status;
    };

    Step MouseDown(int x, int y, bool pageShown);
    Step MouseMove(int x, int y);
    Step MouseUp(int x, int y);

    // The first page has just been shown afresh: a defined frame is drawn on it.
    Step PageShown();

    // A new chart: no drag, nothing drawn (the page shown is gone too). The frame and
    // whether it is defined stay until the program ends.
    void ResetDrag() {
        state_ = None;
        onScreen_ = false;
    }

    State DragState() const { return state_; }
    bool Defined() const { return defined_; }
    // The frame as dragged (first-page pixels).
    const QRFrameRect& Frame() const { return frame_; }

private:
    State state_ = None;
    bool defined_ = false;
    bool onScreen_ = false; // the frame is XORed onto the page shown now
    QRFrameRect frame_;
};

} // namespace pendlar
