#include "draw/JapaneseFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QStringList>

namespace koruba {

namespace {

// The Windows package carries the IPA fonts and DejaVu Sans in "fonts"
// beside the program, because Windows has neither; they are registered
// before the first face is looked up. Elsewhere there is no such folder.
void RegisterBundledFonts() {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& file :
         folder.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files)) {
        QFontDatabase::addApplicationFont(folder.filePath(file));
    }
}

} // namespace

void InstallJapaneseFontSubstitutions() {
    RegisterBundledFonts();
    // fontconfig alone maps these names onto a Latin face (DejaVu), which
    // turns the proportional Gothic into a wide fixed-pitch one; the IPA
    // fonts have the same metrics families as the faces asked for.
    const struct {
        const QString& face;
        const char* installed;
    } map[] = {
        {MsPGothicWindow, "IPAPGothic"}, {MsGothic, "IPAGothic"},   {MsPGothic, "IPAPGothic"},
        {MsMincho, "IPAMincho"},         {MsPMincho, "IPAPMincho"},
    };
    for (const auto& entry : map) {
        QFont::removeSubstitutions(entry.face);
        QFont::insertSubstitution(entry.face, QString::fromLatin1(entry.installed));
    }
}

void EnsureJapaneseFontSubstitutions() {
    static const bool installed = (InstallJapaneseFontSubstitutions(), true);
    (void)installed;
}

QFont JapaneseFont(const QString& face, int pixelSize, bool bold) {
    EnsureJapaneseFontSubstitutions();
    QFont font(face);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 12);
    font.setBold(bold);
    return font;
}

} // namespace koruba
