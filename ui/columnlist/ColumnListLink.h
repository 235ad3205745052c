#pragma once

#include <QStringList>

class TMainF;

namespace koruba {

// Puts the column list within the calculator's reach: "柱リストを開く"
// (Ctrl+L) and "柱リストに追加" (Ctrl+Shift+L) as actions of the main
// window, shown in its context menu. The list window is made on first use;
// closing the main window asks about unsaved list changes first. The first
// of files, if any, is opened as a list at once. Without this call the
// calculator works alone, as it always has.
void installColumnList(TMainF& calculator, const QStringList& files);

} // namespace koruba
