#include "report/SheetLayout.h"

#include "calc/RuleText.h"
#include "draw/JapaneseFonts.h"
#include "report/SheetCells.h"

#include <QFontMetricsF>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace koruba {

namespace {

QFont sheetFont(int size, bool bold = false) {
    QFont font = JapaneseFont(MsPGothic, size, bold);
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
        return 95;
    case SheetColumn::Strength:
        return 110; // "≧104.63" beyond the notice's table

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

qreal wrappedHeight(const QFont& font, qreal width, const QString& text) {
    const QFontMetricsF metrics(font);
    const QRectF box =
        metrics.boundingRect(QRectF(0, 0, width - 2 * kCellPad, 1e6), Qt::TextWrapAnywhere, text);
    return box.height() + 2 * kCellPad;
}

qreal wrappedHeight(const QFont& font, qreal width, const std::string& text) {
    return wrappedHeight(font, width, QString::fromStdString(text));
}

// Line breaks, tabs and other control characters as spaces: header items
// and notes are running text on one line each.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return text;
}

// Running text broken into the lines it takes at the width, at word
// boundaries where the text has them, anywhere else (Japanese has none).
std::vector<QString> wrapLines(const QFont& font, qreal width, const QString& text) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<QString> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.push_back(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (lines.empty()) {
        lines.emplace_back();
    }
    return lines;
}

// Texts that may be long, held to a few lines where they are shown; what
// is cut is kept whole for the notes, under a numbered mark.
class LongTexts {
public:
    // The text as it fits maxLines lines of the font wrapped (anywhere) in
    // a cell of the width, or cut with "…※n"; the whole text, after the
    // caption, goes into note n.
    QString fit(const QFont& font, qreal width, int maxLines, const QString& text,
                const QString& caption) {
        const qreal limit = heightOfLines(font, width, maxLines);
        if (wrappedHeight(font, width, text) <= limit) {
            return text;
        }
        const QString mark = QStringLiteral("…※%1").arg(notes_.size() + 1);
        qsizetype fits = 0;
        qsizetype over = text.size();
        while (over - fits > 1) {
            const qsizetype mid = (fits + over) / 2;
            if (wrappedHeight(font, width, text.left(mid) + mark) <= limit) {
                fits = mid;
            } else {
                over = mid;
            }
        }
        if (fits > 0 && text[fits - 1].isHighSurrogate()) {
            --fits;
        }
        notes_.push_back(mark.mid(1) + QStringLiteral(" ") + caption + QStringLiteral("：") +
                         oneLine(text));
        return text.left(fits) + mark;
    }

    std::vector<QString>& notes() { return notes_; }

private:
    qreal heightOfLines(const QFont& font, qreal width, int lines) {
        QString probe = QStringLiteral("N");
        for (int i = 1; i < lines; ++i) {
            probe += QStringLiteral("\nN");
        }
        return wrappedHeight(font, width, probe) + 0.5;
    }

    std::vector<QString> notes_;
};

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

qreal errorWidth(const SheetTable& table) {
    const std::size_t from = errorColumn(table);
    return kSheetWidth - std::accumulate(table.widths.begin(),
                                         table.widths.begin() + static_cast<std::ptrdiff_t>(from),
                                         0.0);
}

// The most lines a name or an error takes in its cell: a row's results
// always stay on its page, however long the texts beside them.
constexpr int kNameLines = 6;
constexpr int kErrorLines = 4;
// The most lines a header item takes when the header needs more than one.
constexpr int kHeaderItemLines = 2;

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A row's name and error as its cells show them.
struct ShownRow {
    QString name;
    QString error;
};

std::size_t columnIndex(const SheetTable& table, SheetColumn column) {
    return static_cast<std::size_t>(std::find(table.columns.begin(), table.columns.end(), column) -
                                    table.columns.begin());
}

ShownRow shownRow(const SheetTable& table, const SheetRow& row, const SheetFonts& fonts,
                  LongTexts& texts) {
    ShownRow shown;
    const QString name = utf8(row.name);
    shown.name = texts.fit(fonts.cell, table.widths[columnIndex(table, SheetColumn::Name)],
                           kNameLines, name, QStringLiteral("柱名"));
    if (!row.result) {
        shown.error =
            texts.fit(fonts.cell, errorWidth(table), kErrorLines, utf8(errorCellText(row)),
                      oneLine(shown.name) + QStringLiteral(" の計算できなかった理由"));
    }
    return shown;
}

qreal rowHeight(const SheetTable& table, const SheetRow& row, const ShownRow& shown,
                const SheetFonts& fonts) {
    qreal height = table.storeys == 2 ? 2 * kStoreyLine : kSingleRow;
    if (table.storeys == 0) {
        height = kSingleRow / 2;
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const SheetColumn c = table.columns[i];
        if (c == SheetColumn::Name) {
            height = std::max(height, wrappedHeight(fonts.cell, table.widths[i], shown.name));
        } else if (!isPerStorey(c)) {
            height =
                std::max(height, wrappedHeight(fonts.cell, table.widths[i], cellText(row, c, 0)));
        }
    }
    if (!row.result) {
        height = std::max(height, wrappedHeight(fonts.cell, errorWidth(table), shown.error));
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
    Paginator(SheetLayout& layout, qreal top) : layout_(layout), top_(top) { newPage(); }

    bool fits(qreal height) const { return y_ + height <= kSheetHeight; }
    void newPage() {
        layout_.pages.emplace_back();
        y_ = top_;
    }
    void place(SheetItem item) {
        item.y = y_;
        y_ += item.height;
        layout_.pages.back().items.push_back(std::move(item));
    }
    void space(qreal height) { y_ = std::min(y_ + height, kSheetHeight); }

private:
    SheetLayout& layout_;
    qreal top_ = 0;
    qreal y_ = 0;
};

void placeTable(Paginator& pages, const SheetTable& table, int index, const SheetFonts& fonts,
                LongTexts& texts, std::vector<QString>& shownNames, const SheetRow* first) {
    using K = SheetItem::Kind;
    const QString caption = utf8(tableCaption(table.storeys));
    auto heading = [&](bool continued) {
        pages.place({K::Caption,
                     0,
                     kCaptionHeight,
                     index,
                     -1,
                     continued ? caption + QStringLiteral("（続き）") : caption,
                     {}});
        pages.place({K::HeaderRow, 0, kHeaderRowHeight, index, -1, {}, {}});
    };
    if (table.rows.empty()) {
        if (!pages.fits(kCaptionHeight + kHeaderRowHeight + kSingleRow)) {
            pages.newPage();
        }
        heading(false);
        pages.place({K::EmptyNote,
                     0,
                     kSingleRow,
                     index,
                     -1,
                     QStringLiteral("計算する柱がありません（入力に記録がありません）。"),
                     {}});
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const SheetRow& row = *table.rows[r];
        ShownRow shown = shownRow(table, row, fonts, texts);
        shownNames[static_cast<std::size_t>(&row - first)] = shown.name;
        const qreal height = rowHeight(table, row, shown, fonts);
        if (r == 0) {
            if (!pages.fits(kCaptionHeight + kHeaderRowHeight + height)) {
                pages.newPage();
            }
            heading(false);
        } else if (!pages.fits(height)) {
            pages.newPage();
            heading(true);
        }
        pages.place({K::Row, 0, height, index, static_cast<int>(r), std::move(shown.name),
                     std::move(shown.error)});
    }
    pages.space(kCaptionHeight / 2);
}

void placeNotes(Paginator& pages, const SheetDescription& sheet, const SheetFonts& fonts,
                std::vector<QString> notes, const std::vector<QString>& shownNames) {
    using K = SheetItem::Kind;
    for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
        const SheetRow& row = sheet.rows[i];
        if (row.result) {
            const std::string warning =
                tallStoreyWarning(row.result->Rules, row.result->H1Cm, row.result->H2Cm);
            if (!warning.empty()) {
                notes.push_back(oneLine(shownNames[i]) + QStringLiteral("：") + utf8(warning));
            }
        }
    }
    if (notes.empty()) {
        return;
    }
    if (!pages.fits(kCaptionHeight + kNoteLine)) {
        pages.newPage();
    }
    pages.place({K::NotesCaption, 0, kCaptionHeight, -1, -1, QStringLiteral("注記"), {}});
    for (const QString& note : notes) {
        // A long note goes on over the page break, line by line.
        for (QString& line : wrapLines(fonts.text, kSheetWidth, note)) {
            if (!pages.fits(kNoteLine)) {
                pages.newPage();
            }
            pages.place({K::Note, 0, kNoteLine, -1, -1, std::move(line), {}});
        }
    }
}

// The header's lines: project, designer and date on one line as long as
// they fit it, else each on lines of its own, a long one cut into the
// notes. Line breaks in them are spaces.
std::vector<QString> headerLines(const SheetDescription& sheet, const SheetFonts& fonts,
                                 LongTexts& texts) {
    const QString items[] = {
        QStringLiteral("物件名：") + oneLine(utf8(sheet.project)),
        QStringLiteral("設計者：") + oneLine(utf8(sheet.designer)),
        QStringLiteral("作成日：") + oneLine(utf8(sheet.date)),
    };
    const QString together =
        items[0] + QStringLiteral("　　") + items[1] + QStringLiteral("　　") + items[2];
    if (QFontMetricsF(fonts.text).horizontalAdvance(together) <= kSheetWidth) {
        return {together};
    }
    const QString captions[] = {QStringLiteral("物件名"), QStringLiteral("設計者"),
                                QStringLiteral("作成日")};
    std::vector<QString> lines;
    for (std::size_t i = 0; i < 3; ++i) {
        // The cut is measured as a cell measures it: with its padding.
        const QString shown = texts.fit(fonts.text, kSheetWidth + 2 * kCellPad, kHeaderItemLines,
                                        items[i], captions[i]);
        for (QString& line : wrapLines(fonts.text, kSheetWidth, shown)) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

} // namespace

SheetFonts sheetFonts() {
    return {sheetFont(50, true), sheetFont(30, true), sheetFont(25), sheetFont(23), sheetFont(20)};
}

MethodBlock methodBlock(const SheetDescription& sheet, const SheetFonts& fonts) {
    std::vector<QString> lines;
    const std::vector<RuleSet> rules = rulesInUse(sheet);
    lines.push_back(QStringLiteral("計算方法：N値計算法（") + utf8(kMethodCitation) +
                    QStringLiteral("）"));
    QStringList names;
    for (RuleSet r : rules) {
        names << utf8(ruleSetName(r));
    }
    // Results under the old rules carry the reminder that they are not the
    // current ones.
    lines.push_back(QStringLiteral("適用規準：") + names.join(QStringLiteral("、")) +
                    QStringLiteral("　") + utf8(supersededRulesNote(rules.front())));
    for (RuleSet r : rules) {
        const QString prefix =
            rules.size() > 1 ? QStringLiteral("（") + utf8(ruleSetName(r)) + QStringLiteral("）")
                             : QString();
        lines.push_back(QStringLiteral("　") + prefix + utf8(tableCaption(1)) +
                        QStringLiteral("：") + utf8(ruleFormula(r, 1)));
        lines.push_back(QStringLiteral("　") + prefix + utf8(tableCaption(2)) +
                        QStringLiteral("：") + utf8(ruleFormula(r, 2)));
        for (const QString& line :
             utf8(heightFactorConditions(r)).split(u'\n', Qt::SkipEmptyParts)) {
            lines.push_back(QStringLiteral("　　") + line);
        }
    }
    QString key =
        QStringLiteral("　A：柱の左右の壁倍率の差＋筋かいの補正値　B・L：柱の位置による係数　"
                       "壁倍率：筋かいと面材の合計");
    if (rules.front() == RuleSet::Notice2000) {
        key += QStringLiteral("（2000年告示では 5.0 を上限とする）");
    }
    lines.push_back(key);
    lines.push_back(QStringLiteral("　") + utf8(patternLegend()));
    MethodBlock block;
    for (const QString& line : lines) {
        // A continued line keeps the indent of its first and one more.
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == u'　') {
            ++indent;
        }
        const std::vector<QString> wrapped = wrapLines(fonts.text, kSheetWidth, line);
        for (std::size_t i = 0; i < wrapped.size(); ++i) {
            block.lines.push_back(i == 0 ? wrapped[i]
                                         : QString(indent + 1, u'　') + wrapped[i].trimmed());
        }
    }
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
    LongTexts texts;
    layout.header = headerLines(sheet, fonts, texts);
    layout.headerRule = kHeaderTop + static_cast<qreal>(layout.header.size()) * kHeaderLine + 5;
    layout.method = methodBlock(sheet, fonts);
    layout.tables = tablesOf(sheet);
    Paginator pages(layout, layout.headerRule + kHeaderGap);
    pages.place({SheetItem::Kind::Method, 0, methodBlockHeight(layout.method), -1, -1, {}, {}});
    std::vector<QString> shownNames(sheet.rows.size());
    for (std::size_t t = 0; t < layout.tables.size(); ++t) {
        placeTable(pages, layout.tables[t], static_cast<int>(t), fonts, texts, shownNames,
                   sheet.rows.data());
    }
    placeNotes(pages, sheet, fonts, std::move(texts.notes()), shownNames);
    return layout;
}

} // namespace koruba
