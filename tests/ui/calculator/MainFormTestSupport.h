#pragma once

#include "ui/calculator/MainForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QTest>
#include <QToolButton>

// Finding controls of the main window by name and driving them with real
// input events, as a user would.
namespace mainform_test {

template <class T> T* Control(QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

inline QWidget* Widget(QWidget* window, const QString& name) {
    return Control<QWidget>(window, name);
}

inline QString Text(QWidget* window, const QString& label) {
    const auto* l = Control<QLabel>(window, label);
    return l != nullptr ? l->text() : QStringLiteral("<no label %1>").arg(label);
}

inline QString PatternButtonName(int tag) {
    return QStringLiteral("TlBtn_%1").arg(tag);
}

inline void ClickButton(QWidget* window, const QString& name) {
    auto* button = Control<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void ChoosePattern(QWidget* window, int tag) {
    ClickButton(window, PatternButtonName(tag));
}

// Radio buttons are clicked on their indicator, left of the caption.
inline void ClickRadio(QWidget* window, const QString& name) {
    auto* button = Control<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
}

inline QWidget* Bay(QWidget* window, int tag) {
    return Widget(window, QStringLiteral("drwSj_%1").arg(tag));
}

inline void ClickBay(QWidget* window, int tag, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* bay = Bay(window, tag);
    QVERIFY(bay != nullptr);
    QTest::mouseClick(bay, button);
}

inline void ClickListRow(QWidget* window, int row) {
    auto* list = Control<QListWidget>(window, QStringLiteral("SjList"));
    QVERIFY(list != nullptr);
    QVERIFY(row >= 0 && row < list->count());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// Chooses a row of the multiplier list by keyboard, the way a user
// without the mouse does: Home, then Down.
inline void ChooseComboRow(QWidget* window, int row) {
    auto* combo = Control<QComboBox>(window, QStringLiteral("CBox1"));
    QVERIFY(combo != nullptr);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < row; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

} // namespace mainform_test
