#include "cli/SheetRoute.h"

#include "report/SheetDate.h"

#include <QDate>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace koruba::cli {

namespace {

bool isNameCell(const InputCell& cell) {
    return normalColumnName(cell.name) == "name";
}

std::string nameOf(const InputRecord& record) {
    for (const InputCell& cell : record.cells) {
        if (isNameCell(cell) && !cell.value.empty()) {
            return cell.value;
        }
    }
    if (record.haveId && !record.id.empty()) {
        return record.id;
    }
    return "line " + std::to_string(record.firstLine);
}

SheetRow rowOf(const InputRecord& record) {
    SheetRow row;
    row.name = nameOf(record);
    row.patternTag = IsPatternTag(record.column.Pattern) ? record.column.Pattern : 0;
    row.reversed = record.column.Reversed;
    row.conditions = record.column.Conditions;
    if (record.ok()) {
        row.bays = BayTableOf(record.column);
        row.result = ComputeColumn(record.column);
    } else {
        // Bays read before the fault may be only some of them: the row
        // shows the bare pattern instead of a frame that was not asked for.
        row.error = record.error;
    }
    return row;
}

// The first project and designer that the records' cells give.
void takeHeading(const InputRecord& record, std::string& project, std::string& designer) {
    for (const InputCell& cell : record.cells) {
        const std::string name = normalColumnName(cell.name);
        std::string* text = name == "project" ? &project : name == "designer" ? &designer : nullptr;
        if (text != nullptr && text->empty() &&
            cell.value.find_first_not_of(" \t") != std::string::npos) {
            *text = cell.value;
        }
    }
}

} // namespace

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

bool readWhole(std::FILE* in, std::string& text, int& error) {
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        text.append(buffer, got);
    }
    error = std::ferror(in) ? errno : 0;
    return std::ferror(in) == 0;
}

ReadFunction readFromText(const std::string& text) {
    return [&text, at = std::size_t{0}](char* buf, std::size_t n) mutable -> std::ptrdiff_t {
        const std::size_t count = std::min(n, text.size() - at);
        std::memcpy(buf, text.data() + at, count);
        at += count;
        return static_cast<std::ptrdiff_t>(count);
    };
}

SheetDescription sheetOfInput(const std::string& input, InputFormat format, RuleSet rules,
                              const std::string& project, const std::string& designer) {
    SheetDescription sheet;
    sheet.project = project;
    sheet.designer = designer;
    sheet.date = sheetDateText(QDate::currentDate());
    sheet.rules = rules;
    RecordReader reader(format, readFromText(input));
    reader.setDefaultRules(rules);
    InputRecord record;
    std::string fileProject;
    std::string fileDesigner;
    while (reader.next(record)) {
        takeHeading(record, fileProject, fileDesigner);
        sheet.rows.push_back(rowOf(record));
    }
    // A column list keeps its sheet's heading in the file; the options
    // say otherwise when given.
    if (project.empty()) {
        sheet.project = fileProject;
    }
    if (designer.empty()) {
        sheet.designer = fileDesigner;
    }
    return sheet;
}

} // namespace koruba::cli
