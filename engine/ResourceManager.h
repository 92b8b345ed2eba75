#pragma once

#include "Manager.h"

#include <string>

namespace lu {

class Music;
class Sound;
class Sprite;

/// How many sprites can be loaded.
const int MAX_SPRITES = 500;
/// How many sound effects can be loaded.
const int MAX_SOUNDS = 500;
/// How many pieces of music can be loaded.
const int MAX_MUSIC = 500;

/// Loads sprites, sounds and music once and hands them out by label.
class ResourceManager : public Manager {
public:
    /// Returns the single resource manager.
    static ResourceManager& instance();

    ~ResourceManager() override;

    /// Starts the manager; returns 0.
    int startUp() override;

    /// Deletes every sprite; sounds and music stay loaded.
    void shutDown() override;

    /// Reads a sprite file and stores it under label; returns 0, or -1 on any failure.
    int loadSprite(std::string filename, std::string label);

    /// Returns the first sprite loaded under label, or null.
    Sprite* getSprite(std::string label) const;

    /// Decodes a sound file and stores it under label; returns 0, or -1 (logged) on failure.
    int loadSound(std::string filename, std::string label);

    /// Returns the first sound loaded under label, or null.
    Sound* getSound(std::string label) const;

    /// Checks that a music file can be streamed and stores it under label; returns 0, or -1 (logged) on failure.
    int loadMusic(std::string filename, std::string label);

    /// Returns the first music loaded under label, or null.
    Music* getMusic(std::string label) const;

private:
    ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    Sprite* sprites[MAX_SPRITES];
    int spriteCount;
    Sound* sounds[MAX_SOUNDS];
    int soundCount;
    Music* musics[MAX_MUSIC];
    int musicCount;
};

} // namespace lu
