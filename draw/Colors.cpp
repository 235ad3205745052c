#include "draw/Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <optional>

namespace koruba {

namespace {

// A system colour: the Windows default, and the palette role that carries
// the same meaning where there is one. Indexes are those of GetSysColor.
struct SystemColor {
    QRgb windowsDefault;
    std::optional<QPalette::ColorRole> role;
};

constexpr std::array<SystemColor, 25> kSystemColors{{
    {qRgb(200, 200, 200), std::nullopt},              // 0 scroll bar
    {qRgb(0, 0, 0), std::nullopt},                    // 1 desktop
    {qRgb(153, 180, 209), std::nullopt},              // 2 active caption
    {qRgb(191, 205, 219), std::nullopt},              // 3 inactive caption
    {qRgb(240, 240, 240), std::nullopt},              // 4 menu
    {qRgb(255, 255, 255), QPalette::Base},            // 5 window
    {qRgb(100, 100, 100), std::nullopt},              // 6 window frame
    {qRgb(0, 0, 0), std::nullopt},                    // 7 menu text
    {qRgb(0, 0, 0), QPalette::Text},                  // 8 window text
    {qRgb(0, 0, 0), std::nullopt},                    // 9 caption text
    {qRgb(180, 180, 180), std::nullopt},              // 10 active border
    {qRgb(244, 247, 252), std::nullopt},              // 11 inactive border
    {qRgb(171, 171, 171), std::nullopt},              // 12 application workspace
    {qRgb(0, 120, 215), QPalette::Highlight},         // 13 highlight
    {qRgb(255, 255, 255), QPalette::HighlightedText}, // 14 highlighted text
    {qRgb(240, 240, 240), QPalette::Button},          // 15 button face
    {qRgb(160, 160, 160), QPalette::Dark},            // 16 button shadow
    {qRgb(109, 109, 109), std::nullopt},              // 17 grey text
    {qRgb(0, 0, 0), QPalette::ButtonText},            // 18 button text
    {qRgb(0, 0, 0), std::nullopt},                    // 19 inactive caption text
    {qRgb(255, 255, 255), QPalette::Light},           // 20 button highlight
    {qRgb(105, 105, 105), QPalette::Shadow},          // 21 3-D dark shadow
    {qRgb(227, 227, 227), QPalette::Midlight},        // 22 3-D light
    {qRgb(0, 0, 0), QPalette::ToolTipText},           // 23 tool-tip text
    {qRgb(255, 255, 225), QPalette::ToolTipBase},     // 24 tool-tip background
}};

} // namespace

QColor ToQColor(TColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    if (color >= 0) {
        // The highest byte carries palette flags on Windows; a plain RGB
        // drawing has no use for them.
        return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                      static_cast<int>((value >> 16) & 0xFFu));
    }
    const std::size_t index = value & 0xFFu;
    if (index >= kSystemColors.size()) {
        return QColor(Qt::black); // an unknown system colour reads as black, as on Windows
    }
    const SystemColor& sys = kSystemColors[index];
    // Only a GUI application has a palette; without one (a batch run) the
    // Windows defaults stand in.
    if (sys.role && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        return QGuiApplication::palette().color(QPalette::Active, *sys.role);
    }
    return QColor::fromRgb(sys.windowsDefault);
}

} // namespace koruba
