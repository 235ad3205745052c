#include "ui/summary/GaiyoForm.h"

#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "calc/RuleText.h"
#include "draw/JapaneseFonts.h"
#include "ui/summary/ControlPictures.h"
#include "ui/summary/GaiyoPictureBox.h"
#include "ui/summary/GaiyoPictures.h"
#include "ui/summary/GaiyoShape.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace koruba {

namespace {

// ---- hardware table --------------------------------------------------------

struct GridColumn {
    int left;
    int width;
    Qt::Alignment align;
};
constexpr std::array<GridColumn, 5> kColumns{{
    {5, 41, Qt::AlignHCenter},   // N value
    {45, 51, Qt::AlignHCenter},  // joint strength
    {95, 36, Qt::AlignHCenter},  // notice symbol
    {130, 286, Qt::AlignLeft},   // hardware names
    {415, 86, Qt::AlignHCenter}, // allowable or yield strength
}};

// Top and height of grid row r (0 the heading, 1..11 the classes).
QRect CellRect(int row, int column) {
    int top = 5;
    int height = 26;
    if (row >= 1 && row <= 3) {
        top = 30 * row;
        height = 31;
    } else if (row >= 4) {
        top = 120 + 20 * (row - 4);
        height = 21;
    }
    const GridColumn& c = kColumns[static_cast<std::size_t>(column)];
    return {c.left, top, c.width, height};
}

// The N limit and the joint strength of each row are the calculation's own
// (jointClassRow); the other columns are the dialog's wording.
struct HardwareRow {
    const char16_t* symbol;
    const char16_t* fittings; // hardware names, lines separated by '\n'
    const char16_t* allowable;
};

// The two-line cells hold two hardware options and their strengths in the
// same order.
constexpr std::array<HardwareRow, JointClassCount> kHardware{{
    {u"(い)", u"短ほぞ差し\nかすがい(C)", u"0.00\n(1.62)"},
    {u"(ろ)", u"長ほぞ差し込み栓\nかど金物(CP･L)", u"(3.81)\n3.88"},
    {u"(は)", u"かど金物(CP･T)\n山形プレート(VP)", u"5.07\n5.88"},
    {u"(に)", u"羽子板ボルト(SB)または短ざく金物(S)", u"7.50"},
    {u"(ほ)", u"羽子板ボルト(SB+ZS50)または短ざく金物(S+ZS50)", u"8.50"},
    {u"(へ)", u"引き寄せ金物(HD-10)", u"10.00"},
    {u"(と)", u"引き寄せ金物(HD-15)", u"15.00"},
    {u"(ち)", u"引き寄せ金物(HD-20)", u"20.00"},
    {u"(り)", u"引き寄せ金物(HD-25)", u"25.00"},
    {u"(ぬ)", u"引き寄せ金物(HD-15)×２個", u"30.00"},
    {u"(る)*", u"引き寄せ金物(HD-20)×２個 (参考)", u"(40.0)"},
}};

constexpr std::array<const char16_t*, 5> kHeadings{
    u"N値", u"接合耐力(ｋN)", u" 告示  記号", u"接合金物の仕様", u"許容耐力または降伏耐力(ｋN)"};

// "0.65", "1.0": two decimals where the limit has them, else one.
QString NLimitText(float nLimit) {
    std::string text = F2(nLimit);
    if (text.back() == '0') {
        text.pop_back();
    }
    return QString::fromStdString(text);
}

QString HardwareCellText(int row, int column) {
    const JointClassRow joint = *jointClassRow(row);
    const HardwareRow& data = kHardware[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0:
        return NLimitText(joint.nLimit);
    case 1:
        return QString::fromStdString(F2(joint.strength));
    case 2:
        return QString::fromUtf16(data.symbol);
    case 3:
        return QString::fromUtf16(data.fittings);
    default:
        return QString::fromUtf16(data.allowable);
    }
}

// Every line of a hardware-name cell starts with two blanks.
QString Indented(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line.prepend(QStringLiteral("  "));
    }
    return lines.join(QLatin1Char('\n'));
}

// ---- usage tab --------------------------------------------------------------

enum class Style { Bold, Plain, Note, NoteUnderlined };

struct UsageLabel {
    const char* name;
    int left;
    int top;
    int width;
    int height;
    Style style;
    bool wrap;
    const char16_t* text;
};

constexpr std::array<UsageLabel, 19> kUsageLabels{{
    {"Label17", 2, 3, 52, 12, Style::Bold, false, u"使用方法"},
    {"Label16", 2, 20, 238, 24, Style::Bold, true,
     u"①以下の軸組パターンからＮ値を算定する     柱の軸組を選択します  (赤い柱が対象)"},
    {"Label75", 25, 50, 152, 12, Style::Plain, false, u"(1) ２階または１階下屋の出隅"},
    {"Label76", 25, 65, 176, 12, Style::Plain, false, u"(2) ２階または１階下屋の出隅以外"},
    {"Label77", 25, 80, 132, 12, Style::Plain, false, u"(3) １階、２階がともに出隅"},
    {"Label78", 25, 95, 165, 12, Style::Plain, false, u"(4) １階が出隅以外で２階が出隅"},
    {"Label79", 25, 110, 156, 12, Style::Plain, false, u"(5) １階、２階がともに出隅以外"},
    {"Label18", 2, 140, 185, 12, Style::Bold, false, u"②筋かいおよび面材を選択します"},
    {"Label20", 106, 165, 117, 22, Style::Note, true, u"筋かいと面材の同一位置配置も可能です。"},
    {"Label73", 106, 195, 126, 22, Style::Note, true,
     u"筋かいと面材の倍率合算の最大値は ｢5.0｣とします。"},
    {"Label74", 106, 220, 114, 22, Style::Note, true,
     u"このとき軸組図中の倍率に \"*\" が付きます。"},
    {"Label19", 267, 15, 155, 12, Style::Bold, false, u"③筋かい･面材を配置します"},
    {"Label44", 378, 62, 131, 22, Style::Note, true, u"非対称軸組みの左右を反転します。"},
    {"Label45", 378, 114, 131, 22, Style::Note, true,
     u"配置した筋かい･面材データをすべてクリアします。"},
    {"Label42", 265, 154, 230, 22, Style::Note, true,
     u"     エリア内で左クリックすると筋かい･面材が配置され、もう一度クリックすると削除されます。"},
    {"Label43", 265, 180, 236, 22, Style::NoteUnderlined, true,
     u"片筋かいが配置された状態で右クリックすると左右反転します。"},
    {"Label41", 267, 220, 65, 12, Style::Bold, false, u"④算定結果"},
    {"Label71", 420, 217, 85, 11, Style::Note, true, u"Ｎ値算定用諸係数"},
    {"Label72", 266, 245, 125, 21, Style::Note, true,
     u"Ｎ値・[引抜力]・金物記号・接合耐力・金物名"},
}};

struct UsagePicture {
    const char* name;
    QRect geometry;
    gaiyo::FixedPicture (*picture)();
    bool stretched;
};

const std::array<UsagePicture, 6> kUsagePictures{{
    {"Image10", QRect(0, 160, 101, 158), &gaiyo::elementGroupPicture, true},
    {"Image11", QRect(264, 35, 107, 115), &gaiyo::frameExamplePicture, false},
    {"Image12", QRect(378, 34, 106, 25), &gaiyo::reverseButtonPicture, false},
    {"Image13", QRect(378, 86, 118, 25), &gaiyo::clearButtonPicture, false},
    {"Image14", QRect(415, 227, 94, 91), &gaiyo::coefficientBoxPicture, true},
    {"Image15", QRect(233, 267, 181, 51), &gaiyo::resultBoxesPicture, true},
}};

// Labels size themselves to their text the way the window's labels do: a
// wrapping label keeps its width and grows downwards, any other grows to
// its text. The laid-out size is the least they take. The substituted
// fonts run a little wider than the faces of the layout; a wrapping label
// that would need more lines than laid out is first set a little tighter,
// so that it does not run into the item below it.
int LinesNeeded(const QLabel* label, int width) {
    const int lineHeight = QFontMetrics(label->font()).lineSpacing();
    return (label->heightForWidth(width) + lineHeight / 2) / lineHeight;
}

void FitToText(QLabel* label, QSize laidOut) {
    QSize size = laidOut;
    if (label->wordWrap()) {
        const int laidOutLines = std::max(1, (laidOut.height() + 2) / label->font().pixelSize());
        QFont font = label->font();
        for (qreal spacing = -0.25;
             spacing >= -1.0 && LinesNeeded(label, size.width()) > laidOutLines; spacing -= 0.25) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            label->setFont(font);
        }
        if (LinesNeeded(label, size.width()) > laidOutLines) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
            label->setFont(font);
        }
        size.setHeight(std::max(size.height(), label->heightForWidth(size.width())));
    } else {
        size = size.expandedTo(label->sizeHint());
    }
    label->resize(size);
}

// The last pixel row a label's lettering may reach: the bottom of its last
// line's characters, which end above the descent.
int InkBottom(const QLabel* label) {
    const int height =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    return label->y() + height - QFontMetrics(label->font()).descent() - 1;
}

// A wrapping label whose lines would reach a picture laid out below it is
// set one pixel smaller, down to 10 pixels, where the characters stay
// legible: its lines then stand closer together, and its place stays as
// laid out. (The substitute faces take a pixel more per line than the
// layout's.)
void KeepAbovePicture(QLabel* label, QSize laidOut, const QRect& picture) {
    const bool below = picture.top() > label->y() && picture.left() <= label->geometry().right() &&
                       picture.right() >= label->x();
    if (!below || !label->wordWrap()) {
        return;
    }
    constexpr int SmallestPixelSize = 10;
    QFont font = label->font();
    // One clear row between lettering and picture.
    while (InkBottom(label) >= picture.top() - 1 && font.pixelSize() > SmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
        FitToText(label, laidOut);
    }
}

QWidget* NewPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(QString::fromLatin1(name));
    // The hand pointer belongs to the tabs; the sheets take the arrow.
    page->setCursor(Qt::ArrowCursor);
    pages->addTab(page, caption);
    return page;
}

} // namespace

TGaiyoF::TGaiyoF(QWidget* parent, Contents contents)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("GaiyoF"));
    setWindowTitle(QStringLiteral("使用方法および計算概要"));
    setModal(false);
    // The dialog must not keep the program alive once the main window has
    // closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(519, 386);
    setFont(JapaneseFont(MsPGothicWindow, 12));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setGeometry(0, 0, 519, 386);
    pages_->setCursor(Qt::PointingHandCursor);
    pages_->setUsesScrollButtons(false);
    pages_->setElideMode(Qt::ElideNone);
    if (contents == Contents::Now) {
        BuildContents();
    }

    auto* button = new QPushButton(QStringLiteral("閉じる"), this);
    button->setObjectName(QStringLiteral("Button1"));
    button->setGeometry(438, 358, 75, 22);
    button->setCursor(Qt::PointingHandCursor);
    button->setDefault(true);
    button->raise();
    connect(button, &QPushButton::clicked, this, &TGaiyoF::Button1Click);
}

void TGaiyoF::SetPlacementReference(QWidget* reference) {
    reference_ = reference;
}

void TGaiyoF::Button1Click() {
    accept();
}

void TGaiyoF::keyPressEvent(QKeyEvent* event) {
    // No button of the window cancels: Escape leaves it open.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TGaiyoF::BuildContents() {
    contentsBuilt_ = true;
    BuildFormulaTabs(pages_);
    BuildHardwareTab(pages_);
    BuildUsageTab(pages_);
    BuildRulesTab(pages_);
    pages_->setCurrentIndex(0);
    // The close button was raised over an empty page control; the pages
    // added since must not cover it.
    if (auto* button = findChild<QPushButton*>(QStringLiteral("Button1"))) {
        button->raise();
    }
}

void TGaiyoF::setVisible(bool visible) {
    // A widget made inside a parent that is already shown stays hidden
    // until shown itself. By the show event the current page is shown, so
    // contents built then would leave the first tab blank: build them while
    // everything is still hidden, and the toolkit shows all of it at once.
    if (visible && !contentsBuilt_) {
        BuildContents();
    }
    QDialog::setVisible(visible);
}

void TGaiyoF::showEvent(QShowEvent* event) {
    if (!placed_) {
        PlaceFirstTime();
    }
    QDialog::showEvent(event);
}

void TGaiyoF::PlaceFirstTime() {
    placed_ = true;
    const QWidget* ref = reference_ != nullptr ? reference_.data() : parentWidget();
    const QScreen* screen = ref != nullptr ? ref->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect over = ref != nullptr ? ref->window()->frameGeometry() : avail;
    if (!over.isValid()) {
        return;
    }
    // move() places the frame; the frame's size is known once the window
    // exists, which it does by the time it is shown.
    const QSize frame = frameSize();
    QRect placed(over.center() - QPoint(frame.width() / 2, frame.height() / 2), frame);
    // Centred over a main window near the screen's edge, the dialog would
    // hang off the screen; it is pushed back so that all of it shows.
    if (avail.isValid()) {
        placed.moveRight(std::min(placed.right(), avail.right()));
        placed.moveBottom(std::min(placed.bottom(), avail.bottom()));
        placed.moveLeft(std::max(placed.left(), avail.left()));
        placed.moveTop(std::max(placed.top(), avail.top()));
    }
    // An explicit move also tells QDialog that the position is taken, so
    // that it does not centre the window again on later shows.
    move(placed.topLeft());
}

void TGaiyoF::BuildFormulaTabs(QTabWidget* pages) {
    const struct {
        const char* sheet;
        const char16_t* caption;
        const char* image;
        QSize controlSize;
        gaiyo::FixedPicture (*picture)();
    } tabs[] = {
        {"TabSheet1", u"Ｎ値計算式", "Image1", {501, 326}, &gaiyo::formulaPicture},
        {"TabSheet4", u"補正値-1", "Image2", {371, 216}, &gaiyo::oneSidePicture},
        {"TabSheet5", u"補正値-2", "Image3", {501, 266}, &gaiyo::bothSinglesPicture},
        {"TabSheet6", u"補正値-3", "Image4", {501, 291}, &gaiyo::singleBesideCrossPicture},
    };
    for (const auto& tab : tabs) {
        QWidget* page = NewPage(pages, tab.sheet, QString::fromUtf16(tab.caption));
        auto* image = new GaiyoPictureBox(tab.picture(), false, page);
        image->setObjectName(QString::fromLatin1(tab.image));
        image->setGeometry(QRect(QPoint(5, 5), tab.controlSize));
        // Built as the dialog is first shown, the first page is on screen
        // before its picture exists, and a widget made inside a visible
        // one stays hidden until it is shown itself.
        image->show();
    }
}

void TGaiyoF::BuildHardwareTab(QTabWidget* pages) {
    QWidget* page = NewPage(pages, "TabSheet2", QStringLiteral("金物一覧"));
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 511, 291);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    // The heading cells have no fill: the panel's button face shows.
    QPalette face = panel->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    panel->setPalette(face);
    panel->setAutoFillBackground(true);

    const QFont dataFont = JapaneseFont(MsGothic, 12);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);

    std::vector<QWidget*> outlines;
    for (int row = 0; row <= static_cast<int>(kHardware.size()); ++row) {
        for (int column = 0; column < static_cast<int>(kColumns.size()); ++column) {
            const QRect cell = CellRect(row, column);
            auto* label = new QLabel(panel);
            label->setObjectName(QStringLiteral("Lbl_Kana_%1_%2").arg(row).arg(column + 1));
            // The label takes the whole cell; the outlines, raised above
            // every label below, keep all borders showing.
            label->setGeometry(cell);
            if (row == 0) {
                label->setText(QString::fromUtf16(kHeadings[static_cast<std::size_t>(column)]));
                label->setAlignment(Qt::AlignCenter);
                label->setWordWrap(true);
            } else {
                QString text = HardwareCellText(row, column);
                if (column == 3) {
                    text = Indented(text);
                }
                label->setText(text);
                label->setFont(dataFont);
                label->setPalette(white);
                label->setAutoFillBackground(true);
                label->setAlignment(kColumns[static_cast<std::size_t>(column)].align |
                                    Qt::AlignVCenter);
            }
            auto* outline = new GaiyoShape(Qt::black, 1, Qt::NoBrush, panel);
            outline->setObjectName(QStringLiteral("Shape_Kana_%1_%2").arg(row).arg(column + 1));
            outline->setGeometry(cell);
            outlines.push_back(outline);
        }
    }
    for (QWidget* outline : outlines) {
        outline->raise();
    }
}

void TGaiyoF::BuildUsageTab(QTabWidget* pages) {
    QWidget* page = NewPage(pages, "TabSheet3", QStringLiteral("使用方法"));

    for (const UsagePicture& item : kUsagePictures) {
        auto* image = new GaiyoPictureBox(item.picture(), item.stretched, page);
        image->setObjectName(QString::fromLatin1(item.name));
        image->setGeometry(item.geometry);
    }

    const QFont plain = JapaneseFont(MsPGothicWindow, 12);
    const QFont bold = JapaneseFont(MsPGothicWindow, 12, true);
    QFont note = JapaneseFont(MsPGothicWindow, 11);
    QFont underlined = note;
    underlined.setUnderline(true);
    for (const UsageLabel& item : kUsageLabels) {
        auto* label = new QLabel(QString::fromUtf16(item.text), page);
        label->setObjectName(QString::fromLatin1(item.name));
        label->move(item.left, item.top);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(item.wrap);
        switch (item.style) {
        case Style::Bold:
            label->setFont(bold);
            break;
        case Style::Plain:
            label->setFont(plain);
            break;
        case Style::Note:
        case Style::NoteUnderlined: {
            label->setFont(item.style == Style::Note ? note : underlined);
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, Qt::blue);
            label->setPalette(pal);
            break;
        }
        }
        FitToText(label, QSize(item.width, item.height));
        for (const UsagePicture& picture : kUsagePictures) {
            KeepAbovePicture(label, QSize(item.width, item.height), picture.geometry);
        }
    }

    // The square stands in the blanks at the start of Label42.
    auto* square = new GaiyoShape(QColor(255, 170, 0), 2, Qt::white, page);
    square->setObjectName(QStringLiteral("Shape21"));
    square->setGeometry(265, 152, 11, 11);
    square->raise();
}

void TGaiyoF::BuildRulesTab(QTabWidget* pages) {
    QWidget* page = NewPage(pages, "TabSheet7", QStringLiteral("2025改正"));
    const auto text = [](std::string_view view) {
        return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
    };
    const RuleSet rules = RuleSet::Revision2025;
    const struct {
        const char* name;
        bool bold;
        QString text;
    } paragraphs[] = {
        {"Label81", true, text(ruleSetName(rules)) + QStringLiteral("による算定")},
        {"Label82", false,
         QStringLiteral("(1)(2) 平屋・２階の柱：") + text(ruleFormula(rules, 1)) +
             QStringLiteral("\n(3)(4)(5) ２階建ての１階の柱：") + text(ruleFormula(rules, 2))},
        {"Label83", false, text(heightFactorConditions(rules))},
        {"Label84", false,
         QStringLiteral("B・L・筋かいの補正値・接合部の仕様・引抜力（N×1.96×2.7）・端数の扱いは"
                        "2000年告示の方法と同じです。H が 3.2m を超える階は、告示の表による仕様が"
                        "使えないため N値計算が必要です（本計算）。")},
        {"Label85", false,
         QStringLiteral("既定は 2000年告示です。メイン画面を右クリックして「計算条件...」を選ぶか、"
                        "Ctrl+K を押すと、算定方法と階高 H1・H2（2.00〜4.50m）を指定できます。"
                        "指定は次回の起動にも引き継がれます。")},
    };
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    for (const auto& paragraph : paragraphs) {
        auto* label = new QLabel(paragraph.text, page);
        label->setObjectName(QString::fromLatin1(paragraph.name));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setFont(JapaneseFont(MsPGothicWindow, 12, paragraph.bold));
        layout->addWidget(label);
    }
    layout->addStretch();
}

} // namespace koruba
