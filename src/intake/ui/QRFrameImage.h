// Image3 of the QR-frame tab: the first page at its natural size, on which the QR frame is
// drawn with the mouse as a white XOR rectangle.
#pragma once

#include "intake/PatientNumber.h"

#include <QImage>
#include <QLabel>

namespace pendlar {

class PageIntake;

class QRFrameImage : public QLabel {
public:
    explicit QRFrameImage(QWidget* parent = nullptr);
    void SetIntake(PageIntake* intake) { intake_ = intake; }

    void ShowPage(const QImage& page);
    // XORs the outline of a rectangle given by two corners (either order) with white.
    void XorFrame(const QRFrameRect& frame);
    const QImage& Page() const { return page_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PageIntake* intake_ = nullptr;
    QImage page_;
};

} // namespace pendlar
