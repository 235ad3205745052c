// The yardsticks of the start-up benchmark: a bare Qt 6 window of the main
// window's size with nothing in it, and (--japanese-text) the same window
// with one line in each of the two Japanese faces that the main window's
// first frame is lettered in. The lines are measured before the window is
// shown, as the main window's construction measures its captions, so the
// faces are loaded before the map: the least that any window showing the
// program's text costs.
#include "draw/JapaneseFonts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(344, 451);
    window.setWindowTitle(QStringLiteral("bare"));
    if (argc > 1 && std::strcmp(argv[1], "--japanese-text") == 0) {
        const struct {
            const QString& face;
            QString text;
        } lines[] = {{koruba::MsPGothicWindow, QStringLiteral("筋かい・面材")},
                     {koruba::MsGothic, QStringLiteral("15×90mm (1.0)")}};
        int top = 8;
        for (const auto& line : lines) {
            auto* label = new QLabel(line.text, &window);
            label->setFont(koruba::JapaneseFont(line.face, 12));
            label->move(8, top);
            label->adjustSize();
            top += 20;
        }
    }
    window.show();
    return QApplication::exec();
}
