// Loads arbitrary bytes as a sprite file and draws every frame of the result through an
// animation, with a display that has no window.

#include "Animation.h"
#include "CellListener.h"
#include "DisplayManager.h"
#include "Frame.h"
#include "FuzzInput.h"
#include "ResourceManager.h"
#include "Sprite.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Where the frames are centred: the middle of the default grid.
const lu::Vector CENTRE(lu::WINDOW_HORIZONTAL_CELLS_DEFAULT / 2, lu::WINDOW_VERTICAL_CELLS_DEFAULT / 2);

// Counts the characters of one draw and aborts on any drawn outside the frame's rectangle.
class FrameBounds : public lu::CellListener {
public:
    void begin(const lu::Frame& frame)
    {
        left = CENTRE.getX() - frame.getWidth() / 2;
        top = CENTRE.getY() - frame.getHeight() / 2;
        right = left + frame.getWidth() - 1;
        bottom = top + frame.getHeight() - 1;
        // Cells are placed in float, which rounds far from the origin: allow for that.
        slack = 1 + (std::fabs(left) + std::fabs(right) + std::fabs(top) + std::fabs(bottom)) * 1e-6;
        count = 0;
    }

    void onCharacter(lu::Vector worldPosition, char, lu::Color) override
    {
        double x = worldPosition.getX();
        double y = worldPosition.getY();
        if (x < left - slack || x > right + slack || y < top - slack || y > bottom + slack) {
            std::abort();
        }
        count++;
    }

    long long count = 0;

private:
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double slack = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = lufuzz::inputPath();
    if (!lufuzz::writeInput(path, data, size)) {
        std::abort();
    }

    lu::ResourceManager& resources = lu::ResourceManager::instance();
    if (resources.loadSprite(path, "fuzz") != 0) {
        return 0;
    }
    lu::Sprite* sprite = resources.getSprite("fuzz");

    FrameBounds bounds;
    lu::DisplayManager::instance().setCellListener(&bounds);
    lu::Animation animation;
    animation.setSprite(sprite);
    // One draw per frame, then one past the last, which must draw nothing.
    for (int i = 0; i <= sprite->getFrameCount(); i++) {
        lu::Frame frame = sprite->getFrame(i);
        bounds.begin(frame);
        animation.setIndex(i);
        if (animation.draw(CENTRE) != 0) {
            std::abort();
        }
        // Nothing may be read beyond a frame's text, however short its rows were.
        if (bounds.count > static_cast<long long>(frame.getString().size())) {
            std::abort();
        }
        if (i == sprite->getFrameCount() && bounds.count != 0) {
            std::abort();
        }
    }
    // And a few draws left to the animation's own advancing, slowdown included.
    animation.setIndex(0);
    animation.setSlowdownCount(0);
    for (int i = 0; i < sprite->getFrameCount() * 2; i++) {
        bounds.begin(sprite->getFrame(animation.getIndex()));
        animation.draw(CENTRE);
    }
    lu::DisplayManager::instance().setCellListener(nullptr);
    resources.shutDown();
    return 0;
}
