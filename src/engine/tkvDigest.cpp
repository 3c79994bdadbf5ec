#include "tkvDigest.h"

#include <xxhash.h>
// On x86 the library picks the widest vector unit of the running processor (AVX2, AVX-512):
// several times the speed of its baseline code, which matters as the digests are taken while
// copying.
#if (defined(__x86_64__) || defined(_M_X64)) && __has_include(<xxh_x86dispatch.h>)
#include <xxh_x86dispatch.h>
#endif

#include <cstdio>

struct tkvDigest::State {
    XXH3_state_t* Hash = nullptr;
};

tkvDigest::tkvDigest() : state_(std::make_unique<State>()) {
    state_->Hash = XXH3_createState();
    XXH3_128bits_reset(state_->Hash);
}

tkvDigest::~tkvDigest() { XXH3_freeState(state_->Hash); }

void tkvDigest::Update(const void* agBytes, int64_t agLength) {
    XXH3_128bits_update(state_->Hash, agBytes, static_cast<size_t>(agLength));
    length_ += agLength;
}

std::string tkvDigest::Text() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_->Hash));
    std::string text;
    char digit[3];
    for (const unsigned char byte : canonical.digest) {
        std::snprintf(digit, sizeof digit, "%02x", byte);
        text += digit;
    }
    return text;
}

std::string tkvDigest::Of(const std::string& agBytes) {
    tkvDigest digest;
    digest.Update(agBytes.data(), static_cast<int64_t>(agBytes.size()));
    return digest.Text();
}
