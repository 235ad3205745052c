#pragma once

#include "calc/CalcConditions.h"
#include "cli/RecordReader.h"
#include "report/SheetDescription.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>

namespace koruba::cli {

// The batch tool's calculation sheet: --sheet FILE.pdf writes the sheet of
// every record of the input besides the usual output (or instead of it,
// with --sheet-only); --project and --designer fill its header.
struct SheetOptions {
    QCommandLineOption sheet{QStringLiteral("sheet"),
                             QStringLiteral("Also write the N-value calculation sheet of every "
                                            "record as a PDF file."),
                             QStringLiteral("file.pdf")};
    QCommandLineOption only{QStringLiteral("sheet-only"),
                            QStringLiteral("With --sheet: write nothing to standard output.")};
    QCommandLineOption project{QStringLiteral("project"),
                               QStringLiteral("With --sheet: the project name on the sheet."),
                               QStringLiteral("name")};
    QCommandLineOption designer{QStringLiteral("designer"),
                                QStringLiteral("With --sheet: the designer on the sheet."),
                                QStringLiteral("name")};

    void addTo(QCommandLineParser& parser) const;
};

// The application object: a GUI one on the offscreen platform when the
// command line asks for a sheet (its fonts need one; no display is), the
// plain core one otherwise.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);

// The whole input, read once for both the usual output and the sheet.
bool readWhole(std::FILE* in, std::string& text, int& error);
ReadFunction readFromText(const std::string& text);

// The sheet of every record of input, in order: a record's name is its
// name cell or member, else its id, else its lines; a record that fails
// keeps its pattern (when it was read) and its error. The rules are read
// as the batch reads them (RecordReader::setDefaultRules). The records are
// not held: the sheet reads input again for every pass it makes over its
// rows, so input must outlive the description.
SheetDescription sheetOfInput(const std::string& input, InputFormat format, RuleSet rules,
                              const std::string& project, const std::string& designer);

} // namespace koruba::cli
