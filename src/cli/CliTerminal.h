#pragma once

// What the tool needs to know of the terminal it runs in. A Windows build replaces its
// implementation file only.
namespace CliTerminal {

// Whether the tool's error stream is a terminal, where progress is shown.
bool ErrorStreamIsTerminal();
// Whether its standard output is, where a restore must not pour a file's bytes.
bool OutputStreamIsTerminal();

}  // namespace CliTerminal
