// The yardsticks of the start-up benchmark: a bare Qt 6 window of the main
// window's size with nothing in it, and (--japanese-text) the same window
// with one caption in the window's Japanese face. The caption is measured
// before the window is shown, as the main window's construction measures
// its first caption (the title of the element group): that starts
// fontconfig and loads the face before the map. It is the least that any
// window lettered in that face costs up to its map; the other faces of the
// first frame load as it is painted, after the map, in both.
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
        auto* caption = new QLabel(QStringLiteral("筋かい・面材"), &window);
        caption->setFont(koruba::JapaneseFont(koruba::MsPGothicWindow, 12));
        caption->move(8, 8);
        caption->adjustSize();
    }
    window.show();
    return QApplication::exec();
}
