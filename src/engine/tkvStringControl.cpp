#include "tkvStringControl.h"

namespace tkvStringControl {

namespace {

// One code point of UTF-8 at agAt: its bytes' count (at least 1) and its value, U+FFFD for a
// malformed sequence.
size_t NextCodePoint(std::string_view agText, size_t agAt, uint32_t& ouCodePoint) {
    const auto lead = static_cast<unsigned char>(agText[agAt]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || agAt + length > agText.size()) {
        ouCodePoint = 0xFFFD;
        return 1;
    }
    uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(agText[agAt + i]);
        if ((next & 0xC0) != 0x80) {
            ouCodePoint = 0xFFFD;
            return 1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    ouCodePoint = value;
    return length;
}

}  // namespace

std::string ToCodePageWithReferences(std::string_view agText) {
    std::string out;
    std::string back;
    // Almost every page converts whole; only one that does not is taken character by character.
    if (ToCodePage(agText, out) && FromCodePage(out, back) && back == agText) {
        return out;
    }
    out.clear();
    out.reserve(agText.size());
    size_t at = 0;
    while (at < agText.size()) {
        // ASCII runs are the same bytes in CP932 (but for nothing: 0x5C stays 0x5C both ways).
        if (static_cast<unsigned char>(agText[at]) < 0x80) {
            out += agText[at++];
            continue;
        }
        uint32_t codePoint = 0;
        const size_t length = NextCodePoint(agText, at, codePoint);
        const std::string_view character = agText.substr(at, length);
        std::string bytes;
        if (codePoint != 0xFFFD && IsExactInCodePage(character) && ToCodePage(character, bytes)) {
            out += bytes;
        } else {
            out += "&#" + std::to_string(codePoint) + ";";
        }
        at += length;
    }
    return out;
}

bool GetByteLength(std::string_view agText, int32_t& ouLength) {
    std::string bytes;
    if (!ToCodePage(agText, bytes) || bytes.size() > INT32_MAX) {
        return false;
    }
    ouLength = static_cast<int32_t>(bytes.size());
    return true;
}

bool IsExactInCodePage(std::string_view agText) {
    std::string bytes;
    std::string back;
    return ToCodePage(agText, bytes) && FromCodePage(bytes, back) && back == agText;
}

int64_t CountOfCharacters(std::string_view agText) {
    int64_t units = 0;
    for (unsigned char c : agText) {
        if ((c & 0xC0) == 0x80) {
            continue;  // continuation byte
        }
        units += (c >= 0xF0) ? 2 : 1;  // four-byte sequences are surrogate pairs in UTF-16
    }
    return units;
}

bool IsLeadByte(unsigned char agByte) {
    return (agByte >= 0x81 && agByte <= 0x9F) || (agByte >= 0xE0 && agByte <= 0xFC);
}

}  // namespace tkvStringControl
