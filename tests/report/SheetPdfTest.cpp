#include "report/SheetPdf.h"
#include "tests/report/SheetTestSupport.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

using namespace koruba;
using namespace koruba::test;

namespace {

// Half the height of a table row in points: 9 mm for a single storey,
// 14 mm for two.
constexpr qreal kSingleBand = 12.5;
constexpr qreal kDoubleBand = 19.5;

SheetDescription described(std::vector<SheetRow> rows) {
    SheetDescription s;
    s.project = "山田邸新築工事";
    s.designer = "佐藤一級建築士事務所";
    s.date = "2026年12月8日";
    s.rows = std::move(rows);
    return s;
}

// A small house: every pattern, mirrored and not, braces, panels, a capped
// bay and a column above the last hardware class.
SheetDescription house() {
    return described({
        row("X1-Y1", 21, 0, {{1, bay(BraceRisingLeft, 2)}}),
        row("X1-Y2", 21, 0, {{1, bay(BraceRisingRight, 2)}}),
        row("X4-Y1", 21, 1, {{2, bay(BraceRisingRight, 1, 1.0f)}}),
        row("X2-Y1", 22, 0, {{1, bay(BraceRisingLeft, 2)}, {2, bay(BraceRisingRight, 2)}}),
        row("X3-Y1", 22, 0, {{1, bay(CrossBrace, 3, 2.5f)}}),
        row("A1", 11, 0, {{1, bay(0, 0, 2.5f)}, {3, bay(BraceRisingLeft, 3)}}),
        row("A2", 11, 1, {{2, bay(CrossBrace, 2)}, {4, bay(BraceRisingRight, 2, 3.0f)}}),
        row("B1", 12, 0, {{2, bay(0, 0, 2.0f)}, {3, bay(0, 0, 2.5f)}}),
        row("C1", 13, 0,
            {{1, bay(BraceRisingLeft, 2)}, {3, bay(CrossBrace, 3, 2.5f)}, {4, bay(0, 0, 1.0f)}}),
        row("C4", 11, 0, {{1, bay(BraceRisingLeft, 3, 5.0f)}, {3, bay(BraceRisingLeft, 3, 5.0f)}}),
    });
}

CalcConditions rules2025(std::int32_t h1, std::int32_t h2 = 0) {
    return {RuleSet::Revision2025, h1, h2};
}

SheetDescription house2025() {
    return described({
        row("H30", 21, 0, {{1, bay(0, 0, 2.5f)}}, rules2025(300)),
        row("H33", 21, 0, {{1, bay(0, 0, 2.5f)}}, rules2025(330)),
        row("H32", 21, 0, {{1, bay(0, 0, 2.5f)}}, rules2025(320)),
        row("K1", 22, 0, {{1, bay(CrossBrace, 3, 2.5f)}}, rules2025(300)),
        row("D1", 11, 0, {{1, bay(0, 0, 2.5f)}, {3, bay(BraceRisingLeft, 3)}}, rules2025(350, 290)),
    });
}

// Three hundred columns of every pattern, enough for both tables to run
// over several pages.
SheetDescription largeHouse() {
    static constexpr std::int32_t tags[] = {21, 22, 11, 12, 13};
    std::vector<SheetRow> rows;
    for (int i = 0; i < 300; ++i) {
        const std::int32_t tag = tags[i % 5];
        rows.push_back(row(QStringLiteral("P%1").arg(i + 1, 3, 10, QLatin1Char('0')).toStdString(),
                           tag, (i / 5) % 2,
                           {{1, bay(i % 4, i % 4, 0.5f * static_cast<float>(i % 3))},
                            {2, bay(CrossBrace, i % 4)},
                            {3, bay(BraceRisingRight, 3 - i % 4, 1.0f)},
                            {4, bay(0, 0, 2.0f)}}));
    }
    return described(std::move(rows));
}

QString writePdf(const QString& name, const SheetDescription& sheet) {
    const QString path = outputDir() + QLatin1Char('/') + name + QStringLiteral(".pdf");
    QString error;
    if (!writeSheetPdf(path, sheet, error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    return path;
}

// Page n of a PDF as a 150 dpi PNG beside it, kept for a person to look at.
QImage renderPage(const QString& pdf, int page) {
    const QString stem = pdf.chopped(4) + QStringLiteral("-p%1").arg(page);
    runTool(QStringLiteral(KORUBA_PDFTOPPM),
            {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
             QStringLiteral("-l"), QString::number(page), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace

class SheetPdfTest : public QObject {
    Q_OBJECT

private slots:
    void rowShowsItsCells_data();
    void rowShowsItsCells();
    void firstPageStatesTheRules_data();
    void firstPageStatesTheRules();
    void legendListsTheClassesAndTheRuleBeyondThem();
    void largeHouseSplitsTablesWithHeaders();
    void longErrorStaysOnItsPageAndWholeInTheNotes();
    void hugeHeaderIsCutOnEveryPageAndWholeInTheNotes();
    void fontsAreEmbedded();
    void pagesRenderAt150Dpi();
    void leadingPagesComeBeforeTheMethod();
};

void SheetPdfTest::rowShowsItsCells_data() {
    QTest::addColumn<QString>("cells");
    // Worked by hand from the notification's formulas, cells split by "|";
    // per-storey cells read the upper storey first. The 2000 rules are
    // checked against the batch tool's output in the tool's sheet test.
    const char* const hoBolt = "(ほ)|羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)|8.47";
    QTest::newRow("3.0 m counts as 2.7 m")
        << QStringLiteral("H30|21|無|出隅|2.5|0.0|0.0|2.5|0.8|3.00|1|0.4|1.60|8.47|") + hoBolt;
    QTest::newRow("3.3 m") << QStringLiteral("H33|21|無|出隅|2.5|0.0|0.0|2.5|0.8|3.30|3.30/"
                                             "2.7|0.4|2.04|10.82|(と)|引き寄せ金物(HD-15)|14.82");
    QTest::newRow("3.2 m exactly")
        << QStringLiteral("H32|21|無|出隅|2.5|0.0|0.0|2.5|0.8|3.20|1|0.4|1.60|8.47|") + hoBolt;
    QTest::newRow("bay sum not capped") << QStringLiteral(
        "K1|22|無|その他|7.5|0.0|0.0|7.5|0.5|3.00|1|0.6|3.15|16.67|(ち)|引き寄せ金物(HD-20)|19.58");
    // 2.5 x 0.8 x 1 + 5.0 x 0.8 x 3.5/2.7 - 1.0 = 6.185...
    QTest::newRow("two storeys of different heights") << QStringLiteral(
        "D1|11|無|2階1階|出隅出隅|2.53.0|0.00.0|0.02.0|2.55.0|0.80.8|2.903.50|13.50/2.7|1.0|6.19|"
        "32.73|表外|告示の表の範囲外（N>5.60）：短期引張耐力N×5.3＝32.81kN以上の接合方法とする（参"
        "考：引き寄せ金物(HD-20)×２個(参考)）|≧32.81");
}

void SheetPdfTest::rowShowsItsCells() {
    QFETCH(QString, cells);
    const QStringList expected = cells.split(u'|');
    const QString pdf = writePdf(QStringLiteral("house2025"), house2025());
    QVERIFY(!pdf.isEmpty());
    const bool twoStorey = expected[3].contains(QStringLiteral("階"));
    QCOMPARE(rowTexts(pdfWords(pdf), expected[0], twoStorey ? kDoubleBand : kSingleBand), expected);
}

void SheetPdfTest::firstPageStatesTheRules_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const QString citation = QStringLiteral("平成12年建設省告示第1460号第二号ただし書");
    QTest::newRow("2000") << 0
                          << QStringList{citation, QStringLiteral("適用規準：2000年告示"),
                                         QStringLiteral("平屋・2階の柱：N=A1×B1−L"),
                                         QStringLiteral("2階建ての1階の柱：N=A1×B1+A2×B2−L"),
                                         // Beside the rules: they are not the current ones.
                                         QStringLiteral("適用規準：2000年告示※2025年4月以降に確認申"
                                                        "請する建築物は2025年改正（階高補正）の規定"
                                                        "（階高による補正f(H)、壁倍率の合計に5.0の"
                                                        "上限なし）で審査されます。")}
                          << QStringList{QStringLiteral("f(H)=H/2.7")};
    QTest::newRow("2025") << 1
                          << QStringList{citation,
                                         QStringLiteral("適用規準：2025年改正（階高補正）"),
                                         QStringLiteral("平屋・2階の柱：N=A1×B1×f(H1)−L"),
                                         QStringLiteral("N=A1×B1×f(H1)+A2×B2×f(H2)−L"),
                                         QStringLiteral("f(H)=H/2.7（H>3.2mのとき）"),
                                         QStringLiteral("Lにはf(H)を乗じない。")}
                          << QStringList{QStringLiteral("2000年告示"),
                                         QStringLiteral("2025年4月以降")};
}

void SheetPdfTest::firstPageStatesTheRules() {
    QFETCH(int, which);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QString pdf =
        writePdf(QStringLiteral("rules%1").arg(which), which == 0 ? house() : house2025());
    const QString text = compactText(pdfWords(pdf), 1);
    for (const QString& p : present) {
        QVERIFY2(text.contains(p), qPrintable(p));
    }
    for (const QString& a : absent) {
        QVERIFY2(!text.contains(a), qPrintable(a));
    }
}

void SheetPdfTest::legendListsTheClassesAndTheRuleBeyondThem() {
    const std::vector<PdfWord> words = pdfWords(writePdf(QStringLiteral("house"), house()));
    // The notification's table, as the usage dialog lists it, ending at
    // (ぬ); beyond it the rule, and the reference hardware named as such.
    const char* const rows[][4] = {
        {"(い)", "N≦0.00", "短ほぞ差し・かすがい(C)", "0.00"},
        {"(ろ)", "0.00<N≦0.65", "長ほぞ差し込み栓・かど金物(CP･L)", "3.44"},
        {"(は)", "0.65<N≦1.00", "かど金物(CP･T)・山形プレート(VP)", "5.29"},
        {"(に)", "1.00<N≦1.40", "羽子板ﾎﾞﾙﾄ(SB)・短冊金物(S)", "7.41"},
        {"(ほ)", "1.40<N≦1.60", "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)", "8.47"},
        {"(へ)", "1.60<N≦1.80", "引き寄せ金物(HD-10)", "9.53"},
        {"(と)", "1.80<N≦2.80", "引き寄せ金物(HD-15)", "14.82"},
        {"(ち)", "2.80<N≦3.70", "引き寄せ金物(HD-20)", "19.58"},
        {"(り)", "3.70<N≦4.70", "引き寄せ金物(HD-25)", "24.87"},
        {"(ぬ)", "4.70<N≦5.60", "引き寄せ金物(HD-15)×２個", "29.64"},
        {"表外", "5.60<N", "告示の表の範囲外（N>5.60）：短期引張耐力N×5.3kN以上の接合方法とする",
         "N×5.3以上"},
        {"参考", "5.60<N≦7.50", "引き寄せ金物(HD-20)×２個(参考)", "39.69"},
    };
    for (const auto& r : rows) {
        // The first occurrence of a symbol is its legend line.
        const QString symbol = QString::fromUtf8(r[0]);
        const QString expected =
            symbol + QString::fromUtf8(r[1]) + QString::fromUtf8(r[2]) + QString::fromUtf8(r[3]);
        QCOMPARE(rowTexts(words, symbol, 4.0).join(QString()), expected);
    }
    // No class past the notification's table stands under its symbols:
    // C4's N of 10.20 is above the reference hardware too, and still says
    // what to choose (10.20 x 5.3 = 54.06).
    QVERIFY(!compactText(words).contains(QStringLiteral("(る)")));
    const QStringList c4 = rowTexts(words, QStringLiteral("C4"), kDoubleBand);
    QCOMPARE(c4.mid(11, 3), (QStringList{QStringLiteral("10.20"), QStringLiteral("53.98"),
                                         QStringLiteral("表外")}));
    QCOMPARE(c4.last(), QStringLiteral("≧54.06"));
    QVERIFY(compactText(words)
                .remove(QStringLiteral("表外"))
                .contains(QStringLiteral(
                    "告示の表の範囲外（N>5.60）：短期引張耐力N×5.3＝54.06kN以上の接合方法とする")));
}

void SheetPdfTest::largeHouseSplitsTablesWithHeaders() {
    const std::vector<PdfWord> words = pdfWords(writePdf(QStringLiteral("large"), largeHouse()));
    const int pages = pageCount(words);
    QVERIFY2(pages > 10, qPrintable(QString::number(pages)));
    int continued = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = compactText(words, page);
        QVERIFY(text.contains(QStringLiteral("N値計算書")));
        const QRegularExpression pageNumber(QStringLiteral("(\\d+)/(\\d+)"));
        QCOMPARE(pageNumber.match(text).captured(0), QStringLiteral("%1/%2").arg(page).arg(pages));
        QVERIFY(text.contains(QStringLiteral("物件名：山田邸新築工事")));
        QVERIFY(text.contains(QStringLiteral("設計者：佐藤一級建築士事務所")));
        QVERIFY(text.contains(QStringLiteral("作成日：2026年12月8日")));
        if (page > 1) {
            // Every later page goes on with a table and repeats its header.
            QVERIFY(text.contains(QStringLiteral("（続き）")) ||
                    text.contains(QStringLiteral("2階建ての1階の柱")));
            QVERIFY(text.contains(QStringLiteral("柱名")) &&
                    text.contains(QStringLiteral("接合金物")));
        }
        continued += text.count(QStringLiteral("（続き）"));
    }
    QVERIFY(continued >= 2);
    // Every column once, in input order within its table.
    int last[2] = {0, 0};
    for (int i = 1; i <= 300; ++i) {
        const QString name = QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'));
        const auto count = std::count_if(words.begin(), words.end(),
                                         [&](const PdfWord& w) { return w.text == name; });
        QCOMPARE(count, 1);
        const auto at = std::find_if(words.begin(), words.end(),
                                     [&](const PdfWord& w) { return w.text == name; });
        const int position = static_cast<int>(at - words.begin());
        const int table = (i - 1) % 5 < 2 ? 0 : 1;
        QVERIFY(position > last[table]);
        last[table] = position;
    }
}

void SheetPdfTest::longErrorStaysOnItsPageAndWholeInTheNotes() {
    SheetRow failed;
    failed.name = "X9";
    failed.patternTag = 21;
    failed.error = "始" + QStringLiteral("不正な字句です").repeated(1700).toStdString() + "終";
    SheetDescription sheet = described({row("A1", 21, 0, {{1, bay(BraceRisingLeft, 2)}})});
    sheet.rows.push_back(failed);
    sheet.rows.push_back(row("A2", 21, 0, {{1, bay(BraceRisingRight, 2)}}));
    const std::vector<PdfWord> words = pdfWords(writePdf(QStringLiteral("long-error"), sheet));
    const QRectF paper(0, 0, 595.3, 841.9);
    for (const PdfWord& w : words) {
        QVERIFY2(paper.contains(w.box), qPrintable(w.text.left(40)));
    }
    // The row is a few lines high, the rows after it on the first page.
    const QStringList cut = rowTexts(words, QStringLiteral("X9"), kSingleBand * 2);
    QVERIFY2(
        cut.join(QString()).startsWith(QStringLiteral("X921無計算できません：始不正な字句です")),
        qPrintable(cut.join(QString()).left(80)));
    QVERIFY(cut.join(QString()).endsWith(QStringLiteral("…※1")));
    const auto a2 = std::find_if(words.begin(), words.end(),
                                 [](const PdfWord& w) { return w.text == QStringLiteral("A2"); });
    QVERIFY(a2 != words.end() && a2->page == 1);
    // The whole text, over the pages it needs.
    const QString text = compactText(words);
    QVERIFY(text.contains(QStringLiteral("※1X9の計算できなかった理由：計算できません：始不正")));
    QVERIFY(text.count(u'不') > 1700);
    QVERIFY(text.contains(QStringLiteral("不正な字句です終")));
}

void SheetPdfTest::hugeHeaderIsCutOnEveryPageAndWholeInTheNotes() {
    SheetDescription sheet = largeHouse();
    sheet.project = "邸" + QStringLiteral("新築工事").repeated(750).toStdString() + "完";
    sheet.designer = "佐藤\n\t一級建築士事務所";
    const std::vector<PdfWord> words = pdfWords(writePdf(QStringLiteral("huge-header"), sheet));
    const int pages = pageCount(words);
    for (int page = 1; page <= pages; ++page) {
        // Two lines of the project with the mark, the designer's line
        // breaks as spaces, the date: the rest of the page for the sheet.
        const QString text = compactText(words, page);
        QVERIFY(text.contains(QStringLiteral("物件名：邸新築工事")));
        QVERIFY(text.contains(QStringLiteral("…※1設計者：佐藤一級建築士事務所作成日：")));
        const auto date = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) {
            return w.page == page && w.text.contains(QStringLiteral("作成日"));
        });
        QVERIFY(date != words.end() && date->box.bottom() < 100);
    }
    // The tables take as many pages as without the long project, less than
    // two more; the notes hold the whole project.
    QVERIFY2(pages < pageCount(pdfWords(writePdf(QStringLiteral("large"), largeHouse()))) + 3,
             qPrintable(QString::number(pages)));
    QVERIFY(compactText(words, pages).contains(QStringLiteral("新築工事完")));
    QVERIFY(compactText(words).contains(QStringLiteral("※1物件名：邸新築工事")));
}

void SheetPdfTest::fontsAreEmbedded() {
    const QString list = runTool(QStringLiteral(KORUBA_PDFFONTS),
                                 {writePdf(QStringLiteral("house2025"), house2025())});
    const QStringList lines = list.split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!lines.isEmpty());
    QVERIFY(list.contains(QStringLiteral("IPAPGothic")));
    for (const QString& line : lines) {
        // Columns: name, type, encoding, emb, sub, uni, object, generation.
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(fields.size() >= 7 && fields[fields.size() - 5] == QLatin1String("yes"),
                 qPrintable(line));
        // Every glyph comes from the IPA faces: a fallback face would mean
        // a character the sheet's fonts lack.
        QVERIFY2(line.contains(QLatin1String("IPA")), qPrintable(line));
    }
}

void SheetPdfTest::pagesRenderAt150Dpi() {
    const QString large = writePdf(QStringLiteral("large"), largeHouse());
    const QString small = writePdf(QStringLiteral("house"), house());
    for (const auto& [pdf, page] :
         {std::pair{small, 1}, std::pair{large, 1}, std::pair{large, 2}, std::pair{large, 9}}) {
        const QImage image = renderPage(pdf, page);
        // A4 (595 x 842 points) at 150 dpi, rounded up.
        QCOMPARE(image.size(), QSize(1240, 1755));
        // Some column under study is drawn in red on every page of tables.
        bool red = false;
        for (int y = 0; y < image.height() && !red; y += 2) {
            for (int x = 0; x < image.width() && !red; x += 2) {
                const QColor c = image.pixelColor(x, y);
                red = c.red() > 220 && c.green() < 40 && c.blue() < 40;
            }
        }
        QVERIFY2(red, qPrintable(pdf));
    }
}

// Pages such as a house's plan, one per storey: each under the header of
// its own page, and the method and the tables after them.
void SheetPdfTest::leadingPagesComeBeforeTheMethod() {
    struct Plans : SheetLeadingPages {
        std::size_t count() const override { return 2; }
        void paint(QPainter& painter, std::size_t page, const QRectF& area) const override {
            painter.drawText(area, Qt::AlignCenter,
                             QStringLiteral("平面図%1")
                                 .arg(page == 0 ? QStringLiteral("1階") : QStringLiteral("2階")));
        }
    };
    SheetDescription sheet = house();
    const QString plain = outputDir() + QStringLiteral("/no-plans.pdf");
    QString error;
    QVERIFY2(writeSheetPdf(plain, sheet, error), qPrintable(error));
    const int tablePages = pageCount(pdfWords(plain));
    sheet.leadingPages = std::make_shared<Plans>();
    const QString pdf = outputDir() + QStringLiteral("/plans.pdf");
    QVERIFY2(writeSheetPdf(pdf, sheet, error), qPrintable(error));
    const std::vector<PdfWord> words = pdfWords(pdf);
    QCOMPARE(pageCount(words), tablePages + 2);
    for (int page = 1; page <= 2; ++page) {
        const QString text = compactText(words, page);
        QVERIFY(text.contains(QStringLiteral("%1/%2").arg(page).arg(tablePages + 2)));
        QVERIFY(text.contains(QStringLiteral("物件名：山田邸新築工事")));
        QVERIFY(text.endsWith(QStringLiteral("平面図%1階").arg(page)));
        QVERIFY(!text.contains(QStringLiteral("計算方法")));
    }
    QVERIFY(compactText(words, 3).contains(QStringLiteral("計算方法")));
}

QTEST_MAIN(SheetPdfTest)
#include "SheetPdfTest.moc"
