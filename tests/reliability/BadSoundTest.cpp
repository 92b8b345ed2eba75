// Each of the game's sound files in turn spoilt: the game says which file it could not load, plays a game to
// the snake's death (where the missing "hit" is looked up) and quits with status 0.
#include "Garbage.h"
#include "HostileScenario.h"

#include <algorithm>
#include <tuple>

namespace {

struct SoundFile {
    const char* path;
    const char* name;
    bool isMusic;
};

const SoundFile SOUND_FILES[] = {
    {"sounds/eat.wav", "Eat", false},
    {"sounds/hit.wav", "Hit", false},
    {"sounds/gamemusic.wav", "Music", true},
};
const int SOUND_FILE_COUNT = sizeof SOUND_FILES / sizeof SOUND_FILES[0];

enum SoundDamage {
    CUT_IN_HEADER,
    CUT_IN_SAMPLES,
    EMPTY_FILE,
    PLAIN_TEXT,
};

const char* const DAMAGE_NAMES[] = {"CutInItsHeader", "CutInItsSamples", "EmptyFile", "PlainText"};

// Inside the RIFF header, before the format is even known.
const std::uintmax_t HEADER_CUT_BYTES = 20;
// The 44-byte header and a few hundred samples: a stream of some 20 ms, far less than it announces.
const std::uintmax_t SAMPLES_CUT_BYTES = 1024;
const std::string DEATH_LINE = "Y O U   D I E D !";

bool spoil(GameCopy& copy, const std::string& file, SoundDamage damage)
{
    switch (damage) {
    case CUT_IN_HEADER:
        return copy.truncate(file, HEADER_CUT_BYTES);
    case CUT_IN_SAMPLES:
        return copy.truncate(file, SAMPLES_CUT_BYTES);
    case EMPTY_FILE:
        return copy.overwrite(file, "");
    case PLAIN_TEXT:
        return copy.overwrite(file, Garbage::text());
    }
    return false;
}

// Effects are decoded whole, so any damage keeps them out. Music is only opened, from its header: a stream
// cut in its samples opens and plays what there is, looping over it.
bool loadFails(const SoundFile& sound, SoundDamage damage)
{
    return !(sound.isMusic && damage == CUT_IN_SAMPLES);
}

} // namespace

class BadSoundTest : public HostileScenario, public ::testing::WithParamInterface<std::tuple<int, SoundDamage>> {};

TEST_P(BadSoundTest, GameSaysWhichFileFailedPlaysToTheSnakesDeathAndQuitsWithStatusZero)
{
    const SoundFile& sound = SOUND_FILES[std::get<0>(GetParam())];
    SoundDamage damage = std::get<1>(GetParam());
    ASSERT_TRUE(startDamaged([&](GameCopy& c) { return spoil(c, sound.path, damage); }));
    ASSERT_TRUE(playIntoALevel());
    // Straight up and out of the field, unless a hazard comes first: either way the snake dies.
    ASSERT_TRUE(press("w"));
    ScreenGrid shown;
    ASSERT_TRUE(waitForScreen([](const ScreenGrid& g) { return g.find(DEATH_LINE).row >= 0; }, "the snake's death",
                              SCREEN_TIMEOUT_SECONDS, shown));
    ASSERT_TRUE(quitsCleanly());

    std::vector<std::string> lines = log();
    std::string failure =
        std::string(sound.isMusic ? "Unable to load music from " : "Unable to load sound from ") + sound.path;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), failure), loadFails(sound, damage) ? 1 : 0);
    for (const std::string& line : lines) {
        if (line != failure) {
            EXPECT_EQ(line.find("Unable to load"), std::string::npos) << "another file failed: " << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EverySoundEveryDamage, BadSoundTest,
                         ::testing::Combine(::testing::Range(0, SOUND_FILE_COUNT),
                                            ::testing::Values(CUT_IN_HEADER, CUT_IN_SAMPLES, EMPTY_FILE, PLAIN_TEXT)),
                         [](const ::testing::TestParamInfo<std::tuple<int, SoundDamage>>& info) {
                             return std::string(SOUND_FILES[std::get<0>(info.param)].name) + "As" +
                                    DAMAGE_NAMES[std::get<1>(info.param)];
                         });
