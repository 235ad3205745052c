#include "ui/summary/ControlPictures.h"

#include "draw/Colors.h"
#include "draw/JapaneseFonts.h"
#include "draw/PatternDiagram.h"

#include <QPainter>

#include <cmath>

namespace koruba::gaiyo {

namespace {

// Classic desktop colours, fixed so that the pictures look the same on
// every machine.
const QColor kFace(240, 240, 240);
const QColor kLight(Qt::white);
const QColor kShadow(160, 160, 160);
const QColor kDark(105, 105, 105);
const QColor kGreyText(128, 128, 128);
const QColor kSelection(0, 0, 128);
const QColor kOrange = ToQColor(clMemberOrange);
const QColor kSkyBlue = ToQColor(clSkyBlue);

void line(QPainter& p, const QColor& c, qreal x1, qreal y1, qreal x2, qreal y2) {
    p.setPen(QPen(c, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

// A raised (or, with sunken, lowered) bevel around the rectangle.
void bevel(QPainter& p, const QRect& r, bool sunken = false) {
    const QColor& tl = sunken ? kShadow : kLight;
    const QColor& br = sunken ? kLight : kDark;
    line(p, tl, r.left(), r.top(), r.right() - 1, r.top());
    line(p, tl, r.left(), r.top(), r.left(), r.bottom() - 1);
    line(p, br, r.left(), r.bottom(), r.right(), r.bottom());
    line(p, br, r.right(), r.top(), r.right(), r.bottom());
}

void button(QPainter& p, const QRect& r) {
    p.fillRect(r, kFace);
    bevel(p, r);
    line(p, kShadow, r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    line(p, kShadow, r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
}

void drawText(QPainter& p, const QRectF& r, int align, const QString& text, const QFont& font,
              const QColor& color = Qt::black) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, align, text);
}

void drawRadio(QPainter& p, qreal x, qreal y, bool checked) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kDark, 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x + 0.5, y + 0.5, 11, 11));
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(x + 3.5, y + 3.5, 5, 5));
    }
    p.restore();
}

// The 14 x 14 icon of an element: an orange frame with the element inside.
enum class Icon { LeftUp, RightUp, Cross, Panel };
void elementIcon(QPainter& p, qreal x, qreal y, Icon icon) {
    p.save();
    p.translate(x, y);
    p.fillRect(QRectF(0, 0, 14, 14), icon == Icon::Panel ? kSkyBlue : Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOrange, 1.5));
    if (icon == Icon::LeftUp || icon == Icon::Cross) {
        p.drawLine(QPointF(1, 1), QPointF(13, 13));
    }
    if (icon == Icon::RightUp || icon == Icon::Cross) {
        p.drawLine(QPointF(1, 13), QPointF(13, 1));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kOrange, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 12, 12));
    p.restore();
}

// ---- Image10 --------------------------------------------------------------

// Drawn at the group box's own size, 113 x 178, and scaled to the picture.
void paintElementGroup(QPainter& p) {
    p.save();
    p.scale(98.0 / 113.0, 156.0 / 178.0);
    p.fillRect(QRect(0, 0, 113, 178), kFace);
    const QFont font = JapaneseFont(MsPGothicWindow, 12);

    // Etched frame of the group box, broken by its caption.
    const QRect frame(0, 6, 113, 172);
    line(p, kShadow, frame.left(), frame.top(), frame.right() - 1, frame.top());
    line(p, kShadow, frame.left(), frame.top(), frame.left(), frame.bottom() - 1);
    line(p, kShadow, frame.left(), frame.bottom() - 1, frame.right() - 1, frame.bottom() - 1);
    line(p, kShadow, frame.right() - 1, frame.top(), frame.right() - 1, frame.bottom() - 1);
    line(p, kLight, frame.left() + 1, frame.top() + 1, frame.right() - 2, frame.top() + 1);
    line(p, kLight, frame.left() + 1, frame.top() + 1, frame.left() + 1, frame.bottom() - 2);
    line(p, kLight, frame.left(), frame.bottom(), frame.right(), frame.bottom());
    line(p, kLight, frame.right(), frame.top(), frame.right(), frame.bottom());
    p.setFont(font);
    const QString caption = QStringLiteral("筋かい・面材");
    const QRectF captionRect =
        p.boundingRect(QRectF(7, 0, 100, 13), Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.fillRect(captionRect.adjusted(-2, 0, 2, 0), kFace);
    drawText(p, captionRect, Qt::AlignLeft | Qt::AlignVCenter, caption, font);

    const struct {
        int top;
        Icon icon;
        const char16_t* caption;
        bool checked;
    } radios[] = {
        {17, Icon::LeftUp, u"筋かい(左上)", true},
        {35, Icon::RightUp, u"筋かい(右上)", false},
        {53, Icon::Cross, u"たすき筋かい", false},
    };
    for (const auto& radio : radios) {
        elementIcon(p, 4, radio.top, radio.icon);
        drawRadio(p, 21, radio.top + 2, radio.checked);
        drawText(p, QRectF(36, radio.top, 76, 16), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromUtf16(radio.caption), font);
    }

    // Heading plate of the size list.
    const QRect plate(3, 73, 108, 19);
    p.fillRect(plate, kFace);
    bevel(p, plate);
    drawText(p, plate, Qt::AlignCenter, QStringLiteral("筋かいサイズ"), font);

    // Frame and list of the brace sizes, the third chosen.
    const QRect panel(2, 91, 107, 57);
    bevel(p, panel);
    const QRect list(3, 93, 104, 53);
    p.fillRect(list, Qt::white);
    bevel(p, list, true);
    const QFont listFont = JapaneseFont(MsGothic, 11);
    const QStringList sizes{
        QStringLiteral("1.5cm×9.0cm (1.0)"),
        QStringLiteral("3.0cm×9.0cm (1.5)"),
        QStringLiteral("4.5cm×9.0cm (2.0)"),
        QStringLiteral("9.0cm×9.0cm (3.0)"),
    };
    for (int i = 0; i < sizes.size(); ++i) {
        const QRect item(5, 95 + 12 * i, 100, 12);
        const bool chosen = i == 2;
        if (chosen) {
            p.fillRect(item, kSelection);
        }
        drawText(p, item.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, sizes[i], listFont,
                 chosen ? Qt::white : Qt::black);
    }

    // The panel choice: icon, radio button and its disabled multiplier list.
    elementIcon(p, 4, 156, Icon::Panel);
    drawRadio(p, 21, 158, false);
    drawText(p, QRectF(36, 156, 28, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("面材"),
             font);
    const QRect combo(64, 153, 46, 20);
    p.fillRect(combo, kFace);
    bevel(p, combo, true);
    const QRect arrowButton(combo.right() - 15, combo.top() + 2, 14, 16);
    button(p, arrowButton);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreyText);
    const QPointF c = QRectF(arrowButton).center();
    p.drawPolygon(
        QPolygonF{{c.x() - 3.5, c.y() - 1.5}, {c.x() + 3.5, c.y() - 1.5}, {c.x(), c.y() + 2.5}});
    p.restore();
    drawText(p, QRectF(combo.left() + 3, combo.top(), 26, combo.height()),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0.5"), JapaneseFont(MsGothic, 12),
             kGreyText);
    p.restore();
}

// ---- Image11 --------------------------------------------------------------

enum class Brace { None, RisingRight, RisingLeft, Cross };

// One bay interior with its brace and its two labels.
void drawBay(QPainter& p, int left, int top, int width, int height, Brace brace,
             const QString& size, const QString& mult) {
    const QRect r(left, top, width, height);
    p.save();
    p.setClipRect(r);
    p.fillRect(r, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOrange, 4.0, Qt::SolidLine, Qt::FlatCap));
    if (brace == Brace::RisingLeft || brace == Brace::Cross) {
        p.drawLine(QPointF(left, top), QPointF(left + width, top + height));
    }
    if (brace == Brace::RisingRight || brace == Brace::Cross) {
        p.drawLine(QPointF(left, top + height), QPointF(left + width, top));
    }
    const QFont font = JapaneseFont(MsGothic, 12);
    drawText(p, QRectF(left + 5, top, width - 5, 13), Qt::AlignLeft | Qt::AlignTop, size, font);
    drawText(p, QRectF(left + 6, top + height - 12, width - 6, 12), Qt::AlignLeft | Qt::AlignTop,
             mult, font);
    p.restore();
}

void paintFrameExample(QPainter& p) {
    p.fillRect(QRect(0, 0, 107, 115), Qt::white);
    p.save();
    p.translate(2, 3);
    // The frame of the lower-storey middle column under two storeys of two
    // bays, in the geometry of the window's diagram.
    const DiagramGeometry g;
    const int x0 = g.X0, y0 = g.Y0, m = g.M, h = g.H, w = g.W;
    for (int k = 0; k < 3; ++k) {
        p.fillRect(QRect(x0, y0 + k * h, m + 2 * w, m), kOrange);
    }
    for (int k = 0; k < 3; ++k) {
        p.fillRect(QRect(x0 + k * w, y0, m, m + 2 * h), kOrange);
    }
    p.fillRect(QRect(x0 + w, y0 + m + h, m, h - m), Qt::red);
    const QString size = QStringLiteral("45x90");
    // A bay interior starts inside its members: (x0 + m, y0 + m) for the
    // upper left bay.
    const auto bay = [&](int side, int row, Brace brace, const QString& mult) {
        drawBay(p, x0 + m + (side - 1) * w, y0 + m + row * h, g.W - g.M, g.H - g.M, brace,
                brace == Brace::None ? QString() : size, mult);
    };
    bay(1, 0, Brace::None, QString());
    bay(2, 0, Brace::RisingLeft, QStringLiteral("[2.0]"));
    bay(1, 1, Brace::Cross, QStringLiteral("[4.0]"));
    bay(2, 1, Brace::RisingRight, QStringLiteral("[2.0]"));
    p.restore();
}

// ---- Image12 and Image13 ---------------------------------------------------

// 36 x 16: two L-shaped two-storey frames, mirror images of each other,
// with a red double-headed arrow between them.
void mirrorGlyph(QPainter& p, qreal x, qreal y) {
    p.save();
    p.translate(x, y);
    const QColor frame(224, 160, 0);
    p.setPen(QPen(frame, 1.0));
    p.setBrush(Qt::NoBrush);
    // Left frame: upper bay on the right.
    p.drawRect(QRectF(0.5, 8.5, 12, 7));
    p.drawLine(QPointF(6.5, 8.5), QPointF(6.5, 15.5));
    p.drawRect(QRectF(6.5, 1.5, 6, 7));
    // Right frame: upper bay on the left.
    p.drawRect(QRectF(23.5, 8.5, 12, 7));
    p.drawLine(QPointF(29.5, 8.5), QPointF(29.5, 15.5));
    p.drawRect(QRectF(23.5, 1.5, 6, 7));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 1.5));
    p.drawLine(QPointF(15, 8), QPointF(21, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawPolygon(QPolygonF{{14, 8}, {17, 5}, {17, 11}});
    p.drawPolygon(QPolygonF{{22, 8}, {19, 5}, {19, 11}});
    p.restore();
}

void paintReverseButton(QPainter& p) {
    const QRect r(0, 0, 106, 25);
    button(p, r);
    const QFont font = JapaneseFont(MsPGothicWindow, 12);
    const QString caption = QStringLiteral("軸組反転");
    p.setFont(font);
    const qreal textWidth = p.fontMetrics().horizontalAdvance(caption);
    // Glyph and caption centred together, 7 pixels apart.
    const qreal left = (r.width() - (36 + 7 + textWidth)) / 2.0;
    mirrorGlyph(p, std::floor(left), 4);
    drawText(p, QRectF(std::floor(left) + 43, 0, textWidth + 2, r.height()),
             Qt::AlignLeft | Qt::AlignVCenter, caption, font);
}

void paintClearButton(QPainter& p) {
    const QRect r(0, 0, 118, 25);
    button(p, r);
    drawText(p, r, Qt::AlignCenter, QStringLiteral("全配置データクリア"),
             JapaneseFont(MsPGothicWindow, 12));
}

// ---- Image14 and Image15 ---------------------------------------------------

// Drawn at the formula panel's own size, 118 x 114, and scaled.
void paintCoefficientBox(QPainter& p) {
    p.save();
    p.scale(94.0 / 118.0, 91.0 / 114.0);
    const QRect r(0, 0, 118, 114);
    p.fillRect(r, Qt::white);
    bevel(p, r);
    const QFont font = JapaneseFont(MsPGothicWindow, 12);
    const auto at = [&](int x, int y, const QString& text) {
        drawText(p, QRectF(x, y, 118 - x, 14), Qt::AlignLeft | Qt::AlignVCenter, text, font);
    };
    at(6, 5, QStringLiteral("A2= |0.0-4.0|+(0.0)"));
    at(20, 20, QStringLiteral("= 4.0"));
    at(6, 37, QStringLiteral("B2= 0.8"));
    p.fillRect(QRect(3, 54, 105, 1), Qt::black);
    at(6, 61, QStringLiteral("A1= |2.0-4.0|+(0.0)"));
    at(20, 76, QStringLiteral("= 2.0"));
    at(6, 93, QStringLiteral("B1= 0.5"));
    at(64, 93, QStringLiteral("L= 1.6"));
    p.restore();
}

void resultBox(QPainter& p, const QRect& r, const QString& text, const QFont& font) {
    p.fillRect(r, Qt::white);
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    drawText(p, r, Qt::AlignCenter, text, fontToFit(font, text, r.width() - 4));
}

// Drawn at the result area's own size, 223 x 61 (the boxes overlap by one
// pixel), and scaled.
void paintResultBoxes(QPainter& p) {
    p.save();
    p.scale(181.0 / 223.0, 51.0 / 61.0);
    const QFont font = JapaneseFont(MsPGothicWindow, 12);
    resultBox(p, QRect(0, 0, 223, 21), QStringLiteral("N = 2.0x0.5+4.0x0.8-1.6 = 2.60 [13.76kN]"),
              font);
    resultBox(p, QRect(0, 20, 43, 21), QStringLiteral("(と)"), JapaneseFont(MsGothic, 12));
    resultBox(p, QRect(42, 20, 181, 21), QStringLiteral("接合耐力: 14.82(kN)"), font);
    resultBox(p, QRect(0, 40, 223, 21), QStringLiteral("引き寄せ金物(HD-15)"), font);
    p.restore();
}

} // namespace

FixedPicture elementGroupPicture() {
    return {QSize(98, 156), &paintElementGroup};
}
FixedPicture frameExamplePicture() {
    return {QSize(107, 115), &paintFrameExample};
}
FixedPicture reverseButtonPicture() {
    return {QSize(106, 25), &paintReverseButton};
}
FixedPicture clearButtonPicture() {
    return {QSize(118, 25), &paintClearButton};
}
FixedPicture coefficientBoxPicture() {
    return {QSize(94, 91), &paintCoefficientBox};
}
FixedPicture resultBoxesPicture() {
    return {QSize(181, 51), &paintResultBoxes};
}

} // namespace koruba::gaiyo
