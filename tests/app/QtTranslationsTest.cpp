// Qt's own texts in Japanese on an English system, the program's own
// translations folder before Qt's.
#include "app/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void saveQuestionIsJapanese() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString qtFile = QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                                   .filePath(QStringLiteral("qtbase_ja.qm"));
        QTemporaryDir empty;
        QTemporaryDir shipped;
        const QString shippedFile = shipped.filePath(QStringLiteral("qtbase_ja.qm"));
        QVERIFY2(QFile::copy(qtFile, shippedFile), "qt6-translations-l10n is not installed");
        auto& app = *QCoreApplication::instance();
        QCOMPARE(koruba::installQtTranslations(app, {empty.path()}), QString());
        QCOMPARE(koruba::installQtTranslations(app, {empty.path(), shipped.path()}), shippedFile);

        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
        QCOMPARE(box.button(QMessageBox::Discard)->text(), QStringLiteral("変更を破棄"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
