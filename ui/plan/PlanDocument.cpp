#include "ui/plan/PlanDocument.h"

#include "columns/HouseCheck.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <utility>

namespace koruba {

// The house before and after one edit. The first redo, as the stack
// pushes it, finds the house already in the state after.
class HouseCommand : public QUndoCommand {
public:
    HouseCommand(PlanDocument& document, std::shared_ptr<const House> before,
                 std::shared_ptr<const House> after, const QString& text)
        : QUndoCommand(text), document_(document), before_(std::move(before)),
          after_(std::move(after)) {}

    void undo() override { document_.setHouse(before_); }
    void redo() override { document_.setHouse(after_); }

private:
    PlanDocument& document_;
    std::shared_ptr<const House> before_;
    std::shared_ptr<const House> after_;
};

PlanDocument::PlanDocument(QObject* parent)
    : QObject(parent), house_(std::make_shared<const House>()), undoStack_(new QUndoStack(this)) {}

void PlanDocument::reset(House house) {
    undoStack_->clear();
    setHouse(std::make_shared<const House>(std::move(house)));
    undoStack_->setClean();
}

std::optional<std::string> PlanDocument::apply(const QString& text, const Edit& edit, Check check) {
    House after = *house_;
    if (auto refused = edit(after)) {
        return refused;
    }
    if (after == *house_) {
        return std::nullopt;
    }
    if (!problem_ && check == Check::KeepDerivable) {
        if (auto broken = columns::houseError(after)) {
            return broken;
        }
    }
    undoStack_->push(
        new HouseCommand(*this, house_, std::make_shared<const House>(std::move(after)), text));
    return std::nullopt;
}

void PlanDocument::setHouse(std::shared_ptr<const House> house) {
    house_ = std::move(house);
    problem_ = columns::houseError(*house_);
    results_ = problem_ ? std::vector<ColumnResult>{} : deriveHouse(*house_);
    emit changed();
}

} // namespace koruba
