#include "draw/LibDrawPixel.h"

#include "draw/JapaneseFonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace koruba {

namespace {

constexpr std::int32_t kCoordLimit = (1 << 27) - 1;

constexpr std::array<Qt::PenStyle, 5> kPenStyles{Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                 Qt::DashDotLine, Qt::DashDotDotLine};

constexpr std::array<Qt::BrushStyle, 8> kBrushStyles{
    Qt::NoBrush,      Qt::SolidPattern,     Qt::BDiagPattern, Qt::FDiagPattern,
    Qt::CrossPattern, Qt::DiagCrossPattern, Qt::HorPattern,   Qt::VerPattern};

const std::array<QString, 4> kFaces{MsMincho, MsPMincho, MsGothic, MsPGothic};

template <typename T, std::size_t N>
std::optional<T> ByCode(const std::array<T, N>& table, std::int32_t code) {
    if (code < 0 || static_cast<std::size_t>(code) >= N) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(code)];
}

void SetPenStyle(Picture& image, std::int32_t code) {
    if (const auto style = ByCode(kPenStyles, code)) {
        image.pen.setStyle(*style);
    }
}

void SetPenWidth(Picture& image, std::int32_t width) {
    // A negative width is no width at all; the pen keeps the one it had.
    if (width >= 0) {
        image.pen.setWidth(width);
    }
}

void SetBrushStyle(Picture& image, std::int32_t code) {
    if (const auto style = ByCode(kBrushStyles, code)) {
        image.brush.setStyle(*style);
    }
}

// A clear brush that is given a colour turns solid; a hatch stays a hatch.
void SetBrushColor(Picture& image, TColor color) {
    image.brush.setColor(ToQColor(color));
    if (image.brush.style() == Qt::NoBrush) {
        image.brush.setStyle(Qt::SolidPattern);
    }
}

bool BrushIsSolid(const Picture& image) {
    return image.brush.style() == Qt::SolidPattern;
}

// Whether the picture has more pixels than its control, as on a screen of
// higher density.
bool IsDense(const Picture& image) {
    return image.DevicePixelRatio() != 1.0;
}

// The pen as it is drawn. Thin pens are one control pixel wide (cosmetic
// at density 1, so exactly one pixel) and take the dash lengths of a
// Windows pen; wide pens can only be solid, as on Windows, and end flat at
// their end points.
QPen DrawingPen(const Picture& image) {
    QPen pen = image.pen;
    if (pen.width() <= 1) {
        pen.setWidth(IsDense(image) ? 1 : 0);
        pen.setCapStyle(Qt::FlatCap); // the end point itself is left out
        switch (pen.style()) {
        case Qt::DashLine:
            pen.setDashPattern({18, 6});
            break;
        case Qt::DotLine:
            pen.setDashPattern({3, 3});
            break;
        case Qt::DashDotLine:
            pen.setDashPattern({9, 6, 3, 6});
            break;
        case Qt::DashDotDotLine:
            pen.setDashPattern({9, 3, 3, 3, 3, 3});
            break;
        default:
            break;
        }
    } else {
        pen.setStyle(Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    return pen;
}

// The pen and brush modes combine a source colour with the pixel below.
QRgb Combine(Picture::PenMode mode, QRgb source, QRgb screen) {
    switch (mode) {
    case Picture::PenMode::Mask:
        return (source & screen) | 0xFF000000u;
    case Picture::PenMode::NotXor:
        return ~(source ^ screen) | 0xFF000000u;
    case Picture::PenMode::Copy:
        break;
    }
    return source | 0xFF000000u;
}

// Draws a pen-and-brush figure. Copy mode paints straight onto the canvas.
// The other modes first paint the figure into a transparent layer and then
// combine each covered pixel once with the canvas, so that a pixel under
// both pen and brush is not combined twice.
template <typename Paint> void DrawFigure(Picture& image, Paint paint) {
    QImage& canvas = image.Canvas();
    if (canvas.isNull()) {
        return;
    }
    const auto prepare = [&image](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        // Gaps of a dashed pen take the brush colour when the brush is
        // solid, as with an opaque background on Windows.
        if (BrushIsSolid(image)) {
            p.setBackgroundMode(Qt::OpaqueMode);
            p.setBackground(image.brush.color());
        }
    };
    if (image.penMode == Picture::PenMode::Copy) {
        QPainter p(&canvas);
        prepare(p);
        paint(p);
        return;
    }
    QImage layer(canvas.size(), QImage::Format_ARGB32);
    layer.setDevicePixelRatio(canvas.devicePixelRatio());
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        prepare(p);
        paint(p);
    }
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(src[x]) != 0) {
                dst[x] = Combine(image.penMode, src[x], dst[x]);
            }
        }
    }
}

int PixelSizeOfPoints(std::int32_t points) {
    // The picture is a 96 dpi raster. A negative size gives the height of
    // the character cell; it is taken as the em height. Far beyond any
    // picture, sizes are held where the font engine still copes.
    const double pixels = std::abs(static_cast<double>(points)) * 96.0 / 72.0;
    return static_cast<int>(std::lround(std::min(pixels, 4096.0)));
}

} // namespace

void DrwPicClear(Picture& image) {
    image.Clear();
}

void DrwFill(Picture& image, TColor color) {
    SetBrushColor(image, color);
    QImage& canvas = image.Canvas();
    if (canvas.isNull()) {
        return;
    }
    // Filling copies the brush whatever the pen mode, like FillRect.
    QPainter p(&canvas);
    p.fillRect(QRect(QPoint(0, 0), image.ControlSize()), image.brush);
}

void DrwRect(Picture& image, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
             std::int32_t penWidth, std::int32_t penStyle, std::int32_t brushStyle, TColor penColor,
             TColor brushColor, std::int32_t penMode) {
    image.pen.setColor(ToQColor(penColor));
    SetPenStyle(image, penStyle);
    if (penMode == 0) {
        image.penMode = Picture::PenMode::Copy;
    } else if (penMode == 1) {
        image.penMode = Picture::PenMode::NotXor;
    }
    SetBrushStyle(image, brushStyle);
    SetPenWidth(image, penWidth);
    if (brushStyle != 0) {
        SetBrushColor(image, brushColor);
    }

    // The right and bottom edges are outside the rectangle. Coordinates are
    // held to 27 bits, as on Windows, so that the size cannot overflow.
    const auto limit = [](std::int32_t v) { return std::clamp(v, -kCoordLimit, kCoordLimit); };
    x1 = limit(x1);
    y1 = limit(y1);
    x2 = limit(x2);
    y2 = limit(y2);
    const QRect area(QPoint(std::min(x1, x2), std::min(y1, y2)),
                     QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
    if (area.isEmpty()) {
        return;
    }
    const QPen pen = DrawingPen(image);
    DrawFigure(image, [&](QPainter& p) {
        // The outline lies on the border pixels; the brush fills what is
        // inside them. A wide pen is centred on the border pixels.
        p.fillRect(area.adjusted(1, 1, -1, -1), image.brush);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (pen.width() == 0) {
            p.drawRect(area.adjusted(0, 0, -1, -1));
        } else {
            p.drawRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5));
        }
    });
}

void DrwLine(Picture& image, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
             std::int32_t penWidth, std::int32_t penStyle, TColor penColor, std::int32_t penMode) {
    image.pen.setColor(ToQColor(penColor));
    SetPenStyle(image, penStyle);
    if (penMode == 0) {
        image.penMode = Picture::PenMode::Copy;
    } else if (penMode == 1) {
        image.penMode = Picture::PenMode::Mask;
    }
    SetPenWidth(image, penWidth);

    const QPen pen = DrawingPen(image);
    DrawFigure(image, [&](QPainter& p) {
        p.setPen(pen);
        if (pen.width() == 1) {
            // A thin line on a denser bitmap runs through the middle of the
            // control pixels, where the cosmetic pen of density 1 lies.
            p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
        } else {
            p.drawLine(QPoint(x1, y1), QPoint(x2, y2));
        }
    });
}

void DrwText(Picture& image, std::int32_t x, std::int32_t y, float angle, const QString& text,
             std::int32_t fontSize, std::int32_t fontFamily, std::int32_t bold,
             std::int32_t brushStyle, TColor fontColor, TColor brushColor) {
    EnsureJapaneseFontSubstitutions();

    if (const auto face = ByCode(kFaces, fontFamily - 1)) {
        image.font.setFamily(*face);
    }
    image.fontColor = ToQColor(fontColor);
    if (const int pixels = PixelSizeOfPoints(fontSize); pixels > 0) {
        image.font.setPixelSize(pixels);
    }
    image.font.setBold(false);
    image.font.setItalic(false);
    image.font.setUnderline(false);
    image.font.setStrikeOut(false);
    if (bold == 1) {
        image.font.setBold(true);
    }
    SetBrushStyle(image, brushStyle);
    if (brushStyle != 0) {
        SetBrushColor(image, brushColor);
    }
    // Tenths of a degree, truncated toward zero. An angle whose tenths no
    // int can hold is held at the limit, and one that is no number at all
    // leaves the text upright: converting either would be undefined.
    const double tenths = std::trunc(static_cast<double>(angle) * 10.0);
    image.escapement = std::isnan(tenths)
                           ? 0
                           : static_cast<int>(std::clamp(
                                 tenths, static_cast<double>(std::numeric_limits<int>::min()),
                                 static_cast<double>(std::numeric_limits<int>::max())));

    if (text.isEmpty()) {
        return;
    }
    QImage& canvas = image.Canvas();
    if (canvas.isNull()) {
        return;
    }
    QFont font = image.font;
    // Pixel text at density 1; on a denser bitmap the glyphs are smoothed
    // like every other text of the window there.
    font.setStyleStrategy(IsDense(image) ? QFont::PreferAntialias : QFont::NoAntialias);
    // Hinted vertically only: glyphs sit crisply on the pixel rows but keep
    // the face's design widths. Full hinting rounds each advance up to
    // whole pixels and, with the synthetic bold of the IPA faces, pushes the
    // star of a capped "[5.0]*" out of its 39-pixel bay.
    font.setHintingPreference(QFont::PreferVerticalHinting);

    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font);
    // Text hangs from the top of its cell at (x, y) and turns about that
    // point, counter-clockwise on the screen. Degrees first, then the
    // sign: the smallest escapement has no negative in an int.
    p.translate(x, y);
    p.rotate(-(image.escapement / 10.0));
    const QFontMetrics metrics = p.fontMetrics();
    if (BrushIsSolid(image)) {
        p.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                   image.brush.color());
    }
    p.setPen(image.fontColor);
    p.drawText(0, metrics.ascent(), text);
}

} // namespace koruba
