// Stars fall from the top; A and D move the basket that catches them. M pauses the music, - and = set its
// volume. Q quits.
// Shows sprites loaded from files, their animation, collisions, the out event, a sound, music and a game's own events.
#include <lu/DisplayManager.h>
#include <lu/EventCollision.h>
#include <lu/EventKeyboard.h>
#include <lu/EventOut.h>
#include <lu/EventStep.h>
#include <lu/GameManager.h>
#include <lu/Keyboard.h>
#include <lu/Music.h>
#include <lu/Object.h>
#include <lu/ResourceManager.h>
#include <lu/Sound.h>
#include <lu/WorldManager.h>

#include <cstdlib>
#include <string>

// The game's own events, broadcast to every object like the engine's.
const std::string CAUGHT_EVENT = "starcatch::caught";
const std::string MISSED_EVENT = "starcatch::missed";

const int STARS_FALLING = 4;
const float BASKET_SPEED = 0.8f;
const float BASKET_ROW = 33;

// A twinkling star (two frames in sprites/star.txt) that falls until it is caught or leaves the window.
class Star : public lu::Object {
public:
    Star()
    {
        setType("Star");
        setSprite("star");
        setSolidity(lu::PASSABLE); // stars fall through each other
        setPosition(lu::Vector(static_cast<float>(2 + std::rand() % 71), 1));
        setVelocity(lu::Vector(0, 0.2f + static_cast<float>(std::rand() % 20) / 100));
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == lu::COLLISION_EVENT) {
            const auto* collision = static_cast<const lu::EventCollision*>(event);
            // Either of the two may be the one moving.
            lu::Object* other =
                collision->getMovingObject() == this ? collision->getOtherObject() : collision->getMovingObject();
            if (other->getType() == "Basket")
                end(CAUGHT_EVENT);
            return 1;
        }
        if (event->getType() == lu::OUT_EVENT) {
            end(MISSED_EVENT);
            return 1;
        }
        return 0;
    }

private:
    // Tells every object how the star ended, and lets a new one fall in its place.
    void end(const std::string& how)
    {
        // A star can touch the basket twice in one frame, once as each one moves.
        if (ended)
            return;
        ended = true;
        lu::WorldManager& world = lu::WorldManager::instance();
        world.markForDeletion(this); // deleted by the world at its next update, never with delete
        lu::Event news;
        news.setType(how);
        world.broadcastEvent(&news);
        new Star();
    }

    bool ended = false;
};

// The basket (sprites/basket.txt): moves while A or D is held, and stays inside the window.
class Basket : public lu::Object {
public:
    Basket()
    {
        setType("Basket");
        setSprite("basket");
        setPosition(lu::Vector(37, BASKET_ROW));
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == lu::KEYBOARD_EVENT) {
            const auto* keyboard = static_cast<const lu::EventKeyboard*>(event);
            bool pressed = keyboard->getKeyAction() == lu::KEY_PRESSED;
            if (keyboard->getKey() == lu::Keyboard::Q && pressed)
                lu::GameManager::instance().setGameOver(true);
            else if (keyboard->getKey() == lu::Keyboard::A)
                setVelocity(lu::Vector(pressed ? -BASKET_SPEED : 0, 0));
            else if (keyboard->getKey() == lu::Keyboard::D)
                setVelocity(lu::Vector(pressed ? BASKET_SPEED : 0, 0));
            return 1;
        }
        if (event->getType() == lu::STEP_EVENT) {
            // Every frame: keep the basket's five cells on the grid.
            float right = static_cast<float>(lu::DisplayManager::instance().getHorizontalCells() - 3);
            float x = getPosition().getX();
            if (x < 2 || x > right)
                setPosition(lu::Vector(x < 2 ? 2 : right, BASKET_ROW));
            return 1;
        }
        if (event->getType() == CAUGHT_EVENT) {
            lu::Sound* sound = lu::ResourceManager::instance().getSound("catch");
            if (sound != nullptr)
                sound->play();
            return 1;
        }
        return 0;
    }
};

// The sound desk: M pauses and resumes the music, - and = turn it down and up; a miss cuts short the blip
// of the last catch.
class SoundDesk : public lu::Object {
public:
    SoundDesk()
    {
        setType("SoundDesk");
        setSolidity(lu::INTANGIBLE); // neither seen nor touched
    }

    int handleEvent(const lu::Event* event) override
    {
        lu::ResourceManager& resources = lu::ResourceManager::instance();
        if (event->getType() == MISSED_EVENT) {
            if (lu::Sound* blip = resources.getSound("catch"))
                blip->stop();
            return 1;
        }
        if (event->getType() != lu::KEYBOARD_EVENT)
            return 0;
        const auto* keyboard = static_cast<const lu::EventKeyboard*>(event);
        lu::Music* music = resources.getMusic("hum");
        if (keyboard->getKeyAction() != lu::KEY_PRESSED || music == nullptr)
            return 0;
        if (keyboard->getKey() == lu::Keyboard::M) {
            if (music->isPlaying())
                music->pause(); // play() carries on from here
            else
                music->play();
        } else if (keyboard->getKey() == lu::Keyboard::HYPHEN) {
            music->setVolume(music->getVolume() - VOLUME_STEP); // kept within 0 to 100
        } else if (keyboard->getKey() == lu::Keyboard::EQUAL) {
            music->setVolume(music->getVolume() + VOLUME_STEP);
        } else {
            return 0;
        }
        return 1;
    }

private:
    static constexpr float VOLUME_STEP = 10;
};

// The score line at the top, drawn over everything else (altitude 4).
class Score : public lu::Object {
public:
    Score()
    {
        setType("Score");
        setSolidity(lu::INTANGIBLE); // only shows text: takes no part in collisions
        setAltitude(lu::MAX_ALTITUDE);
        setPosition(lu::Vector(37, 0));
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == CAUGHT_EVENT)
            ++caught;
        else if (event->getType() == MISSED_EVENT)
            ++missed;
        else
            return 0;
        return 1;
    }

    int draw() override
    {
        std::string text = "Caught " + std::to_string(caught) + "   Missed " + std::to_string(missed);
        return lu::DisplayManager::instance().drawString(getPosition(), text, lu::WHITE);
    }

private:
    int caught = 0;
    int missed = 0;
};

int main()
{
    lu::GameManager& game = lu::GameManager::instance();
    lu::DisplayManager::instance().setTitle("Starcatch");
    int status = game.startUp();
    if (status == 0) {
        // Files are opened relative to the working directory; CMake's lu_stage_data put them there.
        lu::ResourceManager& resources = lu::ResourceManager::instance();
        resources.loadSprite("sprites/star.txt", "star");
        resources.loadSprite("sprites/basket.txt", "basket");
        resources.loadSound("sounds/catch.wav", "catch");
        resources.loadMusic("sounds/hum.wav", "hum");
        if (lu::Music* music = resources.getMusic("hum")) {
            music->setVolume(50);
            music->play(); // loops until the game ends
        }
        new SoundDesk();
        new Score();
        new Basket();
        for (int i = 0; i < STARS_FALLING; ++i)
            new Star();
        game.run();
    }
    game.shutDown();
    return status == 0 ? 0 : 1;
}
