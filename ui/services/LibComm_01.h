#pragma once

#include <QString>

#include <stdexcept>

namespace koruba {

// The program's title: it labels the task-bar entry and captions the
// program's error message boxes.
inline const QString ApplicationTitle = QStringLiteral("KORUBA-X");

// Raised when the executable's version block cannot be read. The message
// reads "Assertion failure (LibComm_01.cpp, 120 行)"; the line number tells
// the two failures apart (120: no readable version block, 122: no
// "FileVersion" in it) and stays the same whatever becomes of this file's
// layout, since users quote it when they report the failure.
class EAssertionFailed : public std::runtime_error {
public:
    explicit EAssertionFailed(int line);

    int Line() const { return line_; }
    QString Message() const { return QString::fromUtf8(what()); }

private:
    int line_;
};

inline constexpr int VersionBlockUnreadableLine = 120;
inline constexpr int FileVersionMissingLine = 122;

// Reads the "FileVersion" text of the executable fileName and derives the
// caption's version text and the recorded version digits from it (see
// DeriveVersionTexts). Both outputs are replaced; they are a single blank
// each when the version block cannot be read, in which case
// EAssertionFailed is thrown.
//
// On Windows the text is read from the file's version resource, value
// "\StringFileInfo\041103A4\FileVersion". Executables elsewhere carry no
// version block: there the text is the project version this program was
// built with, and fileName is not looked at.
void GetExeVersion(const QString& fileName, QString& verText, QString& verNo);

// The derivation of the two texts from a "FileVersion" text:
// verText is the text with its last two characters dropped, counted from
// the end of the trimmed text ("1.0.0.0" -> "1.0.0", "1.2.3.45" -> "1.2.3.",
// shorter than three characters -> empty); verNo is verText without its
// points, trimmed ("1.0.0" -> "100"). Exactly two characters are dropped
// whatever the length of the last component: "1.2.3.45" keeps its trailing
// point, which is the text users have always seen.
void DeriveVersionTexts(const QString& fileVersion, QString& verText, QString& verNo);

} // namespace koruba
