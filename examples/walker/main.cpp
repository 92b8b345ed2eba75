// The smallest game on lu: an @ that walks while W, A, S or D is held down. Q quits.
#include <lu/DisplayManager.h>
#include <lu/EventKeyboard.h>
#include <lu/GameManager.h>
#include <lu/Keyboard.h>
#include <lu/Object.h>

// Cells per frame: about fifteen cells a second.
const float WALKING_SPEED = 0.5f;

struct KeyHeading {
    int key;
    lu::Vector heading;
};
const KeyHeading HEADINGS[] = {{lu::Keyboard::W, lu::Vector(0, -1)},
                               {lu::Keyboard::A, lu::Vector(-1, 0)},
                               {lu::Keyboard::S, lu::Vector(0, 1)},
                               {lu::Keyboard::D, lu::Vector(1, 0)}};

class Walker : public lu::Object {
public:
    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() != lu::KEYBOARD_EVENT)
            return 0;
        const auto* keyboard = static_cast<const lu::EventKeyboard*>(event);
        if (keyboard->getKey() == lu::Keyboard::Q) {
            lu::GameManager::instance().setGameOver(true); // the loop ends after this frame
            return 1;
        }
        for (const KeyHeading& entry : HEADINGS) {
            if (entry.key == keyboard->getKey()) {
                lu::Vector velocity = entry.heading;
                velocity.scale(keyboard->getKeyAction() == lu::KEY_PRESSED ? WALKING_SPEED : 0);
                setVelocity(velocity); // the world manager moves the walker every frame
                return 1;
            }
        }
        return 0;
    }

    int draw() override
    {
        return lu::DisplayManager::instance().drawCharacter(getPosition(), '@', lu::YELLOW);
    }
};

int main()
{
    lu::GameManager& game = lu::GameManager::instance();
    lu::DisplayManager::instance().setTitle("Walker");
    int status = game.startUp();
    if (status == 0) {
        Walker* walker = new Walker();           // objects register with the world, which deletes them
        walker->setPosition(lu::Vector(37, 18)); // the middle of the 75 x 36 grid
        game.run();
    }
    game.shutDown();
    return status == 0 ? 0 : 1;
}
