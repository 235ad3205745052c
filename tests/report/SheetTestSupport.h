#pragma once

#include "calc/CalcNValue.h"
#include "report/SheetDescription.h"

#include <QDir>
#include <QProcess>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>
#include <string>
#include <vector>

namespace koruba::test {

// A bay as the batch tool's tokens write it: brace kind and size index,
// panel multiplier (0 for none).
inline BayCell bay(std::int32_t kind, std::int32_t size, float panel = 0.0f) {
    static constexpr float single[] = {1.0f, 1.5f, 2.0f, 3.0f};
    float brace = kind == 0 ? 0.0f : single[size];
    if (kind == CrossBrace) {
        brace = std::min(brace * 2.0f, 5.0f);
    }
    return {brace, kind, kind == 0 ? 0 : size, panel > 0.0f ? 1 : 0, panel};
}

// A computed row; bays by bay image tag 1..4.
inline SheetRow row(std::string name, std::int32_t tag, std::int32_t reversed,
                    std::initializer_list<std::pair<int, BayCell>> bays,
                    CalcConditions conditions = {}) {
    SheetRow r;
    r.name = std::move(name);
    r.patternTag = tag;
    r.reversed = reversed;
    for (const auto& [t, cell] : bays) {
        const BayAddress bay = *bayOfTag(t);
        r.bays.SetCell(bay.storey, bay.side, cell);
    }
    r.conditions = conditions;
    r.result = CalcNValue(r.bays, tag, reversed, conditions);
    return r;
}

inline QString outputDir() {
    const QString dir = QStringLiteral(KORUBA_REPORT_OUT_DIR);
    QDir().mkpath(dir);
    return dir;
}

// Runs a poppler tool; its standard output, or a null string on failure.
inline QString runTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A word of a PDF page as pdftotext -bbox finds it, in points from the
// page's top left corner.
struct PdfWord {
    int page;
    QRectF box;
    QString text;
};

inline std::vector<PdfWord> pdfWords(const QString& pdf) {
    const QString xhtml = runTool(QStringLiteral(KORUBA_PDFTOTEXT),
                                  {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<PdfWord> words;
    QXmlStreamReader xml(xhtml);
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const QPointF topLeft(a.value(QLatin1String("xMin")).toDouble(),
                                  a.value(QLatin1String("yMin")).toDouble());
            const QPointF bottomRight(a.value(QLatin1String("xMax")).toDouble(),
                                      a.value(QLatin1String("yMax")).toDouble());
            words.push_back({page, QRectF(topLeft, bottomRight), xml.readElementText()});
        }
    }
    return words;
}

// The texts of a table row, column by column, found around the word that
// holds its name: the words whose middle lies within halfHeight points of
// the name's middle, grouped into columns where their extents overlap
// (cells are centred or left-aligned in their column and padded from its
// neighbours), each column read from top to bottom. Empty cells have no
// words and so no entry.
inline QStringList rowTexts(const std::vector<PdfWord>& words, const QString& name,
                            qreal halfHeight) {
    const auto at =
        std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == name; });
    if (at == words.end()) {
        return {};
    }
    std::vector<PdfWord> band;
    for (const PdfWord& w : words) {
        if (w.page == at->page &&
            std::abs(w.box.center().y() - at->box.center().y()) < halfHeight &&
            w.box.left() >= at->box.left()) {
            band.push_back(w);
        }
    }
    std::sort(band.begin(), band.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.box.left() < b.box.left(); });
    std::vector<std::vector<PdfWord>> columns;
    qreal right = -1;
    for (const PdfWord& w : band) {
        if (columns.empty() || w.box.left() >= right) {
            columns.emplace_back();
            right = w.box.right();
        }
        right = std::max(right, w.box.right());
        columns.back().push_back(w);
    }
    QStringList texts;
    for (auto& column : columns) {
        std::sort(column.begin(), column.end(), [](const PdfWord& a, const PdfWord& b) {
            return a.box.top() < b.box.top() ||
                   (a.box.top() == b.box.top() && a.box.left() < b.box.left());
        });
        QString text;
        for (const PdfWord& w : column) {
            text += w.text;
        }
        texts << text;
    }
    return texts;
}

// The whole text of a page or document without any white space, for
// finding phrases that pdftotext splits into words.
inline QString compactText(const std::vector<PdfWord>& words, int page = 0) {
    QString text;
    for (const PdfWord& w : words) {
        if (page == 0 || w.page == page) {
            text += w.text;
        }
    }
    return text;
}

inline int pageCount(const std::vector<PdfWord>& words) {
    return words.empty() ? 0 : words.back().page;
}

} // namespace koruba::test
