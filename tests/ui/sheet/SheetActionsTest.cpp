#include "ui/sheet/SheetActions.h"
#include "tests/ui/calculator/MainFormTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace mainform_test;

namespace {

// The text of a PDF without white space.
QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral(KORUBA_PDFTOTEXT), {pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput())
        .remove(QRegularExpression(QStringLiteral("\\s")));
}

// Closes the next modal box once it is up and keeps its text.
void closeNextBox(QString& text) {
    QTimer::singleShot(0, [&text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->close();
        }
    });
}

} // namespace

class SheetActionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void actionsAreTheWindowsOwn();
    void savesTheCurrentColumnAndRemembersTheTexts();
    void statesTheWindowsRules();
    void unwritablePathIsReportedAndLeavesNoFile();
    void noPatternMakesNoSheet();

private:
    std::unique_ptr<TMainF> window_;
    koruba::SheetActions* actions_ = nullptr;
    QTemporaryDir dir_;
    QList<koruba::SheetInfo> offered_;
    QString path_;
};

void SheetActionsTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    QStandardPaths::setTestModeEnabled(true);
}

void SheetActionsTest::init() {
    window_ = std::make_unique<TMainF>();
    actions_ = koruba::installSheetActions(*window_);
    offered_.clear();
    path_ = dir_.filePath(QStringLiteral("column.pdf"));
    QFile::remove(path_);
    actions_->askInfo = [this](QWidget*, const koruba::SheetInfo& info) {
        offered_ << info;
        return std::optional<koruba::SheetInfo>(
            koruba::SheetInfo{QStringLiteral("山田邸"), QStringLiteral("佐藤"),
                              QStringLiteral("X%1").arg(offered_.size())});
    };
    actions_->askPdfPath = [this](QWidget*, const QString&) { return path_; };
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void SheetActionsTest::cleanup() {
    window_.reset();
}

void SheetActionsTest::actionsAreTheWindowsOwn() {
    const QList<QAction*> actions = window_->actions();
    QVERIFY(actions.contains(actions_->printAction()));
    QVERIFY(actions.contains(actions_->previewAction()));
    QVERIFY(actions.contains(actions_->savePdfAction()));
    QCOMPARE(actions_->printAction()->text(), QStringLiteral("計算書を印刷(&P)…"));
    QCOMPARE(actions_->savePdfAction()->text(), QStringLiteral("計算書をPDFに保存(&S)…"));
    QCOMPARE(actions_->printAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    // The window's context menu lists its actions.
    QCOMPARE(window_->contextMenuPolicy(), Qt::ActionsContextMenu);
}

// The sheet states the rules the window computes under, with the heights.
void SheetActionsTest::statesTheWindowsRules() {
    QVERIFY(window_->setConditions({koruba::RuleSet::Revision2025, 330, 300}));
    ChoosePattern(window_.get(), 21);
    actions_->savePdfAction()->trigger();
    const QString text = pdfText(path_);
    QVERIFY(text.contains(QStringLiteral("適用規準：2025年改正（階高補正）")));
    QVERIFY(text.contains(QStringLiteral("3.30")) && text.contains(QStringLiteral("3.30/2.7")));
    QVERIFY(text.contains(QStringLiteral("X1：H1が3.2mを超える")));
}

void SheetActionsTest::savesTheCurrentColumnAndRemembersTheTexts() {
    ChoosePattern(window_.get(), 21);
    ClickBay(window_.get(), 1);
    const QString nLine = Text(window_.get(), QStringLiteral("Lbl_Nti"));
    const QString n =
        QRegularExpression(QStringLiteral("= (-?\\d+\\.\\d\\d)")).match(nLine).captured(1);
    QVERIFY2(!n.isEmpty(), qPrintable(nLine));

    actions_->savePdfAction()->trigger();
    const QString text = pdfText(path_);
    QVERIFY2(text.contains(QStringLiteral("物件名：山田邸")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral("設計者：佐藤")));
    QVERIFY(text.contains(QStringLiteral("X1")));
    QVERIFY(text.contains(n));
    QVERIFY(text.contains(Text(window_.get(), QStringLiteral("Lbl_KanaName")).remove(u' ')));

    // The second sheet is offered the first one's answers.
    actions_->savePdfAction()->trigger();
    QCOMPARE(offered_.size(), 2);
    QCOMPARE(offered_[1].project, QStringLiteral("山田邸"));
    QCOMPARE(offered_[1].designer, QStringLiteral("佐藤"));
    QCOMPARE(offered_[1].column, QStringLiteral("X1"));
    QVERIFY(pdfText(path_).contains(QStringLiteral("X2")));
}

void SheetActionsTest::unwritablePathIsReportedAndLeavesNoFile() {
    ChoosePattern(window_.get(), 13);
    path_ = dir_.filePath(QStringLiteral("missing/column.pdf"));
    QString message;
    closeNextBox(message);
    actions_->savePdfAction()->trigger();
    QVERIFY2(message.contains(path_), qPrintable(message));
    QVERIFY(!QFileInfo::exists(path_));
}

void SheetActionsTest::noPatternMakesNoSheet() {
    QString message;
    closeNextBox(message);
    actions_->savePdfAction()->trigger();
    QVERIFY(!message.isEmpty());
    QVERIFY(offered_.isEmpty());
    QVERIFY(!QFileInfo::exists(path_));
}

QTEST_MAIN(SheetActionsTest)
#include "SheetActionsTest.moc"
