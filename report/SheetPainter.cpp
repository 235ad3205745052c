#include "report/SheetPainter.h"

#include "draw/ColumnDiagram.h"
#include "report/FontMessages.h"
#include "report/SheetLayout.h"

#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace koruba {

namespace {

constexpr qreal kRule = 1.5; // cell borders, 0.15 mm
const QColor kHeaderFill(230, 230, 230);

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Paints the pages of a layout; one instance per sheet.
class PagePainter {
public:
    PagePainter(QPainter& painter, const SheetLayout& layout, const SheetFonts& fonts)
        : p_(painter), layout_(layout), fonts_(fonts) {}

    // The header across a page of the given width (a landscape page's is
    // wider than the sheet's).
    void paintHeader(std::size_t index, qreal width) {
        paintHeader(static_cast<int>(index) + 1, static_cast<int>(layout_.pageCount), width);
    }

    void paintItem(const SheetItem& item, const SheetRow* row) {
        if (item.kind == SheetItem::Kind::Row) {
            paintRow(layout_.tables[static_cast<std::size_t>(item.table)], item, *row);
        } else {
            paintItem(item);
        }
    }

private:
    void text(const QRectF& box, const QFont& font, int flags, const QString& s) {
        p_.setFont(font);
        p_.drawText(box, flags, s);
    }

    void cellText(const QRectF& box, int flags, const QString& s) {
        text(box.adjusted(kCellPad, 0, -kCellPad, 0), fonts_.cell,
             flags | Qt::AlignVCenter | Qt::TextWrapAnywhere, s);
    }

    void paintHeader(int page, int pages, qreal width) {
        text(QRectF(0, 0, width, kTitleHeight), fonts_.title, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("N値計算書"));
        text(QRectF(0, 0, width, kTitleHeight), fonts_.heading, Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("%1 / %2").arg(page).arg(pages));
        qreal y = kHeaderTop;
        for (const QString& line : layout_.header) {
            text(QRectF(0, y, width, kHeaderLine), fonts_.text, Qt::AlignLeft | Qt::AlignVCenter,
                 line);
            y += kHeaderLine;
        }
        p_.setPen(QPen(Qt::black, 3.0));
        p_.drawLine(QPointF(0, layout_.headerRule), QPointF(width, layout_.headerRule));
    }

    void paintItem(const SheetItem& item) {
        switch (item.kind) {
        case SheetItem::Kind::Method:
            paintMethod(item.y);
            break;
        case SheetItem::Kind::Caption:
        case SheetItem::Kind::NotesCaption:
        case SheetItem::Kind::ScheduleCaption:
            text(QRectF(0, item.y, kSheetWidth, item.height), fonts_.heading,
                 Qt::AlignLeft | Qt::AlignVCenter, item.text);
            break;
        case SheetItem::Kind::HeaderRow:
            paintHeaderRow(layout_.tables[static_cast<std::size_t>(item.table)], item.y,
                           item.height);
            break;
        case SheetItem::Kind::Row: // with its row, above
            break;
        case SheetItem::Kind::EmptyNote:
            p_.setPen(QPen(Qt::black, kRule));
            p_.drawRect(QRectF(0, item.y, kSheetWidth, item.height));
            cellText(QRectF(0, item.y, kSheetWidth, item.height), Qt::AlignHCenter, item.text);
            break;
        case SheetItem::Kind::Note:
            text(QRectF(0, item.y, kSheetWidth, item.height), fonts_.text,
                 Qt::AlignLeft | Qt::AlignVCenter, item.text);
            break;
        case SheetItem::Kind::ScheduleRow:
            paintScheduleRow(item);
            break;
        }
    }

    void paintScheduleRow(const SheetItem& item) {
        const HardwareSchedule& schedule = layout_.schedule;
        const bool head = item.row < 0;
        const std::vector<QString>& cells =
            head ? schedule.heads : schedule.rows[static_cast<std::size_t>(item.row)];
        const std::vector<qreal> widths = scheduleWidths(schedule.heads.size() - 3);
        qreal x = 0;
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
            const QRectF box(x, item.y, widths[i], item.height);
            if (head) {
                headerCell(box, cells[i]);
            } else {
                p_.setPen(QPen(Qt::black, kRule));
                p_.drawRect(box);
                cellText(box, i == 1 ? Qt::AlignLeft : Qt::AlignHCenter, cells[i]);
            }
            x += widths[i];
        }
    }

    void paintMethod(qreal y) {
        const MethodBlock& block = layout_.method;
        for (const QString& line : block.lines) {
            text(QRectF(0, y, kSheetWidth, kMethodLine), fonts_.text,
                 Qt::AlignLeft | Qt::AlignVCenter, line);
            y += kMethodLine;
        }
        y += kMethodLine / 2;
        text(QRectF(0, y, kSheetWidth, kCaptionHeight), fonts_.heading,
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("接合金物の凡例"));
        y += kCaptionHeight;
        static constexpr qreal kWidths[] = {140, 380, 1060, 320};
        const QString heads[] = {QStringLiteral("告示記号"), QStringLiteral("N値の範囲"),
                                 QStringLiteral("接合金物"), QStringLiteral("接合耐力(kN)")};
        legendLine(y, kWidths, heads, true);
        for (const LegendRow& row : block.legend) {
            y += kLegendLine;
            const QString cells[] = {utf8(row.symbol), utf8(row.range), utf8(row.name),
                                     utf8(row.strength)};
            legendLine(y, kWidths, cells, false);
        }
    }

    void legendLine(qreal y, const qreal (&widths)[4], const QString (&cells)[4], bool head) {
        qreal x = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const QRectF box(x, y, widths[i], kLegendLine);
            if (head) {
                p_.fillRect(box, kHeaderFill);
            }
            p_.setPen(QPen(Qt::black, kRule));
            p_.drawRect(box);
            text(box.adjusted(kCellPad, 0, -kCellPad, 0), fonts_.small,
                 (i == 2 && !head ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter, cells[i]);
            x += widths[i];
        }
    }

    void paintHeaderRow(const SheetTable& table, qreal y, qreal height) {
        qreal x = 0;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const QRectF box(x, y, table.widths[i], height);
            const std::string_view header = headerOf(table, table.columns[i]);
            headerCell(box,
                       QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())));
            x += table.widths[i];
        }
        if (x < kSheetWidth - 1) {
            headerCell(QRectF(x, y, kSheetWidth - x, height),
                       QStringLiteral("計算できなかった理由"));
        }
    }

    void headerCell(const QRectF& box, const QString& s) {
        p_.fillRect(box, kHeaderFill);
        p_.setPen(QPen(Qt::black, kRule));
        p_.drawRect(box);
        text(box.adjusted(2, 0, -2, 0), fonts_.small, Qt::AlignCenter | Qt::TextWrapAnywhere, s);
    }

    void paintRow(const SheetTable& table, const SheetItem& item, const SheetRow& row) {
        const std::size_t errorFrom = row.result ? table.columns.size() : errorColumn(table);
        const int lines = linesOf(table);
        const qreal lineHeight = item.height / lines;
        p_.setPen(QPen(Qt::black, kRule));
        qreal x = 0;
        for (std::size_t i = 0; i < errorFrom; ++i) {
            const SheetColumn column = table.columns[i];
            const QRectF box(x, item.y, table.widths[i], item.height);
            if (column == SheetColumn::Diagram) {
                paintColumnDiagram(p_, box.adjusted(8, 6, -8, -6), row.patternTag, row.reversed,
                                   row.bays);
            } else if (isPerLine(table, column)) {
                for (int line = 0; line < lines; ++line) {
                    const QRectF part(x, item.y + line * lineHeight, table.widths[i], lineHeight);
                    cellText(part, Qt::AlignHCenter, utf8(koruba::cellText(row, column, line)));
                }
                if (lines == 2) {
                    p_.setPen(QPen(Qt::black, kRule / 2));
                    p_.drawLine(QPointF(x, item.y + lineHeight),
                                QPointF(x + table.widths[i], item.y + lineHeight));
                }
            } else if (column == SheetColumn::Name) {
                cellText(box, Qt::AlignLeft, item.text);
            } else if (column == SheetColumn::Hardware) {
                // Running text: broken between words and numbers, not inside
                // "N×5.3".
                QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
                option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                p_.setFont(fonts_.cell);
                p_.drawText(box.adjusted(kCellPad, 0, -kCellPad, 0),
                            utf8(koruba::cellText(row, column, 0)), option);
            } else {
                cellText(box, Qt::AlignHCenter, utf8(koruba::cellText(row, column, 0)));
            }
            p_.setPen(QPen(Qt::black, kRule));
            p_.drawRect(box);
            x += table.widths[i];
        }
        if (!row.result) {
            const QRectF box(x, item.y, kSheetWidth - x, item.height);
            cellText(box, Qt::AlignLeft, item.detail);
            p_.drawRect(box);
        }
    }

    QPainter& p_;
    const SheetLayout& layout_;
    const SheetFonts& fonts_;
};

} // namespace

QPageLayout sheetPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QPageLayout SheetLeadingPages::pageLayout(std::size_t) const {
    return sheetPageLayout();
}

namespace {

// The content of a page in tenths of a millimetre: its paper less the
// margins.
QSizeF contentSize(const QPageLayout& layout) {
    return layout.paintRect(QPageLayout::Millimeter).size() * 10.0;
}

bool landscape(QSizeF size) {
    return size.width() > size.height();
}

} // namespace

int paintSheet(QPagedPaintDevice& device, const SheetDescription& sheet) {
    quietMissingScriptWarnings();
    const SheetFonts fonts = sheetFonts();
    const SheetLayout layout = layOutSheet(sheet, fonts);
    const auto layoutOf = [&](std::size_t page) {
        return page < layout.leadingPages ? sheet.leadingPages->pageLayout(page)
                                          : sheetPageLayout();
    };
    // Only a PDF can change paper while painting. A printer (and the print
    // preview) keeps the sheet's A4 portrait for the whole document, and a
    // page of the other orientation is turned onto it.
    const bool paperPerPage =
        device.paintEngine() != nullptr && device.paintEngine()->type() == QPaintEngine::Pdf;
    device.setPageLayout(paperPerPage ? layoutOf(0) : sheetPageLayout());
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter pages(painter, layout, fonts);
    // Each page is painted in tenths of a millimetre of its own paper,
    // whatever the device's resolution; a printer whose margins are wider
    // than the sheet's shrinks it to fit.
    const auto startPage = [&](std::size_t page) {
        const QSizeF content = contentSize(layoutOf(page));
        const QSizeF deviceSize(device.width(), device.height());
        painter.resetTransform();
        if (landscape(content) != landscape(deviceSize)) {
            painter.translate(deviceSize.width(), 0);
            painter.rotate(90);
        }
        const QSizeF room =
            landscape(content) != landscape(deviceSize) ? deviceSize.transposed() : deviceSize;
        const qreal scale =
            std::min(room.width() / content.width(), room.height() / content.height());
        painter.scale(scale, scale);
        pages.paintHeader(page, content.width());
        if (page < layout.leadingPages) {
            // The leading pages take the area under the header whole.
            painter.save();
            sheet.leadingPages->paint(painter, page,
                                      QRectF(0, layout.headerRule + kHeaderGap, content.width(),
                                             content.height() - layout.headerRule - kHeaderGap));
            painter.restore();
        }
    };
    startPage(0);
    // The items are painted as the layout places them, page after page,
    // so that no more than the page at hand is held.
    std::size_t current = 0;
    bool failed = false;
    placeSheetItems(sheet, fonts, layout,
                    [&](std::size_t page, const SheetItem& item, const SheetRow* row) {
                        while (!failed && current < page) {
                            ++current;
                            // A new paper is set before the page it is for
                            // is begun.
                            const QPageLayout next = layoutOf(current);
                            if (paperPerPage && !next.isEquivalentTo(device.pageLayout())) {
                                device.setPageLayout(next);
                            }
                            failed = !device.newPage();
                            if (!failed) {
                                startPage(current);
                            }
                        }
                        if (!failed) {
                            pages.paintItem(item, row);
                        }
                    });
    painter.end();
    return failed ? 0 : static_cast<int>(layout.pageCount);
}

} // namespace koruba
