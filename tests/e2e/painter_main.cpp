// Draws a list of texts on the game's grid until the window is closed, optionally playing one sound
// at the start: the harness's reference for what the display draws and what the capture hears.
#include "GameManager.h"
#include "GridPainter.h"
#include "ResourceManager.h"
#include "Sound.h"

namespace {

const int USAGE_EXIT_CODE = 2;
const int FAILURE_EXIT_CODE = 1;
const char* const PROBE_SOUND_LABEL = "probe";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
        return USAGE_EXIT_CODE;
    lu::GameManager& game = lu::GameManager::instance();
    if (game.startUp() != 0) {
        game.shutDown();
        return FAILURE_EXIT_CODE;
    }
    GridPainter* painter = new GridPainter();
    if (!painter->load(argv[1])) {
        game.shutDown();
        return FAILURE_EXIT_CODE;
    }
    if (argc == 3) {
        lu::ResourceManager& resources = lu::ResourceManager::instance();
        if (resources.loadSound(argv[2], PROBE_SOUND_LABEL) != 0) {
            game.shutDown();
            return FAILURE_EXIT_CODE;
        }
        resources.getSound(PROBE_SOUND_LABEL)->play(false);
    }
    game.run();
    game.shutDown();
    return 0;
}
