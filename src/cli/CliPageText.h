#pragma once

#include <string>

// A result page as the terminal shows it: a line per paragraph or table row, the cells of a
// row separated by a tab, nested blocks indented, entities decoded, control characters of the
// texts escaped (CliText). The page's link to itself is left out.
class CliPageText {
public:
    static std::string FromHTML(const std::string& agHTML);
};
