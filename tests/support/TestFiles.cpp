#include "TestFiles.h"

#include "KPXSepaCtrl.h"
#include "tkvFileRWCtrl.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dividora-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = buffer.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Files a test made read-only must still go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Path(const std::string& agName) const { return path_ + "/" + agName; }

std::string ReadAllBytes(const std::string& agPath) {
    std::ifstream in(agPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAllBytes(const std::string& agPath, const std::string& agBytes) {
    std::ofstream out(agPath, std::ios::binary | std::ios::trunc);
    out.write(agBytes.data(), static_cast<std::streamsize>(agBytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + agPath);
    }
}

std::vector<std::string> FolderEntries(const std::string& agFolder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(agFolder, ignored)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string PatternBytes(int64_t agLength, uint32_t agSeed) {
    std::string bytes(static_cast<size_t>(agLength), '\0');
    uint32_t state = agSeed * 2654435761u + 12345u;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string LongBytes(int32_t agValue) {
    const auto bits = static_cast<uint32_t>(agValue);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

ScopedFileSizeLimit::ScopedFileSizeLimit(uint64_t agBytes) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    oldSoftLimit_ = limit.rlim_cur;
    limit.rlim_cur = agBytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = oldSoftLimit_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

ScopedEnvironment::ScopedEnvironment(const char* agName, const std::string& agValue)
    : name_(agName) {
    if (const char* old = std::getenv(agName)) {
        hadValue_ = true;
        oldValue_ = old;
    }
    ::setenv(agName, agValue.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (hadValue_) {
        ::setenv(name_.c_str(), oldValue_.c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

bool RunningAsRoot() { return ::geteuid() == 0; }

void WriteTestPiece(const std::string& agPath, const KPXDividoraData& agRecord,
                    const std::string& agData) {
    tkvFileRWCtrl file;
    file.SetFileAddress(agPath);
    KPXSepaCtrl sepaCtrl;
    if (!file.OpenForBinaryClearing() || !sepaCtrl.WriteHeader(file, agRecord)) {
        throw std::runtime_error("cannot write the piece " + agPath);
    }
    file.WriteBlock(agData.data(), static_cast<int64_t>(agData.size()));
}

std::string Patched(std::string agBytes, size_t agOffset, const std::string& agPatch) {
    agBytes.replace(agOffset, agPatch.size(), agPatch);
    return agBytes;
}
