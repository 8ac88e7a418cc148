// Runs a harness over saved inputs without libFuzzer, so that the seeds and
// every input that once found a fault are replayed by the ordinary test
// suite, with or without sanitizers. Arguments are files or folders.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size);

namespace {

std::vector<std::uint8_t> ReadInput(const std::filesystem::path &Path)
{
    std::ifstream file(Path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::filesystem::path> InputsIn(const std::filesystem::path &Path)
{
    std::vector<std::filesystem::path> inputs;
    if (!std::filesystem::exists(Path)) {
        std::printf("%s does not exist, nothing to replay from it\n", Path.string().c_str());
    } else if (std::filesystem::is_directory(Path)) {
        for (const auto &entry : std::filesystem::directory_iterator(Path)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
    } else {
        inputs.push_back(Path);
    }
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> found = InputsIn(argv[i]);
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto &path : inputs) {
        std::printf("replaying %s\n", path.string().c_str());
        std::fflush(stdout);
        const std::vector<std::uint8_t> data = ReadInput(path);
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
