#include "Animation.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Inputs that once broke the fuzzers, read in place: "load-*.txt" must load and "reject-*.txt" must
// be refused. Each loaded frame then draws as many characters as both its text and its rectangle
// hold, and nothing is drawn past the last frame.
TEST(FuzzRegressionTest, EveryKeptInputLoadsOrIsRefusedAsItsNameSaysAndDrawsWithinItsFrames)
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(LU_FUZZ_REGRESSIONS_DIR))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no inputs in " << LU_FUZZ_REGRESSIONS_DIR;

    lu::ResourceManager& resources = lu::ResourceManager::instance();
    lutest::ScreenText screen;
    for (const fs::path& file : files) {
        std::string name = file.filename().string();
        bool loads = name.rfind("load-", 0) == 0;
        ASSERT_TRUE(loads || name.rfind("reject-", 0) == 0) << name << ": name it load-*.txt or reject-*.txt";
        EXPECT_EQ(loads ? 0 : -1, resources.loadSprite(file.string(), name)) << name;
        lu::Sprite* sprite = resources.getSprite(name);
        EXPECT_EQ(loads, sprite != nullptr) << name;
        lu::Animation animation;
        animation.setSprite(sprite);
        for (int i = 0; sprite != nullptr && i <= sprite->getFrameCount(); i++) {
            lu::Frame frame = sprite->getFrame(i);
            long long cells = static_cast<long long>(frame.getWidth()) * frame.getHeight();
            long long expected = std::min(static_cast<long long>(frame.getString().size()), cells);
            screen.clear();
            animation.setIndex(i);
            EXPECT_EQ(0, animation.draw(lu::Vector(37, 18))) << name;
            EXPECT_EQ(expected, screen.drawCount()) << name << ": frame " << i;
        }
    }
    resources.shutDown();
}
