// Runs a fuzz target over saved inputs with the normal compiler: every file of the folders
// (or the files) given, so that the seed corpus keeps working and a crash once found and
// saved as a reproducer stays fixed.
#include "fuzz/FuzzTarget.h"

#include <QCoreApplication>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int RunFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                inputs += entry.is_regular_file() ? RunFile(entry.path()) : 0;
            }
        } else if (std::filesystem::is_regular_file(path)) {
            inputs += RunFile(path);
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return 0;
}
