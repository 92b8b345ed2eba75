#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ResourceManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

// A game developer's mistakes are told on stderr, once each, and never in the log.
namespace {

std::string toldBy(const std::function<void()>& code)
{
    testing::internal::CaptureStderr();
    code();
    return testing::internal::GetCapturedStderr();
}

class MistakeWarningTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::LogManager::instance().setWarningsEnabled(true);
        lu::GameManager::instance().setGameOver(false);
    }

    lutest::EngineScope scope{lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES};
    lutest::TempDir dir;
};

TEST_F(MistakeWarningTest, SpriteFileMistakesNameTheFileAndWhatWasFound)
{
    // What is told after: lu: sprite file "<path>"; the rest of the line says what the file gets.
    const char* const cases[][2] = {
        {"1\n1\n1\n1\nGreen\nx\n", ": line 5 (\"Green\") is not one of the colours black, red, green,"},
        {"1 frame\n1\n1\n1\nred\nx\n", ": line 1, its frame count, has text after its number (\"1 frame\"); it"},
        {"1\nwide\n1\n1\nred\nx\n", ": line 2, its width, holds no number (\"wide\"); it reads as 0"},
        {"2\n1\n2\n1\nred\na\nb\n", " holds fewer frame lines than its header declares (2 frames of 2 rows);"},
        {"2\n1\n2\n1\nred\na\nb\nc\n", " holds one frame line fewer than its header declares (2 frames of"},
        {"1\n1\n1\n1", " ends before its colour line, line 5; it is not loaded"},
        {"1\n1\n1\n1\nred\nx\n", ""},
    };
    int files = 0;
    for (const auto& c : cases) {
        std::string path = dir.file("sprite" + std::to_string(files++) + ".txt");
        ASSERT_TRUE(lutest::writeFile(path, c[0]));
        std::string told = toldBy([&path] { lu::ResourceManager::instance().loadSprite(path, "s"); });
        std::string expected = *c[1] == '\0' ? "" : "lu: sprite file \"" + path + "\"" + c[1];
        EXPECT_EQ(expected, told.substr(0, expected.size())) << c[0];
        EXPECT_EQ(expected.empty() ? 0 : 1, std::count(told.begin(), told.end(), '\n')) << told;
    }
    std::string missing = dir.file("missing.txt");
    EXPECT_EQ("lu: cannot open the sprite file \"" + missing + "\"\n",
              toldBy([&missing] { lu::ResourceManager::instance().loadSprite(missing, "m"); }));
}

TEST_F(MistakeWarningTest, LabelsNeverLoadedAndUndrawnAltitudesAreToldOnceUntilTurnedOff)
{
    lu::Object* star = new lu::Object;
    star->setType("Star");
    std::string told = toldBy([star] {
        for (int frame = 0; frame < 3; frame++) {
            star->setSprite("strr");
            star->setAltitude(5);
            lu::ResourceManager::instance().getSound("ea");
            lu::ResourceManager::instance().getMusic("sng");
        }
        star->setAltitude(4);
    });
    EXPECT_EQ("lu: setSprite(\"strr\") on an object of type \"Star\": no sprite is loaded under that label\n"
              "lu: setAltitude(5) on an object of type \"Star\": only altitudes 0 to 4 are drawn\n"
              "lu: getSound(\"ea\"): no sound is loaded under that label\n"
              "lu: getMusic(\"sng\"): no music is loaded under that label\n",
              told);
    EXPECT_TRUE(lutest::readLogMessages().empty());

    // A mistake made with ever new names stops being told.
    std::string flood = toldBy([star] {
        for (int i = 0; i < 3 * lu::MAX_WARNINGS; i++)
            star->setSprite("star" + std::to_string(i));
    });
    EXPECT_EQ(lu::MAX_WARNINGS - 4 + 1, std::count(flood.begin(), flood.end(), '\n'));

    lu::LogManager::instance().setWarningsEnabled(false);
    lu::LogManager::instance().startUp();
    EXPECT_EQ("", toldBy([star] { star->setAltitude(-1); }));
}

TEST_F(MistakeWarningTest, TheLoopStartedWithoutAStartUpSaysSoAndRunsNoFrame)
{
    (new lutest::Probe("P"))->onEvent = [](const lu::Event*) { lu::GameManager::instance().setGameOver(true); };

    std::string told = toldBy([] { lu::GameManager::instance().run(); });

    EXPECT_EQ("lu: GameManager::run() needs a successful GameManager::startUp() first; the game loop did not run\n",
              told);
    EXPECT_EQ("", lutest::heard());
    EXPECT_TRUE(lutest::readLogMessages().empty()); // not even "Running"
}

} // namespace
