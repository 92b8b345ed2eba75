#include "Animation.h"
#include "Frame.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string LOAD_PREFIX = "load-";
const std::string REJECT_PREFIX = "reject-";

class FuzzRegressionTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::ResourceManager::instance().shutDown();
    }

    // The kept inputs, by name, so failures read the same on every run.
    static std::vector<fs::path> inputs()
    {
        std::vector<fs::path> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(LU_FUZZ_REGRESSIONS_DIR)) {
            if (entry.is_regular_file() && entry.path().extension() == ".txt") {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    // Draws frame after frame through one animation, as an object would, and checks that each draw
    // shows as many characters as both the frame's text and its rectangle hold, and none past the last frame.
    static void drawEveryFrame(lu::Sprite* sprite, const std::string& name)
    {
        const lu::Vector centre(lutest::ScreenText::WIDTH / 2, lutest::ScreenText::HEIGHT / 2);
        lutest::ScreenText screen;
        lu::Animation animation;
        animation.setSprite(sprite);
        for (int i = 0; i <= sprite->getFrameCount(); i++) {
            lu::Frame frame = sprite->getFrame(i);
            long long cells = static_cast<long long>(frame.getWidth()) * frame.getHeight();
            long long expected = std::min(static_cast<long long>(frame.getString().size()), cells);
            screen.clear();
            animation.setIndex(i);
            EXPECT_EQ(0, animation.draw(centre)) << name;
            if (i == sprite->getFrameCount()) {
                EXPECT_EQ(0, screen.drawCount()) << name << ": past the last frame";
            } else {
                EXPECT_EQ(expected, screen.drawCount()) << name << ": frame " << i;
            }
        }
    }
};

TEST_F(FuzzRegressionTest, EveryKeptInputLoadsOrIsRefusedAsItsNameSaysAndDrawsWithinItsFrames)
{
    std::vector<fs::path> files = inputs();
    ASSERT_FALSE(files.empty()) << "no inputs in " << LU_FUZZ_REGRESSIONS_DIR;
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    for (const fs::path& file : files) {
        std::string name = file.filename().string();
        int expected = 0;
        if (name.rfind(REJECT_PREFIX, 0) == 0) {
            expected = -1;
        } else if (name.rfind(LOAD_PREFIX, 0) != 0) {
            ADD_FAILURE() << name << ": name it " << LOAD_PREFIX << "*.txt or " << REJECT_PREFIX << "*.txt";
            continue;
        }
        EXPECT_EQ(expected, resources.loadSprite(file.string(), name)) << name;
        lu::Sprite* sprite = resources.getSprite(name);
        EXPECT_EQ(expected == 0, sprite != nullptr) << name;
        if (sprite != nullptr) {
            drawEveryFrame(sprite, name);
        }
    }
}

} // namespace
