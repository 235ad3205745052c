// The panels' raised bevel: one light line on the top and left, one dark
// line on the bottom and right, and nothing more inside it.
#include "ui/BevelPanel.h"

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
    QCOMPARE(panel.InnerRect(), QRect(inset + 1, inset + 1, 38 - 2 * inset, 22 - 2 * inset));

    const QImage shot = panel.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    const auto at = [&](int x, int y) { return shot.pixelColor(QPoint(x, y) * dpr); };
    const int left = inset;
    const int top = inset;
    const int right = panel.width() - 1 - inset;
    const int bottom = panel.height() - 1 - inset;
    const QColor face(240, 240, 240);
    for (int x = left + 1; x < right; ++x) {
        QCOMPARE(at(x, top), QColor(Qt::white));
        QCOMPARE(at(x, bottom), QColor(160, 160, 160));
        // Inside the bevel the face begins at once: no second line.
        QCOMPARE(at(x, top + 1), face);
        QCOMPARE(at(x, bottom - 1), face);
    }
    for (int y = top + 1; y < bottom; ++y) {
        QCOMPARE(at(left, y), QColor(Qt::white));
        QCOMPARE(at(right, y), QColor(160, 160, 160));
        QCOMPARE(at(left + 1, y), face);
        QCOMPARE(at(right - 1, y), face);
    }
}

QTEST_MAIN(BevelPanelTest)
#include "BevelPanelTest.moc"
