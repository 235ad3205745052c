#include "ui/columnlist/ColumnListLink.h"

#include "ui/calculator/MainForm.h"
#include "ui/columnlist/ColumnListWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QPointer>

namespace koruba {

namespace {

// Owns the list window for the calculator, opened beside it, and holds
// back the calculator's close while the list has changes the user wants to
// keep.
class ColumnListLink : public QObject {
public:
    explicit ColumnListLink(TMainF& calculator) : QObject(&calculator), calculator_(calculator) {
        calculator.installEventFilter(this);
    }

    ColumnListWindow& window() {
        if (!window_) {
            window_ = new ColumnListWindow(&calculator_, &calculator_);
            window_->setWindowFlag(Qt::Window);
            window_->placeBeside(calculator_);
        }
        return *window_;
    }

    void show() {
        ColumnListWindow& list = window();
        list.show();
        list.raise();
        activateWindowOf(list);
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
        // Answered once: the list goes with the calculator and does not
        // ask again when the program closes its windows.
        window_->discardAndHide();
        return false;
    }

private:
    TMainF& calculator_;
    QPointer<ColumnListWindow> window_;
};

} // namespace

void installColumnList(TMainF& calculator, const QStringList& files) {
    auto* link = new ColumnListLink(calculator);
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
