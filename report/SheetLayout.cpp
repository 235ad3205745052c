#include "report/SheetLayout.h"

#include "calc/RuleText.h"
#include "draw/JapaneseFonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace koruba {

namespace {

QFont sheetFont(int size, bool bold = false) {
    // The IPA face by its own name, not the MS face it stands in for: a
    // sheet made where the MS fonts are installed embeds the same glyphs
    // as one made anywhere else.
    QFont font = JapaneseFont(QStringLiteral("IPAPGothic"), size, bold);
    // Metrics at the sheet's unit sizes, not rounded to screen pixels, so
    // that what is measured is what the page shows.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal naturalWidth(SheetColumn column) {
    switch (column) {
    case SheetColumn::Diagram:
        return 160;
    case SheetColumn::Name:
        return 140;
    case SheetColumn::Pattern:
        return 90;
    case SheetColumn::Mirrored:
    case SheetColumn::B:
    case SheetColumn::L:
        return 60;
    case SheetColumn::Storey:
        return 55;
    case SheetColumn::Position:
        return 90;
    case SheetColumn::A:
        return 70;
    case SheetColumn::Height:
        return 80;
    case SheetColumn::HeightFactor:
        return 125;
    case SheetColumn::N:
        return 85;
    case SheetColumn::PullOut:
    case SheetColumn::Strength:
        return 95;
    case SheetColumn::Hardware:
        return 235;
    default:
        return 75;
    }
}

// The widths of a table's columns: the natural ones, the hardware column
// taking what is left of the sheet's width. Without one, what is left is
// where the errors of the table's records stand.
std::vector<qreal> widthsOf(const std::vector<SheetColumn>& columns) {
    std::vector<qreal> widths;
    for (SheetColumn c : columns) {
        widths.push_back(naturalWidth(c));
    }
    const qreal rest = kSheetWidth - std::accumulate(widths.begin(), widths.end(), 0.0);
    const auto wide = std::find(columns.begin(), columns.end(), SheetColumn::Hardware);
    if (wide != columns.end()) {
        widths[static_cast<std::size_t>(wide - columns.begin())] += std::max<qreal>(rest, 0.0);
    }
    return widths;
}

qreal wrappedHeight(const QFont& font, qreal width, const std::string& text) {
    const QFontMetricsF metrics(font);
    const QRectF box = metrics.boundingRect(QRectF(0, 0, width - 2 * kCellPad, 1e6),
                                            Qt::TextWrapAnywhere, QString::fromStdString(text));
    return box.height() + 2 * kCellPad;
}

} // namespace

std::size_t errorColumn(const SheetTable& table) {
    const auto it = std::find_if(table.columns.begin(), table.columns.end(), [](SheetColumn c) {
        return c != SheetColumn::Diagram && c != SheetColumn::Name && c != SheetColumn::Pattern &&
               c != SheetColumn::Mirrored;
    });
    return static_cast<std::size_t>(it - table.columns.begin());
}

std::string errorCellText(const SheetRow& row) {
    return "計算できません：" + row.error;
}

namespace {

qreal rowHeight(const SheetTable& table, const SheetRow& row, const SheetFonts& fonts) {
    qreal height = table.storeys == 2 ? 2 * kStoreyLine : kSingleRow;
    if (table.storeys == 0) {
        height = kSingleRow / 2;
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const SheetColumn c = table.columns[i];
        if (!isPerStorey(c)) {
            height =
                std::max(height, wrappedHeight(fonts.cell, table.widths[i], cellText(row, c, 0)));
        }
    }
    if (!row.result) {
        const std::size_t from = errorColumn(table);
        const qreal width =
            kSheetWidth - std::accumulate(table.widths.begin(),
                                          table.widths.begin() + static_cast<std::ptrdiff_t>(from),
                                          0.0);
        height = std::max(height, wrappedHeight(fonts.cell, width, errorCellText(row)));
    }
    return height;
}

std::vector<SheetTable> tablesOf(const SheetDescription& sheet) {
    std::vector<SheetTable> tables;
    for (const std::int32_t storeys : {1, 2, 0}) {
        SheetTable table;
        table.storeys = storeys;
        bool heights = false;
        for (const SheetRow& row : sheet.rows) {
            if (storeyCountOf(row) == storeys) {
                table.rows.push_back(&row);
                const RuleSet rules = row.result ? row.result->Rules : row.conditions.rules;
                heights = heights || rules == RuleSet::Revision2025;
            }
        }
        // An empty sheet still shows the first table's header, with a note.
        if (table.rows.empty() && !(sheet.rows.empty() && storeys == 1)) {
            continue;
        }
        table.columns = sheetColumns(storeys, heights);
        table.widths = widthsOf(table.columns);
        tables.push_back(std::move(table));
    }
    return tables;
}

// Places items from top to bottom, starting a page when the next one does
// not fit.
class Paginator {
public:
    explicit Paginator(SheetLayout& layout) : layout_(layout) { newPage(); }

    bool fits(qreal height) const { return y_ + height <= kSheetHeight; }
    void newPage() {
        layout_.pages.emplace_back();
        y_ = kHeaderHeight;
    }
    void place(SheetItem item) {
        item.y = y_;
        y_ += item.height;
        layout_.pages.back().items.push_back(std::move(item));
    }
    void space(qreal height) { y_ = std::min(y_ + height, kSheetHeight); }

private:
    SheetLayout& layout_;
    qreal y_ = 0;
};

void placeTable(Paginator& pages, const SheetTable& table, int index, const SheetFonts& fonts) {
    using K = SheetItem::Kind;
    const QString caption =
        QString::fromUtf8(tableCaption(table.storeys).data(),
                          static_cast<qsizetype>(tableCaption(table.storeys).size()));
    auto heading = [&](bool continued) {
        pages.place({K::Caption, 0, kCaptionHeight, index, -1,
                     continued ? caption + QStringLiteral("（続き）") : caption});
        pages.place({K::HeaderRow, 0, kHeaderRowHeight, index, -1, {}});
    };
    const qreal first = table.rows.empty() ? kSingleRow : rowHeight(table, *table.rows[0], fonts);
    if (!pages.fits(kCaptionHeight + kHeaderRowHeight + first)) {
        pages.newPage();
    }
    heading(false);
    if (table.rows.empty()) {
        pages.place({K::EmptyNote, 0, kSingleRow, index, -1,
                     QStringLiteral("計算する柱がありません（入力に記録がありません）。")});
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const qreal height = rowHeight(table, *table.rows[r], fonts);
        if (!pages.fits(height)) {
            pages.newPage();
            heading(true);
        }
        pages.place({K::Row, 0, height, index, static_cast<int>(r), {}});
    }
    pages.space(kCaptionHeight / 2);
}

void placeNotes(Paginator& pages, const SheetDescription& sheet) {
    using K = SheetItem::Kind;
    std::vector<QString> notes;
    for (const SheetRow& row : sheet.rows) {
        if (row.result) {
            const std::string warning =
                tallStoreyWarning(row.result->Rules, row.result->H1Cm, row.result->H2Cm);
            if (!warning.empty()) {
                notes.push_back(QString::fromStdString(row.name + "：" + warning));
            }
        }
    }
    if (notes.empty()) {
        return;
    }
    if (!pages.fits(kCaptionHeight + kNoteLine)) {
        pages.newPage();
    }
    pages.place({K::NotesCaption, 0, kCaptionHeight, -1, -1, QStringLiteral("注記")});
    for (QString& note : notes) {
        if (!pages.fits(kNoteLine)) {
            pages.newPage();
        }
        pages.place({K::Note, 0, kNoteLine, -1, -1, std::move(note)});
    }
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SheetFonts sheetFonts() {
    return {sheetFont(50, true), sheetFont(30, true), sheetFont(25), sheetFont(23), sheetFont(20)};
}

MethodBlock methodBlock(const SheetDescription& sheet) {
    MethodBlock block;
    const std::vector<RuleSet> rules = rulesInUse(sheet);
    block.lines.push_back(QStringLiteral("計算方法：N値計算法（") + utf8(kMethodCitation) +
                          QStringLiteral("）"));
    QStringList names;
    for (RuleSet r : rules) {
        names << utf8(ruleSetName(r));
    }
    block.lines.push_back(QStringLiteral("適用規準：") + names.join(QStringLiteral("、")));
    for (RuleSet r : rules) {
        const QString prefix =
            rules.size() > 1 ? QStringLiteral("（") + utf8(ruleSetName(r)) + QStringLiteral("）")
                             : QString();
        block.lines.push_back(QStringLiteral("　") + prefix + utf8(tableCaption(1)) +
                              QStringLiteral("：") + utf8(ruleFormula(r, 1)));
        block.lines.push_back(QStringLiteral("　") + prefix + utf8(tableCaption(2)) +
                              QStringLiteral("：") + utf8(ruleFormula(r, 2)));
        for (const QString& line :
             utf8(heightFactorConditions(r)).split(u'\n', Qt::SkipEmptyParts)) {
            block.lines.push_back(QStringLiteral("　　") + line);
        }
    }
    QString key =
        QStringLiteral("　A：柱の左右の壁倍率の差＋筋かいの補正値　B・L：柱の位置による係数　"
                       "壁倍率：筋かいと面材の合計");
    if (rules.front() == RuleSet::Notice2000) {
        key += QStringLiteral("（2000年告示では 5.0 を上限とする）");
    }
    block.lines.push_back(key);
    block.legend = hardwareLegend();
    return block;
}

qreal methodBlockHeight(const MethodBlock& block) {
    // The lines, a gap, the legend's caption and header, its rows, a gap.
    return static_cast<qreal>(block.lines.size()) * kMethodLine + kMethodLine / 2 + kCaptionHeight +
           static_cast<qreal>(block.legend.size() + 1) * kLegendLine + kMethodLine / 2;
}

SheetLayout layOutSheet(const SheetDescription& sheet, const SheetFonts& fonts) {
    SheetLayout layout;
    layout.tables = tablesOf(sheet);
    Paginator pages(layout);
    pages.place({SheetItem::Kind::Method, 0, methodBlockHeight(methodBlock(sheet)), -1, -1, {}});
    for (std::size_t t = 0; t < layout.tables.size(); ++t) {
        placeTable(pages, layout.tables[t], static_cast<int>(t), fonts);
    }
    placeNotes(pages, sheet);
    return layout;
}

} // namespace koruba
