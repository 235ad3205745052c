#include "report/FontMessages.h"

#include <QRegularExpression>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <mutex>

namespace koruba {

namespace {

QtMessageHandler previousHandler = nullptr;

bool isMissingScriptWarning(QtMsgType type, const QString& message) {
    static const QRegularExpression kPattern(
        QStringLiteral("^\\s*OpenType support missing for \".*\", script \\d+$"));
    return type == QtWarningMsg && kPattern.match(message).hasMatch();
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isMissingScriptWarning(type, message)) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

} // namespace

void quietMissingScriptWarnings() {
    static std::once_flag once;
    std::call_once(once, [] { previousHandler = qInstallMessageHandler(filterMessage); });
}

} // namespace koruba
