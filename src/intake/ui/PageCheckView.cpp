#include "intake/ui/PageCheckView.h"

#include "intake/PageIntake.h"
#include "intake/ui/IntakeImages.h"
#include "util/ui/QtText.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace pendlar {

PageCheckView::PageCheckView(QWidget* parent) : QListWidget(parent) {
    setObjectName("ListView1");
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Snap);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setUniformItemSizes(true);
    setIconSize(QSize(64, 64));
    setGridSize(QSize(64 + 24, 64 + 32));
    setStyleSheet("QListWidget::item { border: 1px solid #c0c0c0; }");

    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_ || !intake_)
            return;
        const int index = row(item);
        const std::string cut = intake_->ListView1Edited(index, QStringToSjis(item->text()));
        const QString shown = SjisToQString(cut);
        if (item->text() != shown) {
            filling_ = true;
            item->setText(shown);
            filling_ = false;
        }
    });
}

QIcon PageCheckView::IconFor(int imageIndex) const {
    if (!intake_)
        return {};
    const Bitmap* image = intake_->ThumbNailList().Image(imageIndex);
    const int side = intake_->ThumbNailList().Side();
    if (!image) {
        // A page without a thumbnail still shows a blank square, so it can be seen and moved.
        QPixmap blank(side, side);
        blank.fill(Qt::white);
        return QIcon(blank);
    }
    return QIcon(QPixmap::fromImage(BitmapToQImage(*image)));
}

void PageCheckView::Refill(int index) {
    const auto& items = intake_->ViewItems();
    if (index < 0 || index >= static_cast<int>(items.size()) || index >= count())
        return;
    filling_ = true;
    QListWidgetItem* it = item(index);
    it->setIcon(IconFor(items[static_cast<std::size_t>(index)].ImageIndex));
    it->setText(SjisToQString(items[static_cast<std::size_t>(index)].Caption));
    filling_ = false;
}

void PageCheckView::Cleared() {
    filling_ = true;
    clear();
    filling_ = false;
}

void PageCheckView::ThumbnailsReset() {
    if (!intake_)
        return;
    const int side = intake_->ThumbNailList().Side();
    setIconSize(QSize(side, side));
    setGridSize(QSize(side + 24, side + 32));
}

void PageCheckView::ItemAdded(int index) {
    if (!intake_)
        return;
    filling_ = true;
    auto* it = new QListWidgetItem();
    it->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                 Qt::ItemIsDragEnabled);
    it->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    insertItem(index, it);
    filling_ = false;
    Refill(index);
}

void PageCheckView::ItemsChanged(int first, int last) {
    for (int i = first; i <= last; ++i)
        Refill(i);
}

void PageCheckView::LastItemRemoved() {
    filling_ = true;
    delete takeItem(count() - 1);
    filling_ = false;
}

void PageCheckView::ThumbnailReplaced(int imageIndex) {
    const auto& items = intake_->ViewItems();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[static_cast<std::size_t>(i)].ImageIndex == imageIndex)
            Refill(i);
}

int PageCheckView::ItemIndexAt(const QPoint& pos) const {
    QListWidgetItem* it = itemAt(pos);
    return it ? row(it) : -1;
}

void PageCheckView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const Qt::MouseButton qb = event->button();
    const Qt::KeyboardModifiers qm = event->modifiers();
    QListWidget::mouseReleaseEvent(event);
    if (!intake_)
        return;
    MouseButton button = MouseButton::Left;
    if (qb == Qt::RightButton)
        button = MouseButton::Right;
    else if (qb == Qt::MiddleButton)
        button = MouseButton::Middle;
    else if (qb != Qt::LeftButton)
        return;
    unsigned keys = NoKey;
    if (qm & Qt::ShiftModifier)
        keys |= ShiftKey;
    if (qm & Qt::ControlModifier)
        keys |= CtrlKey;
    if (qm & Qt::AltModifier)
        keys |= AltKey;
    intake_->ListView1MouseUp(button, keys, ItemIndexAt(pos));
}

void PageCheckView::startDrag(Qt::DropActions supportedActions) {
    if (intake_)
        intake_->ListView1StartDrag();
    QListWidget::startDrag(supportedActions);
}

void PageCheckView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void PageCheckView::dragMoveEvent(QDragMoveEvent* event) {
    const bool fromView = event->source() == this;
    // The dragged page is the one under the pointer at the first drag-over, where the drag began.
    if (intake_ && intake_->ListView1DragOver(fromView, currentRow()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PageCheckView::dropEvent(QDropEvent* event) {
    // The list itself never moves items: the page list is reordered and the view rewritten.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (intake_)
        intake_->ListView1DragDrop(ItemIndexAt(event->position().toPoint()));
}

} // namespace pendlar
