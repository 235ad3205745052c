// The panels' raised bevel: one light line on the top and left, one dark
// line on the bottom and right, and nothing more inside it.
#include "ui/calculator/BevelPanel.h"

#include <QSet>
#include <QTest>

using koruba::BevelPanel;

class BevelPanelTest : public QObject {
    Q_OBJECT

private slots:
    void singleRaisedBevel_data();
    void singleRaisedBevel();
};

void BevelPanelTest::singleRaisedBevel_data() {
    QTest::addColumn<bool>("singleBorder");
    QTest::addColumn<int>("inset");
    QTest::newRow("heading plate without border") << false << 0;
    QTest::newRow("panel with a single border") << true << 2;
}

void BevelPanelTest::singleRaisedBevel() {
    QFETCH(bool, singleBorder);
    QFETCH(int, inset);

    BevelPanel panel(singleBorder);
    panel.resize(40, 24);
    QPalette pal = panel.palette();
    pal.setColor(QPalette::Window, QColor(240, 240, 240));
    pal.setColor(QPalette::Light, Qt::white);
    pal.setColor(QPalette::Dark, QColor(160, 160, 160));
    panel.setPalette(pal);
    QCOMPARE(panel.innerRect(), QRect(inset + 1, inset + 1, 38 - 2 * inset, 22 - 2 * inset));

    const QImage shot = panel.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    // The colours along a line of pixels, from (x, y) in steps (dx, dy).
    const auto line = [&](int x, int y, int dx, int dy, int count) {
        QSet<QRgb> colours;
        for (int i = 0; i < count; ++i) {
            colours.insert(shot.pixel(QPoint(x + i * dx, y + i * dy) * dpr));
        }
        return colours;
    };
    const QSet<QRgb> light{qRgb(255, 255, 255)}, dark{qRgb(160, 160, 160)},
        face{qRgb(240, 240, 240)};
    const int w = panel.width() - 2 * inset - 2; // inside the corners
    const int h = panel.height() - 2 * inset - 2;
    const int r = panel.width() - 1 - inset;
    const int b = panel.height() - 1 - inset;
    QCOMPARE(line(inset + 1, inset, 1, 0, w), light);
    QCOMPARE(line(inset, inset + 1, 0, 1, h), light);
    QCOMPARE(line(inset + 1, b, 1, 0, w), dark);
    QCOMPARE(line(r, inset + 1, 0, 1, h), dark);
    // Inside the bevel the face begins at once: no second line.
    QCOMPARE(line(inset + 2, inset + 1, 1, 0, w - 2), face);
    QCOMPARE(line(inset + 1, inset + 2, 0, 1, h - 2), face);
    QCOMPARE(line(inset + 2, b - 1, 1, 0, w - 2), face);
    QCOMPARE(line(r - 1, inset + 2, 0, 1, h - 2), face);
}

QTEST_MAIN(BevelPanelTest)
#include "BevelPanelTest.moc"
