#pragma once

#include "ui/calculator/MainForm.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

class QWidget;

namespace koruba {

// Gives a window the keyboard. A companion window is a transient window of
// the calculator, and the toolkit takes either for active while the other
// is, so that activateWindow() alone would leave the keyboard where it was.
void activateWindowOf(QWidget& widget);

// Owns a document window opened from the calculator (the column list, the
// plan), made when first asked for, and holds back the calculator's close
// while that window has changes the user wants to keep. Asked once, the
// window then goes with the calculator and does not ask again when the
// program closes its windows. The window offers maybeSave() (false when
// the user cancels) and discardAndHide().
template <typename Window> class CompanionLink : public QObject {
public:
    using Make = std::function<Window*(TMainF&)>;

    CompanionLink(TMainF& calculator, Make make)
        : QObject(&calculator), calculator_(calculator), make_(std::move(make)) {
        calculator.installEventFilter(this);
    }

    Window& window() {
        if (!window_) {
            window_ = make_(calculator_);
        }
        return *window_;
    }

    void show() {
        Window& shown = window();
        shown.show();
        shown.raise();
        activateWindowOf(shown);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &calculator_ || event->type() != QEvent::Close || !window_) {
            return false;
        }
        if (!window_->maybeSave()) {
            event->ignore();
            return true;
        }
        window_->discardAndHide();
        return false;
    }

private:
    TMainF& calculator_;
    Make make_;
    QPointer<Window> window_;
};

} // namespace koruba
