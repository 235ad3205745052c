// The program start: the application object, the main window, the hidden
// summary dialog owned by it, and the event loop until the main window has
// closed. --help and --version are answered on the terminal before any
// window system is needed; a house file (*.kxhouse) named on the command
// line opens in the plan window, any other file as a column list; other
// arguments are not the program's business (the
// toolkit takes its own, such as -platform, first).

#include "app/QtTranslations.h"
#include "app/TerminalRequest.h"
#include "draw/JapaneseFonts.h"
#include "ui/calculator/MainForm.h"
#include "ui/columnlist/ColumnListLink.h"
#include "ui/plan/PlanLink.h"
#include "ui/services/LibComm_01.h"
#include "ui/sheet/SheetActions.h"
#include "ui/summary/GaiyoForm.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <exception>
#include <iostream>

namespace {

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/koruba-x-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto request = koruba::FindTerminalRequest(argc, argv)) {
        return koruba::AnswerTerminalRequest(*request, std::cout);
    }
    QApplication app(argc, argv);
    // The name, not the display name: Qt appends a display name to every
    // window title on X11, and the caption is to read exactly
    // "KORUBA-X    Ver.1.0.0".
    QApplication::setApplicationName(koruba::ApplicationTitle);
    QApplication::setOrganizationName(QStringLiteral("コルバ工房"));
    QApplication::setApplicationVersion(QStringLiteral(KORUBA_FILE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.koruba.KorubaX"));
    // Before the first widget: Qt's dialogs and standard buttons speak
    // Japanese like the rest of the program, on any system language.
    koruba::installQtTranslations(app, koruba::qtTranslationFolders());
    koruba::EnsureJapaneseFontSubstitutions();

    try {
        TMainF mainF;
        // Owned by the main window, so that closing the main window ends
        // the program with the dialog, open or hidden.
        // Its contents are built when it is first shown: the first frame
        // does not need them.
        auto* gaiyoF = new koruba::TGaiyoF(&mainF, koruba::TGaiyoF::Contents::OnFirstShow);
        gaiyoF->hide();
        mainF.SetSummaryDialog(gaiyoF);
        koruba::installSheetActions(mainF);
        mainF.show();
        // Decoding the eight icon bitmaps took a third of the window's
        // construction; the window manager gets them right after the
        // first frame instead of before it.
        QTimer::singleShot(0, &app, [] { QApplication::setWindowIcon(ApplicationIcon()); });
        QStringList lists;
        QStringList houses;
        for (const QString& file : QApplication::arguments().mid(1)) {
            (koruba::isHouseFile(file) ? houses : lists).append(file);
        }
        koruba::installColumnList(mainF, lists);
        koruba::installPlanWindow(mainF, houses);
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, koruba::ApplicationTitle, QString::fromUtf8(error.what()));
        return 1;
    }
}
