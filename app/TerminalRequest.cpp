#include "app/TerminalRequest.h"

#include <ostream>
#include <string_view>

#ifndef KORUBA_FILE_VERSION
#error "KORUBA_FILE_VERSION must be defined by the build"
#endif

namespace koruba {

namespace {

// help2man turns this text into the manual page: the first paragraph is
// the usage line, "Options:" starts the option list.
constexpr std::string_view kHelp =
    "Usage: koruba-x [OPTION]\n"
    "Open the KORUBA-X window, the calculator of the N value (N値) of the\n"
    "column-end joint of one column of a braced timber post-and-beam frame.\n"
    "\n"
    "Choose one of five frame patterns, place braces and sheathing panels in the\n"
    "wall bays beside the column, and read the formula terms, the N value, the\n"
    "pull-out force and the joint hardware that the N value requires. At every\n"
    "close the program records its title and version in\n"
    "~/.config/コルバ工房/KORUBA-X.conf (below $XDG_CONFIG_HOME when that is set);\n"
    "it reads no file and keeps no other.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Any other argument is ignored, except the options of the Qt toolkit such as\n"
    "-platform and -style. For columns in batches, see koruba-x-calc(1).\n";

} // namespace

std::optional<TerminalRequest> FindTerminalRequest(int argc, const char* const* argv) {
    std::optional<TerminalRequest> found;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return TerminalRequest::Help;
        }
        if (arg == "--version") {
            found = TerminalRequest::Version;
        }
    }
    return found;
}

int AnswerTerminalRequest(TerminalRequest request, std::ostream& out) {
    if (request == TerminalRequest::Help) {
        out << kHelp;
    } else {
        out << "koruba-x " KORUBA_FILE_VERSION "\n";
    }
    out.flush();
    return out ? 0 : 1;
}

} // namespace koruba
