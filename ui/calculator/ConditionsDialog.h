#pragma once

#include "calc/CalcConditions.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace koruba {

// The calculation conditions dialog ("計算条件"): the rule set and, for the
// 2025 rules, the storey heights H1 and H2 in metres. It closes with OK
// only on conditions the calculation can use; a height that is missing,
// out of range or not a number keeps it open with a message that names
// the height and the range. Heights typed under the 2000 rules are kept
// when they are valid and otherwise left as they were.
class ConditionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ConditionsDialog(const CalcConditions& current, QWidget* parent = nullptr);

    // The conditions as accepted (before that, those the dialog opened with).
    const CalcConditions& conditions() const { return conditions_; }

public slots:
    void accept() override;

private:
    bool readHeight(QLineEdit* edit, const QString& name, std::int32_t& cm);
    void updateHeightsEnabled();

    CalcConditions conditions_;
    QRadioButton* rules2000_ = nullptr;
    QRadioButton* rules2025_ = nullptr;
    QLineEdit* h1_ = nullptr;
    QLineEdit* h2_ = nullptr;
    QLabel* error_ = nullptr;
};

} // namespace koruba
