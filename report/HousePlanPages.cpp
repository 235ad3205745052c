#include "report/HousePlanPages.h"

#include "calc/LibCal_Nti.h"
#include "draw/HousePlan.h"
#include "report/SheetLayout.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace koruba {

namespace {

// The parts of a plan page, in tenths of a millimetre: a title line above
// the plan, the legend in a column at its right.
constexpr qreal kTitleLine = 60.0;
constexpr qreal kLegendWidth = 440.0;
constexpr qreal kLegendGap = 30.0;
constexpr qreal kLegendRow = 40.0;
constexpr qreal kSwatchWidth = 150.0;
// Room the sheet's header takes above a page's area at most (title and
// five lines of project, designer, date, rules), for choosing the paper
// before the header is laid out.
constexpr qreal kHeaderAllowance = kHeaderTop + 5 * kHeaderLine + 5 + kHeaderGap;
// The smallest scale at which the symbols stay readable (see planPaper).
constexpr std::int32_t kReadableDenominator = 100;

const QPageLayout::Orientation kPlanOrientation = QPageLayout::Landscape;

QPageLayout planLayout(QPageSize::PageSizeId paper) {
    return QPageLayout(QPageSize(paper), kPlanOrientation, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

// The room the plan itself has on a page's area under the header.
QRectF planRoom(const QRectF& area) {
    return QRectF(area.left(), area.top() + kTitleLine, area.width() - kLegendWidth - kLegendGap,
                  area.height() - kTitleLine);
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class PlanPages : public SheetLeadingPages {
public:
    PlanPages(const House& house, std::vector<ColumnResult> results)
        : house_(house), results_(std::move(results)), paper_(planPaper(house)) {
        for (const Storey& s : house_.storeys) {
            storeys_.push_back(s.number);
        }
        std::sort(storeys_.rbegin(), storeys_.rend());
    }

    std::size_t count() const override { return storeys_.size(); }

    QPageLayout pageLayout(std::size_t) const override { return planLayout(paper_.paper); }

    void paint(QPainter& painter, std::size_t page, const QRectF& area) const override {
        const SheetFonts fonts = sheetFonts();
        const std::int32_t storey = storeys_[page];
        const QRectF room = planRoom(area);
        const QRectF bounds = planBounds(house_);
        // The paper was chosen for the largest header; the scale is the
        // one that fits under the header this sheet has.
        const std::int32_t denominator = planScaleDenominator(bounds.size(), room.size());
        painter.setPen(Qt::black);
        painter.setFont(fonts.heading);
        painter.drawText(QRectF(area.left(), area.top(), area.width(), kTitleLine),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("算定平面図（%1）")
                             .arg(QString::fromStdString(storeyLabel(house_, storey))));
        painter.drawText(
            QRectF(area.left(), area.top(), area.width(), kTitleLine),
            Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("縮尺 1/%1（%2）")
                .arg(denominator)
                .arg(paper_.paper == QPageSize::A3 ? QStringLiteral("A3") : QStringLiteral("A4")));

        // One millimetre of the house is 10 / denominator tenths of a
        // millimetre of paper.
        painter.save();
        const qreal scale = 10.0 / denominator;
        painter.translate(room.center());
        painter.scale(scale, scale);
        painter.translate(-bounds.center());
        PlanOptions options;
        options.storey = storey;
        paintHousePlan(painter, house_, results_, options);
        painter.restore();

        paintLegend(painter, fonts,
                    QRectF(area.right() - kLegendWidth, room.top(), kLegendWidth, room.height()));
    }

private:
    // The symbols' colours as the plan shows them, with the marks beside
    // them.
    void paintLegend(QPainter& painter, const SheetFonts& fonts, const QRectF& box) const {
        qreal y = box.top();
        painter.setPen(Qt::black);
        painter.setFont(fonts.heading);
        painter.drawText(QRectF(box.left(), y, box.width(), kLegendRow + 10),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("凡例"));
        y += kLegendRow + 10;
        const auto row = [&](const QColor& fill, const QString& symbol, bool heavy,
                             const QString& text) {
            const QRectF swatch(box.left(), y + 4, kSwatchWidth, kLegendRow - 8);
            painter.setBrush(fill);
            painter.setPen(QPen(heavy ? Qt::black : QColor(90, 90, 90), heavy ? 3.0 : 1.0));
            painter.drawRoundedRect(swatch, 6, 6);
            painter.setPen(heavy ? Qt::white : Qt::black);
            painter.setFont(fonts.small);
            painter.drawText(swatch, Qt::AlignCenter, symbol);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(box.left() + kSwatchWidth + 15, y,
                                    box.width() - kSwatchWidth - 15, kLegendRow),
                             Qt::AlignLeft | Qt::AlignVCenter, text);
            y += kLegendRow;
        };
        // "≦" rather than "≤": the IPA fonts have the former only.
        float previous = 0.0f;
        for (std::int32_t c = 1; c <= JointClassCount; ++c) {
            const JointClassRow r = *jointClassRow(c);
            QString range = c == 1 ? QStringLiteral("N ≦ %1").arg(r.nLimit, 0, 'f', 2)
                                   : QStringLiteral("%1 < N ≦ %2")
                                         .arg(previous, 0, 'f', 2)
                                         .arg(r.nLimit, 0, 'f', 2);
            if (c > NoticeClassCount) {
                range += QStringLiteral("（参考）");
            }
            row(hardwareClassColor(c), utf8(r.symbol), false, range);
            previous = r.nLimit;
        }
        row(hardwareClassColor(0), QStringLiteral("N>7.5"), true, QStringLiteral("表外"));
        y += kLegendRow / 2;
        painter.setFont(fonts.small);
        for (const QString& line :
             {QStringLiteral("→ ↑ 決定方向（X・Y）"), QStringLiteral("○ 通し柱"),
              QStringLiteral("△! 注記のある柱"), QStringLiteral("枠内の記号は告示の金物")}) {
            painter.drawText(QRectF(box.left(), y, box.width(), kLegendRow),
                             Qt::AlignLeft | Qt::AlignVCenter, line);
            y += kLegendRow;
        }
    }

    House house_;
    std::vector<ColumnResult> results_;
    PlanPaper paper_;
    std::vector<std::int32_t> storeys_;
};

} // namespace

std::int32_t planScaleDenominator(const QSizeF& planArea, const QSizeF& room) {
    static constexpr std::array<std::int32_t, 10> kStandard{50,  100, 150, 200, 250,
                                                            300, 400, 500, 600, 1000};
    const auto fits = [&](std::int32_t d) {
        return planArea.width() * 10.0 / d <= room.width() &&
               planArea.height() * 10.0 / d <= room.height();
    };
    for (const std::int32_t d : kStandard) {
        if (fits(d)) {
            return d;
        }
    }
    // Past the usual scales: the next whole thousand that fits.
    const qreal need =
        std::max(planArea.width() * 10.0 / room.width(), planArea.height() * 10.0 / room.height());
    return static_cast<std::int32_t>(std::ceil(need / 1000.0)) * 1000;
}

PlanPaper planPaper(const House& house) {
    const QSizeF plan = planBounds(house).size();
    const auto denominatorOn = [&plan](QPageSize::PageSizeId paper) {
        const QSizeF content = planLayout(paper).paintRect(QPageLayout::Millimeter).size() * 10.0;
        const QRectF area(0, kHeaderAllowance, content.width(),
                          content.height() - kHeaderAllowance);
        return planScaleDenominator(plan, planRoom(area).size());
    };
    const std::int32_t onA4 = denominatorOn(QPageSize::A4);
    if (onA4 <= kReadableDenominator) {
        return {QPageSize::A4, onA4};
    }
    return {QPageSize::A3, denominatorOn(QPageSize::A3)};
}

std::shared_ptr<const SheetLeadingPages> housePlanPages(const House& house,
                                                        std::vector<ColumnResult> results) {
    return std::make_shared<PlanPages>(house, std::move(results));
}

} // namespace koruba
