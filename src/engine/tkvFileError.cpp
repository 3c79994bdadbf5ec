#include "tkvFileError.h"

#include <cstring>

std::string tkvFileError::SystemTextOf(int agErrno) {
    char buffer[256];
    // GNU strerror_r may return a static text instead of filling the buffer.
    return ::strerror_r(agErrno, buffer, sizeof buffer);
}

tkvFileError::tkvFileError(const std::string& agWhat, int agErrno, const std::string& agPath,
                           Direction agDirection)
    : std::runtime_error(agWhat + ": " + SystemTextOf(agErrno)),
      errorNumber_(agErrno),
      systemText_(SystemTextOf(agErrno)),
      path_(agPath),
      direction_(agDirection) {}
