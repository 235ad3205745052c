#include "ui/plan/PlanLink.h"

#include "columns/HouseFile.h"
#include "ui/calculator/CompanionLink.h"
#include "ui/calculator/MainForm.h"
#include "ui/plan/PlanWindow.h"

#include <QAction>

namespace koruba {

bool isHouseFile(const QString& path) {
    return path.endsWith(QLatin1String(columns::kHouseSuffix.data(),
                                       static_cast<qsizetype>(columns::kHouseSuffix.size())),
                         Qt::CaseInsensitive);
}

void installPlanWindow(TMainF& calculator, const QStringList& files) {
    auto* link = new CompanionLink<PlanWindow>(calculator, [](TMainF& owner) {
        auto* plan = new PlanWindow(&owner);
        plan->setWindowFlag(Qt::Window);
        plan->setCalculator(&owner);
        return plan;
    });
    auto* open = new QAction(QStringLiteral("平面図を開く"), &calculator);
    open->setObjectName(QStringLiteral("openPlan"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    QObject::connect(open, &QAction::triggered, link, [link] { link->show(); });
    calculator.addAction(open);
    calculator.setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!files.isEmpty()) {
        link->show();
        link->window().openFile(files.first());
    }
}

} // namespace koruba
