#include "GameCopy.h"

#include "DisplayManager.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const FOLDER_TEMPLATE = "coilwander-hostile-XXXXXX";
const char* const GAME_PROGRAM = "coilwander";
const char* const SPRITE_FOLDER = "sprites";
const char* const SOUND_FOLDER = "sounds";

std::string temporaryRoot()
{
    const char* root = std::getenv("TMPDIR");
    if (root == nullptr || *root == '\0')
        return "/tmp";
    return root;
}

} // namespace

GameCopy::GameCopy() : kept(false)
{
}

GameCopy::~GameCopy()
{
    if (folder.empty() || kept)
        return;
    // A test may have made the folder read-only; give the rights back so it can be removed.
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ignored);
}

bool GameCopy::make(const std::string& sourceFolder, std::string& error)
{
    std::string pattern = temporaryRoot() + "/" + FOLDER_TEMPLATE;
    if (mkdtemp(&pattern[0]) == nullptr) {
        error = "cannot make a folder under " + temporaryRoot();
        return false;
    }
    folder = pattern;
    // Only what the game reads: the build folder around it holds far more.
    const fs::path source(sourceFolder);
    const fs::path target(folder);
    std::error_code failure;
    fs::copy(source / GAME_PROGRAM, target / GAME_PROGRAM, failure);
    if (!failure)
        fs::copy(source / lu::FONT_FILE_DEFAULT, target / lu::FONT_FILE_DEFAULT, failure);
    if (!failure)
        fs::copy(source / SPRITE_FOLDER, target / SPRITE_FOLDER, fs::copy_options::recursive, failure);
    if (!failure)
        fs::copy(source / SOUND_FOLDER, target / SOUND_FOLDER, fs::copy_options::recursive, failure);
    if (failure) {
        error = "cannot copy the game from " + sourceFolder + ": " + failure.message();
        return false;
    }
    return true;
}

std::string GameCopy::getFolder() const
{
    return folder;
}

bool GameCopy::overwrite(const std::string& file, const std::string& bytes)
{
    std::ofstream out(fs::path(folder) / file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool GameCopy::truncate(const std::string& file, std::uintmax_t size)
{
    std::error_code failure;
    fs::resize_file(fs::path(folder) / file, size, failure);
    return !failure;
}

bool GameCopy::replaceWithFolder(const std::string& file)
{
    std::error_code failure;
    return remove(file) && fs::create_directory(fs::path(folder) / file, failure);
}

bool GameCopy::remove(const std::string& file)
{
    std::error_code failure;
    return fs::remove(fs::path(folder) / file, failure) && !failure;
}

void GameCopy::keep()
{
    kept = true;
}
