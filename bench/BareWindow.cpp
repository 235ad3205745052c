// The yardstick of the start-up benchmark: a bare Qt 6 window of the main
// window's size, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(344, 451);
    window.setWindowTitle(QStringLiteral("bare"));
    window.show();
    return QApplication::exec();
}
