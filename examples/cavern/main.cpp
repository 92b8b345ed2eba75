// A cave four screens wide and two high, with gems to find. W, A, S, D or the arrows walk while held and
// the view follows; the mouse wheel looks along the cave and Home brings the view back; holding the left
// button measures how far the pointer is. Q quits.
#include <lu/Box.h>
#include <lu/DisplayManager.h>
#include <lu/EventCollision.h>
#include <lu/EventKeyboard.h>
#include <lu/EventMouse.h>
#include <lu/EventStep.h>
#include <lu/GameManager.h>
#include <lu/InputManager.h>
#include <lu/Keyboard.h>
#include <lu/ObjectList.h>
#include <lu/Object.h>
#include <lu/WorldManager.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

const int CAVE_COLUMNS = 300;
const int CAVE_ROWS = 72;
const int GEMS = 30;
const float WALKING_SPEED = 0.5f; // cells per frame
const float COLUMNS_PER_WHEEL_NOTCH = 10;
const int FRAME_MILLISECONDS = 25; // 40 frames a second: smoother scrolling than the default 33

// A rock on the cave's edge: solid, so the player cannot walk through it.
class Rock : public lu::Object {
public:
    explicit Rock(lu::Vector position)
    {
        setType("Rock");
        setPosition(position);
        setAltitude(0);
    }

    int draw() override
    {
        return lu::DisplayManager::instance().drawCharacter(getPosition(), '#', lu::BLUE);
    }
};

// A gem, picked up when the player walks onto it.
class Gem : public lu::Object {
public:
    explicit Gem(lu::Vector position)
    {
        setType("Gem");
        setPosition(position);
        setSolidity(lu::PASSABLE); // the player walks onto it rather than being stopped
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() != lu::COLLISION_EVENT)
            return 0;
        // Only the player moves, so whatever touches the gem is the player.
        lu::WorldManager::instance().markForDeletion(this);
        return 1;
    }

    int draw() override
    {
        return lu::DisplayManager::instance().drawCharacter(getPosition(), '*', lu::CYAN);
    }
};

// The player: walks while a direction key is held, sliding along the rock, and the view follows.
class Player : public lu::Object {
public:
    explicit Player(lu::Vector position)
    {
        setType("Player");
        setPosition(position);
        // A little smaller than its cell, so that it can walk right beside the rock.
        setBox(lu::Box(lu::Vector(-0.4f, -0.4f), 0.8f, 0.8f));
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() != lu::STEP_EVENT)
            return 0;
        const lu::InputManager& input = lu::InputManager::instance();
        lu::Vector heading;
        if (input.isKeyDown(lu::Keyboard::W) || input.isKeyDown(lu::Keyboard::UP_ARROW))
            heading = heading + lu::Vector(0, -1);
        if (input.isKeyDown(lu::Keyboard::S) || input.isKeyDown(lu::Keyboard::DOWN_ARROW))
            heading = heading + lu::Vector(0, 1);
        if (input.isKeyDown(lu::Keyboard::A) || input.isKeyDown(lu::Keyboard::LEFT_ARROW))
            heading = heading + lu::Vector(-1, 0);
        if (input.isKeyDown(lu::Keyboard::D) || input.isKeyDown(lu::Keyboard::RIGHT_ARROW))
            heading = heading + lu::Vector(1, 0);
        heading.normalize();
        lu::Vector step = heading * WALKING_SPEED;
        // A step into the rock is tried along each axis alone, to slide along the wall.
        if (hitsRock(step))
            step = hitsRock(lu::Vector(step.getX(), 0)) ? lu::Vector(0, step.getY()) : lu::Vector(step.getX(), 0);
        setVelocity(step); // the world moves it, and the rock stops what is left of the step
        if (heading != lu::Vector())
            lu::WorldManager::instance().cameraFollows(this); // walking brings the view back
        return 1;
    }

    int draw() override
    {
        return lu::DisplayManager::instance().drawCharacter(getPosition(), '@', lu::YELLOW);
    }

private:
    bool hitsRock(lu::Vector step) const
    {
        if (step == lu::Vector())
            return false; // standing still runs into nothing
        lu::ObjectList hits = lu::WorldManager::instance().collisionsAt(this, getPosition() + step);
        for (int i = 0; i < hits.getCount(); i++)
            if (hits.at(i)->getType() == "Rock")
                return true;
        return false;
    }
};

// What stays on the screen while the view moves: the gems found, the nearest one, the help line and the
// mouse pointer. It also takes the keys and the mouse that are not about walking.
class Screen : public lu::Object {
public:
    explicit Screen(Player* player) : player(player)
    {
        setType("Screen");
        setSolidity(lu::INTANGIBLE);
        setAltitude(lu::MAX_ALTITUDE);
    }

    int handleEvent(const lu::Event* event) override
    {
        lu::WorldManager& world = lu::WorldManager::instance();
        if (event->getType() == lu::KEYBOARD_EVENT) {
            const auto* keyboard = static_cast<const lu::EventKeyboard*>(event);
            if (keyboard->getKeyAction() != lu::KEY_PRESSED)
                return 0;
            if (keyboard->getKey() == lu::Keyboard::Q)
                lu::GameManager::instance().setGameOver(true);
            else if (keyboard->getKey() == lu::Keyboard::HOME)
                world.cameraFollows(player);
            return 1;
        }
        if (event->getType() != lu::MOUSE_EVENT)
            return 0;
        const auto* mouse = static_cast<const lu::EventMouse*>(event);
        // Kept in view cells, so the pointer stays put on the screen when the view moves under it.
        pointer = mouse->getMousePosition() - world.getCamera();
        if (mouse->getMouseAction() == lu::MOUSE_CLICKED && mouse->getMouseButton() == lu::LEFT)
            measuring = true;
        else if (mouse->getMouseAction() == lu::MOUSE_RELEASED && mouse->getMouseButton() == lu::LEFT)
            measuring = false;
        else if (mouse->getMouseAction() == lu::MOUSE_WHEEL) {
            // A notch away from the player looks further along the cave.
            world.cameraFollows(nullptr);
            world.setCamera(world.getCamera() + lu::Vector(mouse->getWheelDelta() * COLUMNS_PER_WHEEL_NOTCH, 0));
        }
        return 1;
    }

    int draw() override
    {
        const lu::DisplayManager& display = lu::DisplayManager::instance();
        const lu::WorldManager& world = lu::WorldManager::instance();
        lu::Vector topLeft = world.getCamera(); // what is drawn here stays on the screen
        int right = display.getHorizontalCells() - 2;
        int bottom = display.getVerticalCells() - 1;

        lu::ObjectList gems = world.objectsOfType("Gem");
        std::string found = "Gems found: " + std::to_string(GEMS - gems.getCount()) + " of " + std::to_string(GEMS);
        display.drawString(topLeft + lu::Vector(1, 0), found, lu::WHITE, lu::ALIGN_LEFT);
        std::string nearest = "All found!";
        if (!gems.isEmpty()) {
            float closest = player->getPosition().distanceTo(gems.at(0)->getPosition());
            for (int i = 1; i < gems.getCount(); i++)
                closest = std::min(closest, player->getPosition().distanceTo(gems.at(i)->getPosition()));
            nearest = "Nearest gem: " + std::to_string(static_cast<int>(closest)) + " cells";
        }
        display.drawString(topLeft + lu::Vector(static_cast<float>(right), 0), nearest, lu::WHITE, lu::ALIGN_RIGHT);
        display.drawString(topLeft + lu::Vector(static_cast<float>(display.getHorizontalCells() / 2), bottom),
                           "WASD or arrows walk - wheel looks along - Home comes back - Q quits", lu::GREEN);

        display.drawCharacter(topLeft + pointer, '+', lu::RED);
        if (measuring) {
            int away = static_cast<int>(player->getPosition().distanceTo(topLeft + pointer));
            display.drawString(topLeft + pointer + lu::Vector(2, 0), std::to_string(away) + " cells away", lu::RED,
                               lu::ALIGN_LEFT);
        }
        return 0;
    }

private:
    Player* player;
    lu::Vector pointer;
    bool measuring = false;
};

// Builds the cave: a tunnel that wanders up and down, its edges lined with rocks, gems in the open.
// Returns where the player starts.
lu::Vector buildCave()
{
    std::vector<int> ceiling(CAVE_COLUMNS);
    std::vector<int> floor(CAVE_COLUMNS);
    int middle = CAVE_ROWS / 2;
    int halfHeight = 9;
    for (int x = 0; x < CAVE_COLUMNS; x++) {
        // A step up or down every third column or so, so that the tunnel winds rather than zigzags.
        if (std::rand() % 3 == 0)
            middle = std::max(12, std::min(CAVE_ROWS - 13, middle + std::rand() % 3 - 1));
        if (std::rand() % 4 == 0)
            halfHeight = std::max(6, std::min(11, halfHeight + std::rand() % 3 - 1));
        ceiling[x] = middle - halfHeight;
        floor[x] = middle + halfHeight;
    }
    auto isRock = [&ceiling, &floor](int x, int y) {
        return x <= 0 || x >= CAVE_COLUMNS - 1 || y <= ceiling[x] || y >= floor[x];
    };
    // Rock next to the open cave, corners included; the solid rock behind it stays dark and costs nothing.
    for (int x = 0; x < CAVE_COLUMNS; x++) {
        for (int y = 0; y < CAVE_ROWS; y++) {
            bool edge = false;
            for (int dx = -1; dx <= 1; dx++)
                for (int dy = -1; dy <= 1; dy++)
                    edge = edge || (x + dx > 0 && x + dx < CAVE_COLUMNS - 1 && !isRock(x + dx, y + dy));
            if (isRock(x, y) && edge)
                new Rock(lu::Vector(static_cast<float>(x), static_cast<float>(y)));
        }
    }
    for (int i = 0; i < GEMS; i++) {
        int x = 10 + std::rand() % (CAVE_COLUMNS - 20);
        int y = ceiling[x] + 2 + std::rand() % (floor[x] - ceiling[x] - 3);
        new Gem(lu::Vector(static_cast<float>(x), static_cast<float>(y)));
    }
    return lu::Vector(4, static_cast<float>((ceiling[4] + floor[4]) / 2));
}

int main()
{
    lu::GameManager& game = lu::GameManager::instance();
    lu::DisplayManager::instance().setTitle("Cavern"); // before start-up: the window opens with it
    int status = game.startUp();
    if (status == 0) {
        game.setFrameTime(FRAME_MILLISECONDS);
        lu::WorldManager& world = lu::WorldManager::instance();
        world.setWorldSize(CAVE_COLUMNS, CAVE_ROWS);
        Player* player = new Player(buildCave());
        world.cameraFollows(player);
        new Screen(player);
        game.run();
    }
    game.shutDown();
    return status == 0 ? 0 : 1;
}
