// Records a long game for the replay benchmark: the real game, headless, played by a scripted player
// whose keys go through the input manager as a player's would. It presses P on the title screen, steers
// for each apple past hazards and its own body, runs into the edge after a few apples, and after the
// countdown starts again; Q ends the game on the last frame. The recording is what
// `coilwander --replay FILE --headless` plays back; the last screen goes to stdout, to compare with the
// replay's.
//
// Usage: replay_harness FILE [frames]   (run in the game's staged folder)

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameResource.h"
#include "GameStart.h"
#include "InputManager.h"
#include "InputRecord.h"
#include "Keyboard.h"
#include "Music.h"
#include "ObjectList.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace {

const int FRAMES_DEFAULT = 10000;
// Frames the title screen is shown before P, and apples eaten before the player runs into the edge.
const int TITLE_FRAMES = 20;
const int APPLES_PER_GAME = 5;
const int COLUMNS = 75;
const int ROWS = 36;

using Cell = std::pair<long, long>;

Cell cellOf(const lu::Object* object)
{
    return Cell(std::lround(object->getPosition().getX()), std::lround(object->getPosition().getY()));
}

void press(int key)
{
    lu::InputRecord record;
    record.kind = lu::INPUT_KEY;
    record.key = key;
    record.keyAction = lu::KEY_PRESSED;
    lu::InputManager::instance().applyInput(record);
    record.keyAction = lu::KEY_RELEASED;
    lu::InputManager::instance().applyInput(record);
}

int keyFor(Cell way)
{
    if (way.first > 0)
        return lu::Keyboard::D;
    if (way.first < 0)
        return lu::Keyboard::A;
    return way.second > 0 ? lu::Keyboard::S : lu::Keyboard::W;
}

class Player {
public:
    // Looks at the world before a frame and presses what that frame's input should hold.
    void play(int frame, int lastFrame)
    {
        if (frame >= lastFrame) {
            press(lu::Keyboard::Q);
            return;
        }
        const lu::Object* head = nullptr;
        const lu::Object* apple = nullptr;
        bool title = false;
        danger.clear();
        lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
        for (int i = 0; i < all.getCount(); i++) {
            const lu::Object* object = all.at(i);
            if (object->getType() == "SnakeHead")
                head = object;
            else if (object->getType() == "apple")
                apple = object;
            else if (object->getType() == "StartGame")
                title = true;
            else if (object->getType() == "hazard" || object->getType() == "SnakeBody")
                danger.insert(cellOf(object));
        }
        titleFrames = title ? titleFrames + 1 : 0;
        if (titleFrames == TITLE_FRAMES) {
            press(lu::Keyboard::P);
            applesAtStart = apples;
        }
        if (head == nullptr || apple == nullptr) {
            lastHead = Cell(-1, -1);
            return;
        }
        Cell at = cellOf(head);
        if (lastHead != Cell(-1, -1) && at != lastHead)
            heading = Cell(at.first - lastHead.first, at.second - lastHead.second);
        if (lastHead == Cell(-1, -1))
            heading = Cell(1, 0);
        if (apple->getId() != lastApple)
            apples++;
        lastApple = apple->getId();
        lastHead = at;
        // Enough for this game: straight on into whatever comes.
        if (apples - applesAtStart > APPLES_PER_GAME)
            return;
        Cell way = choose(at, cellOf(apple));
        if (way != heading)
            press(keyFor(way));
    }

    int getApples() const
    {
        return apples;
    }

private:
    bool safe(Cell cell) const
    {
        return cell.first >= 0 && cell.first < COLUMNS && cell.second > 0 && cell.second < ROWS - 1 &&
               danger.count(cell) == 0;
    }

    // A quarter turn towards the apple, or straight on, whichever closes in; any safe way not back when
    // that way holds danger within two cells.
    Cell choose(Cell at, Cell target) const
    {
        long dx = target.first - at.first;
        long dy = target.second - at.second;
        Cell towards = heading;
        if (heading.first != 0 && dx * heading.first <= 0)
            towards = Cell(0, dy >= 0 ? 1 : -1);
        else if (heading.second != 0 && dy * heading.second <= 0)
            towards = Cell(dx >= 0 ? 1 : -1, 0);
        Cell sideways(heading.second, heading.first);
        Cell other(-heading.second, -heading.first);
        for (Cell way : {towards, heading, sideways, other}) {
            Cell one(at.first + way.first, at.second + way.second);
            Cell two(one.first + way.first, one.second + way.second);
            if (safe(one) && safe(two))
                return way;
        }
        return towards;
    }

    std::set<Cell> danger;
    Cell heading = Cell(1, 0);
    Cell lastHead = Cell(-1, -1);
    int lastApple = -1;
    int titleFrames = 0;
    int apples = 0;
    int applesAtStart = 0;
};

} // namespace

int main(int argc, char** argv)
{
    int frames = argc == 3 ? std::atoi(argv[2]) : FRAMES_DEFAULT;
    if (argc < 2 || argc > 3 || frames <= TITLE_FRAMES) {
        std::fprintf(stderr, "usage: replay_harness FILE [frames above %d]\n", TITLE_FRAMES);
        return 2;
    }
    lu::GameManager& game = lu::GameManager::instance();
    lu::InputManager& input = lu::InputManager::instance();
    game.setHeadless();
    if (input.startRecording(argv[1]) != 0 || game.startUp() != 0) {
        std::fprintf(stderr, "replay_harness: %s\n", input.getRecordingMessage().c_str());
        return 1;
    }
    // As the game's main starts: the song is asked for even though a headless game plays none.
    loadResources();
    lu::Music* song = lu::ResourceManager::instance().getMusic("song");
    if (song != nullptr)
        song->play(true);
    new GameStart();

    Player player;
    int frame = 0;
    // Q ends the game wherever it is pressed; a game that would not end fails here rather than run on.
    while (!game.isGameOver() && frame < frames + TITLE_FRAMES) {
        player.play(frame, frames - 1);
        game.runFrame();
        frame++;
    }
    input.stopRecording();
    game.shutDown();
    std::fputs(lu::DisplayManager::instance().getScreenText().c_str(), stdout);
    std::fprintf(stderr, "replay_harness: %d frames recorded in %s, %d apples eaten\n", frame, argv[1],
                 player.getApples());
    return game.isGameOver() && input.getRecordingMessage().empty() ? 0 : 1;
}
