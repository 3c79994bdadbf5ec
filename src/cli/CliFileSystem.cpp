#include "CliFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "tkvFileString.h"

std::string CliFileSystem::FolderOf(const std::string& agPath) {
    std::string folder;
    if (!tkvFileString::GetParentFolder(agPath, 1, folder)) {
        return ".";
    }
    return folder.empty() ? std::string(1, tkvFileString::kSeparator) : folder;
}

bool CliFileSystem::IsSameTarget(const std::string& agPathA, const std::string& agPathB) {
    struct stat a {};
    struct stat b {};
    if (::stat(agPathA.c_str(), &a) == 0 && ::stat(agPathB.c_str(), &b) == 0) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }
    return tkvFileString::GetFileNamePart(agPathA) == tkvFileString::GetFileNamePart(agPathB) &&
           tkvFileString::IsSameFile(FolderOf(agPathA), FolderOf(agPathB));
}

bool CliFileSystem::IsWritableFolder(const std::string& agPath) {
    return tkvFileString::GetPathKind(agPath) == tkvFileString::kFolder &&
           ::access(agPath.c_str(), W_OK | X_OK) == 0;
}
