#pragma once

#include <QString>

#include <stdexcept>

namespace koruba {

// Key of the program's settings record below the current user's root.
inline const QString RegKeyPath = QStringLiteral("\\Software\\コルバ工房\\KORUBA-X");

// The two values of the record.
inline const QString RegTitleName = QStringLiteral("Title");
inline const QString RegVerName = QStringLiteral("Ver");
inline const QString RegTitleText = QStringLiteral("パターン別Ｎ値算定");

// Raised when the record's store is open but a value cannot be written
// into it; the message reads "'Title' の設定に失敗しました".
class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const QString& valueName);

    QString Message() const { return QString::fromUtf8(what()); }
};

enum class RegMode { Read = 0, Write = 1 };

// One access to one string value of the per-user record under keyPath,
// opening the store (creating it when missing) and closing it again.
// Read puts the value into value (empty when there is none); Write stores
// value, replacing any earlier one and leaving the other values alone.
//
// keyPath is written as a registry key,
//   "\Software\<organisation>\<application>[\<group>...]",
// and names QSettings' native per-user store of that organisation and
// application: the very same registry key on Windows, the file
// <config>/<organisation>/<application>.conf elsewhere, deeper parts
// becoming a group inside it. A path with fewer parts names no store.
//
// A read creates nothing; a store that is missing or cannot be opened
// reads as empty. On a write, a store that cannot be opened or created
// (QSettings::isWritable() is false: the key cannot be opened with write
// access, or the file and its folder can neither be opened nor made) is
// skipped without a word. A value that cannot be written into a store
// that opened (status() after sync() is AccessError: a full disk, a file
// size limit, a lock that cannot be taken) throws ERegistryException. A
// damaged file (FormatError) is still written over and counts as written.
void RegStrIO(RegMode mode, const QString& keyPath, const QString& valueName, QString& value);

// Records the program's title and version digits under RegKeyPath:
// "Title" first, then "Ver". A failure on "Title" throws before "Ver" is
// tried.
void SaveRegInfo(const QString& verNo);

} // namespace koruba
