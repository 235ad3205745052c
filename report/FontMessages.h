#pragma once

namespace koruba {

// Qt's font matching, asked for text in a script such as Devanagari, tries
// face after face and warns for each one without that script's OpenType
// tables ("OpenType support missing for "IPAPGothic", script 11"), dozens
// of lines for one name, before it falls back. The text is drawn the same
// with or without them, so they only bury the program's own messages on
// standard error. This drops exactly that warning and passes every other
// message on. Installed once per process; calling again does nothing.
void quietMissingScriptWarnings();

} // namespace koruba
