// The image control's mouse semantics and its transparency, with the
// event sequences the toolkit delivers.
#include "ui/calculator/ImageControl.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using koruba::ImageControl;

namespace {

// One recorded signal: "down", "click" or "double" with the button.
using Log = QStringList;

QString ButtonName(Qt::MouseButton b) {
    return b == Qt::LeftButton    ? QStringLiteral("L")
           : b == Qt::RightButton ? QStringLiteral("R")
                                  : QStringLiteral("M");
}

enum class Step { Press, Release, ReleaseOutside, DoubleClick };

} // namespace

class ImageControlTest : public QObject {
    Q_OBJECT

private slots:
    void mouseSemantics_data();
    void mouseSemantics();
    void disabledTakesNoInput();
    void emptyPictureIsTransparent();
    void transparentControlShowsBeneathInItsKeyColour_data();
    void transparentControlShowsBeneathInItsKeyColour();
    void pictureFollowsControlSize();
};

void ImageControlTest::mouseSemantics_data() {
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Log>("expected");

    const QList<Step> click{Step::Press, Step::Release};
    const QList<Step> doubleClick{Step::Press, Step::Release, Step::DoubleClick, Step::Release};
    QTest::newRow("left click: down, then click on release")
        << click << Qt::LeftButton << Log{"down L", "click L"};
    QTest::newRow("right click") << click << Qt::RightButton << Log{"down R", "click R"};
    QTest::newRow("release outside raises no click")
        << QList<Step>{Step::Press, Step::ReleaseOutside} << Qt::LeftButton << Log{"down L"};
    QTest::newRow("press alone") << QList<Step>{Step::Press} << Qt::LeftButton << Log{"down L"};
    QTest::newRow("double-click: second press raises down and double, its release nothing")
        << doubleClick << Qt::LeftButton << Log{"down L", "click L", "down L", "double L"};
    QTest::newRow("right double-click: two downs")
        << doubleClick << Qt::RightButton << Log{"down R", "click R", "down R", "double R"};
    QTest::newRow("release without a press raises nothing")
        << QList<Step>{Step::Release} << Qt::LeftButton << Log{};
}

void ImageControlTest::mouseSemantics() {
    QFETCH(QList<Step>, steps);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Log, expected);

    QWidget host;
    host.resize(100, 100);
    auto* image = new ImageControl(&host);
    image->setGeometry(10, 10, 39, 43);
    Log log;
    connect(image, &ImageControl::mouseDown,
            [&](Qt::MouseButton b) { log << "down " + ButtonName(b); });
    connect(image, &ImageControl::clicked,
            [&](Qt::MouseButton b) { log << "click " + ButtonName(b); });
    connect(image, &ImageControl::doubleClicked,
            [&](Qt::MouseButton b) { log << "double " + ButtonName(b); });
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    for (Step step : steps) {
        switch (step) {
        case Step::Press:
            QTest::mousePress(image, button);
            break;
        case Step::Release:
            QTest::mouseRelease(image, button);
            break;
        case Step::ReleaseOutside:
            QTest::mouseRelease(image, button, {}, QPoint(60, 20));
            break;
        case Step::DoubleClick:
            QTest::mouseDClick(image, button);
            break;
        }
    }
    QCOMPARE(log, expected);
}

// Through the window, as the platform delivers input: a disabled control
// receives nothing, an enabled one does.
void ImageControlTest::disabledTakesNoInput() {
    QWidget host;
    host.resize(100, 100);
    auto* image = new ImageControl(&host);
    image->setGeometry(10, 10, 39, 43);
    image->setEnabled(false);
    QSignalSpy downs(image, &ImageControl::mouseDown);
    QSignalSpy clicks(image, &ImageControl::clicked);
    QSignalSpy doubles(image, &ImageControl::doubleClicked);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    const QPoint at = image->geometry().center();
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(host.windowHandle(), Qt::RightButton, {}, at);
    QCOMPARE(downs.count() + clicks.count() + doubles.count(), 0);

    image->setEnabled(true);
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(clicks.count(), 1);
}

void ImageControlTest::emptyPictureIsTransparent() {
    QWidget host;
    host.resize(60, 60);
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    host.setPalette(pal);
    host.setAutoFillBackground(true);
    auto* image = new ImageControl(&host);
    image->setGeometry(10, 10, 39, 43);

    QImage shot = host.grab().toImage();
    QCOMPARE(shot.pixelColor(20, 20), QColor(10, 200, 30));

    {
        QPainter p(&image->picture().Canvas());
        p.fillRect(QRect(0, 0, 39, 43), QColor(166, 202, 240));
    }
    image->refresh();
    shot = host.grab().toImage();
    QCOMPARE(shot.pixelColor(20, 20), QColor(166, 202, 240));
    QCOMPARE(shot.pixelColor(5, 5), QColor(10, 200, 30));

    image->picture().Clear();
    image->refresh();
    QCOMPARE(host.grab().toImage().pixelColor(20, 20), QColor(10, 200, 30));
}

void ImageControlTest::transparentControlShowsBeneathInItsKeyColour_data() {
    QTest::addColumn<bool>("transparent");
    QTest::newRow("transparent: the lower-left colour lets the parent show") << true;
    QTest::newRow("opaque: the whole picture shows") << false;
}

void ImageControlTest::transparentControlShowsBeneathInItsKeyColour() {
    QFETCH(bool, transparent);
    const QColor beneath(10, 200, 30);
    const QColor key(240, 240, 240);
    QWidget host;
    host.resize(60, 60);
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, beneath);
    host.setPalette(pal);
    host.setAutoFillBackground(true);
    auto* image = new ImageControl(&host);
    image->setGeometry(0, 0, 40, 40);
    image->setTransparent(transparent);
    {
        QPainter p(&image->picture().Canvas());
        p.fillRect(QRect(0, 0, 40, 40), key);
        p.fillRect(QRect(10, 10, 10, 10), Qt::white);
    }
    image->refresh();
    const QImage shot = host.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    QCOMPARE(shot.pixelColor(QPoint(2, 2) * dpr), transparent ? beneath : key);
    QCOMPARE(shot.pixelColor(QPoint(15, 15) * dpr), QColor(Qt::white));

    // Drawn anew, the picture is shown anew.
    {
        QPainter p(&image->picture().Canvas());
        p.fillRect(QRect(10, 10, 10, 10), key);
    }
    image->refresh();
    QCOMPARE(host.grab().toImage().pixelColor(QPoint(15, 15) * dpr), transparent ? beneath : key);
}

void ImageControlTest::pictureFollowsControlSize() {
    ImageControl image;
    image.resize(39, 43);
    QCOMPARE(image.picture().ControlSize(), QSize(39, 43));
    QCOMPARE(image.picture().Canvas().size(), QSize(39, 43));
}

QTEST_MAIN(ImageControlTest)
#include "ImageControlTest.moc"
