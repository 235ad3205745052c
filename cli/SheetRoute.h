#pragma once

#include "calc/CalcConditions.h"
#include "columns/RecordReader.h"
#include "report/SheetDescription.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>

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

// The input of a run that writes a sheet, read from a file for the usual
// output and again for every pass the sheet makes over its rows, so that
// memory does not grow with it: a named regular file is opened anew for
// each pass; standard input, a pipe or a device is first copied once to a
// private temporary file, removed when this is destroyed. Every pass must
// read the bytes the first one read: when the file changed during the run,
// or could not be read again, problem() says so and the sheet, whose rows
// would not be the output's, must not be written.
class SheetInput {
public:
    using OpenFunction = std::FILE* (*)(const QString& path);

    SheetInput();
    ~SheetInput();
    SheetInput(const SheetInput&) = delete;
    SheetInput& operator=(const SheetInput&) = delete;

    // file as the user named it ("-" for standard input), in the stream
    // already opened for it; openFile opens a file for reading (errno says
    // why not). False with a message naming the path and the reason when
    // the input cannot be copied.
    bool open(const QString& file, std::FILE* in, OpenFunction openFile, QString& error);
    // The input's bytes from the start, read anew by each function made.
    columns::ReadFunction read() const;
    // Empty while every pass that reached the end read the same bytes.
    std::string problem() const;

private:
    struct State;
    struct Pass;
    std::shared_ptr<State> state_;
};

// The sheet of every record of the input, in order: a record's name is its
// name cell or member, else its id, else its lines; a record that fails
// keeps its pattern (when it was read) and its error. The rules are read
// as the batch reads them (columns::RecordReader::setDefaultRules). The records are
// not held: the sheet reads input again for every pass it makes over its
// rows.
SheetDescription sheetOfInput(std::shared_ptr<const SheetInput> input,
                              columns::ColumnFileFormat format, RuleSet rules,
                              const std::string& project, const std::string& designer);

} // namespace koruba::cli
