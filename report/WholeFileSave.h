#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QIODevice;

namespace koruba {

// Replaces the file at path with new content, whole or not at all: the
// content goes into a file beside it that is renamed over it only once
// every byte has reached the disk. A write that falls short, a flush that
// fails (a full disk shows only there: the device buffers what it is
// given) or a rename that fails leaves the old file as it was and puts the
// reason into reason. Every file the program saves goes through this.
//
// writeContent writes the content to the device it is given and says
// whether it could make it; false cancels the save with its own reason
// (it may set reason itself).
using ContentWriter = std::function<bool(QIODevice& device, QString& reason)>;
bool saveWholeFile(const QString& path, const ContentWriter& writeContent, QString& reason);

// The same for content already in memory.
bool saveWholeFile(const QString& path, std::string_view bytes, QString& reason);

} // namespace koruba
