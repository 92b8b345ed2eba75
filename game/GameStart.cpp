#include "GameStart.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "Keyboard.h"
#include "Level.h"
#include "ScoreDisplay.h"
#include "SnakeHead.h"
#include "WorldManager.h"

lu::Object* GameStart::titleObject = nullptr;
lu::Object* GameStart::startTextObject = nullptr;
lu::Object* GameStart::leftAppleObject = nullptr;
lu::Object* GameStart::rightAppleObject = nullptr;

GameStart::GameStart() : gameStarted(false)
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    int columns = display.getHorizontalCells();
    int rows = display.getVerticalCells();

    setType("StartGame");
    setSolidity(lu::INTANGIBLE);

    titleObject = new lu::Object();
    titleObject->setSprite("title");
    titleObject->setPosition(lu::Vector(columns / 2, rows / 6));

    startTextObject = new lu::Object();
    startTextObject->setSprite("start-text");
    startTextObject->setPosition(lu::Vector(columns / 2, (4 * rows) / 6));

    leftAppleObject = new lu::Object();
    rightAppleObject = new lu::Object();
    leftAppleObject->setSprite("apple");
    rightAppleObject->setSprite("apple");
    leftAppleObject->setPosition(lu::Vector(columns / 7, rows / 3 + 2));
    rightAppleObject->setPosition(lu::Vector((6 * columns) / 7, rows / 3 + 2));
}

int GameStart::handleEvent(const lu::Event* event)
{
    if (event->getType() != lu::KEYBOARD_EVENT) {
        return 0;
    }
    const lu::EventKeyboard* keyboard = static_cast<const lu::EventKeyboard*>(event);
    if (keyboard->getKeyAction() != lu::KEY_PRESSED) {
        return 1;
    }
    if (keyboard->getKey() == lu::Keyboard::P) {
        startGame();
    } else if (keyboard->getKey() == lu::Keyboard::Q) {
        lu::GameManager::instance().setGameOver(true);
    }
    return 1;
}

int GameStart::draw()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    int columns = display.getHorizontalCells();
    int rows = display.getVerticalCells();
    float x = columns / 2;
    display.drawString(lu::Vector(x, (4 * rows) / 6 + 2), "Press 'Q' to quit", lu::WHITE);
    display.drawString(lu::Vector(x, rows / 3), "Use WASD to move", lu::WHITE);
    display.drawString(lu::Vector(x, rows / 3 + 2), "Collect the green apple to complete the level", lu::GREEN);
    display.drawString(lu::Vector(x, rows / 3 + 4), "XXX Avoid red hazards ###", lu::RED);
    display.drawString(lu::Vector(x, rows / 3 + 6), "/// You cannot turn while on blue ice ///", lu::BLUE);
    return 1;
}

void GameStart::startGame()
{
    // Two presses of P in one frame both reach this screen before it is deleted.
    if (gameStarted) {
        return;
    }
    gameStarted = true;
    SnakeHead* head = new SnakeHead();
    ScoreDisplay* scoreDisplay = new ScoreDisplay();
    Level* level = new Level(head, scoreDisplay);
    head->setLevel(level);
    level->nextLevel();

    lu::WorldManager& world = lu::WorldManager::instance();
    world.markForDeletion(this);
    world.markForDeletion(titleObject);
    world.markForDeletion(startTextObject);
    world.markForDeletion(leftAppleObject);
    world.markForDeletion(rightAppleObject);
}
