#include "ScopedMount.h"

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

ScopedMount::ScopedMount(const std::string& agFolder, uint64_t agBytes) : folder_(agFolder) {
    ::mkdir(folder_.c_str(), 0755);
    const std::string options = "size=" + std::to_string(agBytes);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

ScopedMount::~ScopedMount() {
    if (mounted_) {
        ::umount2(folder_.c_str(), MNT_DETACH);
    }
}

bool ScopedMount::MakeReadOnly() {
    return mounted_ &&
           ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
