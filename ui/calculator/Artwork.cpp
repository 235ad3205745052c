#include "ui/calculator/Artwork.h"

#include "calc/PatternTable.h"
#include "draw/JapaneseFonts.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <vector>

namespace koruba::artwork {

namespace {

const QColor kToolFrameOrange(224, 160, 0);
const QColor kMemberOrange(255, 170, 0);
const QColor kTargetRed(255, 0, 0);
const QColor kPanelBlue(166, 202, 240);
const QColor kSummaryBlue(0, 0, 255);
const QColor kDarkTeal(0, 128, 128);

struct Member {
    QRectF rect;
    bool target = false;
};

// The members of a frame pattern as drawn (not mirrored), at the tool
// images' scale: origin (x0, y0), member thickness m, storey height h, bay
// width w. Every beam and column runs along all the bays the pattern uses
// beside it, each drawn once (the edges are smoothed, so a member drawn
// twice would darken them). The beams of a corner column run on past the
// other column by half a bay, as in the diagram of the window. The column
// under study stands in the lowest storey: at the outer end of a corner
// column, else between the two bays.
std::vector<Member> frameMembers(const koruba::FramePattern& pattern, qreal x0, qreal y0, qreal m,
                                 qreal h, qreal w) {
    const qreal overhang = pattern.cornerColumn ? w / 2 - m : 0;
    // Bays by row of the picture (0 the top row) and side.
    struct Bay {
        int row;
        int side;
    };
    std::vector<Bay> bays;
    for (int storey = 2; storey >= 1; --storey) {
        for (int side = 1; side <= 2; ++side) {
            if (koruba::bayInUse(pattern, false, {storey, side})) {
                bays.push_back({pattern.storeys == 1 ? 0 : 2 - storey, side});
            }
        }
    }
    std::vector<Member> members;
    auto rect = [&](qreal x1, qreal y1, qreal x2, qreal y2, bool target = false) {
        members.push_back({QRectF(QPointF(x1, y1), QPointF(x2, y2)), target});
    };
    for (int level = 0; level <= pattern.storeys; ++level) {
        qreal left = 1e9;
        qreal right = -1e9;
        for (const Bay& bay : bays) {
            if (bay.row == level || bay.row == level - 1) {
                left = std::min(left, x0 + (bay.side - 1) * w);
                right = std::max(right, x0 + bay.side * w + m + overhang);
            }
        }
        if (left < right) {
            rect(left, y0 + level * h, right, y0 + level * h + m);
        }
    }
    for (int column = 0; column <= 2; ++column) {
        qreal top = 1e9;
        qreal bottom = -1e9;
        for (const Bay& bay : bays) {
            if (bay.side == column || bay.side == column + 1) {
                top = std::min(top, y0 + bay.row * h);
                bottom = std::max(bottom, y0 + (bay.row + 1) * h + m);
            }
        }
        if (top < bottom) {
            rect(x0 + column * w, top, x0 + column * w + m, bottom);
        }
    }
    const qreal targetX = pattern.cornerColumn ? x0 : x0 + w;
    const qreal targetTop = y0 + (pattern.storeys - 1) * h;
    rect(targetX, targetTop + m, targetX + m, targetTop + h, true);
    return members;
}

struct PatternCaption {
    std::int32_t tag;
    const char* upper;
    const char* lower;
};

constexpr PatternCaption kPatternCaptions[] = {
    {21, "２階または１階", "下屋の出隅"},     {22, "２階または１階", "下屋の出隅以外"},
    {11, "２階：出隅", "１階：出隅"},         {12, "２階：出隅", "１階：出隅以外"},
    {13, "２階：出隅以外", "１階：出隅以外"},
};

void drawCentred(QPainter& painter, qreal top, qreal height, const QString& text) {
    painter.drawText(QRectF(0, top, kToolImageSize.width(), height), Qt::AlignCenter, text);
}

} // namespace

void paintPatternImage(QPainter& painter, std::int32_t patternTag) {
    constexpr qreal kM = 4;
    constexpr qreal kH = 32;
    constexpr qreal kW = 32;
    constexpr qreal kDrawingTop = 4;
    constexpr qreal kDrawingHeight = 2 * kH + kM;
    const koruba::FramePattern* pattern = koruba::framePattern(patternTag);
    if (pattern == nullptr) {
        return;
    }
    const qreal frameHeight = pattern->storeys * kH + kM;
    const qreal frameWidth = pattern->cornerColumn ? kW + kW / 2 : 2 * kW + kM;
    const qreal x0 = (kToolImageSize.width() - frameWidth) / 2;
    const qreal y0 = kDrawingTop + (kDrawingHeight - frameHeight) / 2;

    painter.save();
    painter.setPen(Qt::NoPen);
    for (const Member& member : frameMembers(*pattern, x0, y0, kM, kH, kW)) {
        painter.fillRect(member.rect, member.target ? kTargetRed : kToolFrameOrange);
    }
    for (const PatternCaption& caption : kPatternCaptions) {
        if (caption.tag == patternTag) {
            painter.setPen(Qt::black);
            painter.setFont(JapaneseFont(MsPGothicWindow, 12));
            drawCentred(painter, 76, 14, QString::fromUtf8(caption.upper));
            drawCentred(painter, 91, 14, QString::fromUtf8(caption.lower));
        }
    }
    painter.restore();
}

QString patternCaptionLine(std::int32_t patternTag) {
    for (const PatternCaption& caption : kPatternCaptions) {
        if (caption.tag == patternTag) {
            return QString::fromUtf8(caption.upper) + QLatin1Char(' ') +
                   QString::fromUtf8(caption.lower);
        }
    }
    return {};
}

void paintSummaryImage(QPainter& painter) {
    painter.save();
    painter.setPen(QPen(QColor(128, 128, 128), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(4, 4, 93, 98), 4, 4);

    painter.setPen(kSummaryBlue);
    painter.setFont(JapaneseFont(MsPGothicWindow, 15, true));
    drawCentred(painter, 10, 18, QStringLiteral("使用方法"));
    painter.setFont(JapaneseFont(MsPGothicWindow, 12));
    drawCentred(painter, 29, 14, QStringLiteral("および"));
    painter.setFont(JapaneseFont(MsPGothicWindow, 15, true));
    drawCentred(painter, 44, 18, QStringLiteral("計算概要"));

    painter.setPen(kDarkTeal);
    painter.setFont(JapaneseFont(MsPGothicWindow, 12));
    drawCentred(painter, 67, 14, QStringLiteral("ここをクリック"));

    painter.setPen(QColor(64, 64, 64));
    painter.setFont(JapaneseFont(MsPGothicWindow, 10));
    drawCentred(painter, 85, 12, QStringLiteral("コルバ工房"));
    painter.restore();
}

void paintElementIcon(QPainter& painter, std::int32_t elementKind) {
    painter.save();
    const QRectF frame(1.5, 1.5, 11, 11);
    painter.fillRect(QRectF(1, 1, 12, 12), elementKind == 4 ? kPanelBlue : QColor(Qt::white));
    QPen pen(kMemberOrange, 1.6);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    if (elementKind == 2 || elementKind == 3) {
        painter.drawLine(frame.topLeft(), frame.bottomRight());
    }
    if (elementKind == 1 || elementKind == 3) {
        painter.drawLine(frame.bottomLeft(), frame.topRight());
    }
    painter.restore();
}

namespace {

// A two-storey L-shaped frame, 13 x 16: two bays below, one above on the
// right, or on the left when mirrored.
void paintSmallFrame(QPainter& painter, qreal left, bool upperOnLeft) {
    QPen pen(kToolFrameOrange, 1.4);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal top = 1;
    const qreal mid = 8;
    const qreal bottom = 15;
    const qreal right = left + 13;
    const qreal centre = left + 6.5;
    painter.drawRect(QRectF(QPointF(left, mid), QPointF(right, bottom)));
    painter.drawLine(QPointF(centre, mid), QPointF(centre, bottom));
    if (upperOnLeft) {
        painter.drawRect(QRectF(QPointF(left, top), QPointF(centre, mid)));
    } else {
        painter.drawRect(QRectF(QPointF(centre, top), QPointF(right, mid)));
    }
}

} // namespace

void paintMirrorGlyph(QPainter& painter) {
    painter.save();
    paintSmallFrame(painter, 0.5, false);
    paintSmallFrame(painter, 22.5, true);
    // Red double-headed arrow between the two frames.
    painter.setPen(QPen(kTargetRed, 1.2));
    painter.drawLine(QPointF(15.5, 8), QPointF(20.5, 8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTargetRed);
    painter.drawPolygon(QPolygonF({QPointF(14, 8), QPointF(17, 5), QPointF(17, 11)}));
    painter.drawPolygon(QPolygonF({QPointF(22, 8), QPointF(19, 5), QPointF(19, 11)}));
    painter.restore();
}

void paintCloseGlyph(QPainter& painter) {
    painter.save();
    // Door frame.
    painter.setPen(QPen(QColor(64, 64, 64), 1.2));
    painter.setBrush(QColor(255, 255, 224));
    painter.drawRect(QRectF(7.5, 1.5, 7, 13));
    // The door leaf swung open towards the viewer.
    painter.setPen(QPen(QColor(96, 48, 0), 1));
    painter.setBrush(QColor(176, 112, 48));
    painter.drawPolygon(QPolygonF(
        {QPointF(7.5, 1.5), QPointF(11.5, 3.5), QPointF(11.5, 15.5), QPointF(7.5, 14.5)}));
    painter.setBrush(QColor(255, 224, 0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(10.3, 9), 0.8, 0.8);
    // Arrow leading out of the door.
    painter.setPen(QPen(QColor(0, 128, 0), 1.6));
    painter.drawLine(QPointF(6, 8), QPointF(2.5, 8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawPolygon(QPolygonF({QPointF(0.5, 8), QPointF(3.5, 5), QPointF(3.5, 11)}));
    painter.restore();
}

} // namespace koruba::artwork
