#pragma once

#include <string>
#include <string_view>

// Texts the result pages are made of.
namespace tkvFormat {

// A byte count as "1023ﾊﾞｲﾄ", "1.5KB", "1.00MB" or "1.50GB": cut, never rounded up.
std::string FormatByteSize(double agBytes);

// A text from a path, a file name, a header or the user, made safe to put into a page:
// & < > " ' become entities.
std::string EscapeHTML(std::string_view agText);

}  // namespace tkvFormat
