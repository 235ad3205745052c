#pragma once

#include "draw/HousePlan.h"

#include <QGraphicsItem>
#include <QGraphicsView>

#include <optional>
#include <vector>

namespace koruba {

class PlanDocument;

// The edit in progress on top of the plan: the points clicked so far,
// joined in order, a line to the pointer, and the grid point the pointer
// would take. An item of its own, so that following the pointer repaints
// only this.
class SketchItem : public QGraphicsItem {
public:
    using QGraphicsItem::QGraphicsItem;
    QRectF boundingRect() const override { return bounds_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    void setSketch(std::vector<QPointF> points, std::optional<QPointF> pointer);

private:
    std::vector<QPointF> sketch_;
    std::optional<QPointF> pointer_;
    QRectF bounds_;
};

// The plan as one scene item, painted by the drawing layer's plan routine
// in plan coordinates (millimetres, y up the page drawn at -y), with the
// sketch item as its child on top. The plan is kept as a picture in the
// view's pixels; after an edit only the areas of the walls and columns
// that changed are painted again, and the whole plan only when the grid,
// an outline or the view changed.
class PlanItem : public QGraphicsItem {
public:
    explicit PlanItem(const PlanDocument& document);

    QRectF boundingRect() const override { return bounds_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // After the house changed: the area may have grown with the grid.
    void houseChanged();
    void setOptions(const PlanOptions& options);
    const PlanOptions& options() const { return options_; }
    // The points of the edit in progress, joined in order, and the point
    // under the pointer.
    void setSketch(std::vector<QPointF> points, std::optional<QPointF> pointer);

private:
    // The areas that differ between the plan shown and the house now;
    // nothing when the whole plan has to be painted again.
    std::optional<std::vector<QRectF>> changedAreas() const;

    const PlanDocument& document_;
    PlanOptions options_;
    QRectF bounds_;
    SketchItem* sketch_;
    // What the picture shows, to tell what an edit changed.
    House shownHouse_;
    std::vector<ColumnResult> shownResults_;
};

// The view of the plan: the wheel zooms about the pointer, the middle
// button (or Ctrl with the arrow keys, and the scroll bars) pans, and a plan that was
// fitted stays fitted as the window is resized. Presses, releases and
// moves of the pointer are passed on in plan coordinates.
class PlanView : public QGraphicsView {
    Q_OBJECT

public:
    explicit PlanView(QGraphicsScene* scene, QWidget* parent = nullptr);

    void fitPlan();
    void zoomBy(qreal factor);
    // Plan millimetres per pixel of the view, for how near a click must be.
    qreal planPerPixel() const;

signals:
    void planPressed(QPointF at, Qt::MouseButton button, QPoint globalPos);
    void planReleased(QPointF at, Qt::MouseButton button);
    void planDoubleClicked(QPointF at);
    void planHovered(QPointF at, QPoint globalPos);
    // The keyboard's grid-point cursor: an arrow key moves it by one line
    // (dx, dy in grid lines, y up the plan), Enter acts at it (with its
    // modifiers), the menu key or Shift+F10 opens the menu there.
    void cursorMoved(int dx, int dy);
    void cursorActivated(Qt::KeyboardModifiers modifiers);
    void cursorMenu();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool fitted_ = true;
    std::optional<QPoint> panFrom_;
};

} // namespace koruba
