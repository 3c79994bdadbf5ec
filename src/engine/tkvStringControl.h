#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Texts live in memory as UTF-8; the files the system writes carry them in the system code
// page, which is always CP932 so that pieces and settings stay interchangeable with Windows.
namespace tkvStringControl {

// UTF-8 to CP932 bytes. False when a character has no CP932 form (nothing is substituted).
bool ToCodePage(std::string_view agText, std::string& ouBytes);

// CP932 bytes to UTF-8. False for a byte sequence that is not CP932.
bool FromCodePage(std::string_view agBytes, std::string& ouText);

// UTF-8 to CP932 bytes for an HTML page: a character CP932 cannot carry exactly becomes a
// numeric character reference ("&#128512;"), so no text is lost. Invalid UTF-8 bytes become
// U+FFFD's reference.
std::string ToCodePageWithReferences(std::string_view agText);

// The text's length in CP932 bytes; false when it has no CP932 form.
bool GetByteLength(std::string_view agText, int32_t& ouLength);

// True when the text survives the way to CP932 and back unchanged. Some characters convert
// but come back as others ("¥" becomes 0x5C, read back as a backslash).
bool IsExactInCodePage(std::string_view agText);

// The text's length as stored in a length prefix: its count of UTF-16 code units.
int64_t CountOfCharacters(std::string_view agText);

// True when agByte leads a two-byte CP932 character.
bool IsLeadByte(unsigned char agByte);

}  // namespace tkvStringControl
