#include "report/SheetLayout.h"

#include "calc/BracingModel.h"
#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "calc/RuleText.h"
#include "draw/JapaneseFonts.h"
#include "report/SheetCells.h"

#include <QFontMetricsF>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <map>
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
        return 95;
    case SheetColumn::Strength:
        return 110; // "≧104.63" beyond the notice's table

    case SheetColumn::Hardware:
        return 235;
    case SheetColumn::Direction:
        return 50;
    case SheetColumn::A2:
        return 70;
    case SheetColumn::B2:
    case SheetColumn::Governing:
        return 60;
    case SheetColumn::HeightFactor2:
        return 125;
    case SheetColumn::DirectionN:
        return 85;
    default:
        return 75;
    }
}

// The widths of a table's columns: the natural ones, the hardware column
// taking what is left of the sheet's width. Without one, what is left is
// where the errors of the table's records stand.
std::vector<qreal> widthsOf(const std::vector<SheetColumn>& columns, bool house = false) {
    std::vector<qreal> widths;
    for (SheetColumn c : columns) {
        // A house column's name holds its grid point and own name, its
        // position both storeys' ("1階 出隅").
        qreal width = naturalWidth(c);
        if (house && (c == SheetColumn::Name || c == SheetColumn::Position)) {
            width = 150;
        }
        widths.push_back(width);
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
    // Without keep, only the marks are counted: the notes are gathered in
    // a pass of their own.
    explicit LongTexts(bool keep) : keep_(keep) {}

    // The text as it fits maxLines lines of the font wrapped (anywhere) in
    // a cell of the width, or cut with "…※n"; the whole text, after the
    // caption if there is one, goes into note n.
    QString fit(const QFont& font, qreal width, int maxLines, const QString& text,
                const QString& caption) {
        const qreal limit = heightOfLines(font, width, maxLines);
        // No cell holds this many characters in a few lines: a longer text
        // is cut without measuring all of it.
        constexpr qsizetype kLongest = 4096;
        if (text.size() <= kLongest && wrappedHeight(font, width, text) <= limit) {
            return text;
        }
        const QString mark = QStringLiteral("…※%1").arg(++marks_);
        qsizetype fits = 0;
        qsizetype over = std::min(text.size(), kLongest);
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
        if (keep_) {
            notes_.push_back(mark.mid(1) + QStringLiteral(" ") +
                             (caption.isEmpty() ? QString() : caption + QStringLiteral("：")) +
                             oneLine(text));
        }
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

    bool keep_ = false;
    int marks_ = 0;
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
    qreal height = linesOf(table) == 2 ? 2 * kStoreyLine : kSingleRow;
    if (table.storeys == 0 && !table.house) {
        height = kSingleRow / 2;
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const SheetColumn c = table.columns[i];
        if (c == SheetColumn::Name) {
            height = std::max(height, wrappedHeight(fonts.cell, table.widths[i], shown.name));
        } else if (c == SheetColumn::Hardware) {
            const std::vector<QString> lines =
                wrapLines(fonts.cell, table.widths[i] - 2 * kCellPad, utf8(cellText(row, c, 0)));
            height = std::max(height, static_cast<qreal>(lines.size()) *
                                              QFontMetricsF(fonts.cell).lineSpacing() +
                                          2 * kCellPad);
        } else if (!isPerLine(table, c)) {
            height =
                std::max(height, wrappedHeight(fonts.cell, table.widths[i], cellText(row, c, 0)));
        }
    }
    if (!row.result) {
        height = std::max(height, wrappedHeight(fonts.cell, errorWidth(table), shown.error));
    }
    return height;
}

std::vector<SheetTable> houseTablesOf(const SheetDescription& sheet) {
    std::size_t rows[3] = {0, 0, 0};
    bool heights = false;
    forEachRow(sheet, [&](const SheetRow& row) {
        if (row.house) {
            ++rows[static_cast<std::size_t>(row.house->table)];
            heights = heights || (row.result && row.result->Rules == RuleSet::Revision2025);
        }
    });
    std::vector<SheetTable> tables;
    for (const HouseTable kind : {HouseTable::Upper, HouseTable::Lower, HouseTable::SingleStorey}) {
        const std::size_t count = rows[static_cast<std::size_t>(kind)];
        // A house without columns still shows a table, with a note.
        if (count == 0 && !(rows[0] + rows[1] + rows[2] == 0 && kind == HouseTable::SingleStorey)) {
            continue;
        }
        SheetTable table;
        table.house = kind;
        table.rowCount = count;
        table.columns = houseSheetColumns(kind, heights);
        table.widths = widthsOf(table.columns, true);
        tables.push_back(std::move(table));
    }
    return tables;
}

std::vector<SheetTable> tablesOf(const SheetDescription& sheet) {
    if (sheet.house) {
        return houseTablesOf(sheet);
    }
    struct Kind {
        std::size_t rows = 0;
        bool heights = false;
    };
    Kind kinds[3];
    forEachRow(sheet, [&kinds](const SheetRow& row) {
        Kind& kind = kinds[storeyCountOf(row)];
        ++kind.rows;
        const RuleSet rules = row.result ? row.result->Rules : row.conditions.rules;
        kind.heights = kind.heights || rules == RuleSet::Revision2025;
    });
    const bool empty = kinds[0].rows + kinds[1].rows + kinds[2].rows == 0;
    std::vector<SheetTable> tables;
    for (const std::int32_t storeys : {1, 2, 0}) {
        const Kind& kind = kinds[storeys];
        // An empty sheet still shows the first table's header, with a note.
        if (kind.rows == 0 && !(empty && storeys == 1)) {
            continue;
        }
        SheetTable table;
        table.storeys = storeys;
        table.rowCount = kind.rows;
        table.columns = sheetColumns(storeys, kind.heights);
        table.widths = widthsOf(table.columns);
        tables.push_back(std::move(table));
    }
    return tables;
}

// Visits the rows of one table, in input order.
void forEachRowOf(const SheetDescription& sheet, const SheetTable& table,
                  const std::function<void(const SheetRow&)>& visit) {
    forEachRow(sheet, [&](const SheetRow& row) {
        const bool inTable = table.house ? row.house && row.house->table == *table.house
                                         : !row.house && storeyCountOf(row) == table.storeys;
        if (inTable) {
            visit(row);
        }
    });
}

// Places items from top to bottom, starting a page when the next one does
// not fit, and hands each to the sink as it is placed.
class Paginator {
public:
    Paginator(const SheetItemSink& sink, qreal top, std::size_t firstPage)
        : sink_(sink), top_(top), y_(top), page_(firstPage) {}

    bool fits(qreal height) const { return y_ + height <= kSheetHeight; }
    void newPage() {
        ++page_;
        y_ = top_;
    }
    void place(SheetItem item, const SheetRow* row = nullptr) {
        item.y = y_;
        y_ += item.height;
        sink_(page_, item, row);
    }
    void space(qreal height) { y_ = std::min(y_ + height, kSheetHeight); }

private:
    const SheetItemSink& sink_;
    qreal top_ = 0;
    qreal y_ = 0;
    std::size_t page_ = 0;
};

void placeTable(Paginator& pages, const SheetDescription& sheet, const SheetTable& table, int index,
                const SheetFonts& fonts, LongTexts& texts) {
    using K = SheetItem::Kind;
    const QString caption =
        utf8(table.house ? houseTableCaption(*table.house) : tableCaption(table.storeys));
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
    if (table.rowCount == 0) {
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
    int r = 0;
    forEachRowOf(sheet, table, [&](const SheetRow& row) {
        ShownRow shown = shownRow(table, row, fonts, texts);
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
        pages.place({K::Row, 0, height, index, r++, std::move(shown.name), std::move(shown.error)},
                    &row);
    });
    pages.space(kCaptionHeight / 2);
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
    std::vector<QString> lines;
    for (std::size_t i = 0; i < 3; ++i) {
        // The cut is measured as a cell measures it: with its padding.
        const QString shown = texts.fit(fonts.text, kSheetWidth + 2 * kCellPad, kHeaderItemLines,
                                        items[i], QString());
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
    QString rulesLine = QStringLiteral("適用規準：") + names.join(QStringLiteral("、"));
    if (const std::string note = supersededRulesNote(rules.front()); !note.empty()) {
        rulesLine += QStringLiteral("　") + utf8(note);
    }
    lines.push_back(rulesLine);
    for (RuleSet r : rules) {
        const QString prefix =
            rules.size() > 1 ? QStringLiteral("（") + utf8(ruleSetName(r)) + QStringLiteral("）")
                             : QString();
        const QString single =
            sheet.house ? QStringLiteral("2階・平屋・下屋の柱") : utf8(tableCaption(1));
        const QString lower =
            sheet.house ? QStringLiteral("1階の柱（2階の下）") : utf8(tableCaption(2));
        lines.push_back(QStringLiteral("　") + prefix + single + QStringLiteral("：") +
                        utf8(ruleFormula(r, 1)));
        // A one-storey house has no lower-storey frame.
        if (!sheet.house || sheet.storeyLabels.size() > 1) {
            lines.push_back(QStringLiteral("　") + prefix + lower + QStringLiteral("：") +
                            utf8(ruleFormula(r, 2)));
        }
        for (const QString& line :
             utf8(heightFactorConditions(r)).split(u'\n', Qt::SkipEmptyParts)) {
            lines.push_back(QStringLiteral("　　") + line);
        }
    }
    QString key =
        QStringLiteral("　A：柱の左右の壁倍率の差＋筋かいの補正値　B・L：柱の位置による係数　"
                       "壁倍率：筋かいと面材の合計");
    if (rules.front() == RuleSet::Notice2000) {
        key += QStringLiteral("（2000年告示では ") +
               QString::fromStdString(F1(kBayMultiplierCap2000)) +
               QStringLiteral(" を上限とする）");
    }
    lines.push_back(key);
    if (sheet.house) {
        lines.push_back(QStringLiteral(
            "　柱ごとに X 方向（X 軸に平行な壁）と Y 方向（Y 軸に平行な壁）の N値を求め、"
            "大きい方（等しいときは X 方向）で接合金物を選ぶ。A は柱の座標の小さい側と大きい側の"
            "壁から、A2・B2 は同じ位置の2階の柱から求める。"));
        lines.push_back(QStringLiteral(
            "　B：出隅 0.8、その他 0.5　L：2階・平屋・下屋の柱 出隅 0.4、その他 0.6、"
            "1階の柱 出隅 1.0、その他 1.6（出隅・その他は各階の床の外形による）"));
    } else {
        lines.push_back(QStringLiteral("　") + utf8(patternLegend()));
        lines.push_back(
            QStringLiteral("　反転 有：軸組図を左右反転したもの（左右の壁を入れ替えて計算）"));
    }
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

namespace {

// The notes after the tables, each broken into lines placed one by one so
// that a long one goes on over the page break: first the whole texts of
// what the header and the rows show cut, then the tall storeys' warnings.
// The rows are passed again for them, with the marks numbered as in the
// first pass, rather than held.
class NotePlacer {
public:
    NotePlacer(Paginator& pages, const SheetFonts& fonts) : pages_(pages), fonts_(fonts) {}

    void place(const QString& note) {
        using K = SheetItem::Kind;
        if (!captioned_) {
            if (!pages_.fits(kCaptionHeight + kNoteLine)) {
                pages_.newPage();
            }
            pages_.place({K::NotesCaption, 0, kCaptionHeight, -1, -1, QStringLiteral("注記"), {}});
            captioned_ = true;
        }
        for (QString& line : wrapLines(fonts_.text, kSheetWidth, note)) {
            if (!pages_.fits(kNoteLine)) {
                pages_.newPage();
            }
            pages_.place({K::Note, 0, kNoteLine, -1, -1, std::move(line), {}});
        }
    }

    // Places the notes texts has gathered and forgets them.
    void placeGathered(LongTexts& texts) {
        for (const QString& note : texts.notes()) {
            place(note);
        }
        texts.notes().clear();
    }

private:
    Paginator& pages_;
    const SheetFonts& fonts_;
    bool captioned_ = false;
};

void placeNotes(Paginator& pages, const SheetDescription& sheet, const SheetFonts& fonts,
                const SheetLayout& layout) {
    NotePlacer notes(pages, fonts);
    LongTexts texts(true);
    headerLines(sheet, fonts, texts);
    notes.placeGathered(texts);
    for (const SheetTable& table : layout.tables) {
        forEachRowOf(sheet, table, [&](const SheetRow& row) {
            shownRow(table, row, fonts, texts);
            notes.placeGathered(texts);
        });
    }
    LongTexts marks(false);
    headerLines(sheet, fonts, marks);
    std::vector<QString> tallNotes;
    for (const SheetTable& table : layout.tables) {
        forEachRowOf(sheet, table, [&](const SheetRow& row) {
            const ShownRow shown = shownRow(table, row, fonts, marks);
            if (row.house) {
                // The derivation's warnings name the column themselves.
                for (const std::string& warning : row.house->column.warnings) {
                    notes.place(utf8(warning));
                }
                // A storey's height is the same for all its columns: the
                // table's note says it once.
                const std::string warning =
                    tallStoreyWarning(row.result->Rules, row.result->H1Cm, row.result->H2Cm);
                const QString note =
                    utf8(houseTableCaption(*table.house)) + QStringLiteral("：") + utf8(warning);
                if (!warning.empty() &&
                    std::find(tallNotes.begin(), tallNotes.end(), note) == tallNotes.end()) {
                    tallNotes.push_back(note);
                }
            } else if (row.result) {
                const std::string warning =
                    tallStoreyWarning(row.result->Rules, row.result->H1Cm, row.result->H2Cm);
                if (!warning.empty()) {
                    notes.place(oneLine(shown.name) + QStringLiteral("：") + utf8(warning));
                }
            }
        });
    }
    for (const QString& note : tallNotes) {
        notes.place(note);
    }
}

// The schedule after the notes, on one page where a page holds it; a long
// one goes on over the break with its caption and header repeated.
void placeSchedule(Paginator& pages, const HardwareSchedule& schedule, qreal pageTop) {
    using K = SheetItem::Kind;
    if (schedule.rows.empty()) {
        return;
    }
    const auto heading = [&](bool continued) {
        pages.place(
            {K::ScheduleCaption,
             0,
             kCaptionHeight,
             -1,
             -1,
             continued ? QStringLiteral("使用金物一覧（続き）") : QStringLiteral("使用金物一覧"),
             {}});
        pages.place({K::ScheduleRow, 0, kScheduleLine, -1, -1, {}, {}});
    };
    pages.space(kCaptionHeight / 2);
    const qreal whole =
        kCaptionHeight + static_cast<qreal>(schedule.rows.size() + 1) * kScheduleLine;
    if (!pages.fits(whole) &&
        (whole <= kSheetHeight - pageTop || !pages.fits(kCaptionHeight + 2 * kScheduleLine))) {
        pages.newPage();
    }
    heading(false);
    for (std::size_t r = 0; r < schedule.rows.size(); ++r) {
        if (!pages.fits(kScheduleLine)) {
            pages.newPage();
            heading(true);
        }
        pages.place({K::ScheduleRow, 0, kScheduleLine, -1, static_cast<int>(r), {}, {}});
    }
}

} // namespace

void placeSheetItems(const SheetDescription& sheet, const SheetFonts& fonts,
                     const SheetLayout& layout, const SheetItemSink& sink) {
    Paginator pages(sink, layout.headerRule + kHeaderGap, layout.leadingPages);
    pages.place({SheetItem::Kind::Method, 0, methodBlockHeight(layout.method), -1, -1, {}, {}});
    // The marks of cut texts are numbered from the header's on.
    LongTexts marks(false);
    headerLines(sheet, fonts, marks);
    for (std::size_t t = 0; t < layout.tables.size(); ++t) {
        placeTable(pages, sheet, layout.tables[t], static_cast<int>(t), fonts, marks);
    }
    placeNotes(pages, sheet, fonts, layout);
    placeSchedule(pages, layout.schedule, layout.headerRule + kHeaderGap);
}

int linesOf(const SheetTable& table) {
    return table.house || table.storeys == 2 ? 2 : 1;
}

bool isPerLine(const SheetTable& table, SheetColumn column) {
    return table.house ? isPerDirection(column) : isPerStorey(column);
}

std::string_view headerOf(const SheetTable& table, SheetColumn column) {
    return table.house ? houseColumnHeader(column) : columnHeader(column);
}

std::vector<qreal> scheduleWidths(std::size_t storeys) {
    constexpr qreal kSymbol = 140;
    constexpr qreal kCount = 150;
    std::vector<qreal> widths{kSymbol,
                              kSheetWidth - kSymbol - kCount * static_cast<qreal>(storeys + 1)};
    widths.insert(widths.end(), storeys + 1, kCount);
    return widths;
}

HardwareSchedule hardwareSchedule(const SheetDescription& sheet) {
    HardwareSchedule schedule;
    if (!sheet.house) {
        return schedule;
    }
    const std::size_t storeys = sheet.storeyLabels.size();
    // By class; class 0 (beyond every class) after the others.
    std::map<std::int32_t, std::vector<int>> counts;
    std::map<std::int32_t, std::vector<QString>> names; // symbol, hardware
    std::vector<int> totals(storeys + 1, 0);
    forEachRow(sheet, [&](const SheetRow& row) {
        if (!row.house || !row.result) {
            return;
        }
        const ResultType& r = *row.result;
        const std::int32_t key = r.JointClass == 0 ? JointClassCount + 1 : r.JointClass;
        std::vector<int>& count = counts[key];
        if (count.empty()) {
            count.assign(storeys + 1, 0);
            names[key] = {utf8(cellText(row, SheetColumn::Symbol, 0)),
                          beyondNoticeTable(r.JointClass)
                              ? utf8(beyondTableRuleText()) +
                                    (r.JointClass == 0
                                         ? QString()
                                         : QStringLiteral("（参考：") + utf8(r.JointName) +
                                               QStringLiteral("）"))
                              : utf8(r.JointName)};
        }
        const auto storey = static_cast<std::size_t>(
            std::find(sheet.storeyLabels.begin(), sheet.storeyLabels.end(), row.house->storey) -
            sheet.storeyLabels.begin());
        if (storey < storeys) {
            ++count[storey];
            ++totals[storey];
        }
        ++count[storeys];
        ++totals[storeys];
    });
    schedule.heads = {QStringLiteral("告示記号"), QStringLiteral("接合金物")};
    for (const std::string& label : sheet.storeyLabels) {
        schedule.heads.push_back(utf8(label));
    }
    schedule.heads.push_back(QStringLiteral("計"));
    const auto countRow = [storeys](std::vector<QString> cells, const std::vector<int>& count) {
        for (std::size_t i = 0; i <= storeys; ++i) {
            cells.push_back(QString::number(count[i]));
        }
        return cells;
    };
    for (const auto& [key, count] : counts) {
        schedule.rows.push_back(countRow(names[key], count));
    }
    schedule.rows.push_back(countRow({QStringLiteral("計"), QString()}, totals));
    return schedule;
}

SheetLayout layOutSheet(const SheetDescription& sheet, const SheetFonts& fonts) {
    SheetLayout layout;
    LongTexts marks(false);
    layout.header = headerLines(sheet, fonts, marks);
    layout.headerRule = kHeaderTop + static_cast<qreal>(layout.header.size()) * kHeaderLine + 5;
    layout.method = methodBlock(sheet, fonts);
    layout.tables = tablesOf(sheet);
    layout.schedule = hardwareSchedule(sheet);
    layout.leadingPages = sheet.leadingPages ? sheet.leadingPages->count() : 0;
    placeSheetItems(sheet, fonts, layout,
                    [&layout](std::size_t page, const SheetItem&, const SheetRow*) {
                        layout.pageCount = std::max(layout.pageCount, page + 1);
                    });
    return layout;
}

} // namespace koruba
