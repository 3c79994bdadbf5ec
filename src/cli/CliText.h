#pragma once

#include <string>
#include <string_view>

// Texts the tool prints that come from a file, a header, a path or the command line. Their
// control characters are shown as escapes, so a crafted name can neither drive the terminal
// (ESC sequences) nor start a line that looks like the tool's own.
class CliText {
public:
    // Newline, carriage return and tab as \n, \r and \t; other characters below U+0020 and
    // U+007F as \xHH; the C1 controls U+0080 to U+009F (two bytes in UTF-8) as \u00HH.
    // Everything else is kept byte for byte.
    static std::string Escaped(std::string_view agText);
};
