#pragma once

#include <optional>
#include <string>

namespace koruba::cli {

// Why the batch tool must not write its sheet to sheetPath, or nothing when
// it may. The sheet replaces only a regular file or takes a new name: a
// device, a FIFO, a socket or a folder is refused (writing a file there
// would replace the node, or feed a pipe half a PDF). Nor may it replace a
// file the same run reads or writes otherwise: the input file (inputPath,
// empty for standard input), the file behind standard input, and the file
// behind standard output when the run writes there. Links are followed:
// two names of one file are the same file. Paths are UTF-8.
std::optional<std::string> sheetPathProblem(const std::string& sheetPath,
                                            const std::string& inputPath, bool writesOutput);

} // namespace koruba::cli
