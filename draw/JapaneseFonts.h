#pragma once

#include <QFont>
#include <QString>

namespace koruba {

// The Japanese face names the program asks for.
inline const QString MsPGothicWindow = QStringLiteral("ＭＳ Ｐゴシック"); // window font
inline const QString MsMincho = QStringLiteral("ＭＳ 明朝");
inline const QString MsPMincho = QStringLiteral("ＭＳＰ 明朝");
inline const QString MsGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString MsPGothic = QStringLiteral("ＭＳＰ ゴシック");

// Maps the five face names onto installed Japanese fonts (the IPA fonts,
// fixed pitch onto fixed pitch, proportional onto proportional), so that
// the result does not depend on the machine's font configuration. Call
// once after the application object exists; calling again does no harm.
void InstallJapaneseFontSubstitutions();
// The same, once per process: what every font user calls before it asks
// for one of the names.
void EnsureJapaneseFontSubstitutions();

// A font of the given face name and pixel height (the window's fonts are
// given in pixels: 12 pixels is 9 points at 96 dpi).
QFont JapaneseFont(const QString& face, int pixelSize, bool bold = false);

} // namespace koruba
