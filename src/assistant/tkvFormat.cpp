#include "tkvFormat.h"

#include <cmath>
#include <cstdio>

namespace tkvFormat {

namespace {

// Int(agBytes / agUnit * agScale) / agScale, held in single precision as the page shows it.
std::string Scaled(double agBytes, double agUnit, double agScale, int agDecimals,
                   const char* agUnitText) {
    const auto value = static_cast<float>(std::floor(agBytes / agUnit * agScale) / agScale);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f%s", agDecimals, static_cast<double>(value), agUnitText);
    return text;
}

}  // namespace

std::string FormatByteSize(double agBytes) {
    if (agBytes < 1024.0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.0fﾊﾞｲﾄ", std::floor(agBytes));
        return text;
    }
    if (agBytes < 1048576.0) {
        return Scaled(agBytes, 1024.0, 10.0, 1, "KB");
    }
    if (agBytes < 1073741824.0) {
        return Scaled(agBytes, 1048576.0, 100.0, 2, "MB");
    }
    return Scaled(agBytes, 1073741824.0, 100.0, 2, "GB");
}

std::string EscapeHTML(std::string_view agText) {
    std::string escaped;
    escaped.reserve(agText.size());
    for (char c : agText) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace tkvFormat
