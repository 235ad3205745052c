#include "calc/CalcConditions.h"
#include "cli/BatchRun.h"
#include "cli/BayToken.h"
#include "cli/ColumnInput.h"
#include "cli/ColumnPanelText.h"
#include "cli/HouseRecords.h"
#include "cli/RecordReader.h"
#include "columns/HouseFile.h"
#ifdef KORUBA_WITH_SHEET
#include "cli/SheetPath.h"
#include "cli/SheetRoute.h"
#include "report/SheetPdf.h"
#endif

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#ifndef KORUBA_VERSION
#error "KORUBA_VERSION must be defined by the build"
#endif

namespace {

// Exit codes: every record computed, some record failed, the command line
// or the files could not be used.
constexpr int kExitOk = 0;
constexpr int kExitRecordFailed = 1;
constexpr int kExitUsage = 2;

void printError(const QString& text) {
    std::fprintf(stderr, "koruba-x-calc: %s\n", text.toLocal8Bit().constData());
}

// Whether standard input was open when the program started. A closed
// descriptor 0, 1 or 2 is held on /dev/null, opened the wrong way round so
// that reading or writing it fails (EBADF): the toolkit opens files (an
// eventfd) that would take the lowest free descriptor, and the batch must
// never read or write such a file as its input or output.
bool holdStandardStreams() {
    bool inputOpen = true;
#if defined(__unix__) || defined(__APPLE__)
    for (const int fd : {0, 1, 2}) {
        if (fcntl(fd, F_GETFD) != -1) {
            continue;
        }
        const int held = open("/dev/null", fd == 1 ? O_RDONLY : O_WRONLY);
        if (held >= 0 && held != fd) {
            dup2(held, fd);
            close(held);
        }
        inputOpen = inputOpen && fd != 0;
    }
#elif defined(_WIN32)
    inputOpen = _fileno(stdin) >= 0;
#endif
    return inputOpen;
}

// Writes text to standard output (buffered); false when it failed.
bool writeText(std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

// Flushes standard output; a failure (a full disk, a closed pipe, a
// closed standard output) is reported, so that no failed write ends as
// success.
bool flush(bool written) {
    if (written && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return true;
    }
    printError(QStringLiteral("cannot write the output: %1")
                   .arg(errno == EBADF
                            ? QStringLiteral("standard output is closed; redirect it to a file "
                                             "or /dev/null")
                            : QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO))));
    return false;
}

bool writeOut(std::string_view text) {
    errno = 0;
    return flush(writeText(text));
}

// The C library of Windows opens the standard streams in text mode, which
// writes every "\n" as "\r\n" and ends a read at the first Ctrl-Z: the
// records must pass byte for byte, as on every other system.
void useBinaryStandardStreams() {
#ifdef _WIN32
    for (std::FILE* stream : {stdin, stdout}) {
        if (_fileno(stream) >= 0) { // a closed stream has no descriptor
            _setmode(_fileno(stream), _O_BINARY);
        }
    }
#endif
}

// Opens an input file for reading, as bytes; null with errno set when it
// cannot be. A sheet opens its input again through this for every pass. On
// Windows an 8-bit name reaches only the files that the ANSI code page can
// spell, so the name goes as UTF-16.
std::FILE* openInput(const QString& file) {
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(file.utf16()), L"rb");
#else
    return std::fopen(QFile::encodeName(file).constData(), "rb");
#endif
}

// A house file is at most this long; a plan of a few hundred columns is
// well under a megabyte.
constexpr qint64 kHouseFileLimit = 16 * 1024 * 1024;

// The records of a house file: one per column and storey. A house the
// reader refuses is bad input (exit 1, the reader's message names the
// member and the place); a file that cannot be read is a file error.
int runHouse(const QString& file, const QString& format, bool byteOrderMark,
             const std::optional<koruba::RuleSet>& rules) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(file, in.errorString()));
        return kExitUsage;
    }
    if (in.size() > kHouseFileLimit) {
        printError(QStringLiteral("%1: a house file may be up to 16 MiB long; not read").arg(file));
        return kExitRecordFailed;
    }
    const QByteArray text = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        printError(QStringLiteral("cannot read %1: %2").arg(file, in.errorString()));
        return kExitUsage;
    }
    koruba::House house;
    std::string error;
    if (!koruba::columns::readHouse(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())), house,
            error)) {
        printError(file + QStringLiteral(": ") + QString::fromStdString(error));
        return kExitRecordFailed;
    }
    // A house names its rules; it is never computed under another set.
    if (rules && *rules != house.rules) {
        printError(QStringLiteral("--rules %1: %2 names the %3 rules; a house is computed "
                                  "under the rules it names")
                       .arg(static_cast<int>(*rules))
                       .arg(file)
                       .arg(static_cast<int>(house.rules)));
        return kExitUsage;
    }
    return writeOut(format == QLatin1String("jsonl") ? koruba::cli::houseJsonLines(house)
                                                     : koruba::cli::houseCsv(house, byteOrderMark))
               ? kExitOk
               : kExitUsage;
}

int runOneColumn(const QCommandLineParser& parser, const QStringList& bayOptions,
                 koruba::RuleSet rules) {
    using namespace koruba::cli;
    ColumnInput column;
    std::string error;
    if (!parsePatternText(parser.value(QStringLiteral("pattern")).toStdString(), column.pattern,
                          error)) {
        printError(QString::fromStdString("--pattern: " + error));
        return kExitUsage;
    }
    column.reversed = parser.isSet(QStringLiteral("reversed")) ? 1 : 0;
    column.conditions.rules = rules;
    for (const auto& [name, cm] : {std::pair{QStringLiteral("h1"), &column.conditions.h1Cm},
                                   std::pair{QStringLiteral("h2"), &column.conditions.h2Cm}}) {
        if (parser.isSet(name) &&
            !koruba::parseStoreyHeight(parser.value(name).toStdString(), *cm, error)) {
            printError(QStringLiteral("--%1: ").arg(name) + QString::fromStdString(error));
            return kExitUsage;
        }
    }
    if (const auto e = koruba::conditionsError(column.conditions, StoreyCountOf(column.pattern))) {
        printError(QString::fromStdString(*e).replace(QStringLiteral("height h"),
                                                      QStringLiteral("height --h")));
        return kExitUsage;
    }
    for (int b = 0; b < 4; ++b) {
        const QString& name = bayOptions[b];
        if (!parseBayToken(parser.value(name).toStdString(),
                           column.bays[static_cast<std::size_t>(b)], error)) {
            printError(QStringLiteral("--%1: ").arg(name) + QString::fromStdString(error));
            return kExitUsage;
        }
    }
    const std::string text = columnPanelText(computeColumn(column), StoreyCountOf(column.pattern));
    return writeOut(text) ? kExitOk : kExitUsage;
}

int runTool(int argc, char* argv[], bool stdinOpen) {
#ifdef KORUBA_WITH_SHEET
    const auto app = koruba::cli::makeApplication(argc, argv);
    const koruba::cli::SheetOptions sheetOptions;
#else
    QCoreApplication app(argc, argv);
#endif
    QCoreApplication::setApplicationName(QStringLiteral("koruba-x-calc"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORUBA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Computes the N value of column-end joints of timber frames and names the joint "
        "hardware, for one column given by options or for a batch of columns in CSV or "
        "JSON Lines.\n\n"
        "A bay is a token: empty or - for an empty bay; a brace R (rising to the right), "
        "L (rising to the left) or X (cross) with the size 15, 30, 45 or 90, optionally "
        "followed by x90; a panel P with its multiplier 0.5, 1.0, ... 5.0 (P2 is P2.0); "
        "brace and panel joined by +. Examples: L45, X90+P2.5, P1.0. Bays: 1 upper left, "
        "2 upper right, 3 lower left, 4 lower right.\n\n"
        "A FILE whose name ends in .kxhouse is a house: one record per column and storey, "
        "with both directions and the governing N.\n\n"
        "Exit status: 0 all computed, 1 some record failed, 2 usage or file error."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Batch format: csv or jsonl (default: from the file name, else csv)."),
        QStringLiteral("csv|jsonl"));
    const QCommandLineOption noBomOption(
        QStringLiteral("no-bom"), QStringLiteral("Write CSV without the UTF-8 byte order mark."));
    const QCommandLineOption safeOption(
        QStringLiteral("spreadsheet-safe"),
        QStringLiteral("Prefix CSV cells copied from the input that start with =, +, -, @, tab or "
                       "carriage return with an apostrophe, so that a spreadsheet opening the "
                       "file does not run them as formulas. Such a file is for reading, not for "
                       "reading back."));
    const QCommandLineOption jobsOption(
        QStringLiteral("jobs"),
        QStringLiteral("Accepted for older scripts and ignored: the tool computes in one pass."),
        QStringLiteral("n"));
    const QCommandLineOption patternOption(
        QStringLiteral("pattern"),
        QStringLiteral("Compute one column of frame pattern 21, 22, 11, 12 or 13."),
        QStringLiteral("tag"));
    const QCommandLineOption reversedOption(QStringLiteral("reversed"),
                                            QStringLiteral("The pattern is mirrored."));
    const QCommandLineOption rulesOption(
        QStringLiteral("rules"),
        QStringLiteral("Rule set: 2000 (the 2000 notification, default) or 2025 (with the "
                       "storey-height factor f(H)). In a batch, a record may name its own rules "
                       "(a rules or rule_set column or member), which overrides --rules for "
                       "that record."),
        QStringLiteral("2000|2025"));
    const QCommandLineOption h1Option(
        QStringLiteral("h1"),
        QStringLiteral("With --pattern and --rules 2025: the height of the column's storey in "
                       "metres (2.00 to 4.50)."),
        QStringLiteral("m"));
    const QCommandLineOption h2Option(
        QStringLiteral("h2"),
        QStringLiteral("With --pattern and --rules 2025: the height of the storey above, for "
                       "two-storey patterns."),
        QStringLiteral("m"));
    parser.addOption(formatOption);
    parser.addOption(noBomOption);
    parser.addOption(safeOption);
    parser.addOption(jobsOption);
    parser.addOption(patternOption);
    parser.addOption(reversedOption);
    parser.addOption(rulesOption);
    parser.addOption(h1Option);
    parser.addOption(h2Option);
    QStringList bayOptions;
    for (int b = 1; b <= 4; ++b) {
        bayOptions << QStringLiteral("bay%1").arg(b);
        parser.addOption(QCommandLineOption(
            bayOptions.back(), QStringLiteral("Token of bay %1.").arg(b), QStringLiteral("token")));
    }
#ifdef KORUBA_WITH_SHEET
    sheetOptions.addTo(parser);
#endif
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Batch input (default: standard input)."),
                                 QStringLiteral("[FILE]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        return writeOut(parser.helpText().toStdString()) ? kExitOk : kExitUsage;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        const QString version = QCoreApplication::applicationName() + QLatin1Char(' ') +
                                QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return writeOut(version.toStdString()) ? kExitOk : kExitUsage;
    }

    koruba::RuleSet rules = koruba::RuleSet::Notice2000;
    if (std::string error;
        parser.isSet(rulesOption) &&
        !koruba::parseRuleSet(parser.value(rulesOption).toStdString(), rules, error)) {
        printError(QStringLiteral("--rules: ") + QString::fromStdString(error));
        return kExitUsage;
    }

    const QStringList files = parser.positionalArguments();
    bool oneColumn = parser.isSet(patternOption) || parser.isSet(reversedOption) ||
                     parser.isSet(h1Option) || parser.isSet(h2Option);
    for (const QString& b : bayOptions) {
        oneColumn = oneColumn || parser.isSet(b);
    }
#ifdef KORUBA_WITH_SHEET
    const bool sheetCompanions = parser.isSet(sheetOptions.only) ||
                                 parser.isSet(sheetOptions.project) ||
                                 parser.isSet(sheetOptions.designer);
    if (parser.isSet(sheetOptions.sheet) ? oneColumn : sheetCompanions) {
        printError(oneColumn
                       ? QStringLiteral("--sheet needs a batch FILE, not --pattern")
                       : QStringLiteral("--sheet-only, --project and --designer need --sheet"));
        return kExitUsage;
    }
#endif
    if (oneColumn) {
        if (!parser.isSet(patternOption)) {
            printError(
                QStringLiteral("--reversed, --h1, --h2 and --bay1 .. --bay4 need --pattern"));
            return kExitUsage;
        }
        if (!files.isEmpty() || parser.isSet(formatOption) || parser.isSet(jobsOption)) {
            printError(QStringLiteral("--pattern computes one column and reads no file"));
            return kExitUsage;
        }
        return runOneColumn(parser, bayOptions, rules);
    }
    if (files.size() > 1) {
        printError(QStringLiteral("one input file at most"));
        return kExitUsage;
    }

    const QString file = files.isEmpty() ? QStringLiteral("-") : files.front();
    QString format = parser.value(formatOption).toLower();
    if (file.endsWith(QLatin1String(koruba::columns::kHouseSuffix.data()), Qt::CaseInsensitive)) {
        if (!format.isEmpty() && format != QLatin1String("csv") &&
            format != QLatin1String("jsonl")) {
            printError(QStringLiteral("--format must be csv or jsonl, not \"%1\"").arg(format));
            return kExitUsage;
        }
        // The names of a house are written as the file gives them; rather
        // than a file that looks safe and is not, the option is refused.
        if (parser.isSet(safeOption)) {
            printError(QStringLiteral("--spreadsheet-safe applies to column batches, not to a "
                                      "house file"));
            return kExitUsage;
        }
#ifdef KORUBA_WITH_SHEET
        if (parser.isSet(sheetOptions.sheet)) {
            printError(QStringLiteral("--sheet is not available for a house file yet"));
            return kExitUsage;
        }
#endif
        return runHouse(file, format, !parser.isSet(noBomOption),
                        parser.isSet(rulesOption) ? std::optional(rules) : std::nullopt);
    }
    if (format.isEmpty()) {
        const QString suffix = QFileInfo(file).suffix().toLower();
        format = (suffix == QLatin1String("jsonl") || suffix == QLatin1String("json"))
                     ? QStringLiteral("jsonl")
                     : QStringLiteral("csv");
    }
    koruba::cli::InputFormat inputFormat = koruba::cli::InputFormat::Csv;
    if (format == QLatin1String("jsonl")) {
        inputFormat = koruba::cli::InputFormat::JsonLines;
    } else if (format != QLatin1String("csv")) {
        printError(QStringLiteral("--format must be csv or jsonl, not \"%1\"").arg(format));
        return kExitUsage;
    }
    koruba::cli::BatchOptions options;
    options.byteOrderMark = !parser.isSet(noBomOption);
    options.spreadsheetSafe = parser.isSet(safeOption);

    std::FILE* in = stdin;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(nullptr, &std::fclose);
    if (file != QLatin1String("-")) {
        opened.reset(openInput(file));
        if (!opened) {
            printError(QStringLiteral("cannot read %1: %2")
                           .arg(file, QString::fromLocal8Bit(std::strerror(errno))));
            return kExitUsage;
        }
        in = opened.get();
    } else if (!stdinOpen) {
        printError(QStringLiteral("standard input is closed; give a FILE or redirect the input"));
        return kExitUsage;
    }

#ifdef KORUBA_WITH_SHEET
    // Checked before anything is read or written, and again just before
    // the sheet replaces the file.
    const auto sheetPathRefused = [&] {
        const QString path = parser.value(sheetOptions.sheet);
        const auto problem = koruba::cli::sheetPathProblem(
            path.toStdString(), file == QLatin1String("-") ? std::string() : file.toStdString(),
            !parser.isSet(sheetOptions.only));
        if (problem) {
            printError(
                QStringLiteral("--sheet %1: %2").arg(path, QString::fromStdString(*problem)));
        }
        return problem.has_value();
    };
    if (parser.isSet(sheetOptions.sheet) && sheetPathRefused()) {
        return kExitUsage;
    }
#endif

    koruba::cli::ReadFunction read = koruba::cli::readFromFile(in);
    koruba::cli::WriteFunction write = writeText;
#ifdef KORUBA_WITH_SHEET
    // The sheet reads the records again for every pass it makes, from a
    // file rather than memory.
    const bool sheet = parser.isSet(sheetOptions.sheet);
    const auto input = std::make_shared<koruba::cli::SheetInput>();
    if (sheet) {
        if (QString error; !input->open(file, in, openInput, error)) {
            printError(error);
            return kExitUsage;
        }
        read = input->read();
        if (parser.isSet(sheetOptions.only)) {
            write = [](std::string_view) { return true; };
        }
    }
#endif
    koruba::cli::RecordReader reader(inputFormat, std::move(read));
    // A record that names its rule set keeps it; --rules is the set of the rest.
    reader.setDefaultRules(rules);
    errno = 0;
    const koruba::cli::BatchOutcome outcome = koruba::cli::runBatch(reader, write, options);
    if (!flush(!outcome.writeFailed)) {
        return kExitUsage;
    }
    if (outcome.readFailed) {
        printError(QStringLiteral("cannot read %1: %2")
                       .arg(file == QLatin1String("-") ? QStringLiteral("standard input") : file,
                            QString::fromLocal8Bit(std::strerror(outcome.readErrno))));
        return kExitUsage;
    }
    if (!outcome.headerProblem.empty()) {
        printError(QString::fromStdString(outcome.headerProblem));
    }
#ifdef KORUBA_WITH_SHEET
    if (sheet) {
        if (sheetPathRefused()) {
            return kExitUsage;
        }
        QString error;
        if (!koruba::writeSheetPdf(
                parser.value(sheetOptions.sheet),
                koruba::cli::sheetOfInput(input, inputFormat, rules,
                                          parser.value(sheetOptions.project).toStdString(),
                                          parser.value(sheetOptions.designer).toStdString()),
                error)) {
            printError(error);
            return kExitUsage;
        }
    }
#endif
    if (outcome.failed > 0) {
        printError(QStringLiteral("%1 of %2 records failed; see their error fields")
                       .arg(outcome.failed)
                       .arg(outcome.records));
    }
    return (outcome.failed > 0 || !outcome.headerProblem.empty()) ? kExitRecordFailed : kExitOk;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool stdinOpen = holdStandardStreams();
    useBinaryStandardStreams();
    try {
        return runTool(argc, argv, stdinOpen);
    } catch (const std::bad_alloc&) {
        // Nothing that allocates: memory has just run out.
        std::fputs("koruba-x-calc: memory ran out; the run was stopped and its output is "
                   "incomplete\n",
                   stderr);
        return kExitUsage;
    }
}
