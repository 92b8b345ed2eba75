#pragma once

#include <cstdint>
#include <string>

/// A private copy of the staged game (the program, its sprites, its sounds and its font) whose files a
/// test may damage before running it; removed when destroyed unless kept.
class GameCopy {
public:
    /// Makes a handle that holds no copy yet.
    GameCopy();

    /// Removes the copy unless keep() was called.
    ~GameCopy();
    GameCopy(const GameCopy&) = delete;
    GameCopy& operator=(const GameCopy&) = delete;

    /// Copies the staged game found in sourceFolder to a new temporary folder; false, with the reason in
    /// error, when it fails.
    bool make(const std::string& sourceFolder, std::string& error);

    /// Returns the folder of the copy.
    std::string getFolder() const;

    /// Replaces the content of a file of the copy (a path relative to it) by bytes; false on failure.
    bool overwrite(const std::string& file, const std::string& bytes);

    /// Cuts a file of the copy after its first size bytes; false on failure.
    bool truncate(const std::string& file, std::uintmax_t size);

    /// Replaces a file of the copy by an empty folder of the same name; false on failure.
    bool replaceWithFolder(const std::string& file);

    /// Deletes a file of the copy; false on failure.
    bool remove(const std::string& file);

    /// Leaves the copy in place after the test, for looking into a failure.
    void keep();

private:
    std::string folder;
    bool kept;
};
