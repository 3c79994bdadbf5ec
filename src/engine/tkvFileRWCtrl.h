#pragma once

#include <cstdint>
#include <string>

#include "tkvFileHandle.h"
#include "tkvFileString.h"
#include "tkvTypedReader.h"

// One open binary file with a 1-based current position and typed little-endian reads and
// writes. Every file the system writes for itself goes through it.
//
// Opens never raise: a failed open answers false. A typed read answers false when fewer bytes
// than its width remain; a failure of the file system itself (a full disk, a device error, an
// access to a file that is not open) raises tkvFileError.
class tkvDigest;

class tkvFileRWCtrl : public tkvTypedReader<tkvFileRWCtrl> {
public:
    // FileAccess values.
    static constexpr int32_t kReadWrite = 0;
    static constexpr int32_t kReadOnly = 1;
    static constexpr int32_t kWriteOnly = 2;

    tkvFileRWCtrl() = default;
    ~tkvFileRWCtrl();
    tkvFileRWCtrl(const tkvFileRWCtrl&) = delete;
    tkvFileRWCtrl& operator=(const tkvFileRWCtrl&) = delete;

    // Opens FileAddress (creating a missing file unless FileAccess is read only), position 1.
    // Only regular files are opened.
    bool OpenForBinary();
    // Deletes an existing file at FileAddress first, whatever its permissions, then creates it
    // anew, so a new file never keeps bytes of an older one.
    bool OpenForBinaryClearing();
    void CloseFile();
    // Forces the written bytes to the disk and closes the file; raises tkvFileError when either
    // fails, so a write that the file system reports only then (a network file system, a disk
    // that filled up) fails like any other write, and a later rename never exposes a file whose
    // data a power cut could take.
    void FinishWriting();

    // The platform's handle of the open file; kNoHandle (-1) while closed.
    tkvFileHandle::Handle FileNum() const { return handle_; }

    const std::string& FileAddress() const { return fileAddress_; }
    // Ignored while a file is open: the path only changes while closed.
    void SetFileAddress(const std::string& agFileAddress);

    // 0 read and write, 1 read only, 2 write only; takes effect at the next open.
    int32_t FileAccess() const { return fileAccess_; }
    void SetFileAccess(int32_t agFileAccess) { fileAccess_ = agFileAccess; }
    // Sharing granted to others, 0 to 3. POSIX has no mandatory sharing modes: the value is
    // checked but grants nothing more.
    int32_t FileLock() const { return fileLock_; }
    void SetFileLock(int32_t agFileLock) { fileLock_ = agFileLock; }

    // Position of the next byte, counted from 1.
    int64_t CurrentPoint() const { return position_ + 1; }
    void SetCurrentPoint(int64_t agPoint);

    // Length of the open file in bytes.
    int64_t FileLength() const;
    // Which file is open: the same file as another path exactly when the identities match.
    tkvFileString::FileIdentity Identity() const;
    // The open file's length and change times now.
    tkvFileString::FileStamp Stamp() const;
    // The system's reason why the last open failed.
    const std::string& OpenFailure() const { return openFailure_; }

    // GetByte, GetInteger, GetLong, GetSingle, GetDouble, GetDate, GetBoolean, GetString and
    // GetStringChecking come from tkvTypedReader.

    bool SetByte(uint8_t agValue);
    bool SetInteger(int16_t agValue);
    bool SetLong(int32_t agValue);
    bool SetSingle(float agValue);
    bool SetDouble(double agValue);
    bool SetDate(double agValue);
    bool SetBoolean(bool agValue);

    // Texts are stored in CP932; the length prefix counts characters (UTF-16 code units), not
    // bytes. A text CP932 cannot carry is not written: false.
    bool SetString(const std::string& agText);
    bool SetStringOnly(const std::string& agText);
    // Reads agLength characters, finding their end by the lead bytes of CP932.
    bool GetStringOnly(int32_t agLength, std::string& ouText);
    // The next agLength bytes; false when fewer remain.
    bool TakeBytes(void* ouBytes, size_t agLength);

    // Raw bytes at the current position, for the block copy. ReadBlock answers how many bytes
    // it read (fewer only at the end of the file).
    int64_t ReadBlock(void* ouBuffer, int64_t agLength);
    void WriteBlock(const void* agBuffer, int64_t agLength);

    // Cuts the file off at the current position (a shorter text replacing a longer one).
    void SetEndOfFile();

    // Advances the position after bytes were moved by the kernel (copy_file_range).
    void Skip(int64_t agLength) { position_ += agLength; }

    // Not owned; none stops it. Every byte read or written from now on is fed to agDigest in the
    // order it passes, which is the file's order as the system's files are read and written
    // from start to end. Bytes the kernel moves (Skip) do not pass: a digest needs the buffer.
    tkvDigest* Digest() const { return digest_; }
    void SetDigest(tkvDigest* agDigest) { digest_ = agDigest; }

    // Writes go to agHandle, a stream such as the standard output, one after the other; it is
    // not closed here.
    void AdoptStream(tkvFileHandle::Handle agHandle, const std::string& agName);

private:
    bool Open(bool agExclusive);
    void RequireOpen(const char* agWhat) const;
    template <typename T>
    bool Set(T agValue);

    tkvFileHandle::Handle handle_ = tkvFileHandle::kNoHandle;
    bool stream_ = false;
    tkvDigest* digest_ = nullptr;
    std::string fileAddress_;
    std::string openFailure_;
    int32_t fileAccess_ = kReadWrite;
    int32_t fileLock_ = 0;
    int64_t position_ = 0;  // 0-based offset of the next byte
};
