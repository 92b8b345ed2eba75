// The harness's own pieces, checked on their own: X servers, the close request, the screen decoder
// against texts the display draws, and the sound recording and matching.
#include "PainterRun.h"
#include "ScreenDecoder.h"
#include "SoundMatcher.h"
#include "WaveFile.h"
#include "WindowClient.h"
#include "XServer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>

namespace {

const double SETTLE_TIMEOUT_SECONDS = 20.0;
const double EXIT_TIMEOUT_SECONDS = 20.0;
const int TEST_RATE = 22050;
const double RECORDING_MARGIN_SECONDS = 0.5;

// The game's screen after a draw of these texts in order, later ones covering earlier ones.
ScreenGrid expectedGrid(const std::vector<PaintedText>& texts)
{
    ScreenGrid grid;
    for (const PaintedText& text : texts) {
        for (std::size_t i = 0; i < text.text.size(); ++i) {
            char ch = text.text[i];
            grid.set(text.column + static_cast<int>(i), text.row, ch, ch == ' ' ? lu::BLACK : text.color);
        }
    }
    return grid;
}

std::string colorRows(const ScreenGrid& grid)
{
    std::string result;
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c)
            result += static_cast<char>('0' + grid.colorAt(c, r));
        result += '\n';
    }
    return result;
}

std::vector<float> chirp(double seconds, double fromHz, double toHz)
{
    std::vector<float> samples(static_cast<std::size_t>(seconds * TEST_RATE));
    double phase = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / samples.size();
        phase += 2 * M_PI * (fromHz + (toHz - fromHz) * t) / TEST_RATE;
        samples[i] = static_cast<float>(0.5 * std::sin(phase) * (1 - t));
    }
    return samples;
}

std::vector<float> noiseBurst(double seconds)
{
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    std::vector<float> samples(static_cast<std::size_t>(seconds * TEST_RATE));
    for (float& s : samples)
        s = noise(generator);
    return samples;
}

// A tune-like background about as loud as the sounds laid over it, like the game's music.
std::vector<float> squareTune(double seconds)
{
    const double notes[] = {220, 262, 330, 392, 294, 247};
    std::vector<float> samples(static_cast<std::size_t>(seconds * TEST_RATE));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / TEST_RATE;
        double note = notes[static_cast<std::size_t>(t * 4) % 6];
        double a = std::sin(2 * M_PI * note * t) > 0 ? 0.1 : -0.1;
        double b = std::sin(2 * M_PI * note * 1.5 * t) > 0 ? 0.07 : -0.07;
        samples[i] = static_cast<float>(a + b);
    }
    return samples;
}

void writeWav16(const std::string& path, const std::vector<float>& samples)
{
    std::ofstream file(path, std::ios::binary);
    auto u32 = [&file](std::uint32_t v) { file.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&file](std::uint16_t v) { file.write(reinterpret_cast<const char*>(&v), 2); };
    std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    file.write("RIFF", 4);
    u32(36 + dataBytes);
    file.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(TEST_RATE);
    u32(TEST_RATE * 2);
    u16(2);
    u16(16);
    file.write("data", 4);
    u32(dataBytes);
    for (float s : samples)
        u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 32767))));
}

bool accepts(const std::string& displayName)
{
    return WindowClient(displayName).isConnected();
}

} // namespace

TEST(XServerTest, EachServerGetsAFreeDisplayThatIsFreedWhenStopped)
{
    XServer first;
    XServer second;
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    EXPECT_NE(first.getDisplayName(), second.getDisplayName());
    EXPECT_TRUE(accepts(first.getDisplayName()));
    EXPECT_TRUE(accepts(second.getDisplayName()));

    std::string name = first.getDisplayName();
    first.stop();
    EXPECT_EQ(first.getDisplayName(), "");
    EXPECT_FALSE(accepts(name));
    EXPECT_TRUE(accepts(second.getDisplayName()));
}

class ScreenDecoderTest : public ::testing::Test {
protected:
    static void learnOnce()
    {
        if (decoder.isReady())
            return;
        std::string error;
        ASSERT_TRUE(learnGlyphsFromDisplay(decoder, error)) << error;
    }

    static ScreenDecoder decoder;
};

ScreenDecoder ScreenDecoderTest::decoder;

TEST_F(ScreenDecoderTest, ReadsBackEveryCharacterAndColourTheDisplayDrew)
{
    learnOnce();
    ASSERT_TRUE(decoder.isReady());
    std::string printable;
    for (char ch = ' '; ch <= '~'; ++ch) {
        if (decoder.canRead(ch))
            printable += ch;
    }
    std::vector<PaintedText> texts;
    // Every character in every colour, packed side by side and row under row; the row under the
    // one with the comma stays blank, as a comma with its tail covered cannot be told from a period.
    for (int color = lu::RED; color <= lu::WHITE; ++color) {
        int row = 3 * (color - 1);
        lu::Color shade = static_cast<lu::Color>(color);
        texts.push_back(PaintedText{0, row, shade, printable.substr(GRID_COLUMNS)});
        texts.push_back(PaintedText{0, row + 1, shade, printable.substr(0, GRID_COLUMNS)});
    }
    // Descenders over blank cells, and a row drawn after the row under it, so its tails cover that row.
    texts.push_back(PaintedText{3, 22, lu::YELLOW, "gjpqy,;|Q"});
    texts.push_back(PaintedText{3, 27, lu::CYAN, "XOX#@#WMW"});
    texts.push_back(PaintedText{3, 26, lu::GREEN, "gypsy|{}[]"});
    // Drawn right to left: each character spills onto the cell drawn just before it.
    std::string reversed = "MW#@%&QRBD";
    for (int i = static_cast<int>(reversed.size()) - 1; i >= 0; --i)
        texts.push_back(PaintedText{20 + i, 29, lu::MAGENTA, std::string(1, reversed[static_cast<std::size_t>(i)])});
    // A string at the grid's corners and a space painted over an earlier character.
    texts.push_back(PaintedText{0, 35, lu::RED, "Corner"});
    texts.push_back(PaintedText{69, 35, lu::BLUE, "corner"});
    texts.push_back(PaintedText{40, 31, lu::WHITE, "Returning to menu in 2"});
    texts.push_back(PaintedText{42, 31, lu::WHITE, " "});
    // Characters between cells, where a creeping object is drawn.
    texts.push_back(PaintedText{30, 33, lu::WHITE, "QO@", 0.04f, 0});
    texts.push_back(PaintedText{36, 33, lu::YELLOW, "QO@", -0.02f, 0});
    texts.push_back(PaintedText{42, 33, lu::GREEN, "QO@", 0, 0.04f});
    texts.push_back(PaintedText{48, 33, lu::CYAN, "QO@", 0, -0.04f});

    PainterRun painter(texts);
    std::string error;
    ASSERT_TRUE(painter.start(error)) << error;
    Image shot = painter.settledCapture(SETTLE_TIMEOUT_SECONDS);
    ASSERT_FALSE(shot.isEmpty());
    ScreenGrid decoded = decoder.decode(shot);
    ScreenGrid expected = expectedGrid(texts);
    EXPECT_EQ(decoded.describe(), expected.describe());
    EXPECT_EQ(colorRows(decoded), colorRows(expected));
}

TEST_F(ScreenDecoderTest, RefusesASheetThatShowsNothing)
{
    ScreenDecoder fresh;
    std::string error;
    std::vector<Image> blankSheets(ScreenDecoder::glyphSheetCount(),
                                   Image(lu::WINDOW_HORIZONTAL_PIXELS_DEFAULT, lu::WINDOW_VERTICAL_PIXELS_DEFAULT));
    EXPECT_FALSE(fresh.learn(blankSheets, error));
    EXPECT_FALSE(fresh.isReady());
    EXPECT_FALSE(error.empty());
}

TEST(CloseRequestTest, AnEngineProgramAskedToCloseEndsWithStatusZero)
{
    PainterRun painter({PaintedText{10, 10, lu::WHITE, "close me"}});
    std::string error;
    ASSERT_TRUE(painter.start(error)) << error;
    ASSERT_FALSE(painter.settledCapture(SETTLE_TIMEOUT_SECONDS).isEmpty());
    ASSERT_TRUE(painter.getRun().requestClose());
    ASSERT_TRUE(painter.getRun().waitForExit(EXIT_TIMEOUT_SECONDS)) << "the painter ignored the close request";
    EXPECT_EQ(painter.getRun().exitCode(), 0) << painter.getRun().describeExit();
}

TEST(SoundMatcherTest, FindsEachOccurrenceUnderMusicAndNothingInSilence)
{
    std::vector<float> blip = chirp(0.15, 600, 1800);
    std::vector<float> recording = squareTune(6.0);
    const double at[] = {1.0, 4.25};
    for (double seconds : at) {
        std::size_t start = static_cast<std::size_t>(seconds * TEST_RATE);
        for (std::size_t i = 0; i < blip.size(); ++i)
            recording[start + i] += 0.6f * blip[i];
    }
    SoundMatcher matcher(blip);
    std::vector<SoundMatch> found = matcher.findIn(recording, TEST_RATE, 0.4);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NEAR(found[0].seconds, at[0], 0.002);
    EXPECT_NEAR(found[1].seconds, at[1], 0.002);

    SoundMatcher other(noiseBurst(0.3));
    EXPECT_TRUE(other.findIn(recording, TEST_RATE, 0.4).empty());
    EXPECT_TRUE(matcher.findIn(std::vector<float>(TEST_RATE * 2, 0.0f), TEST_RATE, 0.4).empty());
}

#if E2E_RECORDS_SOUND
TEST(SoundRecordingTest, ASoundThePainterPlaysIsRecordedAndFoundOnce)
{
    std::string probe = testing::TempDir() + "e2e-probe.wav";
    std::vector<float> blip = chirp(0.3, 500, 2500);
    writeWav16(probe, blip);
    WaveFile original;
    std::string error;
    ASSERT_TRUE(original.load(probe, error)) << error;
    EXPECT_EQ(original.getSampleRate(), TEST_RATE);
    EXPECT_NEAR(original.getDuration(), 0.3, 0.001);

    PainterRun painter({PaintedText{10, 10, lu::WHITE, "listen"}}, probe);
    ASSERT_TRUE(painter.start(error)) << error;
    ASSERT_FALSE(painter.settledCapture(SETTLE_TIMEOUT_SECONDS).isEmpty());
    // The sound starts with the program: once the recording is longer than it, it is all in.
    ASSERT_TRUE(
        painter.getRun().waitForRecording(original.getDuration() + RECORDING_MARGIN_SECONDS, SETTLE_TIMEOUT_SECONDS));
    ASSERT_TRUE(painter.getRun().requestClose());
    ASSERT_TRUE(painter.getRun().waitForExit(EXIT_TIMEOUT_SECONDS));

    WaveFile recording;
    ASSERT_TRUE(painter.getRun().loadRecording(recording, error)) << error;
    SoundMatcher matcher(original.resampledTo(recording.getSampleRate()));
    std::vector<SoundMatch> found = matcher.findIn(recording.getSamples(), recording.getSampleRate(), 0.8);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_LT(found[0].seconds, recording.getDuration());
    SoundMatcher other(noiseBurst(0.3));
    EXPECT_TRUE(other.findIn(recording.getSamples(), recording.getSampleRate(), 0.4).empty());
    std::remove(probe.c_str());
}
#endif
