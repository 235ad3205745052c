#include "ui/plan/PlanDialogs.h"

#include "calc/CalcConditions.h"
#include "columns/HouseEdit.h"
#include "ui/plan/PlanDocument.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace koruba {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

HouseSettings houseSettingsOf(const House& house) {
    HouseSettings s{house.project, house.designer, house.rules, 0, 0};
    if (const Storey* one = columns::findStorey(house, 1)) {
        s.height1Cm = one->heightCm;
    }
    if (const Storey* two = columns::findStorey(house, 2)) {
        s.height2Cm = two->heightCm;
    }
    return s;
}

std::optional<std::string> applyHouseSettings(House& house, const HouseSettings& settings) {
    for (Storey& s : house.storeys) {
        const std::int32_t cm = s.number == 1 ? settings.height1Cm : settings.height2Cm;
        if (cm != 0 && !isValidStoreyHeight(cm)) {
            return std::to_string(s.number) + "階の階高 " + storeyHeightText(cm) + " m は " +
                   storeyHeightText(kMinStoreyHeightCm) + "〜" +
                   storeyHeightText(kMaxStoreyHeightCm) + " m の外です";
        }
        if (cm == 0 && settings.rules == RuleSet::Revision2025) {
            return "2025年改正の規定には " + std::to_string(s.number) + "階の階高が必要です";
        }
        s.heightCm = cm;
    }
    house.project = settings.project;
    house.designer = settings.designer;
    house.rules = settings.rules;
    return std::nullopt;
}

bool askHouseSettings(QWidget* parent, HouseSettings& settings) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("houseSettingsDialog"));
    dialog.setWindowTitle(QStringLiteral("住宅の設定"));
    auto* form = new QFormLayout;
    auto* project = new QLineEdit(qText(settings.project), &dialog);
    auto* designer = new QLineEdit(qText(settings.designer), &dialog);
    auto* rules = new QComboBox(&dialog);
    rules->addItem(QStringLiteral("2000年告示"), static_cast<int>(RuleSet::Notice2000));
    rules->addItem(QStringLiteral("2025年改正（階高補正）"),
                   static_cast<int>(RuleSet::Revision2025));
    rules->setCurrentIndex(settings.rules == RuleSet::Revision2025 ? 1 : 0);
    auto height = [&dialog](std::int32_t cm) {
        auto* box = new QDoubleSpinBox(&dialog);
        box->setDecimals(2);
        box->setSingleStep(0.05);
        box->setRange(0.0, kMaxStoreyHeightCm / 100.0);
        box->setSpecialValueText(QStringLiteral("なし"));
        box->setSuffix(QStringLiteral(" m"));
        box->setValue(cm / 100.0);
        return box;
    };
    auto* h1 = height(settings.height1Cm);
    auto* h2 = height(settings.height2Cm);
    form->addRow(QStringLiteral("工事名(&P)"), project);
    form->addRow(QStringLiteral("設計者(&D)"), designer);
    form->addRow(QStringLiteral("規定(&R)"), rules);
    form->addRow(QStringLiteral("1階の階高(&1)"), h1);
    form->addRow(QStringLiteral("2階の階高(&2)"), h2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    settings.project = project->text().toStdString();
    settings.designer = designer->text().toStdString();
    settings.rules = static_cast<RuleSet>(rules->currentData().toInt());
    settings.height1Cm = static_cast<std::int32_t>(std::lround(h1->value() * 100.0));
    settings.height2Cm = static_cast<std::int32_t>(std::lround(h2->value() * 100.0));
    return true;
}

GridDialog::GridDialog(PlanDocument& document, QWidget* parent)
    : QDialog(parent), document_(document), list_(new QListWidget(this)),
      message_(new QLabel(this)) {
    setObjectName(QStringLiteral("gridDialog"));
    setWindowTitle(QStringLiteral("通り芯"));
    list_->setObjectName(QStringLiteral("gridList"));
    list_->setAccessibleName(QStringLiteral("通り芯"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #c00000;"));
    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const QString& text, auto handler) {
        auto* b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button(QStringLiteral("X通りを追加(&X)"), [this] { addLine(HouseDirection::X); });
    button(QStringLiteral("Y通りを追加(&Y)"), [this] { addLine(HouseDirection::Y); });
    button(QStringLiteral("位置(&M)..."), [this] { moveLine(); });
    button(QStringLiteral("名前(&N)..."), [this] { renameLine(); });
    button(QStringLiteral("削除(&D)"), [this] { deleteLine(); });
    buttons->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addWidget(close);
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(message_);
    connect(&document_, &PlanDocument::changed, this, &GridDialog::rebuild);
    rebuild();
}

void GridDialog::rebuild() {
    const int row = list_->currentRow();
    list_->clear();
    const House& h = document_.house();
    for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
        const auto& lines = d == HouseDirection::X ? h.gridX : h.gridY;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            auto* item = new QListWidgetItem(
                QStringLiteral("%1  %2 mm").arg(qText(lines[i].name)).arg(lines[i].positionMm),
                list_);
            item->setData(Qt::UserRole, static_cast<int>(d));
            item->setData(Qt::UserRole + 1, static_cast<int>(i));
        }
    }
    list_->setCurrentRow(std::min(row, list_->count() - 1));
}

std::optional<std::pair<HouseDirection, std::size_t>> GridDialog::chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    return std::pair(static_cast<HouseDirection>(item->data(Qt::UserRole).toInt()),
                     static_cast<std::size_t>(item->data(Qt::UserRole + 1).toInt()));
}

void GridDialog::apply(const QString& text,
                       const std::function<std::optional<std::string>(House&)>& f) {
    const auto reason = document_.apply(text, f);
    message_->setText(reason ? qText(*reason) : QString());
}

void GridDialog::addLine(HouseDirection d) {
    const House& h = document_.house();
    const auto& lines = d == HouseDirection::X ? h.gridX : h.gridY;
    const std::int32_t next = lines.empty() ? 0 : lines.back().positionMm + columns::kModuleMm;
    const std::string name = columns::nextGridLineName(h, d);
    apply(QStringLiteral("通り芯を追加"),
          [=](House& house) { return columns::addGridLine(house, d, name, next); });
}

void GridDialog::moveLine() {
    const auto line = chosen();
    if (!line) {
        return;
    }
    const House& h = document_.house();
    const GridLine& g = (line->first == HouseDirection::X ? h.gridX : h.gridY)[line->second];
    bool ok = false;
    // Half modules are the usual step.
    const int mm = QInputDialog::getInt(
        this, windowTitle(), QStringLiteral("%1 の位置 (mm)").arg(qText(g.name)), g.positionMm,
        -1000000, 1000000, columns::kHalfModuleMm, &ok);
    if (ok) {
        apply(QStringLiteral("通り芯を移動"), [=](House& house) {
            return columns::moveGridLine(house, line->first, line->second, mm);
        });
    }
}

void GridDialog::renameLine() {
    const auto line = chosen();
    if (!line) {
        return;
    }
    const House& h = document_.house();
    const GridLine& g = (line->first == HouseDirection::X ? h.gridX : h.gridY)[line->second];
    bool ok = false;
    const QString name = QInputDialog::getText(this, windowTitle(), QStringLiteral("通り芯の名前"),
                                               QLineEdit::Normal, qText(g.name), &ok);
    if (ok) {
        const std::string text = name.trimmed().toStdString();
        apply(QStringLiteral("通り芯の名前を変更"), [=](House& house) {
            return columns::renameGridLine(house, line->first, line->second, text);
        });
    }
}

void GridDialog::deleteLine() {
    if (const auto line = chosen()) {
        apply(QStringLiteral("通り芯を削除"), [=](House& house) {
            return columns::deleteGridLine(house, line->first, line->second);
        });
    }
}

} // namespace koruba
