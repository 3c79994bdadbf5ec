#include "tkvFileString.h"

namespace tkvFileString {

namespace {

size_t FindLastSeparator(std::string_view agPath) {
    for (size_t i = agPath.size(); i > 0; --i) {
        if (IsSeparator(agPath[i - 1])) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string GetFileNamePart(std::string_view agPath) {
    const size_t last = FindLastSeparator(agPath);
    if (last == std::string_view::npos) {
        return std::string(agPath);
    }
    return std::string(agPath.substr(last + 1));
}

std::string JoinFolderAndName(std::string_view agFolder, std::string_view agName) {
    std::string joined(agFolder);
    if (agFolder.empty() || !IsSeparator(agFolder.back())) {
        joined += kSeparator;
    }
    joined += agName;
    return joined;
}

std::string FolderOf(std::string_view agPath) {
    return std::string(agPath.substr(0, agPath.size() - GetFileNamePart(agPath).size()));
}

std::string RemoveExtension(std::string_view agName) {
    const size_t dot = agName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::string(agName);
    }
    return std::string(agName.substr(0, dot));
}

bool GetParentFolder(std::string_view agPath, int32_t agLevels, std::string& ouPath) {
    if (agLevels < 1) {
        ouPath = std::string(agPath);
        return true;
    }
    size_t end = agPath.size();
    size_t found = std::string_view::npos;
    for (int32_t level = 0; level < agLevels; ++level) {
        found = FindLastSeparator(agPath.substr(0, end));
        if (found == std::string_view::npos) {
            return false;
        }
        end = found;
    }
    ouPath = std::string(agPath.substr(0, found));
    return true;
}

bool IsPlainFileName(std::string_view agName) {
    if (agName.empty() || agName == "." || agName == "..") {
        return false;
    }
    for (const char c : agName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') {
            return false;
        }
    }
    return true;
}

std::string CompactPathToWidth(const TextMeasure& agMeasure, const std::string& agPath,
                               int32_t agWidth) {
    if (agMeasure(agPath) <= agWidth) {
        return agPath;
    }
    size_t first = std::string::npos;
    for (size_t i = 0; i < agPath.size(); ++i) {
        if (IsSeparator(agPath[i])) {
            first = i;
            break;
        }
    }
    if (first == std::string::npos) {
        return agPath;
    }
    const std::string head = agPath.substr(0, first + 1);
    std::string candidate = agPath;
    for (size_t i = first + 1; i < agPath.size(); ++i) {
        if (!IsSeparator(agPath[i])) {
            continue;
        }
        candidate = head + "..." + kSeparator + agPath.substr(i + 1);
        if (agMeasure(candidate) <= agWidth) {
            return candidate;
        }
    }
    return candidate;
}

}  // namespace tkvFileString
