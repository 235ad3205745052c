#include "ui/services/LibComm_01.h"

#include <string>
#include <string_view>
#include <vector>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cwchar>
#endif

namespace koruba {

namespace {

// The name of this source file without its folders: the version failures
// name the unit they come from, not the machine they were built on.
constexpr std::string_view UnitFileName() {
    constexpr std::string_view path = __FILE__;
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Blanks and control characters count as blank at the ends of the texts;
// other white space (the full-width blank, say) does not.
bool IsBlankOrControl(char32_t c) {
    return c <= U' ';
}

std::u32string_view Trimmed(std::u32string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

#ifdef Q_OS_WIN
QString ReadFileVersionText(const QString& fileName) {
    const std::wstring path = fileName.toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    // A file without any version block reports size zero; that is the same
    // failure as a block that cannot be read.
    if (size == 0)
        throw EAssertionFailed(VersionBlockUnreadableLine);
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        throw EAssertionFailed(VersionBlockUnreadableLine);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\041103A4\\FileVersion", &value,
                        &length) ||
        value == nullptr)
        throw EAssertionFailed(FileVersionMissingLine);
    // The value is zero-terminated; the length may or may not count the
    // terminator, and the text ends at the first zero either way.
    const auto* text = static_cast<const wchar_t*>(value);
    const size_t chars = wcsnlen(text, length);
    return QString::fromWCharArray(text, static_cast<qsizetype>(chars));
}
#else
QString ReadFileVersionText(const QString&) {
    return QStringLiteral(KORUBA_FILE_VERSION);
}
#endif

} // namespace

EAssertionFailed::EAssertionFailed(int line)
    : std::runtime_error(QStringLiteral("%1 (%2, %3 行)")
                             .arg(QStringLiteral("Assertion failure"),
                                  QString::fromUtf8(UnitFileName().data(),
                                                    static_cast<qsizetype>(UnitFileName().size())))
                             .arg(line)
                             .toStdString()),
      line_(line) {}

void DeriveVersionTexts(const QString& fileVersion, QString& verText, QString& verNo) {
    // Counted in characters, not in UTF-16 units, so that no cut falls
    // inside a character.
    const std::u32string text = fileVersion.toStdU32String();
    const size_t trimmedLength = Trimmed(text).size();
    const std::u32string cut = text.substr(0, trimmedLength > 2 ? trimmedLength - 2 : 0);
    verText = QString::fromStdU32String(cut);

    // The digits start from the single blank that the trim at the end
    // removes again; they run over as many characters as the trimmed text
    // is long, counted from the start of the untrimmed one.
    std::u32string digits = U" ";
    const size_t counted = Trimmed(cut).size();
    for (size_t i = 0; i < counted; ++i) {
        if (cut[i] != U'.')
            digits += cut[i];
    }
    verNo = QString::fromStdU32String(std::u32string(Trimmed(digits)));
}

void GetExeVersion(const QString& fileName, QString& verText, QString& verNo) {
    verText = QStringLiteral(" ");
    verNo = QStringLiteral(" ");
    const QString fileVersion = ReadFileVersionText(fileName);
    DeriveVersionTexts(fileVersion, verText, verNo);
}

} // namespace koruba
