// Runs a fuzz target over the files named on the command line, one after another, as
// libFuzzer does with file arguments; a broken invariant stops the run with a trap. The normal
// build replays every seed this way, so the invariants hold in every test run, without clang.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* agData, size_t agSize);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot be read\n", argv[i]);
            return 1;
        }
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", argv[i], bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    return 0;
}
