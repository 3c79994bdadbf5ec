#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tkvFileString.h"
#include "tkvTemporaryFile.h"

namespace tkvTemporaryFile {

std::string TemporaryFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::string() : folder.string();
}

bool CreateUniqueFile(const std::string& agFolder, const std::string& agPrefix,
                      const std::string& agSuffix, std::string& ouPath) {
    std::string ignored;
    return CreateUniqueFile(agFolder, agPrefix, agSuffix, ouPath, ignored);
}

bool CreateUniqueFile(const std::string& agFolder, const std::string& agPrefix,
                      const std::string& agSuffix, std::string& ouPath, std::string& ouSystemText) {
    const std::string pattern =
        tkvFileString::JoinFolderAndName(agFolder, agPrefix + "XXXXXX" + agSuffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkstemps creates with O_EXCL and mode 0600.
    const int descriptor = ::mkstemps(name.data(), static_cast<int>(agSuffix.size()));
    if (descriptor == -1) {
        ouSystemText = std::strerror(errno);
        return false;
    }
    ::close(descriptor);
    ouPath = name.data();
    return true;
}

}  // namespace tkvTemporaryFile
