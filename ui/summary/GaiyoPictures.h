#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace koruba::gaiyo {

// A fixed picture of the summary dialog: its size in pixels and the
// function that paints it from (0, 0). The painting uses only the painter,
// so a picture can be shown by a widget, rendered into an image for a
// screenshot, or inspected by a test without any window.
struct FixedPicture {
    QSize size;
    void (*paint)(QPainter&) = nullptr;
};

// Renders a picture at the given device pixel ratio onto white.
QImage renderPicture(const FixedPicture& picture, qreal devicePixelRatio = 1.0);

// The font, made smaller pixel by pixel (down to 8 pixels) until every line
// of the text fits the width. The substituted fonts run a little wider than
// the faces the layout was made for.
QFont fontToFit(QFont font, const QString& text, qreal width);

// One brace-correction table of the dialog. The pictures are drawn from
// these values, and the tests hold every cell against the calculation's
// correction, so the table the designer reads and the number the program
// uses cannot drift apart.
struct CorrectionTable {
    QStringList title;       // one line per entry
    QString corner;          // head of the row-head column
    QString columnGroup;     // common head over the value columns
    QStringList columnHeads; // a '\n' starts the second line of a head
    QStringList rowHeads;
    std::vector<std::vector<float>> values; // [row][column]
    QString note;                           // the row that spans all columns
};

// Brace size classes in the order of the brace size index (15x90 .. 90x90).
const QStringList& braceClassCaptions();

// Table 1.2.1: a brace on one side only; columns: at the column top, at
// the column foot; rows: the brace's size class.
const CorrectionTable& oneSideTable();
// Table 1.2.2: single braces on both sides; rows: the other brace's class,
// columns: the one brace's class.
const CorrectionTable& bothSinglesTable();
// Table 1.2.3: a single brace beside a cross brace; rows: the cross
// brace's class, columns: the single brace's class.
const CorrectionTable& singleBesideCrossTable();

// Image1 to Image4 of the dialog.
FixedPicture formulaPicture();
FixedPicture oneSidePicture();
FixedPicture bothSinglesPicture();
FixedPicture singleBesideCrossPicture();

} // namespace koruba::gaiyo
