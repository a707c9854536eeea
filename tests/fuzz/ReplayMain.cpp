// Runs a fuzz target over the files of its committed corpus, without libFuzzer:
// the plain and the sanitized test builds replay every input found so far.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// libFuzzer stops at any one allocation above its limit (2,048 MiB unless told), so the
// replay must too: with overcommit a 2 GiB block costs nothing until written, and an
// 80-byte image that makes SDL set one aside would pass here unseen.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAFORM_ASAN
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TESSAFORM_ASAN)
extern "C" const char* __asan_default_options() {  // NOLINT(bugprone-reserved-identifier)
    return "max_allocation_size_mb=2048:allocator_may_return_null=0";
}
#else
extern "C" void* __libc_malloc(std::size_t size);  // NOLINT(bugprone-reserved-identifier)

extern "C" void* malloc(std::size_t size) noexcept {
    if (size > (std::size_t{2048} << 20)) {
        std::fprintf(stderr, "malloc(%zu) beyond 2048 MiB\n", size);
        std::abort();
    }
    return __libc_malloc(size);
}
#endif

int main(int argc, char** argv) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argc > 1 ? argv[1] : ".")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++inputs;
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
