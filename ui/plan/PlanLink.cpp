#include "ui/plan/PlanLink.h"

#include "columns/HouseFile.h"
#include "ui/calculator/MainForm.h"
#include "ui/columnlist/ColumnListWindow.h"
#include "ui/plan/PlanWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QPointer>

namespace koruba {

namespace {

// Owns the plan window for the calculator and holds back the
// calculator's close while the house has changes the user wants to keep.
class PlanLink : public QObject {
public:
    explicit PlanLink(TMainF& calculator) : QObject(&calculator), calculator_(calculator) {
        calculator.installEventFilter(this);
    }

    PlanWindow& window() {
        if (!window_) {
            window_ = new PlanWindow(&calculator_);
            window_->setWindowFlag(Qt::Window);
            window_->setCalculator(&calculator_);
        }
        return *window_;
    }

    void show() {
        PlanWindow& plan = window();
        plan.show();
        plan.raise();
        activateWindowOf(plan);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &calculator_ || event->type() != QEvent::Close || !window_) {
            return false;
        }
        if (!window_->maybeSave()) {
            event->ignore();
            return true;
        }
        window_->discardAndHide();
        return false;
    }

private:
    TMainF& calculator_;
    QPointer<PlanWindow> window_;
};

} // namespace

bool isHouseFile(const QString& path) {
    return path.endsWith(QLatin1String(columns::kHouseSuffix.data(),
                                       static_cast<qsizetype>(columns::kHouseSuffix.size())),
                         Qt::CaseInsensitive);
}

void installPlanWindow(TMainF& calculator, const QStringList& files) {
    auto* link = new PlanLink(calculator);
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
