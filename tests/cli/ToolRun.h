#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace koruba::test {

// One run of koruba-x-calc (KORUBA_CALC_TOOL), as from a shell without a
// display: the tool must need none, also for a sheet.
struct ToolRun {
    int exitCode = -1; // -1 when it did not start, crashed or did not finish
    QByteArray out;
    QByteArray err;
    QString failure; // why exitCode is -1: QProcess's error, the exit status
};

// Runs the tool with args and input on its standard input; prepare may set
// up the process further (its environment, a file as standard input or
// output) before it starts.
inline ToolRun runTool(const QStringList& args, const QByteArray& input = {},
                       const std::function<void(QProcess&)>& prepare = {}) {
    QProcess process;
#ifndef Q_OS_WIN
    // Windows has no display variables to take away; under Wine an
    // environment block of the test's own making is one more difference
    // from how a user's shell starts the tool.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
#endif
    if (prepare) {
        prepare(process);
    }
    process.start(QStringLiteral(KORUBA_CALC_TOOL), args);
    if (!process.waitForStarted(10000)) {
        return {-1, {}, {}, QStringLiteral("not started: ") + process.errorString()};
    }
    if (!input.isEmpty()) {
        process.write(input);
    }
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(60000);
    ToolRun run{-1, process.readAllStandardOutput(), process.readAllStandardError(), {}};
    if (finished && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    } else {
        run.failure = (finished ? QStringLiteral("crashed, exit code 0x%1: ")
                                      .arg(static_cast<unsigned>(process.exitCode()), 0, 16)
                                : QStringLiteral("not finished: ")) +
                      process.errorString() + QStringLiteral("; standard error: ") +
                      QString::fromUtf8(run.err);
    }
    return run;
}

} // namespace koruba::test
