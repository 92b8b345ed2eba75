#pragma once

/// What kind of file a resource of the game is, and so which table of the resource manager holds it.
enum class ResourceKind { SPRITE, SOUND, MUSIC };

/// One file of the game's resource set: its kind, its path relative to the working directory and the
/// label the game looks it up by.
struct GameResource {
    ResourceKind kind;
    const char* file;
    const char* label;
};

/// The number of files in the game's resource set.
const int GAME_RESOURCE_COUNT = 9;

/// The game's resource set in the order it is registered: six sprites, two sounds, the music.
extern const GameResource GAME_RESOURCES[GAME_RESOURCE_COUNT];

/// Registers one resource with the resource manager; returns 0, or -1 when its file failed to load.
int loadResource(const GameResource& resource);

/// Registers the whole resource set in order; a file that fails to load is left out and the rest still load.
void loadResources();
