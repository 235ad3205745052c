#pragma once

#include <iosfwd>
#include <optional>

namespace koruba {

// The two requests a Linux program answers on the terminal, before any
// window system is needed: --help (or -h) and --version. --help wins when
// both are given. Every other argument is left alone: the window program
// ignores it, and the toolkit still takes its own (-platform, -style).
enum class TerminalRequest { Help, Version };

std::optional<TerminalRequest> FindTerminalRequest(int argc, const char* const* argv);

// Writes the answer, the same text the manual page is made from, and
// returns the exit status: 0, or 1 when the text could not be written
// (a closed or full standard output).
int AnswerTerminalRequest(TerminalRequest request, std::ostream& out);

} // namespace koruba
