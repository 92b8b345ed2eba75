#include "GameResource.h"

#include "ResourceManager.h"

const GameResource GAME_RESOURCES[GAME_RESOURCE_COUNT] = {
    {ResourceKind::SPRITE, "sprites/fruit-spr.txt", "apple"},
    {ResourceKind::SPRITE, "sprites/snake-head.txt", "snake-head"},
    {ResourceKind::SPRITE, "sprites/snake-body-1.txt", "snake-body-1"},
    {ResourceKind::SPRITE, "sprites/snake-body-2.txt", "snake-body-2"},
    {ResourceKind::SPRITE, "sprites/title.txt", "title"},
    {ResourceKind::SPRITE, "sprites/start-text.txt", "start-text"},
    {ResourceKind::SOUND, "sounds/eat.wav", "eat"},
    {ResourceKind::SOUND, "sounds/hit.wav", "hit"},
    {ResourceKind::MUSIC, "sounds/gamemusic.wav", "song"},
};

int loadResource(const GameResource& resource)
{
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    switch (resource.kind) {
    case ResourceKind::SPRITE:
        return resources.loadSprite(resource.file, resource.label);
    case ResourceKind::SOUND:
        return resources.loadSound(resource.file, resource.label);
    case ResourceKind::MUSIC:
        return resources.loadMusic(resource.file, resource.label);
    }
    return -1;
}

void loadResources()
{
    for (const GameResource& resource : GAME_RESOURCES) {
        loadResource(resource);
    }
}
