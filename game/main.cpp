#include "DisplayManager.h"
#include "GameManager.h"
#include "GameResource.h"
#include "GameStart.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"

#include <cstdio>
#include <string>

namespace {

const char* const USAGE = "usage: coilwander [--record FILE | --replay FILE [--headless]]";
const int EXIT_USAGE = 2;
const int EXIT_NO_RECORDING = 1;

struct Options {
    std::string record;
    std::string replay;
    bool headless = false;
};

// Reads the command line into options; false for one the game does not understand.
bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; i++) {
        std::string option = argv[i];
        if (option == "--headless" && !options.headless) {
            options.headless = true;
            continue;
        }
        if ((option != "--record" && option != "--replay") || i + 1 >= argc) {
            return false;
        }
        std::string& file = option == "--record" ? options.record : options.replay;
        // A file named like an option is an option whose file was forgotten.
        std::string name = argv[++i];
        if (!file.empty() || name.empty() || name.rfind("--", 0) == 0) {
            return false;
        }
        file = name;
    }
    if (!options.record.empty() && !options.replay.empty()) {
        return false;
    }
    return !options.headless || !options.replay.empty();
}

void tell(const std::string& message)
{
    std::fprintf(stderr, "coilwander: %s\n", message.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "%s\n", USAGE);
        return EXIT_USAGE;
    }
    // The recording is checked whole before anything starts: a refused one leaves even the log as it was.
    lu::InputManager& input = lu::InputManager::instance();
    if (!options.replay.empty()) {
        if (input.startReplay(options.replay) != 0) {
            tell(input.getRecordingMessage());
            return EXIT_NO_RECORDING;
        }
        if (!input.getRecordingMessage().empty()) {
            tell(input.getRecordingMessage());
        }
    }
    if (!options.record.empty() && input.startRecording(options.record) != 0) {
        tell(input.getRecordingMessage());
        return EXIT_NO_RECORDING;
    }
    lu::GameManager& game = lu::GameManager::instance();
    if (options.headless) {
        game.setHeadless();
    }

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

    if (options.record.empty() && options.replay.empty()) {
        return 0;
    }
    // What the game looked like at the end, to compare a recorded run with its replays.
    std::fputs(lu::DisplayManager::instance().getScreenText().c_str(), stdout);
    if (!options.record.empty() && !input.getRecordingMessage().empty()) {
        tell(input.getRecordingMessage());
        return EXIT_NO_RECORDING;
    }
    return 0;
}
