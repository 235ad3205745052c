#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTabWidget;

namespace koruba {

// The usage and calculation summary window: the two N-value formulas, the
// three brace-correction tables, the hardware list and the steps of use,
// and a last tab with the 2025 rules and how to choose them.
// Its content is fixed; it exchanges no data with the rest of the program.
//
// The program keeps one instance for the whole run, created hidden with
// the main window as its parent; the main window's summary button shows,
// raises and activates it. The window is non-modal and stays on top; its
// button, Enter and the close box hide it (it is never destroyed before the
// program ends) and Escape does nothing. The first show centres it over
// the main window; later shows keep the place and the tab the user left.
// It never keeps the program running: closing the main window ends the
// program whether the dialog is shown or not.
class TGaiyoF : public QDialog {
    Q_OBJECT

public:
    // When the tabs' contents are built: at once, or when the dialog is
    // first shown, so that a program start that never opens it does not
    // pay for its labels, fonts and pictures.
    enum class Contents { Now, OnFirstShow };

    // parent: the main window, over which the first show centres the
    // dialog and with which it ends.
    explicit TGaiyoF(QWidget* parent = nullptr, Contents contents = Contents::Now);

    bool ContentsBuilt() const { return contentsBuilt_; }

    // The widget to centre over on the first show when that is not the
    // parent (for a dialog created without one).
    void SetPlacementReference(QWidget* reference);

    // Builds the contents before the first show, while the dialog and its
    // pages are still hidden.
    void setVisible(bool visible) override;

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildContents();
    void BuildFormulaTabs(QTabWidget* pages);
    void BuildHardwareTab(QTabWidget* pages);
    void BuildUsageTab(QTabWidget* pages);
    void BuildRulesTab(QTabWidget* pages);
    void PlaceFirstTime();

    QPointer<QWidget> reference_;
    QTabWidget* pages_ = nullptr;
    bool placed_ = false;
    bool contentsBuilt_ = false;
};

} // namespace koruba
