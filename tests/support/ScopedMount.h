#pragma once

#include <cstdint>
#include <string>

// A small tmpfs mounted for one test, to have a real full disk or a real read-only file
// system. Mounting needs privileges a test machine may not grant: Available() tells, Why()
// says why not, and the test skips.
class ScopedMount {
public:
    // Mounts a tmpfs of agBytes at agFolder, which is created.
    ScopedMount(const std::string& agFolder, uint64_t agBytes);
    ~ScopedMount();
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    bool Available() const { return mounted_; }
    const std::string& Why() const { return why_; }

    // Remounts read-only; what was written stays readable.
    bool MakeReadOnly();

private:
    std::string folder_;
    bool mounted_ = false;
    std::string why_;
};
