#include "cli/SheetPath.h"

#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/stat.h>
#endif

namespace koruba::cli {

namespace {

namespace fs = std::filesystem;

// A path from its UTF-8 name: on Windows a plain string would be read in
// the ANSI code page, which cannot spell every Japanese name.
fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string_view kindOf(fs::file_type type) {
    switch (type) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::block:
        return "a block device";
    case fs::file_type::character:
        return "a character device";
    case fs::file_type::fifo:
        return "a FIFO (named pipe)";
    case fs::file_type::socket:
        return "a socket";
    default:
        return "not a regular file";
    }
}

// Whether descriptor fd is open on the very file at path.
bool descriptorIsFile([[maybe_unused]] int fd, [[maybe_unused]] const std::string& path) {
#if defined(__unix__) || defined(__APPLE__)
    struct stat open {};
    struct stat named {};
    return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
#else
    return false;
#endif
}

} // namespace

std::optional<std::string> sheetPathProblem(const std::string& sheetPath,
                                            const std::string& inputPath, bool writesOutput) {
    std::error_code error;
    const fs::file_status status = fs::status(pathOf(sheetPath), error);
    if (status.type() == fs::file_type::not_found) {
        return std::nullopt; // a new name
    }
    if (error) {
        // The writer names the reason (no permission, ...) when it tries.
        return std::nullopt;
    }
    if (status.type() != fs::file_type::regular) {
        return std::string(kindOf(status.type())) +
               "; a sheet is written only over a regular file or under a new name";
    }
    if (!inputPath.empty() && fs::equivalent(pathOf(sheetPath), pathOf(inputPath), error)) {
        return std::string("that is the input file; give the sheet a name of its own");
    }
    if (inputPath.empty() && descriptorIsFile(0, sheetPath)) {
        return std::string("that is the file standard input reads; give the sheet a name of its "
                           "own");
    }
    if (writesOutput && descriptorIsFile(1, sheetPath)) {
        return std::string("that is the file standard output goes to; give the sheet a name of "
                           "its own");
    }
    return std::nullopt;
}

} // namespace koruba::cli
