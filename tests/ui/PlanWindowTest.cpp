#include "ui/plan/PlanWindow.h"

#include "calc/HouseDerivation.h"
#include "columns/HouseEdit.h"
#include "draw/HousePlan.h"
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
