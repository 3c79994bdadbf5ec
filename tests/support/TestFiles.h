#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of agName inside the folder.
    std::string Path(const std::string& agName) const;

private:
    std::string path_;
};

std::string ReadAllBytes(const std::string& agPath);
void WriteAllBytes(const std::string& agPath, const std::string& agBytes);
// The names in a folder, sorted; empty for a missing folder.
std::vector<std::string> FolderEntries(const std::string& agFolder);

// agLength bytes of a pattern that differs at every offset of a block, so a misplaced block
// shows up in a byte comparison.
std::string PatternBytes(int64_t agLength, uint32_t agSeed = 1);

// The little-endian bytes of a 32-bit value, for building damaged files.
std::string LongBytes(int32_t agValue);

// Lowers the file-size limit of this process, so writes past agBytes fail as on a full disk
// (SIGXFSZ is ignored meanwhile); restores both on destruction.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(uint64_t agBytes);
    ~ScopedFileSizeLimit();

private:
    uint64_t oldSoftLimit_;
    void (*oldHandler_)(int);
};

class KPXDividoraData;

// Writes a piece file: agRecord's header (as the split writes it) followed by agData.
void WriteTestPiece(const std::string& agPath, const KPXDividoraData& agRecord,
                    const std::string& agData);

// agBytes with the bytes at agOffset replaced by agPatch.
std::string Patched(std::string agBytes, size_t agOffset, const std::string& agPatch);

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* agName, const std::string& agValue);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    bool hadValue_ = false;
    std::string oldValue_;
};

// True when the process runs as root, which reads files whatever their permissions.
bool RunningAsRoot();
