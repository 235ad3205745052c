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
    "Usage: koruba-x [OPTION] [FILE]\n"
    "Open the KORUBA-X window, the calculator of the N value (N値) of the\n"
    "column-end joint of one column of a braced timber post-and-beam frame.\n"
    "With FILE, a list of columns in the CSV or JSON Lines format of\n"
    "koruba-x-calc opens in the column list window beside it.\n"
    "\n"
    "Choose one of five frame patterns, place braces and sheathing panels in the\n"
    "wall bays beside the column, and read the formula terms, the N value, the\n"
    "pull-out force and the joint hardware that the N value requires. The\n"
    "context menu (right click outside the bays) chooses the calculation rules\n"
    "(2000 or 2025), prints the calculation sheet or saves it as PDF, and opens\n"
    "the column list. At every close the program records its title and version\n"
    "in ~/.config/コルバ工房/KORUBA-X.conf (below $XDG_CONFIG_HOME when that is\n"
    "set); the same file keeps the chosen rules, the sheet's project and\n"
    "designer and the recent column lists.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Arguments after FILE are ignored; options of the Qt toolkit such as\n"
    "-platform and -style are the toolkit's. For columns in batches, see\n"
    "koruba-x-calc(1).\n";

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
