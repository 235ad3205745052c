#include "ui/plan/PlanView.h"

#include "ui/plan/PlanDocument.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace koruba {

PlanItem::PlanItem(const PlanDocument& document)
    : document_(document), bounds_(planBounds(document.house())) {}

void PlanItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->fillRect(bounds_, Qt::white);
    paintHousePlan(*painter, document_.house(), document_.results(), options_);
    if (sketch_.empty() && !pointer_) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QColor sketchColour(0, 90, 220);
    painter->setPen(QPen(sketchColour, 30.0, Qt::DashLine));
    for (std::size_t i = 1; i < sketch_.size(); ++i) {
        painter->drawLine(sketch_[i - 1], sketch_[i]);
    }
    if (!sketch_.empty() && pointer_) {
        painter->drawLine(sketch_.back(), *pointer_);
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(sketchColour);
    for (const QPointF& p : sketch_) {
        painter->drawEllipse(p, 90.0, 90.0);
    }
    if (pointer_) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(sketchColour, 20.0));
        painter->drawEllipse(*pointer_, 140.0, 140.0);
    }
    painter->restore();
}

void PlanItem::houseChanged() {
    const QRectF bounds = planBounds(document_.house());
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    update();
}

void PlanItem::setOptions(const PlanOptions& options) {
    options_ = options;
    update();
}

void PlanItem::setSketch(std::vector<QPointF> points, std::optional<QPointF> pointer) {
    if (points == sketch_ && pointer == pointer_) {
        return;
    }
    sketch_ = std::move(points);
    pointer_ = pointer;
    update();
}

PlanView::PlanView(QGraphicsScene* scene, QWidget* parent) : QGraphicsView(scene, parent) {
    setRenderHint(QPainter::Antialiasing, true);
    setRenderHint(QPainter::TextAntialiasing, true);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setMouseTracking(true);
    setBackgroundBrush(QColor(235, 235, 235));
    setFocusPolicy(Qt::StrongFocus);
}

void PlanView::fitPlan() {
    fitInView(sceneRect(), Qt::KeepAspectRatio);
    fitted_ = true;
}

void PlanView::zoomBy(qreal factor) {
    // Between a whole city block and a single column on the screen.
    const qreal next = transform().m11() * factor;
    if (next < 0.005 || next > 5.0) {
        return;
    }
    scale(factor, factor);
    fitted_ = false;
}

qreal PlanView::planPerPixel() const {
    const qreal scale = transform().m11();
    return scale > 0.0 ? 1.0 / scale : 1.0;
}

void PlanView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    zoomBy(std::pow(1.0015, steps));
    event->accept();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        panFrom_ = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    emit planPressed(mapToScene(event->position().toPoint()), event->button(),
                     event->globalPosition().toPoint());
    event->accept();
}

void PlanView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (panFrom_) {
        const QPoint delta = at - *panFrom_;
        panFrom_ = at;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
        event->accept();
        return;
    }
    emit planHovered(mapToScene(at), event->globalPosition().toPoint());
    event->accept();
}

void PlanView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && panFrom_) {
        panFrom_.reset();
        viewport()->unsetCursor();
        event->accept();
        return;
    }
    emit planReleased(mapToScene(event->position().toPoint()), event->button());
    event->accept();
}

void PlanView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit planDoubleClicked(mapToScene(event->position().toPoint()));
    }
    event->accept();
}

void PlanView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (arrow && mods == Qt::ControlModifier) {
        // The view's own arrow keys scroll it.
        QKeyEvent plain(event->type(), key, Qt::NoModifier);
        QGraphicsView::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (arrow && mods == Qt::NoModifier) {
        emit cursorMoved(key == Qt::Key_Left    ? -1
                         : key == Qt::Key_Right ? 1
                                                : 0,
                         key == Qt::Key_Up     ? 1
                         : key == Qt::Key_Down ? -1
                                               : 0);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit cursorActivated(mods);
    } else if (key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        emit cursorMenu();
    } else {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PlanView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    if (fitted_) {
        fitPlan();
    }
}

} // namespace koruba
