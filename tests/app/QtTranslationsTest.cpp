// Qt's own texts in Japanese: the buttons of a message box that asks to
// save, and the program's own translations folder before Qt's.
#include "app/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void saveQuestionIsJapaneseOnAnEnglishSystem();
};

void QtTranslationsTest::saveQuestionIsJapaneseOnAnEnglishSystem() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString system = QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                               .filePath(QStringLiteral("qtbase_ja.qm"));
    QVERIFY2(QFileInfo::exists(system), "qt6-translations-l10n is not installed");

    // A folder beside the program without the file falls through to Qt's;
    // one with it is taken first.
    QTemporaryDir empty;
    QTemporaryDir shipped;
    QVERIFY(QFile::copy(system, shipped.filePath(QStringLiteral("qtbase_ja.qm"))));
    auto& app = *QCoreApplication::instance();
    QCOMPARE(koruba::installQtTranslations(app, {empty.path(), shipped.path()}),
             shipped.filePath(QStringLiteral("qtbase_ja.qm")));
    QCOMPARE(koruba::installQtTranslations(app, {empty.path()}), QString());

    QMessageBox box(QMessageBox::Question, QStringLiteral("柱リスト"),
                    QStringLiteral("保存しますか?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
    QCOMPARE(box.button(QMessageBox::Discard)->text(), QStringLiteral("変更を破棄"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
