#pragma once

#include <stdexcept>
#include <string>

// An unexpected failure of the file system while a file is read or written (a full disk, a
// device error, a read from a file that is not open). The typed file access raises it; the
// split and the restore turn it into a numbered cause.
class tkvFileError : public std::runtime_error {
public:
    // agWhat says what was attempted; agErrno is the system's error number.
    tkvFileError(const std::string& agWhat, int agErrno);

    int ErrorNumber() const { return errorNumber_; }
    // The system's text for the error (strerror).
    const std::string& SystemText() const { return systemText_; }

private:
    int errorNumber_;
    std::string systemText_;
};
