#include "ui/plan/PlanWindow.h"

#include "calc/HouseDerivation.h"
#include "columns/HouseEdit.h"
#include "draw/HousePlan.h"
#include "ui/calculator/MainForm.h"
#include "ui/plan/PlanView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUndoStack>
#include <QtTest>

using namespace koruba;

namespace {

QPoint viewPointOf(PlanWindow& w, GridPoint p) {
    return w.view()->mapFromScene(planPoint(w.house(), p));
}

void click(PlanWindow& w, GridPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(w.view()->viewport(), button, {}, viewPointOf(w, p));
}

void clickBetween(PlanWindow& w, GridPoint a, GridPoint b, Qt::MouseButton button) {
    const QPoint m = (viewPointOf(w, a) + viewPointOf(w, b)) / 2;
    QTest::mouseClick(w.view()->viewport(), button, {}, m);
}

// A press at one grid point, the pointer moved across, and the release at
// the other: a wall dragged along its line.
void drag(PlanWindow& w, GridPoint a, GridPoint b) {
    QWidget* port = w.view()->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, viewPointOf(w, a));
    QTest::mouseMove(port, (viewPointOf(w, a) + viewPointOf(w, b)) / 2);
    QTest::mouseMove(port, viewPointOf(w, b));
    QTest::mouseRelease(port, Qt::LeftButton, {}, viewPointOf(w, b));
}

void key(PlanWindow& w, QKeySequence sequence) {
    QTest::keySequence(&w, sequence);
}

// Whether the colour shows in the lower left of the symbol box of the
// column at p, on the window as it is on the screen.
bool symbolColourAt(PlanWindow& w, GridPoint p, const QColor& colour) {
    const QImage image = w.view()->viewport()->grab().toImage();
    const QPointF at = planPoint(w.house(), p);
    const QRect area = QRectF(w.view()->mapFromScene(at + QPointF(95.0, -230.0)),
                              w.view()->mapFromScene(at + QPointF(125.0, -95.0)))
                           .toRect()
                           .normalized();
    const qreal ratio = image.devicePixelRatio();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(QPoint(qRound(x * ratio), qRound(y * ratio))) == colour) {
                return true;
            }
        }
    }
    return false;
}

// The window as the user sees it, for a person to look at: named by the
// screen's pixel density (1x, 2x).
void saveScreenshot(QWidget& w, const QString& name) {
    const QDir dir(QStringLiteral(KORUBA_SCREENSHOT_DIR));
    dir.mkpath(QStringLiteral("."));
    // The tool bars lay out again once the events posted by the last
    // change have been handled.
    QCoreApplication::processEvents();
    const QPixmap shot = w.grab();
    shot.save(
        dir.filePath(QStringLiteral("%1@%2x.png").arg(name).arg(qRound(shot.devicePixelRatio()))));
}

// Runs f on the modal dialog the next key opens, once it is shown.
template <class F> void onModal(F f) {
    QTimer::singleShot(0, [f] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        f(*dialog);
    });
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class PlanWindowTest : public QObject {
    Q_OBJECT

private slots:
    // A two-storey house drawn from nothing with the mouse and keyboard:
    // the symbols on the screen are the derivation's, every step undoes to
    // the empty house and redoes, and the saved file reopens and saves to
    // the same bytes.
    void drawTwoStoreysUndoRedoSaveReopen() {
        PlanWindow w;
        QStringList errors;
        w.setErrorReport([&errors](const QString& m) { errors << m; });
        w.resize(1000, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const House empty = w.house();

        // 平屋 outline X0-X4 by Y0-Y3: four corners, then the first again.
        key(w, QKeySequence(Qt::Key_F5));
        QCOMPARE(w.tool(), PlanWindow::Tool::Outline);
        for (const GridPoint p : {GridPoint{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}}) {
            click(w, p);
        }
        QVERIFY2(w.results().size() == 4, qPrintable(w.statusBar()->currentMessage()));

        // Walls: one clicked end to end, one dragged over the columns.
        key(w, QKeySequence(Qt::Key_F3));
        w.setWallElement(QStringLiteral("R45"));
        click(w, {0, 0});
        click(w, {2, 0});
        w.setWallElement(QStringLiteral("X45+P2.5"));
        drag(w, {0, 0}, {0, 3});
        w.setWallElement(QStringLiteral("P2.5"));
        drag(w, {2, 0}, {4, 0});
        QCOMPARE(w.house().storeys[0].walls.size(), 3u);

        // A wall off one grid line is refused and says so.
        const House before = w.house();
        click(w, {0, 0});
        click(w, {1, 1});
        QCOMPARE(w.house(), before);
        QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("通り芯に沿って")));

        // A right click on the single brace turns it round.
        clickBetween(w, {0, 0}, {2, 0}, Qt::RightButton);
        QCOMPARE(w.house().storeys[0].walls[0].bay.BraceKind, BraceRisingLeft);

        // A corner of the outline dragged one line up: its neighbours
        // follow and the storey grows.
        key(w, QKeySequence(Qt::Key_F5));
        drag(w, {4, 3}, {4, 4});
        QCOMPARE(w.house().storeys[0].outline,
                 (std::vector<GridPoint>{{0, 0}, {4, 0}, {4, 4}, {0, 4}}));

        // The upper storey over the left half, with a wall whose end has
        // no column below it.
        w.findChild<QAction*>(QStringLiteral("addUpperStorey"))->trigger();
        QCOMPARE(w.storey(), 2);
        key(w, QKeySequence(Qt::Key_F5));
        for (const GridPoint p : {GridPoint{0, 0}, {2, 0}, {2, 3}, {0, 3}, {0, 0}}) {
            click(w, p);
        }
        key(w, QKeySequence(Qt::Key_F3));
        w.setWallElement(QStringLiteral("L30"));
        drag(w, {0, 3}, {1, 3});
        QVERIFY2(!w.results().empty(), qPrintable(w.statusBar()->currentMessage()));

        // What the screen shows is the derivation of the house, storey by
        // storey.
        const std::vector<ColumnResult> derived = deriveHouse(w.house());
        QCOMPARE(w.results().size(), derived.size());
        bool warned = false;
        for (const std::int32_t storey : {1, 2}) {
            key(w, QKeySequence(storey == 1 ? Qt::CTRL | Qt::Key_1 : Qt::CTRL | Qt::Key_2));
            QCOMPARE(w.storey(), storey);
            for (const ColumnResult& c : derived) {
                if (c.storey == storey) {
                    QVERIFY2(symbolColourAt(w, c.at, hardwareClassColor(c.result().JointClass)),
                             qPrintable(QString::fromStdString(c.name)));
                    warned = warned || !c.warnings.empty();
                }
            }
        }
        QVERIFY(warned);
        saveScreenshot(w, QStringLiteral("plan_drawn_2F"));
        // The lower corner under the upper storey's wall carries it: its
        // symbol is no longer the empty one.
        const auto corner = std::find_if(derived.begin(), derived.end(), [](const ColumnResult& c) {
            return c.storey == 1 && c.at == GridPoint{0, 3};
        });
        QVERIFY(corner != derived.end());
        QVERIFY(corner->result().JointClass > 1);

        // Hovering a column tells its two directions.
        key(w, QKeySequence(Qt::CTRL | Qt::Key_1));
        QTest::mouseMove(w.view()->viewport(), viewPointOf(w, {0, 0}));
        QTRY_VERIFY(QToolTip::text().contains(QStringLiteral("N_X")));
        QVERIFY(QToolTip::text().contains(QStringLiteral("N_Y")));

        // Undo to the empty house, redo to the drawn one.
        const House drawn = w.house();
        while (w.undoStack()->canUndo()) {
            key(w, QKeySequence::Undo);
        }
        QCOMPARE(w.house(), empty);
        QVERIFY(w.results().empty());
        while (w.undoStack()->canRedo()) {
            key(w, QKeySequence(Qt::CTRL | Qt::Key_Y));
        }
        QCOMPARE(w.house(), drawn);
        QVERIFY(w.isModified());

        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("drawn.kxhouse"));
        QVERIFY(w.saveFile(first));
        QVERIFY(!w.isModified());
        PlanWindow reopened;
        reopened.setErrorReport([&errors](const QString& m) { errors << m; });
        QVERIFY(reopened.openFile(first));
        QCOMPARE(reopened.house(), drawn);
        const QString second = dir.filePath(QStringLiteral("again.kxhouse"));
        QVERIFY(reopened.saveFile(second));
        QCOMPARE(readAll(second), readAll(first));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
    }

    // The example house opens on its ground storey with every column
    // derived, and its file name in the title.
    void exampleHouseOpens() {
        PlanWindow w;
        w.resize(1100, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.openFile(QStringLiteral(KORUBA_EXAMPLES "/house2f.kxhouse")));
        QCOMPARE(w.results().size(), deriveHouse(w.house()).size());
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("house2f.kxhouse")));
        QCOMPARE(w.storey(), 1);
        saveScreenshot(w, QStringLiteral("plan_house2f_1F"));
        key(w, QKeySequence(Qt::CTRL | Qt::Key_2));
        QCOMPARE(w.storey(), 2);
        saveScreenshot(w, QStringLiteral("plan_house2f_2F"));
    }

    // The house dialog through its keys: the 2025 rules without a storey
    // height are refused and change nothing; with one they take effect,
    // and the plan is derived again under them.
    void houseDialogChangesTheRules() {
        PlanWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.openFile(QStringLiteral(KORUBA_EXAMPLES "/hiraya.kxhouse")));
        const House before = w.house();
        auto choose = [](double heightM) {
            return [heightM](QWidget& dialog) {
                dialog.findChild<QComboBox*>()->setCurrentIndex(1);
                dialog.findChild<QDoubleSpinBox*>()->setValue(heightM);
                QTest::keyClick(&dialog, Qt::Key_Return);
            };
        };
        onModal(choose(0.0));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        key(w, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QCOMPARE(w.house(), before);
        QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("階高が必要")));

        // The key goes to the window once it is active again after the
        // dialog.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        onModal(choose(3.3));
        key(w, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QCOMPARE(w.house().rules, RuleSet::Revision2025);
        QCOMPARE(w.house().storeys[0].heightCm, 330);
        const std::vector<ColumnResult> derived = deriveHouse(w.house());
        QCOMPARE(w.results().size(), derived.size());
        for (std::size_t i = 0; i < derived.size(); ++i) {
            QCOMPARE(w.results()[i].result(), derived[i].result());
        }
        QCOMPARE(w.results().front().result().HeightFactor1, 3.3f / 2.7f);
    }

    // A column double-clicked on the plan shows in the calculator with
    // the plan's N, for every column of the example whose governing
    // direction the calculator's patterns draw; the calculator refuses
    // edits until the user chooses to edit freely, and follows the house
    // while it shows the plan's column.
    void doubleClickShowsTheColumnInTheCalculator() {
        TMainF calculator;
        PlanWindow w;
        w.setCalculator(&calculator);
        w.resize(1400, 1000);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.openFile(QStringLiteral(KORUBA_EXAMPLES "/house2f.kxhouse")));
        int shown = 0;
        for (const std::int32_t storey : {1, 2}) {
            w.setStorey(storey);
            for (const ColumnResult& c : std::vector<ColumnResult>(w.results())) {
                if (c.storey != storey) {
                    continue;
                }
                const QString name = QString::fromStdString(c.name);
                const QPoint at = viewPointOf(w, c.at);
                QVERIFY2(windowFrameOf(c, c.governing), qPrintable(name));
                QTest::mouseDClick(w.view()->viewport(), Qt::LeftButton, {}, at);
                QVERIFY2(calculator.isReadOnly(), qPrintable(name));
                // The same core on the same inputs: the same float.
                QVERIFY2(calculator.Result().NValue == c.result().NValue, qPrintable(name));
                QVERIFY2(calculator.windowTitle().endsWith(
                             QStringLiteral(" - 平面図 %1 %2 (%3方向)")
                                 .arg(QString::fromStdString(storeyLabel(w.house(), storey)), name,
                                      c.governing == HouseDirection::X ? QStringLiteral("X")
                                                                       : QStringLiteral("Y"))),
                         qPrintable(calculator.windowTitle()));
                ++shown;
                // The other direction through the column's menu entry.
                const HouseDirection other =
                    c.governing == HouseDirection::X ? HouseDirection::Y : HouseDirection::X;
                if (windowFrameOf(c, other)) {
                    QVERIFY(w.showInCalculator(c, other));
                    QVERIFY2(calculator.Result().NValue == c.in(other).result.NValue,
                             qPrintable(name));
                }
            }
        }
        QCOMPARE(shown, static_cast<int>(w.results().size()));

        // Read-only: a pattern, a bay, the mirror, the bay keys change
        // nothing.
        const TMainF::ColumnState before = calculator.columnState();
        for (const char* button : {"TlBtn_11", "TlBtn_22", "BBtn_Rev"}) {
            if (auto* b = calculator.findChild<QAbstractButton*>(QString::fromLatin1(button));
                b->isEnabled()) {
                QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        for (int bay = 1; bay <= 4; ++bay) {
            QTest::mouseClick(calculator.findChild<QWidget*>(QStringLiteral("drwSj_%1").arg(bay)),
                              Qt::LeftButton);
        }
        QVERIFY(calculator.columnState() == before);

        // An edit of the house shows at once in the calculator: the wall
        // at the shown column's end removed.
        const ColumnResult* followed = nullptr;
        for (const ColumnResult& c : w.results()) {
            if (c.storey == 1 && windowFrameOf(c, c.governing) && c.result().NValue > 0.0) {
                followed = &c;
                break;
            }
        }
        QVERIFY(followed != nullptr);
        const ColumnResult was = *followed;
        w.setStorey(1);
        QTest::mouseDClick(w.view()->viewport(), Qt::LeftButton, {}, viewPointOf(w, was.at));
        QVERIFY(calculator.Result().NValue == was.result().NValue);
        const QPointF end = planPoint(w.house(), was.at);
        w.setWallElement(QString());
        key(w, QKeySequence(Qt::Key_F3));
        const qreal step = 455.0;
        bool removed = false;
        const QPointF along =
            was.governing == HouseDirection::X ? QPointF(step, 0) : QPointF(0, step);
        for (const QPointF offset : {along, -along}) {
            const std::size_t walls = w.house().storeys[0].walls.size();
            QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {},
                              w.view()->mapFromScene(end + offset));
            if (w.house().storeys[0].walls.size() != walls) {
                removed = true;
                break;
            }
        }
        QVERIFY(removed);
        const auto now =
            std::find_if(w.results().begin(), w.results().end(),
                         [&](const ColumnResult& c) { return c.at == was.at && c.storey == 1; });
        QVERIFY(now != w.results().end());
        QVERIFY(now->in(was.governing).result.NValue != was.result().NValue);
        QVERIFY(calculator.isReadOnly());
        QVERIFY(calculator.Result().NValue == now->in(was.governing).result.NValue);

        // The way out: edited freely, a bay click places an element.
        calculator.findChild<QAction*>(QStringLiteral("Act_EditFreely"))->trigger();
        QVERIFY(!calculator.isReadOnly());
        QCOMPARE(calculator.windowTitle(),
                 calculator.windowTitle().section(QStringLiteral(" - "), 0, 0));
        const TMainF::ColumnState freed = calculator.columnState();
        QTest::mouseClick(calculator.findChild<QWidget*>(QStringLiteral("drwSj_3")),
                          Qt::LeftButton);
        QVERIFY(!(calculator.columnState() == freed));
        // The plan's next edit no longer reaches it.
        const TMainF::ColumnState own = calculator.columnState();
        key(w, QKeySequence::Undo);
        QVERIFY(calculator.columnState() == own);
    }

    // The wall element chosen by the calculator's pictures: a click on a
    // picture chooses the brace kind (the size kept) or switches the panel,
    // and the lists and pictures agree.
    void elementPicturesChooseTheWall() {
        PlanWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("elementToolBar"));
        const auto press = [&](const char* name) {
            QAction* a = w.findChild<QAction*>(QString::fromLatin1(name));
            QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
            return a;
        };
        w.setWallElement(QStringLiteral("R30"));
        press("brace3");
        QCOMPARE(w.tool(), PlanWindow::Tool::Wall);
        QCOMPARE(w.wallElement(), QStringLiteral("X30"));
        QAction* panel = press("panel");
        QCOMPARE(w.wallElement(), QStringLiteral("X30+P2.5"));
        press("brace0");
        QCOMPARE(w.wallElement(), QStringLiteral("P2.5"));
        w.setWallElement(QStringLiteral("L45"));
        QVERIFY(w.findChild<QAction*>(QStringLiteral("brace2"))->isChecked());
        QVERIFY(!panel->isChecked());
    }

    // Without the mouse: the outline and a wall placed with the arrow keys
    // and Enter, the brace turned round with Ctrl+Enter; and a grid line
    // dragged along the plan onto the half module, refused past its
    // neighbour, undone in one step.
    void keyboardPlacesWallsAndGridLinesDrag() {
        PlanWindow w;
        w.resize(1000, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget* view = w.view();
        const auto arrows = [view](Qt::Key k, int n) {
            for (int i = 0; i < n; ++i) {
                QTest::keyClick(view, k);
            }
        };
        key(w, QKeySequence(Qt::Key_F5));
        QTest::keyClick(view, Qt::Key_Right); // the cursor appears at X0-Y0
        for (const auto& [k, n] : {std::pair{Qt::Key_Right, 0},
                                   {Qt::Key_Right, 2},
                                   {Qt::Key_Up, 2},
                                   {Qt::Key_Left, 2},
                                   {Qt::Key_Down, 2}}) {
            arrows(k, n);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QCOMPARE(w.house().storeys[0].outline,
                 (std::vector<GridPoint>{{0, 0}, {2, 0}, {2, 2}, {0, 2}}));
        key(w, QKeySequence(Qt::Key_F3));
        w.setWallElement(QStringLiteral("R45"));
        QTest::keyClick(view, Qt::Key_Return);
        arrows(Qt::Key_Right, 2);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(w.house().storeys[0].walls.size(), 1u);
        QCOMPARE(w.house().storeys[0].walls[0].bay.BraceKind, BraceRisingRight);
        QTest::keyClick(view, Qt::Key_Return);
        arrows(Qt::Key_Left, 2);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(w.house().storeys[0].walls[0].bay.BraceKind, BraceRisingLeft);

        key(w, QKeySequence(Qt::Key_F2));
        const House before = w.house();
        QWidget* port = w.view()->viewport();
        const auto dragLine = [&](qreal fromX, qreal toX) {
            const auto at = [&](qreal x) { return w.view()->mapFromScene(QPointF(x, -455.0)); };
            QTest::mousePress(port, Qt::LeftButton, {}, at(fromX));
            QTest::mouseMove(port, at(toX));
            QTest::mouseRelease(port, Qt::LeftButton, {}, at(toX));
        };
        dragLine(910.0, 1300.0);
        QCOMPARE(w.house().gridX[1].positionMm, 1365);
        QCOMPARE(w.house().storeys[0].walls, before.storeys[0].walls);
        dragLine(1365.0, 2800.0);
        QCOMPARE(w.house().gridX[1].positionMm, 1365);
        QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("越えて")));
        key(w, QKeySequence::Undo);
        QCOMPARE(w.house(), before);
    }

    // After an edit the plan repaints only the areas of what changed: the
    // view then shows exactly what a whole repaint shows.
    void partialRepaintMatchesAWholeOne() {
        PlanWindow w;
        w.resize(1200, 900);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.openFile(QStringLiteral(KORUBA_EXAMPLES "/house2f.kxhouse")));
        QWidget* port = w.view()->viewport();
        QAction* other = w.findChild<QAction*>(QStringLiteral("showOtherStorey"));
        // The same but for the anti-aliasing of a few edges: nothing
        // missing or stale, which would differ by far more.
        const auto same = [&] {
            const QImage part = port->grab().toImage().convertToFormat(QImage::Format_RGB32);
            other->trigger(); // a whole repaint, twice
            other->trigger();
            const QImage whole = port->grab().toImage().convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < part.height(); ++y) {
                for (int x = 0; x < part.width(); ++x) {
                    const QRgb a = part.pixel(x, y);
                    const QRgb b = whole.pixel(x, y);
                    if (std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))}) > 96) {
                        return false;
                    }
                }
            }
            return true;
        };
        port->grab();
        const HouseWall wall = w.house().storeys[0].walls[3];
        const std::size_t walls = w.house().storeys[0].walls.size();
        clickBetween(w, wall.from, wall.to, Qt::RightButton); // a brace turned round
        QVERIFY(!(w.house().storeys[0].walls[3] == wall));
        QVERIFY(same());
        key(w, QKeySequence(Qt::Key_F3));
        w.setWallElement(QString());
        click(w, wall.from);
        click(w, wall.to); // the wall removed
        QCOMPARE(w.house().storeys[0].walls.size() + 1, walls);
        QVERIFY(same());
        key(w, QKeySequence::Undo);
        QVERIFY(same());
    }

    // The grid dialog adds a line a module after the last; the edit is
    // one step of undo.
    void gridDialogAddsALine() {
        PlanWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const House before = w.house();
        int listed = 0;
        onModal([&listed](QWidget& dialog) {
            for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
                if (b->text().startsWith(QStringLiteral("X通りを追加"))) {
                    QTest::mouseClick(b, Qt::LeftButton);
                }
            }
            listed = dialog.findChild<QListWidget*>()->count();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QVERIFY(QTest::qWaitForWindowActive(&w));
        key(w, QKeySequence(Qt::CTRL | Qt::Key_G));
        QCOMPARE(w.house().gridX.size(), before.gridX.size() + 1);
        QCOMPARE(w.house().gridX.back().name, std::string("X5"));
        QCOMPARE(w.house().gridX.back().positionMm, 5 * 910);
        QCOMPARE(listed, static_cast<int>(before.gridX.size() + before.gridY.size() + 1));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        key(w, QKeySequence::Undo);
        QCOMPARE(w.house(), before);
    }

    // A house that cannot be derived yet is not saved: the file would not
    // open again.
    void anUnfinishedHouseIsNotSaved() {
        PlanWindow w;
        QStringList errors;
        w.setErrorReport([&errors](const QString& m) { errors << m; });
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("unfinished.kxhouse"));
        QVERIFY(!w.saveFile(path));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(errors.size(), 1);
    }

    // Nor is its sheet made: Ctrl+Shift+P says why before asking where to
    // save (a file dialog would block here), and no PDF is written.
    void anUnfinishedHouseHasNoSheet() {
        PlanWindow w;
        QStringList errors;
        w.setErrorReport([&errors](const QString& m) { errors << m; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        key(w, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("計算書を作れません")), qPrintable(errors[0]));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("unfinished.pdf"));
        QVERIFY(!w.exportSheet(path));
        QVERIFY(!QFile::exists(path));
        QVERIFY(w.openFile(QStringLiteral(KORUBA_EXAMPLES "/hiraya.kxhouse")));
        QVERIFY(w.exportSheet(path));
        QVERIFY(QFile::exists(path));
        QCOMPARE(errors.size(), 2);
    }
};

QTEST_MAIN(PlanWindowTest)
#include "PlanWindowTest.moc"
