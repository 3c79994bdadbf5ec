#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class tkvFileRWCtrl;

// The four-field block at the start of every file the system writes for itself: product name,
// product comment, file kind and format version. It works through a file its user opened and
// positioned; it never opens or closes files.
class tkvVerRWCtrl {
public:
    // Results of Check.
    static constexpr int32_t kForeign = 0;
    static constexpr int32_t kOlder = 1;
    static constexpr int32_t kNewer = 2;
    static constexpr int32_t kSame = 3;

    // The longest text a block may hold; a longer stored length marks a foreign file.
    static constexpr int32_t kLiteralLimit = 64;

    tkvVerRWCtrl() = default;
    // A block of one kind of file, through agFile.
    tkvVerRWCtrl(tkvFileRWCtrl* agFile, std::string_view agProductName,
                 std::string_view agProductComment, std::string_view agFileKind,
                 int32_t agFileVersion)
        : fileRWCtrl_(agFile),
          productName_(agProductName),
          productComment_(agProductComment),
          fileKind_(agFileKind),
          fileVersion_(agFileVersion) {}

    tkvFileRWCtrl* FileRWCtrl() const { return fileRWCtrl_; }
    // Not owned: the user keeps the file and closes it.
    void SetFileRWCtrl(tkvFileRWCtrl* agFileRWCtrl) { fileRWCtrl_ = agFileRWCtrl; }

    const std::string& ProductName() const { return productName_; }
    void SetProductName(const std::string& agValue) { productName_ = agValue; }
    const std::string& ProductComment() const { return productComment_; }
    void SetProductComment(const std::string& agValue) { productComment_ = agValue; }
    const std::string& FileKind() const { return fileKind_; }
    void SetFileKind(const std::string& agValue) { fileKind_ = agValue; }
    int32_t FileVersion() const { return fileVersion_; }
    void SetFileVersion(int32_t agValue) { fileVersion_ = agValue; }

    // Writes the block at the current position; stops at the first failed write.
    bool Save();
    // Reads a block at the current position and compares it with the expected values:
    // kForeign, kOlder, kNewer or kSame. Never fails for a foreign or damaged file.
    int32_t Check();
    // 16 + the CP932 byte lengths of the three texts. Throws std::overflow_error when a text
    // has no CP932 form or the sum does not fit.
    int32_t GetSizeOfVersion() const;

private:
    tkvFileRWCtrl* fileRWCtrl_ = nullptr;
    std::string productName_;
    std::string productComment_;
    std::string fileKind_;
    int32_t fileVersion_ = 0;
};
