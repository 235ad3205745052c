#include "ui/calculator/CompanionLink.h"

#include <QWidget>
#include <QWindow>

namespace koruba {

void activateWindowOf(QWidget& widget) {
    widget.activateWindow();
    if (QWindow* handle = widget.window()->windowHandle()) {
        handle->requestActivate();
    }
}

} // namespace koruba
