#pragma once

#include "calc/House.h"
#include "calc/HouseDerivation.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QUndoStack;

namespace koruba {

// The house the plan window edits, with its derived columns. Every change
// is one undoable command holding the house before and after; after each,
// the house is checked and derived again at once, so that what the plan
// shows is never older than the house. A house that cannot be derived (an
// outline not drawn yet, a wall outside it) shows no results, only why.
class PlanDocument : public QObject {
    Q_OBJECT

public:
    explicit PlanDocument(QObject* parent = nullptr);

    const House& house() const { return *house_; }
    // The derived columns; empty while problem() says why there are none.
    const std::vector<ColumnResult>& results() const { return results_; }
    const std::optional<std::string>& problem() const { return problem_; }
    QUndoStack* undoStack() const { return undoStack_; }

    // A house in place of the current one, with an empty history.
    void reset(House house);

    // An edit as one command: the edit function changes a copy of the
    // house or returns why it cannot. A house that could be derived stays
    // so: an edit that breaks it is refused with the check's reason, unless
    // it is one that starts a new part (the upper storey, before its
    // outline is drawn). Returns the reason of a refusal, nothing when the
    // edit was made or changed nothing.
    using Edit = std::function<std::optional<std::string>(House&)>;
    enum class Check { KeepDerivable, MayBeIncomplete };
    std::optional<std::string> apply(const QString& text, const Edit& edit,
                                     Check check = Check::KeepDerivable);

signals:
    // After every change of the house: an edit, an undo or redo, a reset.
    void changed();

private:
    friend class HouseCommand;
    void setHouse(std::shared_ptr<const House> house);

    // Shared with the commands: the house after one edit is the house
    // before the next, held once, so that a long session's history costs
    // one house per edit.
    std::shared_ptr<const House> house_;
    std::vector<ColumnResult> results_;
    std::optional<std::string> problem_;
    QUndoStack* undoStack_;
};

} // namespace koruba
