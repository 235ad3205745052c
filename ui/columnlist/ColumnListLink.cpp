#include "ui/columnlist/ColumnListLink.h"

#include "ui/calculator/CompanionLink.h"
#include "ui/calculator/MainForm.h"
#include "ui/columnlist/ColumnListWindow.h"

#include <QAction>

namespace koruba {

void installColumnList(TMainF& calculator, const QStringList& files) {
    auto* link = new CompanionLink<ColumnListWindow>(calculator, [](TMainF& owner) {
        // Opened beside the calculator, as a window of its own.
        auto* list = new ColumnListWindow(&owner, &owner);
        list->setWindowFlag(Qt::Window);
        list->placeBeside(owner);
        return list;
    });
    auto* open = new QAction(QStringLiteral("柱リストを開く"), &calculator);
    open->setObjectName(QStringLiteral("openColumnList"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QObject::connect(open, &QAction::triggered, link, [link] { link->show(); });
    auto* add = new QAction(QStringLiteral("柱リストに追加"), &calculator);
    add->setObjectName(QStringLiteral("addToColumnList"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    QObject::connect(add, &QAction::triggered, link, [link] {
        link->show();
        link->window().addCalculatorColumn();
    });
    calculator.addAction(open);
    calculator.addAction(add);
    calculator.setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!files.isEmpty()) {
        link->show();
        link->window().openFile(files.first());
    }
}

} // namespace koruba
