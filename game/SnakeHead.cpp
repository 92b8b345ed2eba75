#include "SnakeHead.h"

#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventKillScreen.h"
#include "EventStep.h"
#include "GameManager.h"
#include "GameOver.h"
#include "Keyboard.h"
#include "Level.h"
#include "ResourceManager.h"
#include "SnakeBody.h"
#include "Sound.h"
#include "WorldManager.h"

#include <cmath>

SnakeHead::SnakeHead()
{
    setSprite("snake-head");
    setType("SnakeHead");
    setSolidity(lu::PASSABLE);
    setAltitude(3);
    setPosition(SNAKE_START_POSITION);
    setVelocity(lu::Vector(CREEP_SPEED, 0));
    movePeriod = MOVE_PERIOD;
    moveCountdown = MOVE_PERIOD;
    heading = HEADING_RIGHT;
    queuedHeading = HEADING_RIGHT;
    onIce = false;
    dead = false;
    killScreen = false;
    level = nullptr;
    for (int i = 0; i < SNAKE_LENGTH; i++) {
        lu::Vector cell(SNAKE_START_POSITION.getX() - i, SNAKE_START_POSITION.getY());
        trail[i] = cell;
        SnakeBody* segment = new SnakeBody(i, cell);
        // The head always stands on segment 0; it and the next two must never count as hits.
        if (i < INTANGIBLE_SEGMENTS) {
            segment->setSolidity(lu::INTANGIBLE);
        }
    }
}

SnakeHead::~SnakeHead()
{
    // The head owns its game's level: an apple uses the level only when this head touches it.
    delete level;
}

int SnakeHead::handleEvent(const lu::Event* event)
{
    std::string type = event->getType();
    if (type == lu::KEYBOARD_EVENT) {
        const lu::EventKeyboard* keyboard = static_cast<const lu::EventKeyboard*>(event);
        if (keyboard->getKeyAction() == lu::KEY_PRESSED) {
            handleKey(keyboard->getKey());
        }
        return 1;
    }
    if (type == KILL_SCREEN_EVENT) {
        killScreen = true;
        return 0;
    }
    if (type == lu::STEP_EVENT) {
        onStep();
        return 1;
    }
    if (type == lu::COLLISION_EVENT) {
        handleCollision(event);
        return 1;
    }
    return 0;
}

void SnakeHead::setLevel(Level* newLevel)
{
    level = newLevel;
}

bool SnakeHead::isDead() const
{
    return dead;
}

bool SnakeHead::isKillScreen() const
{
    return killScreen;
}

void SnakeHead::handleKey(int key)
{
    // Turns are judged against the last jump, so two quick presses can never reverse the snake.
    bool horizontal = heading == HEADING_RIGHT || heading == HEADING_LEFT;
    switch (key) {
    case lu::Keyboard::W:
        if (horizontal) {
            queuedHeading = HEADING_UP;
        }
        break;
    case lu::Keyboard::S:
        if (horizontal) {
            queuedHeading = HEADING_DOWN;
        }
        break;
    case lu::Keyboard::A:
        if (!horizontal) {
            queuedHeading = HEADING_LEFT;
        }
        break;
    case lu::Keyboard::D:
        if (!horizontal) {
            queuedHeading = HEADING_RIGHT;
        }
        break;
    case lu::Keyboard::Q:
        lu::GameManager::instance().setGameOver(true);
        break;
    default:
        break;
    }
}

void SnakeHead::handleCollision(const lu::Event* event)
{
    const lu::EventCollision* collision = static_cast<const lu::EventCollision*>(event);
    lu::Object* a = collision->getMovingObject();
    lu::Object* b = collision->getOtherObject();
    lu::Vector aPosition = a->getPosition();
    lu::Vector bPosition = b->getPosition();
    // Neighbours whose boxes only touch the head's are reported too; only a shared cell counts.
    if (std::fabs(aPosition.getX() - bPosition.getX()) >= SAME_CELL_DISTANCE ||
        std::fabs(aPosition.getY() - bPosition.getY()) >= SAME_CELL_DISTANCE) {
        return;
    }
    std::string aType = a->getType();
    std::string bType = b->getType();
    if (aType == "SnakeBody" || bType == "SnakeBody" || aType == "hazard" || bType == "hazard") {
        die();
    } else if (aType == "ice" || bType == "ice") {
        onIce = true;
        moveCountdown--;
    }
}

void SnakeHead::onStep()
{
    moveCountdown--;
    if (moveCountdown > 0 && !killScreen) {
        return;
    }
    if (dead) {
        return;
    }
    moveCountdown = movePeriod;
    if (!onIce) {
        heading = queuedHeading;
    }

    lu::Vector position = getPosition();
    float x = std::roundf(position.getX());
    float y = std::roundf(position.getY());
    lu::Vector creep;
    switch (heading) {
    case HEADING_UP:
        y -= 1;
        creep = lu::Vector(0, -CREEP_SPEED);
        break;
    case HEADING_RIGHT:
        x += 1;
        creep = lu::Vector(CREEP_SPEED, 0);
        break;
    case HEADING_DOWN:
        y += 1;
        creep = lu::Vector(0, CREEP_SPEED);
        break;
    case HEADING_LEFT:
        x -= 1;
        creep = lu::Vector(-CREEP_SPEED, 0);
        break;
    }
    lu::Vector jumped(x, y);
    setPosition(jumped);
    setVelocity(creep);

    for (int i = SNAKE_LENGTH - 1; i > 0; i--) {
        trail[i] = trail[i - 1];
    }
    trail[0] = jumped;
    EventHeadMoved moved(trail);
    lu::WorldManager::instance().broadcastEvent(&moved);

    // Tested after the broadcast, so the body follows the head onto the fatal cell.
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    if (x < 0 || x > display.getHorizontalCells() + RIGHT_EDGE_ALLOWANCE || y < 0 || y > display.getVerticalCells()) {
        die();
    }
    onIce = false;
}

void SnakeHead::die()
{
    if (dead) {
        return;
    }
    dead = true;
    lu::Sound* hit = lu::ResourceManager::instance().getSound("hit");
    if (hit != nullptr) {
        hit->play(false);
    }
    setSpeed(0);
    new GameOver();
}
