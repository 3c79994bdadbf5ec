#include <iconv.h>

#include <cerrno>

#include "tkvStringControl.h"

// The code page conversion of the platform: glibc's iconv here, the system's conversion
// functions on Windows.
namespace tkvStringControl {

namespace {

// glibc's "SHIFT_JIS" rejects characters Windows files carry (～ ① 髙); "CP932" is the
// Windows code page itself.
constexpr const char* kCodePage = "CP932";

bool Convert(const char* agTo, const char* agFrom, std::string_view agIn, std::string& ouOut) {
    iconv_t cd = ::iconv_open(agTo, agFrom);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string out(agIn.size() * 3 + 8, '\0');
    char* in = const_cast<char*>(agIn.data());
    size_t inLeft = agIn.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (::iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            const size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: no exact form, or a cut sequence
        break;
    }
    if (ok && ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        ok = false;
    }
    ::iconv_close(cd);
    if (!ok) {
        return false;
    }
    out.resize(out.size() - outLeft);
    ouOut = std::move(out);
    return true;
}

}  // namespace

bool ToCodePage(std::string_view agText, std::string& ouBytes) {
    return Convert(kCodePage, "UTF-8", agText, ouBytes);
}

bool FromCodePage(std::string_view agBytes, std::string& ouText) {
    return Convert("UTF-8", kCodePage, agBytes, ouText);
}

}  // namespace tkvStringControl
