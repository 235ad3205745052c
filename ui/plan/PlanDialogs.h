#pragma once

#include "calc/House.h"

#include <QDialog>

#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace koruba {

class PlanDocument;

// What the house dialog edits: the heading of the sheet, the rules and
// the storey heights (0: not given).
struct HouseSettings {
    std::string project;
    std::string designer;
    RuleSet rules = RuleSet::Notice2000;
    std::int32_t height1Cm = 0;
    std::int32_t height2Cm = 0;
};
HouseSettings houseSettingsOf(const House& house);
// Refused (the house unchanged) for a height outside the storey heights,
// or none under the 2025 rules.
std::optional<std::string> applyHouseSettings(House& house, const HouseSettings& settings);
// The dialog of the house (住宅の設定); false when the user cancels.
bool askHouseSettings(QWidget* parent, HouseSettings& settings);

// The grid lines of both directions in a list, with buttons to add one
// (a module on from the last), move, rename and delete the chosen one.
// Each button is one edit of the document, refused with its reason.
class GridDialog : public QDialog {
    Q_OBJECT

public:
    GridDialog(PlanDocument& document, QWidget* parent = nullptr);

private:
    void rebuild();
    std::optional<std::pair<HouseDirection, std::size_t>> chosen() const;
    void addLine(HouseDirection direction);
    void moveLine();
    void renameLine();
    void deleteLine();
    void apply(const QString& text, const std::function<std::optional<std::string>(House&)>& f);

    PlanDocument& document_;
    QListWidget* list_;
    QLabel* message_;
};

} // namespace koruba
