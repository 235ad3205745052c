// Writes the program's icon files into a resources folder: the scalable
// koruba-x.svg and icons/koruba-x-<size>.png for every shipped size. Run
// by the koruba_update_icons target after the icon's drawing has changed;
// the files it writes are kept under version control so that a build needs
// no drawing tool.

#include "app/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: koruba-x-icon <resources folder>\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("icons"))) {
        err << "cannot create " << folder.filePath(QStringLiteral("icons")) << '\n';
        return 1;
    }
    QFile svg(folder.filePath(QStringLiteral("koruba-x.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(koruba::AppIconSvg()) < 0 || !svg.flush()) {
        err << "cannot write " << svg.fileName() << '\n';
        return 1;
    }
    for (const int size : koruba::AppIconSizes) {
        const QString name = folder.filePath(QStringLiteral("icons/koruba-x-%1.png").arg(size));
        if (!koruba::RenderAppIcon(size).save(name, "PNG")) {
            err << "cannot write " << name << '\n';
            return 1;
        }
    }
    return 0;
}
