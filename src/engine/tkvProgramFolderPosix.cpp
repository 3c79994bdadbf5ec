#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "tkvFileString.h"
#include "tkvProgramFolder.h"

namespace tkvProgramFolder {

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/";
}

}  // namespace

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return program.parent_path().string();
    }
    return std::filesystem::current_path(error).string();
}

std::string UserConfigFolder(const std::string& agProgramName) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // XDG asks to ignore a relative value.
    const std::string base = configHome != nullptr && *configHome == '/'
                                 ? std::string(configHome)
                                 : tkvFileString::JoinFolderAndName(HomeFolder(), ".config");
    return tkvFileString::JoinFolderAndName(base, agProgramName);
}

bool IsWritableFolder(const std::string& agFolder) {
    return tkvFileString::GetPathKind(agFolder) == tkvFileString::kFolder &&
           ::access(agFolder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace tkvProgramFolder
