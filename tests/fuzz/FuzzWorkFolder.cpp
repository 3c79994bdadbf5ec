#include "FuzzWorkFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzInvariant.h"

FuzzWorkFolder::FuzzWorkFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/dividora-fuzz-XXXXXX";
    FuzzInvariant::Require(::mkdtemp(pattern.data()) != nullptr,
                           "the work folder is created under $TMPDIR");
    path_ = pattern;
}

FuzzWorkFolder::~FuzzWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string FuzzWorkFolder::Path(std::string_view agName) const {
    return path_ + "/" + std::string(agName);
}

std::string FuzzWorkFolder::WriteFile(std::string_view agName, std::string_view agBytes) const {
    const std::string path = Path(agName);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(agBytes.data(), static_cast<std::streamsize>(agBytes.size()));
    out.close();
    FuzzInvariant::Require(static_cast<bool>(out), "an input is written to the work folder");
    return path;
}

std::string FuzzWorkFolder::MakeEmptyFolder(std::string_view agName) const {
    const std::string path = Path(agName);
    std::error_code error;
    std::filesystem::remove_all(path, error);
    FuzzInvariant::Require(!error && std::filesystem::create_directory(path, error) && !error,
                           "an empty folder is made in the work folder");
    return path;
}

std::string FuzzWorkFolder::ReadFile(const std::string& agPath) {
    std::ifstream in(agPath, std::ios::binary);
    FuzzInvariant::Require(static_cast<bool>(in), "a file the reader made can be read back");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FuzzWorkFolder::Entries(const std::string& agFolder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(agFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
