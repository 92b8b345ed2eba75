#include "GameManager.h"
#include "GameStart.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"

/// Registers the game's sprites, sounds and music; a file that fails to load is left out.
void loadResources()
{
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    resources.loadSprite("sprites/fruit-spr.txt", "apple");
    resources.loadSprite("sprites/snake-head.txt", "snake-head");
    resources.loadSprite("sprites/snake-body-1.txt", "snake-body-1");
    resources.loadSprite("sprites/snake-body-2.txt", "snake-body-2");
    resources.loadSprite("sprites/title.txt", "title");
    resources.loadSprite("sprites/start-text.txt", "start-text");
    resources.loadSound("sounds/eat.wav", "eat");
    resources.loadSound("sounds/hit.wav", "hit");
    resources.loadMusic("sounds/gamemusic.wav", "song");
}

int main()
{
    lu::GameManager& game = lu::GameManager::instance();
    if (game.startUp() != 0) {
        lu::LogManager::instance().writeMessage("Error starting game manager!");
    } else {
        loadResources();
        lu::Music* song = lu::ResourceManager::instance().getMusic("song");
        if (song != nullptr) {
            song->play(true);
        }
        new GameStart();
        game.run();
        // After a closed window the engine is down already, but music outlives its shutdown.
        song = lu::ResourceManager::instance().getMusic("song");
        if (song != nullptr) {
            song->stop();
        }
    }
    game.shutDown();
    return 0;
}
