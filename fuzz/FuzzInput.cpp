#include "FuzzInput.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace lufuzz {

namespace {

std::string makePath()
{
    namespace fs = std::filesystem;
    // The loader only reads files, and a RAM-backed folder keeps millions of rewrites off the disk.
    std::error_code error;
    fs::path folder = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return (folder / ("lu-fuzz-" + std::to_string(getpid()) + ".txt")).string();
}

// Removes its file when the process exits normally.
struct InputFile {
    std::string path;
    ~InputFile()
    {
        std::remove(path.c_str());
    }
};

} // namespace

const std::string& inputPath()
{
    static const InputFile file{makePath()};
    return file.path;
}

bool writeInput(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace lufuzz
