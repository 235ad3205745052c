#include "columns/ColumnFileFormat.h"

#include "calc/PlainText.h"

namespace koruba::columns {

ColumnFileFormat formatOfPath(std::string_view path) {
    auto endsWith = [path](std::string_view suffix) {
        return path.size() >= suffix.size() &&
               equalsNoCase(path.substr(path.size() - suffix.size()), suffix);
    };
    return endsWith(".jsonl") || endsWith(".json") ? ColumnFileFormat::JsonLines
                                                   : ColumnFileFormat::Csv;
}

} // namespace koruba::columns
