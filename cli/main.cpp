#include "calc/CalcConditions.h"
#include "cli/ColumnPanelText.h"
#include "cli/HouseRecords.h"
#include "columns/BatchRun.h"
#include "columns/BayToken.h"
#include "columns/ColumnFileFormat.h"
#include "columns/ColumnInput.h"
#include "columns/HouseFile.h"
#include "columns/RecordReader.h"
#ifdef KORUBA_WITH_SHEET
#include "cli/SheetPath.h"
#include "cli/SheetRoute.h"
#include "report/HouseSheet.h"
#include "report/SheetDate.h"
#include "report/SheetPdf.h"

#include <QDate>
#endif

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <tuple>
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
bool flushOutput(bool written) {
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
    return flushOutput(writeText(text));
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

// What a house run does after its records are out (its sheet): false when
// that failed, with the reason printed.
using HouseFollowUp = std::function<bool(const koruba::House&)>;

// The records of a house file: one per column and storey, unless
// writeRecords is false; then followUp, if any. A house the reader refuses
// is bad input (exit 1, the reader's message names the member and the
// place, and nothing else is written); a file that cannot be read is a
// file error.
int runHouse(const QString& file, const QString& format, bool byteOrderMark,
             const std::optional<koruba::RuleSet>& rules, bool writeRecords,
             const HouseFollowUp& followUp) {
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
    if (writeRecords &&
        !writeOut(format == QLatin1String("jsonl") ? koruba::cli::houseJsonLines(house)
                                                   : koruba::cli::houseCsv(house, byteOrderMark))) {
        return kExitUsage;
    }
    return !followUp || followUp(house) ? kExitOk : kExitUsage;
}

// What the command line asks for, read and checked before any file is
// opened: one column given by options, a house file, or a batch of columns.
struct Options {
    enum class Mode { OneColumn, House, Batch };
    Mode mode = Mode::Batch;
    koruba::RuleSet rules = koruba::RuleSet::Notice2000;
    bool rulesGiven = false;

    // One column: the option texts, checked by the run.
    QString pattern;
    bool reversed = false;
    std::optional<QString> h1;
    std::optional<QString> h2;
    std::array<QString, 4> bays;

    // A house or a batch: the file ("-" for standard input).
    QString file;
    QString houseFormat; // as given: empty, "csv" or "jsonl"
    koruba::columns::ColumnFileFormat format = koruba::columns::ColumnFileFormat::Csv;
    bool byteOrderMark = true;
    bool spreadsheetSafe = false;

    // The calculation sheet of a batch.
    std::optional<QString> sheet;
    bool sheetOnly = false;
    std::string project;
    std::string designer;
};

// The tool's own options, in the order --help lists them; the sheet's
// follow (koruba::cli::SheetOptions).
struct ToolOptions {
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("Batch format: csv or jsonl (default: from the file name, else csv)."),
        QStringLiteral("csv|jsonl")};
    QCommandLineOption noBom{QStringLiteral("no-bom"),
                             QStringLiteral("Write CSV without the UTF-8 byte order mark.")};
    QCommandLineOption safe{
        QStringLiteral("spreadsheet-safe"),
        QStringLiteral("Prefix CSV cells copied from the input that start with =, +, -, @, tab or "
                       "carriage return with an apostrophe, so that a spreadsheet opening the "
                       "file does not run them as formulas. Such a file is for reading, not for "
                       "reading back.")};
    QCommandLineOption jobs{
        QStringLiteral("jobs"),
        QStringLiteral("Accepted for older scripts and ignored: the tool computes in one pass."),
        QStringLiteral("n")};
    QCommandLineOption pattern{
        QStringLiteral("pattern"),
        QStringLiteral("Compute one column of frame pattern 21, 22, 11, 12 or 13."),
        QStringLiteral("tag")};
    QCommandLineOption reversed{QStringLiteral("reversed"),
                                QStringLiteral("The pattern is mirrored.")};
    QCommandLineOption rules{
        QStringLiteral("rules"),
        QStringLiteral("Rule set: 2000 (the 2000 notification, default) or 2025 (with the "
                       "storey-height factor f(H)). In a batch, a record may name its own rules "
                       "(a rules or rule_set column or member), which overrides --rules for "
                       "that record."),
        QStringLiteral("2000|2025")};
    QCommandLineOption h1{
        QStringLiteral("h1"),
        QStringLiteral("With --pattern and --rules 2025: the height of the column's storey in "
                       "metres (2.00 to 4.50)."),
        QStringLiteral("m")};
    QCommandLineOption h2{
        QStringLiteral("h2"),
        QStringLiteral("With --pattern and --rules 2025: the height of the storey above, for "
                       "two-storey patterns."),
        QStringLiteral("m")};
    std::array<QCommandLineOption, 4> bays{bayOption(1), bayOption(2), bayOption(3), bayOption(4)};

    static QCommandLineOption bayOption(int bay) {
        return QCommandLineOption(QStringLiteral("bay%1").arg(bay),
                                  QStringLiteral("Token of bay %1.").arg(bay),
                                  QStringLiteral("token"));
    }

    void addTo(QCommandLineParser& parser) const {
        for (const QCommandLineOption* option :
             {&format, &noBom, &safe, &jobs, &pattern, &reversed, &rules, &h1, &h2}) {
            parser.addOption(*option);
        }
        for (const QCommandLineOption& bay : bays) {
            parser.addOption(bay);
        }
    }
};

const QString kDescription = QStringLiteral(
    "Computes the N value of column-end joints of timber frames and names the joint "
    "hardware, for one column given by options or for a batch of columns in CSV or "
    "JSON Lines.\n\n"
    "A bay is a token: empty or - for an empty bay; a brace R (rising to the right), "
    "L (rising to the left) or X (cross) with the size 15, 30, 45 or 90, optionally "
    "followed by x90; a panel P with its multiplier 0.5, 1.0, ... 5.0 (P2 is P2.0); "
    "brace and panel joined by +. Examples: L45, X90+P2.5, P1.0. Bays: 1 upper left, "
    "2 upper right, 3 lower left, 4 lower right.\n\n"
    "A FILE whose name ends in .kxhouse is a house: one record per column and storey, "
    "with both directions and the governing N; --sheet writes the house's sheet.\n\n"
    "Exit status: 0 all computed, 1 some record failed, 2 usage or file error.");

// Reads the command line into options. An exit code when the run ends here
// (--help, --version, or a usage error, already reported), nothing when
// options hold a run.
std::optional<int> readOptions(Options& options) {
#ifdef KORUBA_WITH_SHEET
    const koruba::cli::SheetOptions sheetOptions;
#endif
    const ToolOptions known;
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    parser.addHelpOption();
    parser.addVersionOption();
    known.addTo(parser);
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

    if (std::string error;
        parser.isSet(known.rules) &&
        !koruba::parseRuleSet(parser.value(known.rules).toStdString(), options.rules, error)) {
        printError(QStringLiteral("--rules: ") + QString::fromStdString(error));
        return kExitUsage;
    }
    options.rulesGiven = parser.isSet(known.rules);

    const QStringList files = parser.positionalArguments();
    bool oneColumn = parser.isSet(known.pattern) || parser.isSet(known.reversed) ||
                     parser.isSet(known.h1) || parser.isSet(known.h2);
    for (const QCommandLineOption& b : known.bays) {
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
        if (!parser.isSet(known.pattern)) {
            printError(
                QStringLiteral("--reversed, --h1, --h2 and --bay1 .. --bay4 need --pattern"));
            return kExitUsage;
        }
        if (!files.isEmpty() || parser.isSet(known.format) || parser.isSet(known.jobs)) {
            printError(QStringLiteral("--pattern computes one column and reads no file"));
            return kExitUsage;
        }
        options.mode = Options::Mode::OneColumn;
        options.pattern = parser.value(known.pattern);
        options.reversed = parser.isSet(known.reversed);
        if (parser.isSet(known.h1)) {
            options.h1 = parser.value(known.h1);
        }
        if (parser.isSet(known.h2)) {
            options.h2 = parser.value(known.h2);
        }
        for (std::size_t b = 0; b < options.bays.size(); ++b) {
            options.bays[b] = parser.value(known.bays[b]);
        }
        return std::nullopt;
    }
    if (files.size() > 1) {
        printError(QStringLiteral("one input file at most"));
        return kExitUsage;
    }

    options.file = files.isEmpty() ? QStringLiteral("-") : files.front();
    options.byteOrderMark = !parser.isSet(known.noBom);
    options.spreadsheetSafe = parser.isSet(known.safe);
    const QString format = parser.value(known.format).toLower();
#ifdef KORUBA_WITH_SHEET
    if (parser.isSet(sheetOptions.sheet)) {
        options.sheet = parser.value(sheetOptions.sheet);
    }
    options.sheetOnly = parser.isSet(sheetOptions.only);
    options.project = parser.value(sheetOptions.project).toStdString();
    options.designer = parser.value(sheetOptions.designer).toStdString();
#endif
    if (options.file.endsWith(QLatin1String(koruba::columns::kHouseSuffix.data()),
                              Qt::CaseInsensitive)) {
        if (!format.isEmpty() && format != QLatin1String("csv") &&
            format != QLatin1String("jsonl")) {
            printError(QStringLiteral("--format must be csv or jsonl, not \"%1\"").arg(format));
            return kExitUsage;
        }
        // The names of a house are written as the file gives them; rather
        // than a file that looks safe and is not, the option is refused.
        if (options.spreadsheetSafe) {
            printError(QStringLiteral("--spreadsheet-safe applies to column batches, not to a "
                                      "house file"));
            return kExitUsage;
        }
        options.mode = Options::Mode::House;
        options.houseFormat = format;
        return std::nullopt;
    }
    if (format.isEmpty()) {
        options.format = koruba::columns::formatOfPath(options.file.toStdString());
    } else if (format == QLatin1String("jsonl")) {
        options.format = koruba::columns::ColumnFileFormat::JsonLines;
    } else if (format != QLatin1String("csv")) {
        printError(QStringLiteral("--format must be csv or jsonl, not \"%1\"").arg(format));
        return kExitUsage;
    }
    options.mode = Options::Mode::Batch;
    return std::nullopt;
}

int runOneColumn(const Options& options) {
    using namespace koruba::columns;
    ColumnInput column;
    std::string error;
    if (!parsePatternText(options.pattern.toStdString(), column.pattern, error)) {
        printError(QString::fromStdString("--pattern: " + error));
        return kExitUsage;
    }
    column.reversed = options.reversed ? 1 : 0;
    column.conditions.rules = options.rules;
    for (const auto& [name, text, cm] :
         {std::tuple{QStringLiteral("h1"), &options.h1, &column.conditions.h1Cm},
          std::tuple{QStringLiteral("h2"), &options.h2, &column.conditions.h2Cm}}) {
        if (*text && !koruba::parseStoreyHeight((*text)->toStdString(), *cm, error)) {
            printError(QStringLiteral("--%1: ").arg(name) + QString::fromStdString(error));
            return kExitUsage;
        }
    }
    if (const auto e =
            koruba::conditionsError(column.conditions, koruba::StoreyCountOf(column.pattern))) {
        printError(QString::fromStdString(*e).replace(QStringLiteral("height h"),
                                                      QStringLiteral("height --h")));
        return kExitUsage;
    }
    for (std::size_t b = 0; b < options.bays.size(); ++b) {
        if (!parseBayToken(options.bays[b].toStdString(), column.bays[b], error)) {
            printError(QStringLiteral("--bay%1: ").arg(b + 1) + QString::fromStdString(error));
            return kExitUsage;
        }
    }
    const std::string text =
        koruba::cli::columnPanelText(computeColumn(column), koruba::StoreyCountOf(column.pattern));
    return writeOut(text) ? kExitOk : kExitUsage;
}

// A house file: its records and, with --sheet, its calculation sheet.
int runHouseFile(const Options& options) {
    HouseFollowUp followUp;
    const bool writeRecords = !(options.sheet && options.sheetOnly);
#ifdef KORUBA_WITH_SHEET
    if (options.sheet) {
        // Checked before the house is read, and again just before the
        // sheet replaces the file.
        const QString path = *options.sheet;
        const QString file = options.file;
        const auto pathRefused = [path, file, writeRecords] {
            const auto problem =
                koruba::cli::sheetPathProblem(path.toStdString(), file.toStdString(), writeRecords);
            if (problem) {
                printError(
                    QStringLiteral("--sheet %1: %2").arg(path, QString::fromStdString(*problem)));
            }
            return problem.has_value();
        };
        if (pathRefused()) {
            return kExitUsage;
        }
        // The house names its project and designer; the options say
        // otherwise when given.
        const std::string project = options.project;
        const std::string designer = options.designer;
        followUp = [=](const koruba::House& house) {
            if (pathRefused()) {
                return false;
            }
            koruba::SheetDescription sheet =
                koruba::houseSheet(house, koruba::sheetDateText(QDate::currentDate()));
            if (!project.empty()) {
                sheet.project = project;
            }
            if (!designer.empty()) {
                sheet.designer = designer;
            }
            QString error;
            if (!koruba::writeSheetPdf(path, sheet, error)) {
                printError(error);
                return false;
            }
            return true;
        };
    }
#endif
    return runHouse(options.file, options.houseFormat, options.byteOrderMark,
                    options.rulesGiven ? std::optional(options.rules) : std::nullopt, writeRecords,
                    followUp);
}

// A batch of columns: one output record per input record, in the input's
// format, and with --sheet the calculation sheet of them all.
int runBatchFile(const Options& options, bool stdinOpen) {
    const QString& file = options.file;
    koruba::columns::BatchOptions batchOptions;
    batchOptions.byteOrderMark = options.byteOrderMark;
    batchOptions.spreadsheetSafe = options.spreadsheetSafe;

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
        const QString& path = *options.sheet;
        const auto problem = koruba::cli::sheetPathProblem(
            path.toStdString(), file == QLatin1String("-") ? std::string() : file.toStdString(),
            !options.sheetOnly);
        if (problem) {
            printError(
                QStringLiteral("--sheet %1: %2").arg(path, QString::fromStdString(*problem)));
        }
        return problem.has_value();
    };
    if (options.sheet && sheetPathRefused()) {
        return kExitUsage;
    }
#endif

    koruba::columns::ReadFunction read = koruba::columns::readFromFile(in);
    koruba::columns::WriteFunction write = writeText;
#ifdef KORUBA_WITH_SHEET
    // The sheet reads the records again for every pass it makes, from a
    // file rather than memory.
    const auto input = std::make_shared<koruba::cli::SheetInput>();
    if (options.sheet) {
        if (QString error; !input->open(file, in, openInput, error)) {
            printError(error);
            return kExitUsage;
        }
        read = input->read();
        if (options.sheetOnly) {
            write = [](std::string_view) { return true; };
        }
    }
#endif
    koruba::columns::RecordReader reader(options.format, std::move(read));
    // A record that names its rule set keeps it; --rules is the set of the rest.
    reader.setDefaultRules(options.rules);
    errno = 0;
    const koruba::columns::BatchOutcome outcome =
        koruba::columns::runBatch(reader, write, batchOptions);
    if (!flushOutput(!outcome.writeFailed)) {
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
    if (options.sheet) {
        if (sheetPathRefused()) {
            return kExitUsage;
        }
        QString error;
        if (!koruba::writeSheetPdf(*options.sheet,
                                   koruba::cli::sheetOfInput(input, options.format, options.rules,
                                                             options.project, options.designer),
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

int runTool(int argc, char* argv[], bool stdinOpen) {
#ifdef KORUBA_WITH_SHEET
    const auto app = koruba::cli::makeApplication(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    QCoreApplication::setApplicationName(QStringLiteral("koruba-x-calc"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORUBA_VERSION));

    Options options;
    if (const std::optional<int> exitCode = readOptions(options)) {
        return *exitCode;
    }
    switch (options.mode) {
    case Options::Mode::OneColumn:
        return runOneColumn(options);
    case Options::Mode::House:
        return runHouseFile(options);
    case Options::Mode::Batch:
        break;
    }
    return runBatchFile(options, stdinOpen);
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
