#include "intake/QRFrameTracker.h"

#include "util/Sjis.h"

namespace pendlar {

QRFrameTracker::Step QRFrameTracker::MouseDown(int x, int y, bool pageShown) {
    Step step;
    step.SetsStatus = true;
    if (!pageShown) {
        step.Status = SjisOf("*** 画像を開いて下さい。");
        return step;
    }
    if (state_ == Dragging)
        return step;
    // Erasing is tied to what is on the screen, not to the drag state, so a frame drawn
    // when the page was shown again is removed as well.
    if (onScreen_)
        step.Xor.push_back(frame_);
    frame_ = {x, y, x, y};
    step.Xor.push_back(frame_);
    onScreen_ = true;
    state_ = Dragging;
    return step;
}

QRFrameTracker::Step QRFrameTracker::MouseMove(int x, int y) {
    Step step;
    if (state_ != Dragging)
        return step;
    step.Xor.push_back(frame_);
    frame_.Right = x;
    frame_.Bottom = y;
    step.Xor.push_back(frame_);
    return step;
}

QRFrameTracker::Step QRFrameTracker::MouseUp(int x, int y) {
    Step step;
    if (state_ != Dragging)
        return step;
    step.Xor.push_back(frame_);
    frame_.Right = x;
    frame_.Bottom = y;
    step.Xor.push_back(frame_);
    state_ = Drawn;
    defined_ = frame_.Left < frame_.Right && frame_.Top < frame_.Bottom;
    if (!defined_) {
        step.SetsStatus = true;
        step.Status = SjisOf("*** 左上から右下へドラッグして下さい。");
    }
    return step;
}

QRFrameTracker::Step QRFrameTracker::PageShown() {
    Step step;
    onScreen_ = false;
    if (defined_) {
        step.Xor.push_back(frame_);
        onScreen_ = true;
    }
    return step;
}

} // namespace pendlar
