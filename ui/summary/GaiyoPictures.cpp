#include "ui/summary/GaiyoPictures.h"

#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "draw/JapaneseFonts.h"

#include <QPainter>

#include <algorithm>

namespace koruba::gaiyo {

namespace {

const QColor kInk(Qt::black);
// Head cells are tinted so that the eye finds the values quickly.
const QColor kHeadFill(236, 236, 236);

// Inner padding of a table cell.
constexpr qreal kPad = 4.0;

qreal wrappedHeight(QPainter& p, const QFont& font, qreal width, const QString& text) {
    p.setFont(font);
    return p.boundingRect(QRectF(0, 0, width, 10000), Qt::TextWordWrap, text).height();
}

void frameRect(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(Qt::NoBrush);
    // Half-pixel offset: 1-pixel lines fall on whole pixels.
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void cell(QPainter& p, const QRectF& r, const QString& text, const QFont& font, int align,
          const QColor& fill = Qt::white, bool wrap = true) {
    p.fillRect(r, fill);
    frameRect(p, r);
    p.setPen(kInk);
    const QRectF inner = r.adjusted(kPad, 1, -kPad, -1);
    p.setFont(wrap ? font : fontToFit(font, text, inner.width()));
    p.drawText(inner, align | (wrap ? Qt::TextWordWrap : 0), text);
}

QString value(float v) {
    return QString::fromStdString(F1(v));
}

// ---- the formulas ---------------------------------------------------------

struct TermRow {
    QString term;
    QString meaning;
};

constexpr qreal kFormulaLeft = 4.0;
constexpr qreal kFormulaWidth = 492.0;
constexpr qreal kTermWidth = 46.0;

QFont headingFont() {
    return JapaneseFont(MsPGothicWindow, 12, true);
}
QFont bodyFont() {
    return JapaneseFont(MsPGothicWindow, 11);
}

// The formula, a dotted leader and the formula's number in one line.
void formulaRow(QPainter& p, const QRectF& r, const QString& formula, const QString& number) {
    p.fillRect(r, Qt::white);
    frameRect(p, r);
    const QFont font = JapaneseFont(MsPGothicWindow, 13, true);
    p.setFont(font);
    p.setPen(kInk);
    const QRectF inner = r.adjusted(8, 0, -8, 0);
    const QRectF f = p.boundingRect(inner, Qt::AlignLeft | Qt::AlignVCenter, formula);
    const QRectF n = p.boundingRect(inner, Qt::AlignRight | Qt::AlignVCenter, number);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, formula);
    p.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, number);
    const qreal y = r.center().y() + 3.0;
    p.setPen(QPen(kInk, 1.0));
    for (qreal x = f.right() + 6.0; x < n.left() - 5.0; x += 4.0) {
        p.drawPoint(QPointF(x + 0.5, y + 0.5));
    }
}

qreal formulaSection(QPainter& p, qreal top, const QString& heading, const QString& formula,
                     const QString& number, const std::vector<TermRow>& rows) {
    const QFont headFont = headingFont();
    const QFont body = bodyFont();
    p.setFont(headFont);
    p.setPen(kInk);
    const QRectF headingRect(kFormulaLeft, top, kFormulaWidth, 16);
    p.drawText(headingRect, Qt::AlignLeft | Qt::AlignVCenter, heading);
    qreal y = top + 17;
    formulaRow(p, QRectF(kFormulaLeft, y, kFormulaWidth, 20), formula, number);
    y += 19; // neighbouring cells share their border line
    const qreal meaningWidth = kFormulaWidth - kTermWidth + 1;
    for (const TermRow& row : rows) {
        const qreal h =
            std::max<qreal>(15, wrappedHeight(p, body, meaningWidth - 2 * kPad, row.meaning) + 3);
        cell(p, QRectF(kFormulaLeft, y, kTermWidth, h), row.term, body, Qt::AlignCenter, kHeadFill);
        cell(p, QRectF(kFormulaLeft + kTermWidth - 1, y, meaningWidth, h), row.meaning, body,
             Qt::AlignLeft | Qt::AlignVCenter);
        y += h - 1;
    }
    return y + 1;
}

void paintFormulas(QPainter& p) {
    const QString nMeaning = QStringLiteral("表-1.3.1. 接合部の仕様 のNの数値");
    qreal y = formulaSection(
        p, 2, QStringLiteral("(1) 平屋建ての場合、若しくは２階建ての部分における２階の柱の場合"),
        QStringLiteral("N＝A1×B1－L"), QStringLiteral("(1)"),
        {
            {QStringLiteral("N"), nMeaning},
            {QStringLiteral("A1"),
             QStringLiteral("当該柱の両面における軸組の倍率の差(片側のみ軸組が取り付く場合には、"
                            "当該軸組の倍率)の数値。ただし、筋かいを設けた軸組の場合には、表-1."
                            "2.1～3 に該当する補正値を加えたものとする。")},
            {QStringLiteral("B1"),
             QStringLiteral(
                 "周辺の部材による押さえ(曲げ戻し)の効果を表す係数で、出隅の柱においては "
                 "0.8、その他の柱においては 0.5 とする。")},
            {QStringLiteral("L"),
             QStringLiteral("鉛直荷重による押さえの効果を示す係数で、出隅の柱においては "
                            "0.4、その他においては 0.6 とする。")},
        });
    formulaSection(
        p, y + 6, QStringLiteral("(2) ２階建ての部分における１階の柱の場合"),
        QStringLiteral("N＝A1×B1+A2×B2－L"), QStringLiteral("(2)"),
        {
            {QStringLiteral("N"), nMeaning},
            {QStringLiteral("A1, B1"), QStringLiteral("式(1) の場合と同じ。")},
            {QStringLiteral("A2"),
             QStringLiteral("当該柱に連続する２階柱の両側における軸組の倍率の差(片側のみに軸組が取"
                            "り付く場合には当該軸組の倍率)の数値。ただし、筋かいを設けた軸組の場合"
                            "には、表-1.2.1～3 に該当する補正値を加えたものとする。")},
            {QStringLiteral("B2"),
             QStringLiteral("２階の周辺部材による押さえ(曲げ戻し)の効果を示す係数で、２階の出隅の柱"
                            "においては 0.8、２階のその他の柱においては 0.5 とする。")},
            {QStringLiteral("L"),
             QStringLiteral("鉛直荷重による押さえの効果を示す係数で、出隅の柱においては "
                            "1.0、その他においては 1.6 とする。")},
        });
}

// ---- the correction tables ------------------------------------------------

struct TableLayout {
    qreal left;
    qreal top; // of the title
    qreal rowHeadWidth;
    qreal valueWidth;
    qreal groupHeadHeight;
    qreal columnHeadHeight;
    qreal rowHeight;      // one-line data rows
    qreal firstRowHeight; // the two-line first class
    qreal noteHeight;
    int titleIndent; // of the second title line
};

void paintTable(QPainter& p, const CorrectionTable& t, const TableLayout& g) {
    const QFont titleFont = JapaneseFont(MsPGothicWindow, 12, true);
    const QFont headFont = JapaneseFont(MsPGothicWindow, 11);
    const QFont valueFont = JapaneseFont(MsGothic, 12);

    p.setPen(kInk);
    p.setFont(titleFont);
    qreal y = g.top;
    for (int i = 0; i < t.title.size(); ++i) {
        const qreal indent = i == 0 ? 0 : g.titleIndent;
        p.drawText(QRectF(g.left + indent, y, 480, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   t.title[i]);
        y += 16;
    }
    y += 3;

    const int columns = static_cast<int>(t.columnHeads.size());
    const qreal valuesLeft = g.left + g.rowHeadWidth - 1;
    const qreal valuesWidth = columns * (g.valueWidth - 1) + 1;
    const qreal headHeight = g.groupHeadHeight + g.columnHeadHeight - 1;

    cell(p, QRectF(g.left, y, g.rowHeadWidth, headHeight), t.corner, headFont, Qt::AlignCenter,
         kHeadFill);
    cell(p, QRectF(valuesLeft, y, valuesWidth, g.groupHeadHeight), t.columnGroup, headFont,
         Qt::AlignCenter, kHeadFill);
    const qreal columnHeadTop = y + g.groupHeadHeight - 1;
    for (int c = 0; c < columns; ++c) {
        cell(p,
             QRectF(valuesLeft + c * (g.valueWidth - 1), columnHeadTop, g.valueWidth,
                    g.columnHeadHeight),
             t.columnHeads[c], headFont, Qt::AlignCenter, kHeadFill, false);
    }
    y += headHeight - 1;

    for (int r = 0; r < t.rowHeads.size(); ++r) {
        const qreal h = r == 0 ? g.firstRowHeight : g.rowHeight;
        cell(p, QRectF(g.left, y, g.rowHeadWidth, h), t.rowHeads[r], headFont,
             Qt::AlignLeft | Qt::AlignVCenter, kHeadFill, false);
        for (int c = 0; c < columns; ++c) {
            cell(p, QRectF(valuesLeft + c * (g.valueWidth - 1), y, g.valueWidth, h),
                 value(t.values[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]),
                 valueFont, Qt::AlignCenter);
        }
        y += h - 1;
    }
    cell(p, QRectF(g.left, y, g.rowHeadWidth + valuesWidth - 1, g.noteHeight), t.note, headFont,
         Qt::AlignLeft | Qt::AlignVCenter);
}

void paintOneSide(QPainter& p) {
    paintTable(p, oneSideTable(), {4, 2, 151, 95, 20, 20, 22, 32, 24, 0});
}
void paintBothSingles(QPainter& p) {
    paintTable(p, bothSinglesTable(), {4, 2, 102, 97, 22, 34, 28, 36, 28, 0});
}
void paintSingleBesideCross(QPainter& p) {
    paintTable(p, singleBesideCrossTable(), {4, 2, 102, 97, 22, 34, 28, 36, 32, 64});
}

} // namespace

QFont fontToFit(QFont font, const QString& text, qreal width) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    while (font.pixelSize() > 8) {
        const QFontMetricsF metrics(font);
        const bool fits = std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
            return metrics.horizontalAdvance(line) <= width;
        });
        if (fits) {
            break;
        }
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

QImage renderPicture(const FixedPicture& picture, qreal devicePixelRatio) {
    QImage image(picture.size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    if (picture.paint != nullptr) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        picture.paint(painter);
    }
    return image;
}

namespace {

// The cells of a correction table, read from the calculation's own
// correction: rows the brace size classes, columns as the table says.
std::vector<std::vector<float>> correctionCells(int columns, float (*cell)(int row, int column)) {
    std::vector<std::vector<float>> values(4);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < columns; ++column) {
            values[static_cast<std::size_t>(row)].push_back(cell(row, column));
        }
    }
    return values;
}

} // namespace

const QStringList& braceClassCaptions() {
    static const QStringList kCaptions{
        QStringLiteral("15x90以上の筋かい\nφ9以上の鉄筋"),
        QStringLiteral("30x90以上の筋かい"),
        QStringLiteral("45x90以上の筋かい"),
        QStringLiteral("90x90以上の筋かい"),
    };
    return kCaptions;
}

const CorrectionTable& oneSideTable() {
    static const CorrectionTable kTable{
        {QStringLiteral("表-1.2.1. 筋かいが片側から取り付く柱")},
        QStringLiteral("筋かいの種類"),
        QStringLiteral("取り付く位置"),
        {QStringLiteral("柱頭部"), QStringLiteral("柱脚部")},
        braceClassCaptions(),
        // A brace left of the column meets its top when it rises to the
        // right (kind 1), its foot when it rises to the left (kind 2).
        correctionCells(2, [](int size, int at) { return BraceCorrection(size, at + 1, 0, 0); }),
        QStringLiteral("たすき筋かいの場合、補正値を「0」とする。"),
    };
    return kTable;
}

const CorrectionTable& bothSinglesTable() {
    static const CorrectionTable kTable{
        {QStringLiteral("表-1.2.2. 両側から筋かいが取り付く柱(両側が片筋かい)")},
        QStringLiteral("他方の筋かい"),
        QStringLiteral("一方の筋かい"),
        braceClassCaptions(),
        braceClassCaptions(),
        // The left brace meets the top, the right one the foot.
        correctionCells(4, [](int other, int one) { return BraceCorrection(other, 1, one, 1); }),
        QStringLiteral("両筋かいが共に柱脚部に取付く場合、補正値を「0」とする。"),
    };
    return kTable;
}

const CorrectionTable& singleBesideCrossTable() {
    static const CorrectionTable kTable{
        {QStringLiteral("表-1.2.3. 両側から筋かいが取り付く柱"),
         QStringLiteral("(一方が片筋かい、他方がたすき筋かい)")},
        QStringLiteral("他方のたすき筋かい"),
        QStringLiteral("一方の片筋かい"),
        braceClassCaptions(),
        braceClassCaptions(),
        // The single brace right of the cross brace meets the top.
        correctionCells(4,
                        [](int cross, int single) { return BraceCorrection(cross, 3, single, 2); }),
        QStringLiteral("片筋かいが柱脚部に取付く場合または両筋かいが共にたすきの場合、補正値を「0」"
                       "とする。"),
    };
    return kTable;
}

FixedPicture formulaPicture() {
    return {QSize(500, 325), &paintFormulas};
}
FixedPicture oneSidePicture() {
    return {QSize(345, 202), &paintOneSide};
}
FixedPicture bothSinglesPicture() {
    return {QSize(491, 236), &paintBothSingles};
}
FixedPicture singleBesideCrossPicture() {
    return {QSize(491, 271), &paintSingleBesideCross};
}

} // namespace koruba::gaiyo
