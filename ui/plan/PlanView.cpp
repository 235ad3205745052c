#include "ui/plan/PlanView.h"

#include "ui/plan/PlanDocument.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>

namespace koruba {

namespace {

// A change touching more than this many walls and columns repaints the
// whole plan: one pass is then cheaper than many small ones.
constexpr std::size_t kMostAreas = 64;

bool sameColumn(const ColumnResult& a, const ColumnResult& b) {
    return a.storey == b.storey && a.at == b.at && a.name == b.name && a.through == b.through &&
           a.governing == b.governing && a.warnings == b.warnings &&
           a.result().NValue == b.result().NValue && a.result().JointClass == b.result().JointClass;
}

// What differs between two lists kept in a fixed order: item by item
// when no item came or went, else everything between the part they begin
// with and the part they end with in common.
template <class T, class Same>
void addDifferences(const std::vector<T>& before, const std::vector<T>& after, Same same,
                    std::vector<const T*>& out) {
    if (before.size() == after.size()) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (!same(before[i], after[i])) {
                out.push_back(&before[i]);
                out.push_back(&after[i]);
            }
        }
        return;
    }
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && same(before[head], after[head])) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           same(before[before.size() - 1 - tail], after[after.size() - 1 - tail])) {
        ++tail;
    }
    for (std::size_t i = head; i < before.size() - tail; ++i) {
        out.push_back(&before[i]);
    }
    for (std::size_t i = head; i < after.size() - tail; ++i) {
        out.push_back(&after[i]);
    }
}

} // namespace

void SketchItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
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

void SketchItem::setSketch(std::vector<QPointF> points, std::optional<QPointF> pointer) {
    if (points == sketch_ && pointer == pointer_) {
        return;
    }
    QPolygonF all(QList<QPointF>(points.begin(), points.end()));
    if (pointer) {
        all << *pointer;
    }
    // The dots and the ring reach 150 mm beyond the points.
    const QRectF bounds =
        all.isEmpty() ? QRectF() : all.boundingRect().adjusted(-150.0, -150.0, 150.0, 150.0);
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    sketch_ = std::move(points);
    pointer_ = pointer;
    update();
}

PlanItem::PlanItem(const PlanDocument& document)
    : document_(document), bounds_(planBounds(document.house())), sketch_(new SketchItem(this)),
      shownHouse_(document.house()), shownResults_(document.results()) {
    setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    // The exposed area in paint is the part to paint again, not the whole.
    setFlag(QGraphicsItem::ItemUsesExtendedStyleOption);
}

void PlanItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
    // The painter is clipped to whole pixels around the exposed area: the
    // white and the culling reach a few pixels further, so that nothing
    // old shows at the edges.
    const qreal pixel = 1.0 / std::max(painter->worldTransform().m11(), 1e-6);
    const QRectF area = option != nullptr ? option->exposedRect.adjusted(-3 * pixel, -3 * pixel,
                                                                         3 * pixel, 3 * pixel)
                                          : bounds_;
    painter->fillRect(bounds_, Qt::white);
    PlanOptions options = options_;
    options.area = area.contains(bounds_) ? QRectF() : area;
    paintHousePlan(*painter, document_.house(), document_.results(), options);
}

void PlanItem::houseChanged() {
    const QRectF bounds = planBounds(document_.house());
    const auto areas = bounds == bounds_ ? changedAreas() : std::nullopt;
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    if (areas) {
        for (const QRectF& a : *areas) {
            update(a);
        }
    } else {
        update();
    }
    shownHouse_ = document_.house();
    shownResults_ = document_.results();
}

std::optional<std::vector<QRectF>> PlanItem::changedAreas() const {
    const House& now = document_.house();
    const House& was = shownHouse_;
    if (now.gridX != was.gridX || now.gridY != was.gridY ||
        now.storeys.size() != was.storeys.size()) {
        return std::nullopt;
    }
    std::vector<const HouseWall*> walls;
    std::vector<const HouseColumn*> columns;
    for (std::size_t i = 0; i < now.storeys.size(); ++i) {
        const Storey& a = now.storeys[i];
        const Storey& b = was.storeys[i];
        if (a.number != b.number || a.outline != b.outline) {
            return std::nullopt;
        }
        addDifferences(b.walls, a.walls, std::equal_to<HouseWall>(), walls);
        addDifferences(b.columns, a.columns, std::equal_to<HouseColumn>(), columns);
    }
    std::vector<const ColumnResult*> results;
    addDifferences(shownResults_, document_.results(), sameColumn, results);
    if (walls.size() + columns.size() + results.size() > kMostAreas) {
        return std::nullopt;
    }
    // The old house's points are the new one's: the grid is the same.
    std::vector<QRectF> areas;
    for (const HouseWall* w : walls) {
        areas.push_back(planWallArea(now, *w));
    }
    for (const HouseColumn* c : columns) {
        areas.push_back(planColumnArea(now, c->at));
    }
    for (const ColumnResult* c : results) {
        areas.push_back(planColumnArea(now, c->at));
    }
    return areas;
}

void PlanItem::setOptions(const PlanOptions& options) {
    options_ = options;
    update();
}

void PlanItem::setSketch(std::vector<QPointF> points, std::optional<QPointF> pointer) {
    sketch_->setSketch(std::move(points), pointer);
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
