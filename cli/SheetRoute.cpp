#include "cli/SheetRoute.h"

#include "columns/FieldNames.h"
#include "report/SheetDate.h"
#include "report/SheetRowBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <zlib.h>

namespace koruba::cli {

namespace {

SheetRow rowOf(const columns::InputRecord& record) {
    ColumnOnSheet column;
    if (record.haveId) {
        column.id = record.id;
    }
    column.firstLine = record.firstLine;
    column.pattern = record.column.pattern;
    column.reversed = record.column.reversed;
    column.conditions = record.column.conditions;
    for (const columns::InputCell& cell : record.cells) {
        if (columns::normalColumnName(cell.name) == columns::kNameField && !cell.value.empty()) {
            column.nameCell = cell.value;
            break;
        }
    }
    if (record.ok()) {
        column.bays = columns::bayTableOf(record.column);
        column.result = columns::computeColumn(record.column);
    } else {
        column.error = record.error;
    }
    return sheetRowOf(std::move(column));
}

// The first project and designer that the records' cells give.
void takeHeading(const columns::InputRecord& record, std::string& project, std::string& designer) {
    for (const columns::InputCell& cell : record.cells) {
        const std::string name = columns::normalColumnName(cell.name);
        std::string* text = name == columns::kProjectField    ? &project
                            : name == columns::kDesignerField ? &designer
                                                              : nullptr;
        if (text != nullptr && text->empty() &&
            cell.value.find_first_not_of(" \t") != std::string::npos) {
            *text = cell.value;
        }
    }
}

// The records of the input made into rows anew for every pass the sheet
// makes over them: a row lives only while the layout looks at it.
class InputRows : public SheetRowSource {
public:
    InputRows(std::shared_ptr<const SheetInput> input, columns::ColumnFileFormat format,
              RuleSet rules)
        : input_(std::move(input)), format_(format), rules_(rules) {}

    void forEachRow(const std::function<void(const SheetRow&)>& visit) const override {
        columns::RecordReader reader(format_, input_->read());
        reader.setDefaultRules(rules_);
        columns::InputRecord record;
        while (reader.next(record)) {
            visit(rowOf(record));
        }
    }

    std::string problem() const override { return input_->problem(); }

private:
    std::shared_ptr<const SheetInput> input_;
    columns::ColumnFileFormat format_;
    RuleSet rules_;
};

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO));
}

} // namespace

struct SheetInput::State {
    QString name; // for messages: the file as named, or "standard input"
    QString path; // the file each pass opens
    OpenFunction openFile = nullptr;
    std::unique_ptr<QTemporaryFile> copy;
    // What the first pass that reached the end read: its size and CRC-32,
    // not its bytes, so that memory stays small. A checksum fast enough for
    // a pass per page count over gigabytes; it finds a file edited or
    // replaced during the run, it does not guard against a forger.
    bool haveDigest = false;
    uLong digest = 0;
    std::int64_t size = 0;
    std::string problem;

    void fail(std::string text) {
        if (problem.empty()) {
            problem = std::move(text);
        }
    }
};

// One pass over the input: opens its file on the first read and compares
// what it read with the first pass when it reaches the end.
struct SheetInput::Pass {
    std::shared_ptr<State> state;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{nullptr, &std::fclose};
    uLong crc = crc32(0L, Z_NULL, 0);
    std::int64_t size = 0;
    bool started = false;

    std::ptrdiff_t read(char* buf, std::size_t n) {
        State& s = *state;
        if (!started) {
            started = true;
            errno = 0;
            file.reset(s.openFile(s.path));
            if (!file) {
                const int error = errno;
                s.fail(QStringLiteral("cannot read %1 again: %2; no sheet was written")
                           .arg(s.name, errnoText(error))
                           .toStdString());
                errno = error;
                return -1;
            }
        }
        if (!file) {
            return 0;
        }
        const std::size_t got = std::fread(buf, 1, n, file.get());
        if (got > 0) {
            crc = crc32_z(crc, reinterpret_cast<const Bytef*>(buf), got);
            size += static_cast<std::int64_t>(got);
            return static_cast<std::ptrdiff_t>(got);
        }
        if (std::ferror(file.get()) != 0) {
            const int error = errno;
            s.fail(QStringLiteral("cannot read %1 again: %2; no sheet was written")
                       .arg(s.name, errnoText(error))
                       .toStdString());
            file.reset();
            errno = error;
            return -1;
        }
        file.reset();
        if (!s.haveDigest) {
            s.haveDigest = true;
            s.digest = crc;
            s.size = size;
        } else if (s.size != size || s.digest != crc) {
            s.fail(QStringLiteral("%1 changed while it was being read; no sheet was written, "
                                  "run the tool again")
                       .arg(s.name)
                       .toStdString());
        }
        return 0;
    }
};

SheetInput::SheetInput() : state_(std::make_shared<State>()) {}

SheetInput::~SheetInput() = default;

bool SheetInput::open(const QString& file, std::FILE* in, OpenFunction openFile, QString& error) {
    State& s = *state_;
    s.openFile = openFile;
    const bool standardInput = file == QLatin1String("-");
    s.name = standardInput ? QStringLiteral("standard input") : file;
    if (!standardInput && QFileInfo(file).isFile()) {
        s.path = file;
        return true;
    }
    // A stream can be read only once: its copy is read instead.
    s.copy = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                              QStringLiteral("/koruba-x-calc-XXXXXX.input"));
    if (!s.copy->open()) {
        error = QStringLiteral("cannot copy %1 to a temporary file in %2: %3")
                    .arg(s.name, QDir::toNativeSeparators(QDir::tempPath()), s.copy->errorString());
        return false;
    }
    s.path = s.copy->fileName();
    const auto copyFailed = [&] {
        error = QStringLiteral("cannot copy %1 to %2: %3")
                    .arg(s.name, QDir::toNativeSeparators(s.path), s.copy->errorString());
        return false;
    };
    std::vector<char> buffer(std::size_t{1} << 16);
    std::size_t got = 0;
    errno = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        if (s.copy->write(buffer.data(), static_cast<qint64>(got)) != static_cast<qint64>(got)) {
            return copyFailed();
        }
    }
    if (std::ferror(in) != 0) {
        error = QStringLiteral("cannot read %1: %2").arg(s.name, errnoText(errno));
        return false;
    }
    // A full disk shows only when the buffer is written out.
    if (!s.copy->flush()) {
        return copyFailed();
    }
    return true;
}

columns::ReadFunction SheetInput::read() const {
    auto pass = std::make_shared<Pass>();
    pass->state = state_;
    return [pass](char* buf, std::size_t n) { return pass->read(buf, n); };
}

std::string SheetInput::problem() const {
    return state_->problem;
}

void SheetOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({sheet, only, project, designer});
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    const bool sheet = std::any_of(argv + 1, argv + argc, [](const char* arg) {
        return std::strcmp(arg, "--sheet") == 0 || std::strncmp(arg, "--sheet=", 8) == 0;
    });
    if (!sheet) {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

SheetDescription sheetOfInput(std::shared_ptr<const SheetInput> input,
                              columns::ColumnFileFormat format, RuleSet rules,
                              const std::string& project, const std::string& designer) {
    SheetDescription sheet;
    sheet.project = project;
    sheet.designer = designer;
    sheet.date = todaysSheetDate();
    sheet.rules = rules;
    sheet.rowSource = std::make_shared<InputRows>(input, format, rules);
    // A column list keeps its sheet's heading in the file; the options
    // say otherwise when given.
    if (project.empty() || designer.empty()) {
        columns::RecordReader reader(format, input->read());
        reader.setDefaultRules(rules);
        columns::InputRecord record;
        std::string fileProject;
        std::string fileDesigner;
        while ((fileProject.empty() || fileDesigner.empty()) && reader.next(record)) {
            takeHeading(record, fileProject, fileDesigner);
        }
        if (project.empty()) {
            sheet.project = fileProject;
        }
        if (designer.empty()) {
            sheet.designer = fileDesigner;
        }
    }
    return sheet;
}

} // namespace koruba::cli
