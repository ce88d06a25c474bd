// The thumbnail view of the page-check tab (ListView1): one icon per page in chart order,
// its bookmark caption under it, editable in place, pages reordered by dragging.
//
// The view only shows; every change goes through PageIntake first (the reorder rules,
// deleting, the caption cut) and the view then rewrites the items the intake says changed.
#pragma once

#include <QListWidget>

namespace pendlar {

class PageIntake;

class PageCheckView : public QListWidget {
public:
    explicit PageCheckView(QWidget* parent = nullptr);

    void SetIntake(PageIntake* intake) { intake_ = intake; }

    // Mirrors of the intake's view notices.
    void Cleared();
    void ItemAdded(int index);
    void ItemsChanged(int first, int last);
    void LastItemRemoved();
    void ThumbnailsReset();
    void ThumbnailReplaced(int imageIndex);

    // The item at a point of the viewport, or -1.
    int ItemIndexAt(const QPoint& viewportPos) const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Refill(int index);
    QIcon IconFor(int imageIndex) const;

    PageIntake* intake_ = nullptr;
    bool filling_ = false;
};

} // namespace pendlar
