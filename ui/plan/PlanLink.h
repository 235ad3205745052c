#pragma once

#include <QStringList>

class TMainF;

namespace koruba {

// Puts the plan window within the calculator's reach: "平面図を開く"
// (Ctrl+H) as an action of the main window, shown in its context menu. The
// plan window is made on first use; closing the main window asks about
// unsaved changes of the house first. The first of files, if any, is opened
// in it at once.
void installPlanWindow(TMainF& calculator, const QStringList& files);

// Whether a file named on the command line is a house file, for the plan
// window, rather than a column list.
bool isHouseFile(const QString& path);

} // namespace koruba
