// A stand-in program for the end-to-end test: shows the main window on a
// real X server and reports every result line it shows on standard
// output, so that the test script can read back what real input did.
#include "ui/calculator/MainForm.h"
#include "ui/summary/GaiyoForm.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QTextStream out(stdout);

    TMainF window;
    // The summary dialog as the program makes it: contents built when it
    // is first shown.
    auto* summary = new koruba::TGaiyoF(&window, koruba::TGaiyoF::Contents::OnFirstShow);
    summary->hide();
    window.SetSummaryDialog(summary);
    QObject::connect(&window, &TMainF::resultShown, [&] {
        const auto* nLine = window.findChild<QLabel*>(QStringLiteral("Lbl_Nti"));
        out << "RESULT " << (nLine != nullptr ? nLine->text() : QString()) << Qt::endl;
    });
    window.show();
    const int rc = QApplication::exec();
    out << "CLOSED" << Qt::endl;
    return rc;
}
