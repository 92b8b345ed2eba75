// Feeds arbitrary bytes to the sprite loader as a sprite file.

#include "FuzzInput.h"
#include "ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = lufuzz::inputPath();
    if (!lufuzz::writeInput(path, data, size)) {
        std::abort();
    }

    lu::ResourceManager& resources = lu::ResourceManager::instance();
    int result = resources.loadSprite(path, "fuzz");
    // A load either stores a sprite that can be found or leaves no trace at all.
    bool found = resources.getSprite("fuzz") != nullptr;
    if ((result == 0) != found || (result != 0 && result != -1)) {
        std::abort();
    }
    resources.shutDown();
    return 0;
}
