// A stand-in program for the end-to-end test: shows the main window on a
// real X server and reports every result line it shows on standard
// output, so that the test script can read back what real input did.
#include "ui/MainForm.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QTextStream out(stdout);

    TMainF window;
    // Stands in for the summary dialog, away from the main window.
    QWidget summary;
    summary.setWindowTitle(QStringLiteral("summary stand-in"));
    summary.setGeometry(10, 10, 200, 100);
    window.SetSummaryDialog(&summary);
    QObject::connect(&window, &TMainF::resultShown, [&] {
        const auto* nLine = window.findChild<QLabel*>(QStringLiteral("Lbl_Nti"));
        out << "RESULT " << (nLine != nullptr ? nLine->text() : QString()) << Qt::endl;
    });
    window.show();
    const int rc = QApplication::exec();
    out << "CLOSED" << Qt::endl;
    return rc;
}
