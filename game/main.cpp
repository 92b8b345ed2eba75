#include "GameManager.h"
#include "GameResource.h"
#include "GameStart.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"

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
