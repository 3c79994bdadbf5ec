#include "CliPageText.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "CliText.h"

namespace {

// The lower-case name of the tag that starts at agTag ("<" ... ">"), "/" kept.
std::string TagName(const std::string& agTag) {
    std::string name;
    for (size_t i = 1; i < agTag.size(); ++i) {
        const char c = agTag[i];
        if (c == ' ' || c == '>') {
            break;
        }
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

void AppendUtf8(std::string& ioText, uint32_t agCodePoint) {
    if (agCodePoint < 0x80) {
        ioText += static_cast<char>(agCodePoint);
    } else if (agCodePoint < 0x800) {
        ioText += static_cast<char>(0xC0 | (agCodePoint >> 6));
        ioText += static_cast<char>(0x80 | (agCodePoint & 0x3F));
    } else if (agCodePoint < 0x10000) {
        ioText += static_cast<char>(0xE0 | (agCodePoint >> 12));
        ioText += static_cast<char>(0x80 | ((agCodePoint >> 6) & 0x3F));
        ioText += static_cast<char>(0x80 | (agCodePoint & 0x3F));
    } else {
        ioText += static_cast<char>(0xF0 | (agCodePoint >> 18));
        ioText += static_cast<char>(0x80 | ((agCodePoint >> 12) & 0x3F));
        ioText += static_cast<char>(0x80 | ((agCodePoint >> 6) & 0x3F));
        ioText += static_cast<char>(0x80 | (agCodePoint & 0x3F));
    }
}

// Decodes the entity at agAt ("&...;"); answers its length, 0 when it is none.
size_t DecodeEntity(const std::string& agHTML, size_t agAt, std::string& ioText) {
    const size_t end = agHTML.find(';', agAt);
    if (end == std::string::npos || end - agAt > 10) {
        return 0;
    }
    const std::string name = agHTML.substr(agAt + 1, end - agAt - 1);
    if (name == "amp") {
        ioText += '&';
    } else if (name == "lt") {
        ioText += '<';
    } else if (name == "gt") {
        ioText += '>';
    } else if (name == "quot") {
        ioText += '"';
    } else if (name.size() > 1 && name[0] == '#') {
        char* parsedEnd = nullptr;
        const unsigned long value = std::strtoul(name.c_str() + 1, &parsedEnd, 10);
        if (*parsedEnd != '\0' || value > 0x10FFFF) {
            return 0;
        }
        AppendUtf8(ioText, static_cast<uint32_t>(value));
    } else {
        return 0;
    }
    return end - agAt + 1;
}

}  // namespace

std::string CliPageText::FromHTML(const std::string& agHTML) {
    std::string text;
    std::string line;
    int depth = 0;
    bool firstCell = true;
    bool inLink = false;
    // The text since the last tag, entities decoded; escaped as it joins the line, so what a
    // path or a header put into the page cannot break the line or drive the terminal.
    std::string content;
    const auto flushContent = [&] {
        line += CliText::Escaped(content);
        content.clear();
    };
    const auto endLine = [&] {
        size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos) {
            text += std::string(static_cast<size_t>(2 * std::max(depth - 1, 0)), ' ') +
                    line.substr(start) + "\n";
        }
        line.clear();
        firstCell = true;
    };
    for (size_t at = 0; at < agHTML.size();) {
        if (agHTML[at] == '<') {
            flushContent();
            const size_t close = agHTML.find('>', at);
            if (close == std::string::npos) {
                break;
            }
            const std::string name = TagName(agHTML.substr(at, close - at + 1));
            at = close + 1;
            if (name == "a") {
                inLink = true;
            } else if (name == "/a") {
                inLink = false;
            } else if (name == "p" || name == "/p" || name == "tr" || name == "/tr" ||
                       name == "table" || name == "/table" || name == "br") {
                endLine();
            } else if (name == "blockquote") {
                endLine();
                ++depth;
            } else if (name == "/blockquote") {
                endLine();
                --depth;
            } else if (name == "td") {
                if (!firstCell) {
                    line += '\t';
                }
                firstCell = false;
            } else if (name == "/div" && agHTML.compare(at, 4, "<div") == 0) {
                line += ", ";  // several addresses in one cell
            }
            continue;
        }
        if (inLink) {
            ++at;
            continue;
        }
        if (agHTML[at] == '&') {
            const size_t length = DecodeEntity(agHTML, at, content);
            if (length > 0) {
                at += length;
                continue;
            }
        }
        content += agHTML[at++];
    }
    flushContent();
    endLine();
    return text;
}
