#include "CliText.h"

#include <cstdio>

std::string CliText::Escaped(std::string_view agText) {
    std::string text;
    text.reserve(agText.size());
    char escape[8];
    for (size_t i = 0; i < agText.size(); ++i) {
        const auto byte = static_cast<unsigned char>(agText[i]);
        if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            text += escape;
        } else if (byte == 0xC2 && i + 1 < agText.size() &&
                   static_cast<unsigned char>(agText[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(agText[i + 1]) <= 0x9F) {
            // Some terminals read a C1 control as the start of an escape sequence.
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned char>(agText[i + 1]));
            text += escape;
            ++i;
        } else {
            text += static_cast<char>(byte);
        }
    }
    return text;
}
