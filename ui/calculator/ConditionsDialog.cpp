#include "ui/calculator/ConditionsDialog.h"

#include "calc/RuleText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string>

namespace koruba {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString heightText(std::int32_t cm) {
    return cm != 0 ? QString::fromStdString(storeyHeightText(cm)) : QString();
}

QString rangeText() {
    return QStringLiteral("%1〜%2 m")
        .arg(QString::fromStdString(storeyHeightText(kMinStoreyHeightCm)),
             QString::fromStdString(storeyHeightText(kMaxStoreyHeightCm)));
}

QLineEdit* heightEdit(QWidget* parent, const char* name, std::int32_t cm) {
    auto* edit = new QLineEdit(heightText(cm), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setPlaceholderText(QStringLiteral("例 2.90"));
    edit->setMaxLength(8);
    return edit;
}

} // namespace

ConditionsDialog::ConditionsDialog(const CalcConditions& current, QWidget* parent)
    : QDialog(parent), conditions_(current) {
    setObjectName(QStringLiteral("ConditionsDialog"));
    setWindowTitle(QStringLiteral("計算条件"));

    auto* rulesBox = new QGroupBox(QStringLiteral("算定方法"), this);
    rules2000_ = new QRadioButton(fromView(ruleSetName(RuleSet::Notice2000)), rulesBox);
    rules2000_->setObjectName(QStringLiteral("RBtn_Rules2000"));
    rules2025_ = new QRadioButton(fromView(ruleSetName(RuleSet::Revision2025)), rulesBox);
    rules2025_->setObjectName(QStringLiteral("RBtn_Rules2025"));
    (current.rules == RuleSet::Revision2025 ? rules2025_ : rules2000_)->setChecked(true);
    auto* rulesLayout = new QVBoxLayout(rulesBox);
    rulesLayout->addWidget(rules2000_);
    rulesLayout->addWidget(rules2025_);

    h1_ = heightEdit(this, "Edt_H1", current.h1Cm);
    h2_ = heightEdit(this, "Edt_H2", current.h2Cm);
    auto* heights = new QFormLayout;
    heights->addRow(QStringLiteral("H1：当該柱の階の階高 (m)"), h1_);
    heights->addRow(QStringLiteral("H2：その上の階の階高 (m)"), h2_);

    auto* formula = new QLabel(fromView(ruleFormula(RuleSet::Revision2025, 2)) + QLatin1Char('\n') +
                                   fromView(heightFactorConditions(RuleSet::Revision2025)),
                               this);
    formula->setObjectName(QStringLiteral("Lbl_Formula"));
    formula->setTextFormat(Qt::PlainText);

    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("Lbl_Error"));
    error_->setTextFormat(Qt::PlainText);
    error_->setWordWrap(true);
    QPalette red = error_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    error_->setPalette(red);
    error_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ConditionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ConditionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rulesBox);
    layout->addLayout(heights);
    layout->addWidget(formula);
    layout->addWidget(error_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(rules2025_, &QRadioButton::toggled, this, &ConditionsDialog::updateHeightsEnabled);
    updateHeightsEnabled();
}

void ConditionsDialog::updateHeightsEnabled() {
    h1_->setEnabled(rules2025_->isChecked());
    h2_->setEnabled(rules2025_->isChecked());
}

// Reads one height into cm; false with the message shown when it cannot be
// used.
bool ConditionsDialog::readHeight(QLineEdit* edit, const QString& name, std::int32_t& cm) {
    const QString text = edit->text().trimmed();
    std::string ignored;
    QString message;
    if (text.isEmpty()) {
        message =
            QStringLiteral("%1 を入力してください（%2、0.01 m 単位）。").arg(name, rangeText());
    } else if (!parseStoreyHeight(text.toStdString(), cm, ignored)) {
        message = QStringLiteral("%1「%2」は使えません。%3 の数値を 0.01 m 単位で入力してください"
                                 "（例 2.90）。")
                      .arg(name, text, rangeText());
    }
    if (message.isEmpty()) {
        return true;
    }
    error_->setText(message);
    error_->show();
    edit->setFocus();
    edit->selectAll();
    return false;
}

void ConditionsDialog::accept() {
    CalcConditions c = conditions_;
    if (rules2025_->isChecked()) {
        c.rules = RuleSet::Revision2025;
        if (!readHeight(h1_, QStringLiteral("H1"), c.h1Cm) ||
            !readHeight(h2_, QStringLiteral("H2"), c.h2Cm)) {
            return;
        }
    } else {
        // The heights do not count under the 2000 rules; valid ones are
        // kept for a later change of rules.
        c.rules = RuleSet::Notice2000;
        std::string ignored;
        std::int32_t cm = 0;
        if (parseStoreyHeight(h1_->text().toStdString(), cm, ignored)) {
            c.h1Cm = cm;
        }
        if (parseStoreyHeight(h2_->text().toStdString(), cm, ignored)) {
            c.h2Cm = cm;
        }
    }
    conditions_ = c;
    QDialog::accept();
}

} // namespace koruba
