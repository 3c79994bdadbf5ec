#pragma once

#include <stdexcept>
#include <string>

// An unexpected failure of the file system while a file is read or written (a full disk, a
// device error, a read from a file that is not open). The typed file access raises it; the
// split and the restore turn it into a numbered cause.
class tkvFileError : public std::runtime_error {
public:
    // What failed: reading or writing a file, or anything else (asking its length, say).
    enum class Direction { kRead, kWrite, kOther };

    // agWhat says what was attempted; agErrno is the system's error number; agPath names the
    // file it concerns, when one does.
    tkvFileError(const std::string& agWhat, int agErrno, const std::string& agPath = {},
                 Direction agDirection = Direction::kOther);

    int ErrorNumber() const { return errorNumber_; }
    // The system's text for the error (strerror).
    const std::string& SystemText() const { return systemText_; }
    // The system's text for an error number.
    static std::string SystemTextOf(int agErrno);
    // The file the failure concerns; empty when none was named.
    const std::string& Path() const { return path_; }
    // Whether the file was being written (a write, a sync, a close after writing).
    bool IsWrite() const { return direction_ == Direction::kWrite; }

private:
    int errorNumber_;
    std::string systemText_;
    std::string path_;
    Direction direction_;
};
