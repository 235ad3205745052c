#include "ui/calculator/MainForm.h"

#include "calc/CalcNValue.h"
#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"
#include "draw/BayDrawing.h"
#include "draw/Colors.h"
#include "draw/JapaneseFonts.h"
#include "ui/calculator/Artwork.h"
#include "ui/calculator/BevelPanel.h"
#include "ui/calculator/ConditionsDialog.h"
#include "ui/calculator/ImageControl.h"
#include "ui/calculator/PaintedIconEngine.h"
#include "ui/calculator/PaintedImage.h"
#include "ui/calculator/ShapeControl.h"
#include "ui/services/ConditionsRecord.h"
#include "ui/services/LibComm_01.h"
#include "ui/services/RegistryRecord.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoGroup>
#include <QUndoStack>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>

using koruba::BevelPanel;
using koruba::ImageControl;
using koruba::PaintedIconEngine;
using koruba::PaintedImage;
using koruba::ShapeControl;

namespace {

constexpr int ClientWidth = 344;
constexpr int ClientHeight = 451;
// Distance of the tool buttons from the tool bar's outer edge: the etched
// edge, the border width and the bar's own margin.
constexpr int ToolBarInset = 6;
constexpr int PatternButtonWidth = 108;
constexpr int PatternButtonHeight = 112;
// Extra room right of a glyph, so that glyph and caption stand as far apart
// as the layout wants (the style itself leaves 4 pixels).
constexpr int StyleIconSpacing = 4;
constexpr int RevGlyphSpacing = 7;
constexpr int CloseGlyphSpacing = 8;
// Row height of the size list and of the multiplier list's drop-down.
constexpr int ListItemHeight = 12;

const QColor DisabledRuleColor(160, 160, 164);

// The strip below the result boxes that the 2025 rules add to the window.
constexpr int RulesStripHeight = 48;
// Where the height factors start in the formula panel, at the least.
constexpr int FactorLabelLeft = 54;

const char* const TagProperty = "Tag";
// Labels that size themselves to their text.
const char* const AutoSizeProperty = "AutoSize";
// Fixed-size labels that fill a box: the blank pixels their lettering
// keeps from each end, so that a long line does not touch the box.
const char* const BoxMarginProperty = "BoxMargin";
constexpr int ResultBoxMargin = 2;

std::int32_t TagOf(const QObject* control) {
    return control != nullptr ? control->property(TagProperty).toInt() : 0;
}

template <class Widget> Widget* Make(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Positions are given in the client area of the parent, which for a
// bordered panel begins inside its border.
QPoint clientOrigin(const QWidget* widget) {
    if (const auto* panel = qobject_cast<const BevelPanel*>(widget->parentWidget())) {
        return panel->clientOrigin();
    }
    return {};
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(QRect(QPoint(left, top) + clientOrigin(widget), QSize(width, height)));
}

// The lettering of a label narrowed just enough for its text to take at
// most the given width: the installed substitute of a face runs wider than
// the face the layout was made for. Never below 70 %, where the small
// characters stay legible.
void NarrowToWidth(QLabel* label, int width) {
    constexpr int NarrowestStretch = 70;
    QFont font = label->font();
    font.setStretch(QFont::Unstretched);
    int advance = QFontMetrics(font).horizontalAdvance(label->text());
    if (advance > width && advance > 0) {
        // Stretching is not exactly proportional: step down until it fits.
        int stretch = std::max(NarrowestStretch, width * 100 / advance);
        for (;; --stretch) {
            font.setStretch(stretch);
            advance = QFontMetrics(font).horizontalAdvance(label->text());
            if (advance <= width || stretch == NarrowestStretch) {
                break;
            }
        }
    }
    label->setFont(font);
}

// Fixed-size labels narrow their lettering rather than cut off both ends
// of a result line.
void FitToWidth(QLabel* label) {
    NarrowToWidth(label, label->width() - 2 * label->property(BoxMarginProperty).toInt());
}

// The text as a word-wrapping label of the font and width shows it, but
// with a line break before a word that would otherwise be split across two
// lines ("N値" must not end one line with "N").
QString WrapKeepingWord(const QString& text, const QFont& font, int width, const QString& word) {
    QString wrapped = text;
    for (bool split = true; split;) {
        split = false;
        // The label breaks its plain text's lines at '\n'; the layout at
        // the line separator.
        QString laidOut = wrapped;
        laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(laidOut, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid() && !split;
             line = layout.createLine()) {
            line.setLineWidth(width);
            const qsizetype end = line.textStart() + line.textLength();
            for (qsizetype at = wrapped.indexOf(word); at > 0 && !split;
                 at = wrapped.indexOf(word, at + 1)) {
                if (at < end && at + word.size() > end && wrapped[at - 1] != QLatin1Char('\n')) {
                    wrapped.insert(at, QLatin1Char('\n'));
                    split = true;
                }
            }
        }
        layout.endLayout();
    }
    return wrapped;
}

// Self-sizing labels in a panel end at least two pixels inside its bevel,
// so that a closing bracket does not merge with the border line.
void FitInsidePanel(QLabel* label) {
    const auto* panel = qobject_cast<const BevelPanel*>(label->parentWidget());
    if (panel != nullptr) {
        // The bevel lies just right of the inner rectangle.
        const int lastColumn = panel->innerRect().right() + 1 - 2;
        const int room = lastColumn - label->x() + 1;
        NarrowToWidth(label, room);
        label->adjustSize();
        // Sums of 10 and more (the 2025 rules cap no sum) may not fit even
        // at the narrowest legible lettering; the label then keeps to the
        // room there is rather than cross the border.
        if (label->width() > room) {
            label->resize(room, label->height());
        }
        return;
    }
    label->adjustSize();
}

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->property(AutoSizeProperty).toBool()) {
        FitInsidePanel(label);
    } else {
        FitToWidth(label);
    }
}

QLabel* MakeAutoSizeLabel(QWidget* parent, const char* name, const QString& text, int left,
                          int top) {
    auto* label = Make<QLabel>(parent, name);
    label->setTextFormat(Qt::PlainText);
    label->setProperty(AutoSizeProperty, true);
    label->move(QPoint(left, top) + clientOrigin(label));
    SetCaption(label, text);
    return label;
}

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, color);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, color);
    widget->setPalette(pal);
}

// The selected row of a single-selection list, -1 when none is selected
// (the current row alone does not count).
int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// "   45×90 (2.0)": the size and the multiplier that choosing the row
// gives the element kind.
QString BraceSizeItem(std::int32_t row, std::int32_t elementKind) {
    const koruba::BraceSize& size = koruba::kBraceSizes[static_cast<std::size_t>(row)];
    float multiplier = 0.0f;
    koruba::BraceMultiplierOfRow(row, elementKind, koruba::kBayMultiplierCap2000, multiplier);
    return QStringLiteral("   %1×%2 (%3)")
        .arg(size.thicknessMm)
        .arg(size.widthMm)
        .arg(QString::fromStdString(koruba::F1(multiplier)));
}

// One edit of the window, kept as the column before and after it; the
// window applies either.
class ColumnEditCommand : public QUndoCommand {
public:
    using Apply = std::function<void(const TMainF::ColumnState&)>;

    ColumnEditCommand(TMainF::ColumnState before, TMainF::ColumnState after, const QString& text,
                      Apply apply)
        : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)),
          apply_(std::move(apply)) {}

    void undo() override { apply_(before_); }
    void redo() override {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (pushed_) {
            pushed_ = false;
            return;
        }
        apply_(after_);
    }

private:
    TMainF::ColumnState before_;
    TMainF::ColumnState after_;
    Apply apply_;
    bool pushed_ = true;
};

// Bays by image tag, as the bay shortcuts number them.
const char* const BayPlaces[] = {"左上", "右上", "左下", "右下"};

QString BayPlace(std::int32_t tag) {
    return QString::fromUtf8(BayPlaces[tag - 1]);
}

// What a screen reader says of a bay: its brace and panel and the sum
// that counts, as the bay's picture shows them.
QString BayContentText(const koruba::BayCell& cell, float multiplierCap) {
    QStringList parts;
    if (cell.BraceKind != koruba::NoBrace) {
        const QString kind = cell.BraceKind == koruba::CrossBrace ? QStringLiteral("たすき筋かい")
                             : cell.BraceKind == koruba::BraceRisingLeft
                                 ? QStringLiteral("筋かい(左上)")
                                 : QStringLiteral("筋かい(右上)");
        const auto index = static_cast<std::size_t>(std::clamp(cell.BraceSize, 0, std::int32_t{3}));
        const koruba::BraceSize& size = koruba::kBraceSizes[index];
        parts << QStringLiteral("%1 %2×%3").arg(kind).arg(size.thicknessMm).arg(size.widthMm);
    }
    if (cell.PanelOn != 0) {
        parts << QStringLiteral("面材 %1").arg(QString::fromStdString(koruba::F1(cell.PanelMult)));
    }
    if (parts.isEmpty()) {
        return QStringLiteral("配置なし");
    }
    const koruba::BayMultiplier m = koruba::bayMultiplier(cell, multiplierCap);
    parts << QStringLiteral("倍率 %1%2")
                 .arg(QString::fromStdString(koruba::F1(m.sum)),
                      m.capped ? QStringLiteral("（上限）") : QString());
    return parts.join(QStringLiteral("、"));
}

} // namespace

TMainF::TMainF(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      confirmClear_(&TMainF::AskClearConfirmation) {
    setObjectName(QStringLiteral("MainF"));
    setWindowTitle(QStringLiteral("KORUBA-X"));
    setFont(koruba::JapaneseFont(koruba::MsPGothicWindow, 12));
    setFixedSize(ClientWidth, ClientHeight);

    BuildToolBar();
    BuildElementGroup();
    BuildEditButtons();
    BuildDiagramPanel();
    BuildFormulaPanel();
    BuildResultBoxes();
    BuildCloseButton();
    BuildRulesStrip();
    SetTabOrder();

    if (const QScreen* s = screen()) {
        move(s->geometry().center() - rect().center());
    }
    // At the end of the session the record is written without a box that
    // would hold up the log-off; a quit that no close request preceded
    // records as a close would.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
#ifndef QT_NO_SESSIONMANAGER
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { EndOfSession(); });
#endif
        connect(app, &QCoreApplication::aboutToQuit, this, [this] {
            if (isVisible()) {
                EndOfSession();
            }
        });
    }
    FormCreate();
    AddConditionsAction();
    AddEditActions();
    AddKeyboardActions();
    AddEditFreelyAction();
    // The conditions of the last run; the 2000 method when none are
    // remembered, which leaves the window as it always was.
    setConditions(koruba::loadConditions());
}

TMainF::~TMainF() = default;

void TMainF::SetSummaryDialog(QWidget* dialog) {
    summaryDialog_ = dialog;
    // Closing the main window ends the program also while the summary is
    // open; the summary alone does not keep it running.
    if (dialog != nullptr) {
        dialog->setAttribute(Qt::WA_QuitOnClose, false);
    }
}

void TMainF::SetClearConfirmation(ClearConfirmation confirm) {
    confirmClear_ = std::move(confirm);
}

bool TMainF::AskClearConfirmation() {
    // Without a parent the box centres itself on the screen; it is still
    // modal for the whole application.
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                    QStringLiteral("すべての配置データをクリアーします..."), QMessageBox::NoButton);
    box.setObjectName(QStringLiteral("ClearConfirmation"));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == ok;
}

// ---------------------------------------------------------------- layout

void TMainF::BuildToolBar() {
    auto* bar = Make<QFrame>(this, "ToolBar1");
    bar->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bar->setLineWidth(1);
    bar->setGeometry(4, 1, 336, 236);
    ToolBar1 = bar;

    struct ButtonLayout {
        QToolButton** Button;
        const char* Name;
        std::int32_t Tag;
        int Left, Top;
    };
    const ButtonLayout buttons[] = {
        {&TlBtn_21, "TlBtn_21", 21, 0, 0},      {&TlBtn_22, "TlBtn_22", 22, 108, 0},
        {&TBtn_Gaiyo, "TBtn_Gaiyo", 0, 216, 0}, {&TlBtn_11, "TlBtn_11", 11, 0, 112},
        {&TlBtn_12, "TlBtn_12", 12, 108, 112},  {&TlBtn_13, "TlBtn_13", 13, 216, 112},
    };
    for (const ButtonLayout& layout : buttons) {
        auto* button = Make<QToolButton>(bar, layout.Name);
        button->setProperty(TagProperty, layout.Tag);
        button->setGeometry(ToolBarInset + layout.Left, ToolBarInset + layout.Top,
                            PatternButtonWidth, PatternButtonHeight);
        button->setAutoRaise(true);
        button->setCheckable(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setCursor(Qt::PointingHandCursor);
        button->setIconSize(koruba::artwork::kToolImageSize);
        const std::int32_t tag = layout.Tag;
        if (tag == 0) {
            button->setIcon(
                PaintedIconEngine::makeIcon(koruba::artwork::kToolImageSize, [](QPainter& p) {
                    koruba::artwork::paintSummaryImage(p);
                }));
            connect(button, &QToolButton::clicked, this,
                    [this, button] { TBtn_GaiyoClick(button); });
        } else {
            button->setIcon(
                PaintedIconEngine::makeIcon(koruba::artwork::kToolImageSize, [tag](QPainter& p) {
                    koruba::artwork::paintPatternImage(p, tag);
                }));
            connect(button, &QToolButton::clicked, this, [this, button] { TlBtn_21Click(button); });
        }
        // Read out by screen readers; the buttons take no focus, their
        // shortcuts choose them (Alt+1 ... Alt+6 in reading order).
        const QString key = QStringLiteral("Alt+%1").arg(static_cast<int>(&layout - buttons) + 1);
        if (tag == 0) {
            button->setAccessibleName(QStringLiteral("使用方法および計算概要"));
            button->setAccessibleDescription(key);
        } else {
            button->setAccessibleName(QStringLiteral("軸組パターン %1 %2")
                                          .arg(tag)
                                          .arg(koruba::artwork::patternCaptionLine(tag)));
            button->setAccessibleDescription(key);
        }
        *layout.Button = button;
    }
}

void TMainF::BuildElementGroup() {
    GBoxSjMen = Make<QGroupBox>(this, "GBoxSjMen");
    GBoxSjMen->setTitle(QStringLiteral("筋かい・面材"));
    GBoxSjMen->setGeometry(3, 241, 113, 178);
    // The layout leaves the toolkit's narrow gap between a radio button's
    // circle and its caption; "面材" has no pixel to spare before the list.
    GBoxSjMen->setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));

    auto icon = [this](const char* name, std::int32_t kind, int top) {
        auto* image = new PaintedImage(
            koruba::artwork::kElementIconSize,
            [kind](QPainter& p) { koruba::artwork::paintElementIcon(p, kind); }, GBoxSjMen);
        image->setObjectName(QString::fromLatin1(name));
        image->setGeometry(4, top, 14, 14);
        return image;
    };
    auto radio = [this](const char* name, std::int32_t tag, const QString& caption, int top,
                        int width) {
        auto* button = Make<QRadioButton>(GBoxSjMen, name);
        button->setProperty(TagProperty, tag);
        button->setText(caption);
        button->setGeometry(20, top, width, 16);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };

    Image1 = icon("Image1", koruba::BraceRisingLeft, 17);
    RBtn_1 = radio("RBtn_1", koruba::BraceRisingLeft, QStringLiteral("筋かい(左上)"), 17, 90);
    Image2 = icon("Image2", koruba::BraceRisingRight, 35);
    RBtn_2 = radio("RBtn_2", koruba::BraceRisingRight, QStringLiteral("筋かい(右上)"), 35, 90);
    Image3 = icon("Image3", koruba::CrossBrace, 53);
    RBtn_3 = radio("RBtn_3", koruba::CrossBrace, QStringLiteral("たすき筋かい"), 53, 90);

    PnlSjSize = new BevelPanel(true, GBoxSjMen);
    PnlSjSize->setObjectName(QStringLiteral("PnlSjSize"));
    PnlSjSize->setGeometry(3, 73, 108, 19);
    PnlSjSize->setCaption(QStringLiteral("筋かいサイズ"));
    PnlSjSize->setFont(koruba::JapaneseFont(koruba::MsPGothicWindow, 12));
    PnlSjSize->setEnabled(false);

    Panel2 = new BevelPanel(false, GBoxSjMen);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(2, 91, 107, 57);

    SjList = Make<QListWidget>(Panel2, "SjList");
    Place(SjList, 1, 2, 104, 53);
    SjList->setFont(koruba::JapaneseFont(koruba::MsGothic, 12));
    SjList->setSelectionMode(QAbstractItemView::SingleSelection);
    SjList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SjList->setUniformItemSizes(true);
    SjList->setCursor(Qt::PointingHandCursor);
    SjList->addItem(QStringLiteral("15×90mm (1.0)"));

    Image4 = icon("Image4", koruba::PanelElement, 156);
    RBtn_4 = radio("RBtn_4", koruba::PanelElement, QStringLiteral("面材"), 156, 43);

    CBox1 = Make<QComboBox>(GBoxSjMen, "CBox1");
    CBox1->setGeometry(64, 153, 46, 20);
    CBox1->setFont(koruba::JapaneseFont(koruba::MsGothic, 12));
    CBox1->setEditable(false);
    CBox1->setCursor(Qt::PointingHandCursor);
    // The style's menu-like rows are taller than the list's 12 pixels; a
    // plain item delegate honours the rows' own height.
    CBox1->setItemDelegate(new QStyledItemDelegate(CBox1));
    for (std::int32_t row = 0; row < koruba::kPanelMultiplierRows; ++row) {
        CBox1->addItem(QString::fromStdString(koruba::F1(koruba::panelMultiplierOfRow(row))));
        CBox1->setItemData(CBox1->count() - 1, QSize(0, ListItemHeight), Qt::SizeHintRole);
    }
    CBox1->setCurrentIndex(-1);

    for (QRadioButton* button : {RBtn_1, RBtn_2, RBtn_3}) {
        connect(button, &QRadioButton::toggled, this, [this, button](bool checked) {
            // Checking from code raises the click as a user click does;
            // clicking the button that is already checked raises none.
            if (checked) {
                RBtn_1Click(button);
            }
        });
    }
    connect(RBtn_4, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            RBtn_4Click(RBtn_4);
        }
    });
    // A user selection by key or mouse press, and a click on the row that is
    // already selected; the handler only reads the selected row, so being
    // raised twice for one click does no harm. Rows set by code are set with
    // the signals blocked.
    connect(SjList, &QListWidget::currentRowChanged, this, [this] { SjListClick(SjList); });
    connect(SjList, &QListWidget::itemClicked, this, [this] { SjListClick(SjList); });
    // Once a row is chosen the user cannot unchoose it (Ctrl+click would).
    connect(SjList, &QListWidget::itemSelectionChanged, this, [this] {
        if (SjList->selectedItems().isEmpty() && SjList->currentItem() != nullptr) {
            const QSignalBlocker blocker(SjList);
            SjList->currentItem()->setSelected(true);
        }
    });
    connect(CBox1, &QComboBox::activated, this, [this] { CBox1Change(CBox1); });
}

void TMainF::BuildEditButtons() {
    BBtn_Rev = Make<QPushButton>(this, "BBtn_Rev");
    BBtn_Rev->setGeometry(118, 245, 105, 23);
    BBtn_Rev->setText(QStringLiteral("軸組反転"));
    BBtn_Rev->setToolTip(QStringLiteral("軸組パターンを反転します"));
    const QSize revIcon =
        koruba::artwork::kMirrorGlyphSize + QSize(RevGlyphSpacing - StyleIconSpacing, 0);
    BBtn_Rev->setIcon(PaintedIconEngine::makeIcon(
        revIcon, [](QPainter& p) { koruba::artwork::paintMirrorGlyph(p); }));
    BBtn_Rev->setIconSize(revIcon);
    BBtn_Rev->setCursor(Qt::PointingHandCursor);
    connect(BBtn_Rev, &QPushButton::clicked, this, [this] { BBtn_RevClick(BBtn_Rev); });

    Btn_DtClear = Make<QPushButton>(this, "Btn_DtClear");
    Btn_DtClear->setGeometry(225, 245, 116, 23);
    Btn_DtClear->setText(QStringLiteral("全配置データクリア"));
    Btn_DtClear->setToolTip(QStringLiteral("筋かい・面材の全配置データをクリアします"));
    Btn_DtClear->setCursor(Qt::PointingHandCursor);
    connect(Btn_DtClear, &QPushButton::clicked, this, [this] { Btn_DtClearClick(Btn_DtClear); });
}

void TMainF::BuildDiagramPanel() {
    Panel1 = new BevelPanel(true, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(118, 270, 106, 114);
    // A bay's right click turns its brace round: the window's menu shows
    // nowhere on the diagram, whether a bay is in use there or not.
    Panel1->setContextMenuPolicy(Qt::PreventContextMenu);

    drwPp = Make<ImageControl>(Panel1, "drwPp");
    Place(drwPp, -1, -1, 101, 107);
    drwPp->setTransparent(true);
    drwPp->setAccessibleName(QStringLiteral("軸組図"));

    const QPoint designPlaces[] = {{10, 5}, {50, 5}, {10, 55}, {50, 55}};
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const QString name = QStringLiteral("drwSj_%1").arg(tag);
        auto* bay = new ImageControl(Panel1);
        bay->setObjectName(name);
        bay->setProperty(TagProperty, tag);
        const QPoint at = designPlaces[tag - 1];
        Place(bay, at.x(), at.y(), 36, 46);
        bay->setCursor(Qt::PointingHandCursor);
        bay->setEnabled(false);
        bay->setAccessibleName(QStringLiteral("壁%1 %2").arg(tag).arg(BayPlace(tag)));
        bay->setAccessibleDescription(QStringLiteral("配置なし"));
        connect(bay, &ImageControl::mouseDown, this,
                [this, bay](Qt::MouseButton button) { drwSj_1MouseDown(bay, button); });
        // Click and double-click are the left button's.
        auto onClick = [this, bay](Qt::MouseButton button) {
            if (button == Qt::LeftButton) {
                drwSj_1Click(bay);
            }
        };
        connect(bay, &ImageControl::clicked, this, onClick);
        connect(bay, &ImageControl::doubleClicked, this, onClick);
        drwSj[static_cast<std::size_t>(tag - 1)] = bay;
    }

    Lbl_JkSelMsg = Make<QLabel>(Panel1, "Lbl_JkSelMsg");
    Place(Lbl_JkSelMsg, 6, 40, 91, 26);
    Lbl_JkSelMsg->setTextFormat(Qt::PlainText);
    Lbl_JkSelMsg->setWordWrap(true);
    Lbl_JkSelMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl_JkSelMsg->setFont(koruba::JapaneseFont(koruba::MsPGothicWindow, 12));
    SetTextColor(Lbl_JkSelMsg, Qt::red);
    Lbl_JkSelMsg->setText(QStringLiteral("軸組ﾊﾟﾀｰﾝを選択してください。"));
}

void TMainF::BuildFormulaPanel() {
    Panel3 = new BevelPanel(true, this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(225, 270, 118, 114);
    SetBackground(Panel3, Qt::white);

    Lbl_A_12F_Siki = MakeAutoSizeLabel(Panel3, "Lbl_A_12F_Siki", QStringLiteral("A2="), 6, 5);
    Lbl_A_12F_Siki->setFont(koruba::JapaneseFont(koruba::MsPGothicWindow, 12));
    Lbl_A_12F = MakeAutoSizeLabel(Panel3, "Lbl_A_12F", QStringLiteral("="), 20, 20);
    Lbl_A_12F->hide();
    Lbl_B_12F = MakeAutoSizeLabel(Panel3, "Lbl_B_12F", QStringLiteral("B2="), 6, 37);
    Lbl_L_12F = MakeAutoSizeLabel(Panel3, "Lbl_L_12F", QStringLiteral("L="), 64, 37);
    Lbl_L_12F->hide();

    Line1 = new ShapeControl(Panel3);
    Line1->setObjectName(QStringLiteral("Line1"));
    Place(Line1, 3, 54, 105, 1);

    Lbl_A_1F_Siki = MakeAutoSizeLabel(Panel3, "Lbl_A_1F_Siki", QStringLiteral("A1="), 6, 61);
    Lbl_A_1F = MakeAutoSizeLabel(Panel3, "Lbl_A_1F", QStringLiteral("="), 20, 76);
    Lbl_A_1F->hide();
    Lbl_B_1F = MakeAutoSizeLabel(Panel3, "Lbl_B_1F", QStringLiteral("B1="), 6, 93);
    Lbl_L_1F = MakeAutoSizeLabel(Panel3, "Lbl_L_1F", QStringLiteral("L="), 64, 93);
}

void TMainF::BuildResultBoxes() {
    struct Box {
        const char* Shape;
        QRect ShapeRect;
        QLabel** Label;
        const char* LabelName;
        QRect LabelRect;
        const QString* Face;
    };
    const Box boxes[] = {
        {"Shape1",
         {118, 386, 223, 21},
         &Lbl_Nti,
         "Lbl_Nti",
         {119, 391, 221, 12},
         &koruba::MsPGothicWindow},
        {"Shape2",
         {118, 406, 43, 21},
         &Lbl_KanaKigo,
         "Lbl_KanaKigo",
         {120, 411, 40, 11},
         &koruba::MsGothic},
        {"Shape4",
         {160, 406, 181, 21},
         &Lbl_Tairyoku,
         "Lbl_Tairyoku",
         {161, 411, 178, 11},
         &koruba::MsPGothicWindow},
        {"Shape3",
         {118, 426, 223, 21},
         &Lbl_KanaName,
         "Lbl_KanaName",
         {120, 431, 220, 11},
         nullptr},
    };
    for (const Box& box : boxes) {
        auto* shape = new ShapeControl(this);
        shape->setObjectName(QString::fromLatin1(box.Shape));
        shape->setGeometry(box.ShapeRect);
    }
    // The labels lie over all four boxes.
    for (const Box& box : boxes) {
        auto* label = Make<QLabel>(this, box.LabelName);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(box.LabelRect);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setProperty(BoxMarginProperty, ResultBoxMargin);
        SetBackground(label, Qt::white);
        if (box.Face != nullptr) {
            label->setFont(koruba::JapaneseFont(*box.Face, 12));
        }
        *box.Label = label;
    }
}

void TMainF::BuildCloseButton() {
    BBtn_Close = Make<QPushButton>(this, "BBtn_Close");
    BBtn_Close->setGeometry(3, 422, 112, 26);
    BBtn_Close->setText(QStringLiteral("終 了"));
    BBtn_Close->setToolTip(QStringLiteral("終了します"));
    const QSize closeIcon =
        koruba::artwork::kCloseGlyphSize + QSize(CloseGlyphSpacing - StyleIconSpacing, 0);
    BBtn_Close->setIcon(PaintedIconEngine::makeIcon(
        closeIcon, [](QPainter& p) { koruba::artwork::paintCloseGlyph(p); }));
    BBtn_Close->setIconSize(closeIcon);
    BBtn_Close->setCursor(Qt::PointingHandCursor);
    connect(BBtn_Close, &QPushButton::clicked, this, [this] { BBtn_CloseClick(BBtn_Close); });
}

void TMainF::BuildRulesStrip() {
    // The factor labels stand right of the A values, where the formula
    // panel has room.
    for (auto [label, name, top] :
         {std::tuple{&Lbl_F_12F, "Lbl_F_12F", 20}, std::tuple{&Lbl_F_1F, "Lbl_F_1F", 76}}) {
        *label = Make<QLabel>(Panel3, name);
        (*label)->setTextFormat(Qt::PlainText);
        (*label)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Place(*label, FactorLabelLeft, top, 58, 13);
    }

    Shape5 = new ShapeControl(this);
    Shape5->setObjectName(QStringLiteral("Shape5"));
    Shape5->setGeometry(3, ClientHeight - 1, ClientWidth - 6, RulesStripHeight - 2);
    SetBackground(Shape5, Qt::white);
    Lbl_Rules = Make<QLabel>(this, "Lbl_Rules");
    Lbl_Rules->setTextFormat(Qt::PlainText);
    Lbl_Rules->setGeometry(7, ClientHeight + 2, ClientWidth - 14, 13);
    Lbl_RulesWarning = Make<QLabel>(this, "Lbl_RulesWarning");
    Lbl_RulesWarning->setTextFormat(Qt::PlainText);
    Lbl_RulesWarning->setWordWrap(true);
    Lbl_RulesWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl_RulesWarning->setGeometry(7, ClientHeight + 16, ClientWidth - 14, 28);
    SetTextColor(Lbl_RulesWarning, Qt::red);
    for (QWidget* w : std::initializer_list<QWidget*>{Shape5, Lbl_Rules, Lbl_RulesWarning}) {
        w->hide();
    }
}

void TMainF::AddConditionsAction() {
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* action = new QAction(QStringLiteral("計算条件(&C)..."), this);
    action->setObjectName(QStringLiteral("Act_Conditions"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(action, &QAction::triggered, this, &TMainF::editConditions);
    addAction(action);
}

void TMainF::AddEditActions() {
    histories_ = new QUndoGroup(this);
    setEditedColumn(0);
    QAction* undo = histories_->createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setObjectName(QStringLiteral("Act_Undo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = histories_->createRedoAction(this, QStringLiteral("やり直し"));
    redo->setObjectName(QStringLiteral("Act_Redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addAction(undo);
    addAction(redo);
}

void TMainF::AddKeyboardActions() {
    // The pattern pictures in reading order, the summary's among them: the
    // number is the picture's place on the tool bar.
    auto* patterns = new QMenu(QStringLiteral("軸組パターン(&P)"), this);
    patterns->setObjectName(QStringLiteral("Menu_Patterns"));
    const std::array<QToolButton*, 6> pictures{TlBtn_21, TlBtn_22, TBtn_Gaiyo,
                                               TlBtn_11, TlBtn_12, TlBtn_13};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        QToolButton* button = pictures[i];
        const std::int32_t tag = TagOf(button);
        QAction* action = patterns->addAction(
            tag == 0
                ? QStringLiteral("使用方法および計算概要")
                : QStringLiteral("%1  %2").arg(tag).arg(koruba::artwork::patternCaptionLine(tag)));
        action->setObjectName(QStringLiteral("Act_Picture%1").arg(i + 1));
        action->setShortcut(QKeySequence(Qt::ALT | (Qt::Key_1 + static_cast<int>(i))));
        connect(action, &QAction::triggered, button, &QToolButton::click);
    }
    addAction(patterns->menuAction());

    // The bays numbered as the batch tool numbers them.
    auto* bays = new QMenu(QStringLiteral("筋かい・面材の配置(&B)"), this);
    bays->setObjectName(QStringLiteral("Menu_Bays"));
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        QAction* action =
            bays->addAction(QStringLiteral("壁%1（%2）に配置・削除").arg(tag).arg(BayPlace(tag)));
        action->setObjectName(QStringLiteral("Act_Bay%1").arg(tag));
        action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + tag)));
        connect(action, &QAction::triggered, this, [this, tag] { ToggleBayByKey(tag); });
    }
    bays->addSeparator();
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        QAction* action =
            bays->addAction(QStringLiteral("壁%1（%2）の筋かいを反転").arg(tag).arg(BayPlace(tag)));
        action->setObjectName(QStringLiteral("Act_Flip%1").arg(tag));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | (Qt::Key_0 + tag)));
        connect(action, &QAction::triggered, this, [this, tag] { FlipBayByKey(tag); });
    }
    addAction(bays->menuAction());
}

void TMainF::AddEditFreelyAction() {
    editFreely_ = new QAction(QStringLiteral("自由に編集(&F)"), this);
    editFreely_->setObjectName(QStringLiteral("Act_EditFreely"));
    editFreely_->setVisible(false);
    connect(editFreely_, &QAction::triggered, this, &TMainF::editFreely);
    addAction(editFreely_);
}

void TMainF::SetTabOrder() {
    // Window order: diagram panel (nothing focusable), element group,
    // formula panel (nothing focusable), close, clear, mirror; the tool
    // buttons take no focus.
    QWidget* const chain[] = {RBtn_2, RBtn_3,     RBtn_1,      CBox1,   RBtn_4,
                              SjList, BBtn_Close, Btn_DtClear, BBtn_Rev};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

// ---------------------------------------------------------------- start

void TMainF::FormCreate() {
    regKeyPath_ = koruba::RegKeyPath;
    try {
        koruba::GetExeVersion(QCoreApplication::applicationFilePath(), verText_, verNo_);
        setWindowTitle(QStringLiteral("KORUBA-X    Ver.") + verText_);
    } catch (const koruba::EAssertionFailed& failure) {
        // Reported, and the window still gets its start state: without it
        // the bays and lists would be unusable. The caption stays
        // "KORUBA-X" and the record's version a single blank.
        QMessageBox::critical(this, koruba::ApplicationTitle, failure.Message());
    }
    caption_ = windowTitle();
    model_.Reset();
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const koruba::BayImageRect r = koruba::BayImagePlace(tag);
        Place(BayImage(tag), r.Left, r.Top, r.Width, r.Height);
    }
    UpdateControlStates();
    RBtn_1->setChecked(true);
    {
        const QSignalBlocker blocker(SjList);
        SjList->setCurrentRow(model_.BraceSizeIndex());
    }
    CBox1->setCurrentIndex(0);
}

void TMainF::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (const koruba::ERegistryException& failure) {
        if (!sessionEnding_) {
            QMessageBox::critical(this, koruba::ApplicationTitle, failure.Message());
        }
        // The first failure abandons the close request, and the next one
        // tries again (the disk may have been freed meanwhile). A store
        // that stays unwritable must not hold the program open: the record
        // is never read back, so the second failure is reported and the
        // window closes all the same.
        canClose = sessionEnding_ || closeFailed_;
        closeFailed_ = true;
    }
    event->setAccepted(canClose);
}

void TMainF::EndOfSession() {
    sessionEnding_ = true;
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (const koruba::ERegistryException&) {
        // Nobody is left to read a message box.
    }
}

void TMainF::FormCloseQuery(bool& /*canClose*/) {
    koruba::SaveRegInfo(verNo_);
}

// ---------------------------------------------------------------- handlers

void TMainF::TlBtn_21Click(QObject* sender) {
    if (readOnly_) {
        return;
    }
    const ColumnState before = columnState();
    model_.ChoosePattern(TagOf(sender));
    koruba::DrawPattern(drwPp->picture(), model_.PatternTag(), model_.PatternReversed());
    drwPp->refresh();
    ShowBayImages();
    UpdateControlStates();
    Recompute();
    ShowResult();
    RecordEdit(before, QStringLiteral("軸組パターンの選択"));
}

void TMainF::TBtn_GaiyoClick(QObject* /*sender*/) {
    if (summaryDialog_ != nullptr) {
        summaryDialog_->show();
        summaryDialog_->raise();
        summaryDialog_->activateWindow();
    }
}

void TMainF::RBtn_1Click(QObject* sender) {
    const std::int32_t kind = TagOf(sender);
    if (model_.PatternTag() > 0) {
        SjList->setEnabled(true);
    }
    const int row = SelectedRow(SjList);
    FillBraceSizeList(kind);
    if (row >= 0) {
        const QSignalBlocker blocker(SjList);
        SjList->setCurrentRow(row);
    }
    model_.ChooseBraceKind(kind, row);
    CBox1->setEnabled(false);
}

void TMainF::RBtn_4Click(QObject* /*sender*/) {
    model_.ChoosePanel();
    CBox1->setEnabled(true);
    SjList->setEnabled(false);
}

void TMainF::SjListClick(QObject* /*sender*/) {
    model_.ChooseBraceSize(SelectedRow(SjList));
}

void TMainF::CBox1Change(QObject* /*sender*/) {
    model_.ChoosePanelMultiplier(CBox1->currentIndex());
}

void TMainF::drwSj_1MouseDown(QObject* sender, Qt::MouseButton button) {
    model_.SelectBay(TagOf(sender));
    if (button != Qt::RightButton || readOnly_) {
        return;
    }
    // A cross brace cannot be turned round: nothing is redrawn then.
    const ColumnState before = columnState();
    if (!model_.FlipBrace()) {
        return;
    }
    DrawBay(model_.CurBay());
    Recompute();
    ShowResult();
    RecordEdit(before, QStringLiteral("筋かいの反転"));
}

void TMainF::drwSj_1Click(QObject* sender) {
    if (model_.PatternTag() == 0 || readOnly_) {
        return;
    }
    model_.SelectBay(TagOf(sender));
    const ColumnState before = columnState();
    model_.ToggleElement();
    DrawBay(model_.CurBay());
    Recompute();
    ShowResult();
    RecordEdit(before, QStringLiteral("配置"));
}

void TMainF::BBtn_RevClick(QObject* /*sender*/) {
    if (readOnly_) {
        return;
    }
    const ColumnState before = columnState();
    model_.Reverse();
    koruba::DrawPattern(drwPp->picture(), model_.PatternTag(), model_.PatternReversed());
    drwPp->refresh();
    ShowBayImages();
    UpdateControlStates();
    Recompute();
    ShowResult();
    RecordEdit(before, QStringLiteral("軸組反転"));
}

void TMainF::Btn_DtClearClick(QObject* /*sender*/) {
    if (readOnly_) {
        return;
    }
    if (!confirmClear_ || !confirmClear_()) {
        return;
    }
    const ColumnState before = columnState();
    for (int storey = 1; storey <= 2; ++storey) {
        for (int side = 1; side <= 2; ++side) {
            model_.ClearBay(storey, side);
            DrawBay({storey, side});
        }
    }
    Recompute();
    ShowResult();
    RecordEdit(before, QStringLiteral("全配置データクリア"));
}

void TMainF::BBtn_CloseClick(QObject* /*sender*/) {
    close();
}

// ---------------------------------------------------------------- stored column

void TMainF::loadColumn(std::int32_t patternTag, std::int32_t reversed,
                        const koruba::BayTable& bays) {
    model_.LoadColumn(patternTag, reversed, bays);
    koruba::DrawPattern(drwPp->picture(), model_.PatternTag(), model_.PatternReversed());
    drwPp->refresh();
    ShowBayImages();
    for (int storey = 1; storey <= 2; ++storey) {
        for (int side = 1; side <= 2; ++side) {
            DrawBay({storey, side});
        }
    }
    UpdateControlStates();
    Recompute();
    ShowResult();
}

// ---------------------------------------------------------------- keyboard

// As a click would, and only on a bay the pattern uses: those are the
// bays shown and enabled.
void TMainF::ToggleBayByKey(std::int32_t tag) {
    ImageControl* bay = BayImage(tag);
    if (bay != nullptr && bay->isEnabled()) {
        drwSj_1Click(bay);
    }
}

void TMainF::FlipBayByKey(std::int32_t tag) {
    ImageControl* bay = BayImage(tag);
    if (bay != nullptr && bay->isEnabled()) {
        drwSj_1MouseDown(bay, Qt::RightButton);
    }
}

// ---------------------------------------------------------------- undo

TMainF::ColumnState TMainF::columnState() const {
    return {model_.PatternTag(), model_.PatternReversed(), model_.Bays(), conditions_};
}

void TMainF::setEditedColumn(std::uint64_t key) {
    QUndoStack*& history = historyOfColumn_[key];
    if (history == nullptr) {
        history = new QUndoStack(histories_);
        histories_->addStack(history);
    }
    histories_->setActiveStack(history);
}

QUndoStack* TMainF::editHistory() const {
    return histories_->activeStack();
}

void TMainF::RecordEdit(const ColumnState& before, const QString& text) {
    const ColumnState after = columnState();
    if (after == before || (before.patternTag == 0 && after.patternTag != 0)) {
        return;
    }
    histories_->activeStack()->push(new ColumnEditCommand(
        before, after, text, [this](const ColumnState& state) { RestoreState(state); }));
}

// Shown as the edit left it: conditions first (they are remembered as the
// user's choice, as in the dialog), then the column.
void TMainF::RestoreState(const ColumnState& state) {
    if (!(state.conditions == conditions_) && setConditions(state.conditions)) {
        RememberConditions();
    }
    if (state.patternTag != model_.PatternTag() || state.reversed != model_.PatternReversed() ||
        !(state.bays == model_.Bays())) {
        loadColumn(state.patternTag, state.reversed, state.bays);
    }
}

void TMainF::setEditedColumnName(const QString& name) {
    setWindowTitle(name.isEmpty() ? caption_ : caption_ + QStringLiteral(" - 柱 ") + name);
}

// ---------------------------------------------------------------- read-only column

bool TMainF::showReadOnlyColumn(std::int32_t patternTag, std::int32_t reversed,
                                const koruba::BayTable& bays,
                                const koruba::CalcConditions& conditions, const QString& name) {
    if (koruba::framePattern(patternTag) == nullptr || koruba::conditionsError(conditions, 2)) {
        return false;
    }
    emit showingForeignColumn();
    // A history of its own, empty: undo cannot bring back the column
    // shown before, which would then pass for the owner's.
    setEditedColumn(nextForeignKey_--);
    readOnly_ = false;
    setConditions(conditions);
    loadColumn(patternTag, reversed, bays);
    readOnly_ = true;
    editFreely_->setVisible(true);
    setWindowTitle(caption_ + QStringLiteral(" - ") + name);
    return true;
}

void TMainF::editFreely() {
    if (!readOnly_) {
        return;
    }
    readOnly_ = false;
    editFreely_->setVisible(false);
    setWindowTitle(caption_);
}

// ---------------------------------------------------------------- states

void TMainF::UpdateControlStates() {
    const bool e = model_.ElementKind() != 0;
    for (QWidget* w :
         std::initializer_list<QWidget*>{GBoxSjMen, RBtn_1, RBtn_2, RBtn_3, RBtn_4, SjList}) {
        w->setEnabled(e);
    }
    CBox1->setEnabled(false);
    Lbl_A_12F_Siki->setEnabled(e);
    Lbl_A_12F->setVisible(e);
    Lbl_B_12F->setEnabled(e);
    Lbl_A_1F_Siki->setEnabled(e);
    Lbl_A_1F->setVisible(e);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Lbl_B_1F, Lbl_L_1F, Lbl_Nti, Lbl_KanaKigo, Lbl_Tairyoku}) {
        w->setEnabled(e);
    }
    Line1->setPenColor(e ? QColor(Qt::black) : DisabledRuleColor);
    PnlSjSize->setCaptionColor(model_.ElementKind() == 0 ? koruba::ToQColor(koruba::clBtnShadow)
                                                         : QColor(Qt::black));
    Btn_DtClear->setEnabled(e);
    SjList->setEnabled(e);
    Lbl_JkSelMsg->setVisible(!e);
    const koruba::FramePattern* pattern = koruba::framePattern(model_.PatternTag());
    BBtn_Rev->setEnabled(pattern != nullptr && pattern->mirrorable);
}

void TMainF::ShowBayImages() {
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const bool used = model_.bayInUse(tag);
        BayImage(tag)->setVisible(used);
        BayImage(tag)->setEnabled(used);
    }
    DescribeColumn();
}

void TMainF::DescribeColumn() {
    const std::int32_t tag = model_.PatternTag();
    drwPp->setAccessibleDescription(
        tag == 0
            ? Lbl_JkSelMsg->text()
            : QStringLiteral("軸組パターン %1 %2%3")
                  .arg(tag)
                  .arg(koruba::artwork::patternCaptionLine(tag),
                       model_.PatternReversed() != 0 ? QStringLiteral("（反転）") : QString()));
}

void TMainF::ShowResult() {
    const koruba::ResultTexts texts = koruba::MakeResultTexts(CalcResult, model_.StoreyCount());
    auto label = [this](std::string_view name) {
        return findChild<QLabel*>(
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    };
    for (const koruba::LabelCaption& caption : texts.Captions) {
        if (QLabel* l = label(caption.Label)) {
            SetCaption(l, QString::fromStdString(caption.Caption));
        }
    }
    if (QLabel* l = label(texts.HiddenL)) {
        l->hide();
    }
    if (QLabel* l = label(texts.ShownL)) {
        l->show();
    }
    // The height factors: the upper block shows the only storey of a
    // single-storey frame, else the storey above.
    const koruba::ResultType& r = CalcResult;
    const bool twoStorey = model_.StoreyCount() == 2;
    const std::string f1 = koruba::HeightFactorText("f1", r.Rules, r.H1Cm);
    const std::string f2 = koruba::HeightFactorText("f2", r.Rules, r.H2Cm);
    const auto showFactor = [](QLabel* factor, const QLabel* value, const std::string& text) {
        // Right of the A value, however wide that has grown.
        const int left =
            std::max(FactorLabelLeft + clientOrigin(factor).x(), value->geometry().right() + 5);
        // Like the formula labels, it ends two pixels inside the bevel.
        const auto* panel = static_cast<const BevelPanel*>(factor->parentWidget());
        factor->setGeometry(left, factor->y(), panel->innerRect().right() - left, factor->height());
        SetCaption(factor, QString::fromStdString(text));
        factor->setVisible(!text.empty());
    };
    showFactor(Lbl_F_12F, Lbl_A_12F, twoStorey ? f2 : f1);
    showFactor(Lbl_F_1F, Lbl_A_1F, twoStorey ? f1 : std::string());
    ShowRules();
    emit resultShown();
}

void TMainF::ShowRules() {
    const bool revision = conditions_.rules == koruba::RuleSet::Revision2025;
    setFixedSize(ClientWidth, ClientHeight + (revision ? RulesStripHeight : 0));
    for (QWidget* w : std::initializer_list<QWidget*>{Shape5, Lbl_Rules, Lbl_RulesWarning}) {
        w->setVisible(revision);
    }
    const std::int32_t storeys = model_.StoreyCount();
    SetCaption(Lbl_Rules, QString::fromStdString(koruba::RulesLineText(conditions_, storeys)));
    Lbl_RulesWarning->setText(WrapKeepingWord(
        QString::fromStdString(koruba::tallStoreyWarning(conditions_.rules, conditions_.h1Cm,
                                                         storeys == 1 ? 0 : conditions_.h2Cm)),
        Lbl_RulesWarning->font(), Lbl_RulesWarning->width(), QStringLiteral("N値")));
}

void TMainF::Recompute() {
    CalcResult = koruba::CalcNValue(model_, conditions_);
}

bool TMainF::setConditions(const koruba::CalcConditions& conditions) {
    if (koruba::conditionsError(conditions, 2)) {
        return false;
    }
    if (conditions == conditions_) {
        return true;
    }
    conditions_ = conditions;
    // Only the sums of placed bays depend on the rules; a bay never drawn
    // stays as it is.
    for (int storey = 1; storey <= 2; ++storey) {
        for (int side = 1; side <= 2; ++side) {
            if (!(model_.Bays().Cell(storey, side) == koruba::BayCell{})) {
                DrawBay({storey, side});
            }
        }
    }
    if (model_.PatternTag() != 0) {
        Recompute();
        ShowResult();
    } else {
        ShowRules();
    }
    emit conditionsChanged(conditions_);
    return true;
}

void TMainF::editConditions() {
    if (readOnly_) {
        return;
    }
    koruba::ConditionsDialog dialog(conditions_, this);
    const ColumnState before = columnState();
    if (dialog.exec() != QDialog::Accepted || !setConditions(dialog.conditions())) {
        return;
    }
    RememberConditions();
    RecordEdit(before, QStringLiteral("計算条件の変更"));
}

void TMainF::RememberConditions() {
    try {
        koruba::saveConditions(conditions_);
    } catch (const koruba::ERegistryException& failure) {
        // The conditions hold for this run; only remembering them failed.
        QMessageBox::critical(this, koruba::ApplicationTitle, failure.Message());
    }
}

void TMainF::DrawBay(koruba::BayAddress bay) {
    ImageControl* image = BayImage(koruba::tagOfBay(bay));
    if (image == nullptr) {
        return;
    }
    koruba::DrawBay(image->picture(), model_.Bays().Cell(bay),
                    koruba::bayMultiplierCap(conditions_.rules));
    image->refresh();
    image->setAccessibleDescription(
        BayContentText(model_.Bays().Cell(bay), koruba::bayMultiplierCap(conditions_.rules)));
}

void TMainF::FillBraceSizeList(std::int32_t elementKind) {
    const QSignalBlocker blocker(SjList);
    SjList->clear();
    for (std::int32_t row = 0; row < static_cast<std::int32_t>(koruba::kBraceSizes.size()); ++row) {
        auto* listItem = new QListWidgetItem(BraceSizeItem(row, elementKind), SjList);
        listItem->setSizeHint(QSize(SjList->viewport()->width(), ListItemHeight));
    }
}

ImageControl* TMainF::BayImage(std::int32_t tag) const {
    return tag >= 1 && tag <= 4 ? drwSj[static_cast<std::size_t>(tag - 1)] : nullptr;
}
