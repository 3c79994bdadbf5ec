#pragma once

#include <cstdint>
#include <string>

#include "tkvFileString.h"

// The platform's side of an open file: the only place that calls the system to open, read,
// write, size, sync and close files, and to let the kernel copy between two of them. A Windows
// build replaces its implementation file only.
//
// Failures of an operation on an open file raise tkvFileError with the system's error number
// and a text that names agWhat; opens answer kNoHandle instead.
namespace tkvFileHandle {

// A platform handle (a descriptor here).
using Handle = intptr_t;
inline constexpr Handle kNoHandle = -1;

enum class Access { kRead, kWrite, kReadWrite };

// Opens a regular file only (a pipe at the path never blocks the caller and is refused). With
// agCreate a missing file is created; with agExclusive the open fails when anything is there.
// On failure ouSystemText, when given, receives the system's reason.
Handle Open(const std::string& agPath, Access agAccess, bool agCreate, bool agExclusive,
            std::string* ouSystemText = nullptr);
// Closes without looking at the result (a file only read, or one abandoned after a failure).
void Close(Handle agHandle);
// Forces the written bytes to the disk, then closes; raises when either fails. The handle is
// closed in every case.
void SyncAndClose(Handle agHandle, const std::string& agWhat);

// Forces the written bytes to the disk; raises when the system cannot.
void Sync(Handle agHandle, const std::string& agWhat);

// Reads up to agLength bytes at agOffset; fewer only at the end of the file.
int64_t ReadAt(Handle agHandle, void* ouBuffer, int64_t agLength, int64_t agOffset,
               const std::string& agWhat);
// Writes all agLength bytes where the stream stands (a pipe, the standard output).
void Write(Handle agHandle, const void* agBuffer, int64_t agLength, const std::string& agWhat);
// The standard output.
Handle StandardOutput();
// Writes all agLength bytes at agOffset.
void WriteAt(Handle agHandle, const void* agBuffer, int64_t agLength, int64_t agOffset,
             const std::string& agWhat);
int64_t Length(Handle agHandle, const std::string& agWhat);
void Truncate(Handle agHandle, int64_t agLength, const std::string& agWhat);
tkvFileString::FileIdentity Identity(Handle agHandle, const std::string& agWhat);
// The file's length and its modification and change times, as the system knows them now.
tkvFileString::FileStamp Stamp(Handle agHandle, const std::string& agWhat);

// Takes the exclusive lock of the open file, waiting for another open file that holds it;
// false where the file system has no locks. The lock goes with the last handle of this open,
// also when the process is killed.
bool Lock(Handle agHandle);
// The same without waiting: false also when another open file holds it.
bool TryLock(Handle agHandle);

// Starts writing agLength bytes at agOffset to the disk without waiting for them, so that the
// disk writes while the copy goes on and the sync at the end finds little left to do. Where
// the handle or the platform cannot (a pipe, a file system in memory) nothing happens.
void StartWriteBack(Handle agHandle, int64_t agOffset, int64_t agLength);

// Lets the kernel move up to agLength bytes between the files at the given offsets, without
// passing them through this process. Answers how many it moved (0 at the reader's end), or -1
// when it could not (the files or the platform do not allow it, or a device failed): the
// caller then copies through a buffer, which also tells which side failed.
int64_t KernelCopy(Handle agFrom, int64_t agFromOffset, Handle agTo, int64_t agToOffset,
                   int64_t agLength);

}  // namespace tkvFileHandle
