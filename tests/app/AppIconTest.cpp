#include "app/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstdlib>

// The icon files under resources/ are written once by koruba_update_icons
// and kept; they must still be what the icon's drawing gives.
class AppIconTest : public QObject {
    Q_OBJECT

private slots:
    void svgMatchesDrawing();
    void bitmapsMatchDrawing_data();
    void bitmapsMatchDrawing();
    void bitmapsShowTheThreeColours();
};

namespace {

const QDir Resources(QStringLiteral(KORUBA_RESOURCES_DIR));

QImage Shipped(int size) {
    return QImage(Resources.filePath(QStringLiteral("icons/koruba-x-%1.png").arg(size)))
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void AppIconTest::svgMatchesDrawing() {
    QFile svg(Resources.filePath(QStringLiteral("koruba-x.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QCOMPARE(svg.readAll(), koruba::AppIconSvg());
}

void AppIconTest::bitmapsMatchDrawing_data() {
    QTest::addColumn<int>("size");
    for (const int size : koruba::AppIconSizes)
        QTest::addRow("%dx%d", size, size) << size;
}

void AppIconTest::bitmapsMatchDrawing() {
    QFETCH(int, size);
    const QImage shipped = Shipped(size);
    QVERIFY(!shipped.isNull());
    QCOMPARE(shipped.size(), QSize(size, size));
    const QImage drawn = koruba::RenderAppIcon(size).convertToFormat(QImage::Format_ARGB32);

    // Another Qt version may shade edge pixels a little differently; a
    // changed drawing moves whole lines.
    int differing = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb a = shipped.pixel(x, y);
            const QRgb b = drawn.pixel(x, y);
            const int diff =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            if (diff > 24)
                ++differing;
        }
    }
    QVERIFY2(
        differing <= size * size / 200,
        qPrintable(
            QStringLiteral("%1 pixels differ; run the koruba_update_icons target").arg(differing)));
}

void AppIconTest::bitmapsShowTheThreeColours() {
    // At the smallest size the letter, the frame and the tile must all
    // still show with their own colours.
    for (const int size : {16, 32}) {
        const QImage image = Shipped(size);
        bool red = false;
        bool yellow = false;
        bool dark = false;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QColor c = image.pixelColor(x, y);
                red |= c.red() > 200 && c.green() < 80 && c.blue() < 80;
                yellow |= c.red() > 200 && c.green() > 180 && c.blue() < 80;
                dark |= c.alpha() == 255 && c.red() < 80 && c.green() < 80 && c.blue() < 90;
            }
        }
        QVERIFY2(red && yellow && dark, qPrintable(QString::number(size)));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // rounded corner
    }
}

QTEST_GUILESS_MAIN(AppIconTest)
#include "AppIconTest.moc"
