#include "ui/summary/GaiyoForm.h"
#include "draw/JapaneseFonts.h"
#include "ui/summary/ControlPictures.h"
#include "ui/summary/GaiyoPictureBox.h"
#include "ui/summary/GaiyoPictures.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>

using koruba::TGaiyoF;
namespace gaiyo = koruba::gaiyo;

namespace {

// A paint device that keeps the texts drawn on it, so that a test can read
// what a picture says. The text engine hands over a line in pieces (one per
// script run); pieces drawn one after another on the same baseline are
// joined again.
class TextRecorder : public QPaintDevice {
public:
    QStringList lines;

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 1000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 264;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(QStringList& lines) : lines_(lines) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawEllipse(const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPoints(const QPointF*, int) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override {
            if (!lines_.isEmpty() && qAbs(at.y() - lastY_) < 0.01 && at.x() >= lastX_) {
                lines_.last() += item.text();
            } else {
                lines_.append(item.text());
            }
            lastY_ = at.y();
            lastX_ = at.x();
        }
        Type type() const override { return QPaintEngine::User; }

    private:
        QStringList& lines_;
        qreal lastY_ = 0;
        qreal lastX_ = 0;
    };
    mutable Engine engine_{lines};
};

QStringList TextsOf(const gaiyo::FixedPicture& picture) {
    TextRecorder recorder;
    {
        QPainter painter(&recorder);
        picture.paint(painter);
    }
    return recorder.lines;
}

// Stands in for the main window: a window with a summary button wired as
// the main window wires it.
struct MainWindowStandIn {
    QWidget window;
    QPushButton* summary = nullptr;
    TGaiyoF* dialog = nullptr;

    MainWindowStandIn() {
        window.setObjectName(QStringLiteral("MainF"));
        window.resize(344, 451);
        window.move(300, 200);
        summary = new QPushButton(QStringLiteral("TBtn_Gaiyo"), &window);
        summary->setGeometry(216, 0, 108, 112);
        dialog = new TGaiyoF(&window);
        QObject::connect(summary, &QPushButton::clicked, dialog, [d = dialog] {
            d->show();
            d->raise();
            d->activateWindow();
        });
        window.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&window);
    }
};

template <typename T> T* Child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

QString ScreenshotDir() {
    const QString dir = QStringLiteral(KORUBA_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    return dir;
}

} // namespace

class GaiyoFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void createdHiddenOnTheFirstTab();
    void windowFrameAndStacking();
    void tabsInOrder();
    void contentsBuiltOnFirstShowWhenDeferred();
    void summaryButtonTwiceBringsTheSameWindow();
    void firstShowCentresOverTheMainWindow_data();
    void firstShowCentresOverTheMainWindow();
    void firstShowStaysOnTheScreen();
    void tabAndPositionSurviveHiding_data();
    void tabAndPositionSurviveHiding();
    void keys_data();
    void keys();
    void mainWindowKeepsTakingClicks();
    void closingTheMainWindowEndsTheProgram_data();
    void closingTheMainWindowEndsTheProgram();

    void rulesTabShowsThe2025Formulas();
    void hardwareTableTexts_data();
    void hardwareTableTexts();
    void hardwareGridGeometry();
    void usageLabels_data();
    void usageLabels();
    void notesEndAbovePicturesBelow_data();
    void notesEndAbovePicturesBelow();
    void usagePictures_data();
    void usagePictures();

    void correctionTablesHoldTheNoticeValues();
    void pictureTexts_data();
    void pictureTexts();

    void screenshots();
};

void GaiyoFormTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    koruba::InstallJapaneseFontSubstitutions();
}

void GaiyoFormTest::createdHiddenOnTheFirstTab() {
    MainWindowStandIn main;
    QVERIFY(!main.dialog->isVisible());
    QCOMPARE(main.dialog->objectName(), QStringLiteral("GaiyoF"));
    auto* pages = Child<QTabWidget>(main.dialog, "PageControl1");
    QVERIFY(pages != nullptr);
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
}

void GaiyoFormTest::windowFrameAndStacking() {
    TGaiyoF dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("使用方法および計算概要"));
    QCOMPARE(dialog.size(), QSize(519, 386));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.windowModality(), Qt::NonModal);

    auto* button = Child<QPushButton>(&dialog, "Button1");
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), QStringLiteral("閉じる"));
    QCOMPARE(button->geometry(), QRect(438, 358, 75, 22));
    QVERIFY(button->isDefault());
    QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Child<QTabWidget>(&dialog, "PageControl1")->geometry(), QRect(0, 0, 519, 386));
}

void GaiyoFormTest::tabsInOrder() {
    TGaiyoF dialog;
    auto* pages = Child<QTabWidget>(&dialog, "PageControl1");
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("TabSheet1"), QStringLiteral("Ｎ値計算式")},
        {QStringLiteral("TabSheet4"), QStringLiteral("補正値-1")},
        {QStringLiteral("TabSheet5"), QStringLiteral("補正値-2")},
        {QStringLiteral("TabSheet6"), QStringLiteral("補正値-3")},
        {QStringLiteral("TabSheet2"), QStringLiteral("金物一覧")},
        {QStringLiteral("TabSheet3"), QStringLiteral("使用方法")},
        {QStringLiteral("TabSheet7"), QStringLiteral("2025改正")},
    };
    QCOMPARE(pages->count(), expected.size());
    for (int i = 0; i < pages->count(); ++i) {
        QCOMPARE(pages->widget(i)->objectName(), expected[i].first);
        QCOMPARE(pages->tabText(i), expected[i].second);
    }
}

// The 2025 tab says what the window computes under those rules: both
// formulas and the factor's definition as the core words them, each
// paragraph within the page.
void GaiyoFormTest::rulesTabShowsThe2025Formulas() {
    TGaiyoF dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* pages = Child<QTabWidget>(&dialog, "PageControl1");
    QWidget* page = pages->widget(pages->count() - 1);
    pages->setCurrentWidget(page);
    QString all;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        all += label->text() + QLatin1Char('\n');
        QVERIFY2(label->geometry().bottom() < page->height(), qPrintable(label->objectName()));
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(label->objectName()));
    }
    for (const char* expected :
         {"N = A1×B1×f(H1) − L", "N = A1×B1×f(H1) + A2×B2×f(H2) − L",
          "f(H) = H / 2.7（H > 3.2m のとき）", "L には f(H) を乗じない", "Ctrl+K", "2.00〜4.50m"}) {
        QVERIFY2(all.contains(QString::fromUtf8(expected)), expected);
    }
}

void GaiyoFormTest::contentsBuiltOnFirstShowWhenDeferred() {
    TGaiyoF dialog(nullptr, TGaiyoF::Contents::OnFirstShow);
    auto* pages = Child<QTabWidget>(&dialog, "PageControl1");
    QVERIFY(pages != nullptr);
    QCOMPARE(pages->count(), 0);
    QVERIFY(!dialog.ContentsBuilt());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.ContentsBuilt());
    QCOMPARE(pages->count(), 7);
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    // The first page was already on screen when its picture was made.
    QVERIFY(Child<QWidget>(&dialog, "Image1")->isVisible());
    // The close button stays above the pages built after it.
    auto* button = Child<QPushButton>(&dialog, "Button1");
    QCOMPARE(dialog.childAt(button->geometry().center()), button);

    // Each page shows its contents when first seen: the first one without
    // any tab switched (it was blank once), the others by a click on their
    // tab, as the user opens them.
    for (int index = 0; index < pages->count(); ++index) {
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(index).center());
        const QImage shown = pages->widget(index)->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < shown.height(); y += 2) {
            for (int x = 0; x < shown.width(); x += 2) {
                colours.insert(shown.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() > 2, qPrintable(pages->widget(index)->objectName()));
    }
}

void GaiyoFormTest::summaryButtonTwiceBringsTheSameWindow() {
    MainWindowStandIn main;
    QTest::mouseClick(main.summary, Qt::LeftButton);
    QVERIFY(main.dialog->isVisible());
    main.dialog->move(20, 30);
    const QPoint placed = main.dialog->pos();
    QTest::mouseClick(main.summary, Qt::LeftButton);
    QVERIFY(main.dialog->isVisible());
    QCOMPARE(main.dialog->pos(), placed);
    int dialogs = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        dialogs += qobject_cast<TGaiyoF*>(w) != nullptr ? 1 : 0;
    }
    QCOMPARE(dialogs, 1);
}

void GaiyoFormTest::firstShowCentresOverTheMainWindow_data() {
    QTest::addColumn<bool>("ownedByMain");
    QTest::newRow("dialog owned by the main window") << true;
    QTest::newRow("dialog without parent, placed by reference") << false;
}

void GaiyoFormTest::firstShowCentresOverTheMainWindow() {
    QFETCH(bool, ownedByMain);
    MainWindowStandIn main;
    main.window.move(250, 60);
    std::unique_ptr<TGaiyoF> unowned;
    TGaiyoF* dialog = main.dialog;
    if (!ownedByMain) {
        unowned = std::make_unique<TGaiyoF>();
        unowned->SetPlacementReference(&main.window);
        dialog = unowned.get();
    }
    dialog->show();
    const QPoint dialogCentre = dialog->frameGeometry().center();
    const QPoint mainCentre = main.window.frameGeometry().center();
    // Odd sizes on both sides: the centres may differ by a pixel or two.
    QVERIFY2(qAbs(dialogCentre.x() - mainCentre.x()) <= 2 &&
                 qAbs(dialogCentre.y() - mainCentre.y()) <= 2,
             qPrintable(QStringLiteral("dialog centre %1,%2, main centre %3,%4")
                            .arg(dialogCentre.x())
                            .arg(dialogCentre.y())
                            .arg(mainCentre.x())
                            .arg(mainCentre.y())));
}

void GaiyoFormTest::firstShowStaysOnTheScreen() {
    MainWindowStandIn main;
    const QRect avail = main.window.screen()->availableGeometry();
    main.window.move(avail.right() - 200, avail.bottom() - 200);
    main.dialog->show();
    QVERIFY(avail.contains(main.dialog->frameGeometry()));
}

void GaiyoFormTest::tabAndPositionSurviveHiding_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("closed with its button") << QStringLiteral("button");
    QTest::newRow("closed with Enter") << QStringLiteral("enter");
    QTest::newRow("closed with the close box") << QStringLiteral("close box");
    QTest::newRow("dragged by the user, closed with its button")
        << QStringLiteral("dragged, then button");
}

void GaiyoFormTest::tabAndPositionSurviveHiding() {
    QFETCH(QString, how);
    MainWindowStandIn main;
    QTest::mouseClick(main.summary, Qt::LeftButton);
    auto* pages = Child<QTabWidget>(main.dialog, "PageControl1");
    pages->setCurrentIndex(5);
    if (how == QLatin1String("dragged, then button")) {
        // As the window system reports a drag by the user.
        main.dialog->windowHandle()->setFramePosition(QPoint(37, 41));
        QTRY_COMPARE(main.dialog->pos(), QPoint(37, 41));
        how = QStringLiteral("button");
    } else {
        main.dialog->move(37, 41);
    }
    const QPoint left = main.dialog->pos();

    if (how == QLatin1String("button")) {
        QTest::mouseClick(Child<QPushButton>(main.dialog, "Button1"), Qt::LeftButton);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(main.dialog, Qt::Key_Return);
    } else {
        QVERIFY(main.dialog->close());
    }
    QVERIFY(!main.dialog->isVisible());

    QTest::mouseClick(main.summary, Qt::LeftButton);
    QVERIFY(main.dialog->isVisible());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet3"));
    QCOMPARE(main.dialog->pos(), left);
}

void GaiyoFormTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("Return closes") << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter closes") << int(Qt::Key_Enter) << false;
    QTest::newRow("Escape does nothing") << int(Qt::Key_Escape) << true;
}

void GaiyoFormTest::keys() {
    QFETCH(int, key);
    QFETCH(bool, staysOpen);
    MainWindowStandIn main;
    QTest::mouseClick(main.summary, Qt::LeftButton);
    // Focus on the tabs, where it is after a tab was clicked.
    Child<QTabWidget>(main.dialog, "PageControl1")->setFocus();
    QTest::keyClick(main.dialog, Qt::Key(key));
    QCOMPARE(main.dialog->isVisible(), staysOpen);
    if (!staysOpen) {
        QCOMPARE(main.dialog->result(), int(QDialog::Accepted));
    }
}

void GaiyoFormTest::mainWindowKeepsTakingClicks() {
    MainWindowStandIn main;
    auto* other = new QPushButton(QStringLiteral("BBtn_Rev"), &main.window);
    other->setGeometry(118, 245, 105, 23);
    other->show();
    QSignalSpy clicked(other, &QPushButton::clicked);
    QTest::mouseClick(main.summary, Qt::LeftButton);
    QVERIFY(main.dialog->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(main.dialog->isVisible());
}

void GaiyoFormTest::closingTheMainWindowEndsTheProgram_data() {
    QTest::addColumn<bool>("ownedByMain");
    QTest::newRow("dialog owned by the main window") << true;
    QTest::newRow("dialog without parent, placed by reference") << false;
}

void GaiyoFormTest::closingTheMainWindowEndsTheProgram() {
    QFETCH(bool, ownedByMain);
    auto main = std::make_unique<QWidget>();
    main->resize(344, 451);
    std::unique_ptr<TGaiyoF> unowned;
    TGaiyoF* dialog = nullptr;
    if (ownedByMain) {
        dialog = new TGaiyoF(main.get());
    } else {
        unowned = std::make_unique<TGaiyoF>();
        unowned->SetPlacementReference(main.get());
        dialog = unowned.get();
    }
    main->show();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    // The program's end is decided inside the event loop: close the main
    // window from there and see whether the loop ends by itself.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, main.get(), [&main] { main->close(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    guard.start(3000);
    const int exitCode = QApplication::exec();
    guard.stop();
    QCOMPARE(exitCode, 0);
    QCOMPARE(lastClosed.count(), 1);
}

void GaiyoFormTest::hardwareTableTexts_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    const QStringList headings{QStringLiteral("N値"), QStringLiteral("接合耐力(ｋN)"),
                               QStringLiteral(" 告示  記号"), QStringLiteral("接合金物の仕様"),
                               QStringLiteral("許容耐力または降伏耐力(ｋN)")};
    for (int c = 0; c < headings.size(); ++c) {
        const QString name = QStringLiteral("Lbl_Kana_0_%1").arg(c + 1);
        QTest::newRow(qPrintable(name)) << name << headings[c];
    }
    const QList<QStringList> rows{
        {"0.0", "0.00", "(い)", "  短ほぞ差し\n  かすがい(C)", "0.00\n(1.62)"},
        {"0.65", "3.44", "(ろ)", "  長ほぞ差し込み栓\n  かど金物(CP･L)", "(3.81)\n3.88"},
        {"1.0", "5.29", "(は)", "  かど金物(CP･T)\n  山形プレート(VP)", "5.07\n5.88"},
        {"1.4", "7.41", "(に)", "  羽子板ボルト(SB)または短ざく金物(S)", "7.50"},
        {"1.6", "8.47", "(ほ)", "  羽子板ボルト(SB+ZS50)または短ざく金物(S+ZS50)", "8.50"},
        {"1.8", "9.53", "(へ)", "  引き寄せ金物(HD-10)", "10.00"},
        {"2.8", "14.82", "(と)", "  引き寄せ金物(HD-15)", "15.00"},
        {"3.7", "19.58", "(ち)", "  引き寄せ金物(HD-20)", "20.00"},
        {"4.7", "24.87", "(り)", "  引き寄せ金物(HD-25)", "25.00"},
        {"5.6", "29.64", "(ぬ)", "  引き寄せ金物(HD-15)×２個", "30.00"},
        {"7.5", "39.69", "(る)*", "  引き寄せ金物(HD-20)×２個 (参考)", "(40.0)"},
    };
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString name = QStringLiteral("Lbl_Kana_%1_%2").arg(r + 1).arg(c + 1);
            QTest::newRow(qPrintable(name)) << name << rows[r][c];
        }
    }
}

void GaiyoFormTest::hardwareTableTexts() {
    QFETCH(QString, label);
    QFETCH(QString, text);
    TGaiyoF dialog;
    auto* found = dialog.findChild<QLabel*>(label);
    QVERIFY2(found != nullptr, qPrintable(label));
    QCOMPARE(found->text(), text);
    const bool heading = label.startsWith(QLatin1String("Lbl_Kana_0_"));
    const bool isLeft = label.endsWith(QLatin1String("_4")) && !heading;
    QCOMPARE(found->alignment() & Qt::AlignHorizontal_Mask,
             isLeft ? Qt::AlignLeft : Qt::AlignHCenter);
    QCOMPARE(found->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
    QCOMPARE(found->autoFillBackground(), !heading);
    QCOMPARE(found->font().pixelSize(), 12);
}

void GaiyoFormTest::hardwareGridGeometry() {
    TGaiyoF dialog;
    QCOMPARE(Child<QWidget>(&dialog, "Panel1")->geometry(), QRect(0, 0, 511, 291));
    const int lefts[] = {5, 45, 95, 130, 415};
    const int widths[] = {41, 51, 36, 286, 86};
    const int tops[] = {5, 30, 60, 90, 120, 140, 160, 180, 200, 220, 240, 260};
    for (int r = 0; r < 12; ++r) {
        const int height = r == 0 ? 26 : (r <= 3 ? 31 : 21);
        for (int c = 0; c < 5; ++c) {
            const QString name = QStringLiteral("Shape_Kana_%1_%2").arg(r).arg(c + 1);
            auto* outline = dialog.findChild<QWidget*>(name);
            QVERIFY2(outline != nullptr, qPrintable(name));
            const QRect cell(lefts[c], tops[r], widths[c], height);
            QCOMPARE(outline->geometry(), cell);
            // The label under the outline fills the same cell.
            const QString labelName = QStringLiteral("Lbl_Kana_%1_%2").arg(r).arg(c + 1);
            auto* label = dialog.findChild<QLabel*>(labelName);
            QVERIFY2(label != nullptr, qPrintable(labelName));
            QCOMPARE(label->geometry(), cell);
            QVERIFY2(label->parentWidget()->children().indexOf(label) <
                         label->parentWidget()->children().indexOf(outline),
                     qPrintable(name));
        }
    }
}

void GaiyoFormTest::usageLabels_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, int x, int y, const char* style, const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(name) << QPoint(x, y)
                            << QString::fromLatin1(style) << text;
    };
    row("Label17", 2, 3, "bold", QStringLiteral("使用方法"));
    row("Label16", 2, 20, "bold",
        QStringLiteral(
            "①以下の軸組パターンからＮ値を算定する     柱の軸組を選択します  (赤い柱が対象)"));
    row("Label75", 25, 50, "plain", QStringLiteral("(1) ２階または１階下屋の出隅"));
    row("Label76", 25, 65, "plain", QStringLiteral("(2) ２階または１階下屋の出隅以外"));
    row("Label77", 25, 80, "plain", QStringLiteral("(3) １階、２階がともに出隅"));
    row("Label78", 25, 95, "plain", QStringLiteral("(4) １階が出隅以外で２階が出隅"));
    row("Label79", 25, 110, "plain", QStringLiteral("(5) １階、２階がともに出隅以外"));
    row("Label18", 2, 140, "bold", QStringLiteral("②筋かいおよび面材を選択します"));
    row("Label20", 106, 165, "note", QStringLiteral("筋かいと面材の同一位置配置も可能です。"));
    row("Label73", 106, 195, "note",
        QStringLiteral("筋かいと面材の倍率合算の最大値は ｢5.0｣とします。"));
    row("Label74", 106, 220, "note", QStringLiteral("このとき軸組図中の倍率に \"*\" が付きます。"));
    row("Label19", 267, 15, "bold", QStringLiteral("③筋かい･面材を配置します"));
    row("Label44", 378, 62, "note", QStringLiteral("非対称軸組みの左右を反転します。"));
    row("Label45", 378, 114, "note",
        QStringLiteral("配置した筋かい･面材データをすべてクリアします。"));
    row("Label42", 265, 154, "note",
        QStringLiteral(
            "     エリア内で左クリックすると筋かい･面材が配置され、もう一度クリックすると"
            "削除されます。"));
    row("Label43", 265, 180, "underlined",
        QStringLiteral("片筋かいが配置された状態で右クリックすると左右反転します。"));
    row("Label41", 267, 220, "bold", QStringLiteral("④算定結果"));
    row("Label71", 420, 217, "note", QStringLiteral("Ｎ値算定用諸係数"));
    row("Label72", 266, 245, "note", QStringLiteral("Ｎ値・[引抜力]・金物記号・接合耐力・金物名"));
}

void GaiyoFormTest::usageLabels() {
    QFETCH(QString, label);
    QFETCH(QPoint, pos);
    QFETCH(QString, style);
    QFETCH(QString, text);
    TGaiyoF dialog;
    auto* found = dialog.findChild<QLabel*>(label);
    QVERIFY2(found != nullptr, qPrintable(label));
    QCOMPARE(found->parentWidget()->objectName(), QStringLiteral("TabSheet3"));
    QCOMPARE(found->text(), text);
    QCOMPARE(found->pos(), pos);
    const bool note = style == QLatin1String("note") || style == QLatin1String("underlined");
    if (note) {
        // A note may be set one pixel smaller to stay above a picture.
        QVERIFY2(found->font().pixelSize() == 11 || found->font().pixelSize() == 10,
                 qPrintable(QString::number(found->font().pixelSize())));
    } else {
        QCOMPARE(found->font().pixelSize(), 12);
    }
    QCOMPARE(found->font().bold(), style == QLatin1String("bold"));
    QCOMPARE(found->font().underline(), style == QLatin1String("underlined"));
    QCOMPARE(found->wordWrap(), note || label == QLatin1String("Label16"));
    if (note) {
        QCOMPARE(found->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }
}

void GaiyoFormTest::notesEndAbovePicturesBelow_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("picture");
    QTest::newRow("Label72 above the result boxes") << "Label72"
                                                    << "Image15";
}

void GaiyoFormTest::notesEndAbovePicturesBelow() {
    QFETCH(QString, label);
    QFETCH(QString, picture);
    TGaiyoF dialog;
    auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(pages->count() - 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* note = dialog.findChild<QLabel*>(label);
    auto* below = dialog.findChild<QWidget*>(picture);
    QVERIFY(note != nullptr && below != nullptr);
    const QImage page = note->parentWidget()->grab().toImage();
    const qreal dpr = page.devicePixelRatio();
    const int left = std::max(note->x(), below->x());
    const int right = std::min(note->geometry().right(), below->geometry().right());
    // No blue lettering in the picture's top border nor the row above it.
    for (int y = below->y() - 1; y <= below->y(); ++y) {
        for (int x = left; x <= right; ++x) {
            const QColor c = page.pixelColor(QPoint(x, y) * dpr);
            QVERIFY2(c.blue() - c.red() < 60,
                     qPrintable(QStringLiteral("%1 reaches (%2, %3)").arg(label).arg(x).arg(y)));
        }
    }
}

void GaiyoFormTest::usagePictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("stretched");
    QTest::newRow("Image10") << "Image10" << QRect(0, 160, 101, 158) << true;
    QTest::newRow("Image11") << "Image11" << QRect(264, 35, 107, 115) << false;
    QTest::newRow("Image12") << "Image12" << QRect(378, 34, 106, 25) << false;
    QTest::newRow("Image13") << "Image13" << QRect(378, 86, 118, 25) << false;
    QTest::newRow("Image14") << "Image14" << QRect(415, 227, 94, 91) << true;
    QTest::newRow("Image15") << "Image15" << QRect(233, 267, 181, 51) << true;
    QTest::newRow("Shape21") << "Shape21" << QRect(265, 152, 11, 11) << false;
    QTest::newRow("Image1") << "Image1" << QRect(5, 5, 501, 326) << false;
    QTest::newRow("Image2") << "Image2" << QRect(5, 5, 371, 216) << false;
    QTest::newRow("Image3") << "Image3" << QRect(5, 5, 501, 266) << false;
    QTest::newRow("Image4") << "Image4" << QRect(5, 5, 501, 291) << false;
}

void GaiyoFormTest::usagePictures() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, stretched);
    TGaiyoF dialog;
    auto* found = dialog.findChild<QWidget*>(name);
    QVERIFY2(found != nullptr, qPrintable(name));
    QCOMPARE(found->geometry(), geometry);
    if (auto* box = dynamic_cast<koruba::GaiyoPictureBox*>(found)) {
        QCOMPARE(box->stretched(), stretched);
    }
}

// The three correction tables as the notification prints them, rows and
// columns by brace class 15x90, 30x90, 45x90, 90x90: one side (top, foot),
// single braces on both sides, a single brace beside a cross brace.
void GaiyoFormTest::correctionTablesHoldTheNoticeValues() {
    using Values = std::vector<std::vector<float>>;
    QCOMPARE(gaiyo::oneSideTable().values,
             (Values{{0.0f, 0.0f}, {0.5f, -0.5f}, {0.5f, -0.5f}, {2.0f, -2.0f}}));
    QCOMPARE(gaiyo::bothSinglesTable().values, (Values{{0.0f, 0.5f, 0.5f, 2.0f},
                                                       {0.5f, 1.0f, 1.0f, 2.5f},
                                                       {0.5f, 1.0f, 1.0f, 2.5f},
                                                       {2.0f, 2.5f, 2.5f, 4.0f}}));
    const std::vector<float> single{0.0f, 0.5f, 0.5f, 2.0f};
    QCOMPARE(gaiyo::singleBesideCrossTable().values, (Values{single, single, single, single}));
}

void GaiyoFormTest::pictureTexts_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<QStringList>("texts");
    const QString n = QStringLiteral("表-1.3.1. 接合部の仕様 のNの数値");
    QTest::newRow("Image1 formulas")
        << 1
        << QStringList{
               QStringLiteral("(1) 平屋建ての場合、若しくは２階建ての部分における２階の柱の場合"),
               QStringLiteral("N＝A1×B1－L"),
               QStringLiteral("(1)"),
               n,
               QStringLiteral("当該柱の両面における軸組の倍率の差(片側のみ軸組が取り付く場合には、"
                              "当該軸組の倍率)の数値。ただし、筋かいを設けた軸組の場合には、表-1."
                              "2.1～3 に該当する補正値を加えたものとする。"),
               QStringLiteral("周辺の部材による押さえ(曲げ戻し)の効果を表す係数で、出隅の柱におい"
                              "ては 0.8、その他の柱においては 0.5 とする。"),
               QStringLiteral("鉛直荷重による押さえの効果を示す係数で、出隅の柱においては 0.4、そ"
                              "の他においては 0.6 とする。"),
               QStringLiteral("(2) ２階建ての部分における１階の柱の場合"),
               QStringLiteral("N＝A1×B1+A2×B2－L"),
               QStringLiteral("(2)"),
               QStringLiteral("A1, B1"),
               QStringLiteral("式(1) の場合と同じ。"),
               QStringLiteral("当該柱に連続する２階柱の両側における軸組の倍率の差(片側のみに軸組が"
                              "取り付く場合には当該軸組の倍率)の数値。ただし、筋かいを設けた軸組の"
                              "場合には、表-1.2.1～3 に該当する補正値を加えたものとする。"),
               QStringLiteral("２階の周辺部材による押さえ(曲げ戻し)の効果を示す係数で、２階の出隅の"
                              "柱においては 0.8、２階のその他の柱においては 0.5 とする。"),
               QStringLiteral("鉛直荷重による押さえの効果を示す係数で、出隅の柱においては 1.0、そ"
                              "の他においては 1.6 とする。")};
    const QStringList classes{QStringLiteral("15x90以上の筋かい"), QStringLiteral("φ9以上の鉄筋"),
                              QStringLiteral("30x90以上の筋かい"),
                              QStringLiteral("45x90以上の筋かい"),
                              QStringLiteral("90x90以上の筋かい")};
    QTest::newRow("Image2 table 1.2.1")
        << 2
        << (QStringList{QStringLiteral("表-1.2.1. 筋かいが片側から取り付く柱"),
                        QStringLiteral("筋かいの種類"), QStringLiteral("取り付く位置"),
                        QStringLiteral("柱頭部"), QStringLiteral("柱脚部"),
                        QStringLiteral("たすき筋かいの場合、補正値を「0」とする。")} +
            classes);
    QTest::newRow("Image3 table 1.2.2")
        << 3
        << (QStringList{QStringLiteral("表-1.2.2. 両側から筋かいが取り付く柱(両側が片筋かい)"),
                        QStringLiteral("他方の筋かい"), QStringLiteral("一方の筋かい"),
                        QStringLiteral("両筋かいが共に柱脚部に取付く場合、補正値を「0」とする。")} +
            classes);
    QTest::newRow("Image4 table 1.2.3")
        << 4
        << (QStringList{QStringLiteral("表-1.2.3. 両側から筋かいが取り付く柱"),
                        QStringLiteral("(一方が片筋かい、他方がたすき筋かい)"),
                        QStringLiteral("他方のたすき筋かい"), QStringLiteral("一方の片筋かい"),
                        QStringLiteral("片筋かいが柱脚部に取付く場合または両筋かいが共にたすきの場"
                                       "合、補正値を「0」とする。")} +
            classes);
    QTest::newRow("Image10 element group") << 10
                                           << QStringList{QStringLiteral("筋かい・面材"),
                                                          QStringLiteral("筋かい(左上)"),
                                                          QStringLiteral("筋かい(右上)"),
                                                          QStringLiteral("たすき筋かい"),
                                                          QStringLiteral("筋かいサイズ"),
                                                          QStringLiteral("1.5cm×9.0cm (1.0)"),
                                                          QStringLiteral("3.0cm×9.0cm (1.5)"),
                                                          QStringLiteral("4.5cm×9.0cm (2.0)"),
                                                          QStringLiteral("9.0cm×9.0cm (3.0)"),
                                                          QStringLiteral("面材"),
                                                          QStringLiteral("0.5")};
    QTest::newRow("Image11 frame")
        << 11
        << QStringList{QStringLiteral("45x90"), QStringLiteral("[2.0]"), QStringLiteral("45x90"),
                       QStringLiteral("[4.0]"), QStringLiteral("45x90"), QStringLiteral("[2.0]")};
    QTest::newRow("Image12 mirror button") << 12 << QStringList{QStringLiteral("軸組反転")};
    QTest::newRow("Image13 clear button")
        << 13 << QStringList{QStringLiteral("全配置データクリア")};
    QTest::newRow("Image14 coefficients") << 14
                                          << QStringList{QStringLiteral("A2= |0.0-4.0|+(0.0)"),
                                                         QStringLiteral("= 4.0"),
                                                         QStringLiteral("B2= 0.8"),
                                                         QStringLiteral("A1= |2.0-4.0|+(0.0)"),
                                                         QStringLiteral("= 2.0"),
                                                         QStringLiteral("B1= 0.5"),
                                                         QStringLiteral("L= 1.6")};
    QTest::newRow("Image15 results")
        << 15
        << QStringList{QStringLiteral("N = 2.0x0.5+4.0x0.8-1.6 = 2.60 [13.76kN]"),
                       QStringLiteral("(と)"), QStringLiteral("接合耐力: 14.82(kN)"),
                       QStringLiteral("引き寄せ金物(HD-15)")};
}

void GaiyoFormTest::pictureTexts() {
    QFETCH(int, picture);
    QFETCH(QStringList, texts);
    const QMap<int, gaiyo::FixedPicture> pictures{
        {1, gaiyo::formulaPicture()},         {2, gaiyo::oneSidePicture()},
        {3, gaiyo::bothSinglesPicture()},     {4, gaiyo::singleBesideCrossPicture()},
        {10, gaiyo::elementGroupPicture()},   {11, gaiyo::frameExamplePicture()},
        {12, gaiyo::reverseButtonPicture()},  {13, gaiyo::clearButtonPicture()},
        {14, gaiyo::coefficientBoxPicture()}, {15, gaiyo::resultBoxesPicture()},
    };
    const gaiyo::FixedPicture p = pictures.value(picture);
    const QStringList drawn = TextsOf(p);
    QString joined = drawn.join(QString());
    joined.remove(QLatin1Char(' '));
    for (const QString& text : texts) {
        QString bare = text;
        bare.remove(QLatin1Char(' '));
        // Texts that fit on one line must be drawn as one piece, exactly;
        // wrapped paragraphs must read the same once the breaks are gone.
        const bool exact = std::any_of(drawn.begin(), drawn.end(),
                                       [&](const QString& line) { return line.contains(text); });
        QVERIFY2(exact || (text.size() > 40 && joined.contains(bare)), qPrintable(text));
    }
}

void GaiyoFormTest::screenshots() {
    MainWindowStandIn main;
    QTest::mouseClick(main.summary, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(main.dialog));
    auto* pages = Child<QTabWidget>(main.dialog, "PageControl1");
    const QString dir = ScreenshotDir();
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        const QImage shot = main.dialog->grab().toImage();
        QCOMPARE(shot.size(), QSize(519, 386) * shot.devicePixelRatio());
        const QString density = shot.devicePixelRatio() == 1.0
                                    ? QString()
                                    : QStringLiteral("@%1x").arg(shot.devicePixelRatio());
        const QString file = QStringLiteral("%1/gaiyo-tab%2-%3%4.png")
                                 .arg(dir)
                                 .arg(i + 1)
                                 .arg(pages->widget(i)->objectName(), density);
        QVERIFY2(shot.save(file), qPrintable(file));
    }
    // The pictures alone, at twice the pixel density, to check sharpness.
    const QList<QPair<QString, gaiyo::FixedPicture>> pictures{
        {QStringLiteral("Image1"), gaiyo::formulaPicture()},
        {QStringLiteral("Image2"), gaiyo::oneSidePicture()},
        {QStringLiteral("Image3"), gaiyo::bothSinglesPicture()},
        {QStringLiteral("Image4"), gaiyo::singleBesideCrossPicture()},
        {QStringLiteral("Image10"), gaiyo::elementGroupPicture()},
        {QStringLiteral("Image11"), gaiyo::frameExamplePicture()},
        {QStringLiteral("Image12"), gaiyo::reverseButtonPicture()},
        {QStringLiteral("Image13"), gaiyo::clearButtonPicture()},
        {QStringLiteral("Image14"), gaiyo::coefficientBoxPicture()},
        {QStringLiteral("Image15"), gaiyo::resultBoxesPicture()},
    };
    for (const auto& [name, picture] : pictures) {
        const QImage image = gaiyo::renderPicture(picture, 2.0);
        QCOMPARE(image.size(), picture.size * 2);
        QVERIFY(image.save(QStringLiteral("%1/gaiyo-%2@2x.png").arg(dir, name)));
    }
}

QTEST_MAIN(GaiyoFormTest)
#include "GaiyoFormTest.moc"
