#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The XXH3-128 digest of a stream of bytes, fed as they pass: what xxhsum -H2 computes of a
// file. Text is the digest as xxhsum prints it: 32 lower-case hexadecimal digits, the most
// significant first.
class tkvDigest {
public:
    tkvDigest();
    ~tkvDigest();
    tkvDigest(const tkvDigest&) = delete;
    tkvDigest& operator=(const tkvDigest&) = delete;

    void Update(const void* agBytes, int64_t agLength);
    // The digest of everything fed so far; feeding may go on.
    std::string Text() const;
    int64_t Length() const { return length_; }

    // The digest of agBytes.
    static std::string Of(const std::string& agBytes);

private:
    struct State;
    std::unique_ptr<State> state_;
    int64_t length_ = 0;
};
