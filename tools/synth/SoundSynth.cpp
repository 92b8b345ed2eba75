// Writes the game's sound effects and music: synth OUTPUT_DIR
// Every run writes the same bytes, so the files in game/sounds/ can be checked against this program.
#include "SampleBuffer.h"
#include "Score.h"
#include "Tone.h"

#include <cstdio>
#include <string>

namespace {

const int SAMPLE_RATE = 22050;

const int EAT_SAMPLES = 3308;  // 0.15 s
const int HIT_SAMPLES = 11025; // 0.5 s

// The music: 16 bars of 16 steps at 2700 samples a step, 31.3 s, about 122 beats a minute.
const int SAMPLES_PER_STEP = 2700;
const int STEPS_PER_BAR = 16;
const int BARS = 16;
const int MUSIC_STEPS = BARS * STEPS_PER_BAR;
const int ECHO_STEPS = 3;
const int ECHO_DIVISOR = 4;
const int MUSIC_SMOOTHING = 190;

// A minor: two rounds of Am F C G, a middle of Dm Am F E, and a last round that ends on E
// so that the loop falls back onto its first A.
const char* const MELODY[BARS] = {
    "A4:2 C5:2 E5:2 A5:2 G5:2 E5:2 C5:2 E5:2",
    "F5:4 E5:2 C5:2 A4:4 C5:4",
    "G4:2 C5:2 E5:2 G5:2 E5:2 C5:2 D5:2 E5:2",
    "D5:6 B4:2 G4:4 -:4",
    "A4:2 C5:2 E5:2 A5:2 B5:2 A5:2 G5:2 E5:2",
    "F5:2 A5:2 C6:4 A5:2 F5:2 E5:4",
    "E5:2 G5:2 C6:2 G5:2 E5:2 D5:2 C5:4",
    "B4:4 D5:4 G5:6 -:2",
    "D5:4 F5:4 A5:6 G5:2",
    "E5:4 C5:4 A4:8",
    "F4:2 A4:2 C5:2 F5:2 E5:2 D5:2 C5:2 A4:2",
    "B4:4 G#4:4 E4:4 G#4:4",
    "A4:2 C5:2 E5:2 A5:2 G5:2 E5:2 C5:2 E5:2",
    "F5:4 E5:2 C5:2 A4:4 C5:4",
    "G4:2 C5:2 E5:2 G5:2 A5:2 G5:2 E5:2 D5:2",
    "E5:4 D5:2 B4:2 G#4:6 -:2",
};
const char* const BASS_ROOTS[BARS] = {
    "A2", "F2", "C3", "G2", "A2", "F2", "C3", "G2", "D3", "A2", "F2", "E2", "A2", "F2", "C3", "E2",
};
// Eighth notes of a bar: 1 plays the root, 2 the octave above.
const int BASS_PATTERN[8] = {1, 2, 1, 2, 1, 2, 1, 2};
const int BASS_NOTE_STEPS = 2;
const int KICK_STEPS[2] = {0, 8};
const int SNARE_STEPS[2] = {4, 12};
const int HAT_STEPS[4] = {2, 6, 10, 14};

// Peak levels are chosen so that every voice at its peak together stays below 32767.
const int LEAD_LEVEL = 7000;
const int BASS_LEVEL = 9000;
const int KICK_LEVEL = 9000;
const int SNARE_LEVEL = 3500;
const int HAT_LEVEL = 1500;

Tone leadNote(const ScoreNote& note, int level)
{
    Tone tone;
    tone.wave = Wave::PULSE;
    tone.dutyPercent = 25;
    tone.startMilliHz = note.milliHz;
    tone.endMilliHz = note.milliHz;
    tone.start = note.firstStep * SAMPLES_PER_STEP;
    tone.length = note.steps * SAMPLES_PER_STEP;
    tone.level = level;
    tone.attack = 50;
    tone.decay = 1500;
    tone.sustainPercent = 60;
    tone.release = 500;
    return tone;
}

Tone bassNote(int64_t milliHz, int step)
{
    Tone tone;
    tone.wave = Wave::TRIANGLE;
    tone.startMilliHz = milliHz;
    tone.endMilliHz = milliHz;
    tone.start = step * SAMPLES_PER_STEP;
    tone.length = BASS_NOTE_STEPS * SAMPLES_PER_STEP;
    tone.level = BASS_LEVEL;
    tone.attack = 40;
    tone.decay = 1000;
    tone.sustainPercent = 75;
    tone.release = 300;
    return tone;
}

Tone kick(int step)
{
    Tone tone;
    tone.wave = Wave::TRIANGLE;
    tone.startMilliHz = 150000;
    tone.endMilliHz = 40000;
    tone.start = step * SAMPLES_PER_STEP;
    tone.length = 2200;
    tone.level = KICK_LEVEL;
    tone.attack = 10;
    tone.curved = true;
    return tone;
}

Tone snare(int step)
{
    Tone tone;
    tone.wave = Wave::NOISE;
    tone.startMilliHz = 7000000;
    tone.endMilliHz = 3000000;
    tone.start = step * SAMPLES_PER_STEP;
    tone.length = 2600;
    tone.level = SNARE_LEVEL;
    tone.attack = 10;
    tone.curved = true;
    tone.seed = 0x2545f491u + static_cast<uint32_t>(step);
    return tone;
}

Tone hat(int step)
{
    Tone tone;
    tone.wave = Wave::NOISE;
    tone.startMilliHz = 16000000;
    tone.endMilliHz = 16000000;
    tone.start = step * SAMPLES_PER_STEP;
    tone.length = 700;
    tone.level = HAT_LEVEL;
    tone.attack = 5;
    tone.curved = true;
    tone.seed = 0x9e3779b9u + static_cast<uint32_t>(step);
    return tone;
}

bool save(const SampleBuffer& buffer, const std::string& directory, const char* name)
{
    std::string path = directory + "/" + name;
    int clipped = buffer.countClipped();
    if (clipped > 0) {
        std::fprintf(stderr, "synth: %s would clip in %d samples\n", name, clipped);
        return false;
    }
    if (!buffer.saveWav(path)) {
        std::fprintf(stderr, "synth: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %d samples at %d Hz\n", path.c_str(), buffer.getLength(), SAMPLE_RATE);
    return true;
}

// A short bright blip rising an octave, from E5 to E6, over a triangle an octave lower.
SampleBuffer makeEat()
{
    SampleBuffer buffer(SAMPLE_RATE, EAT_SAMPLES);
    Tone blip;
    blip.wave = Wave::PULSE;
    blip.dutyPercent = 25;
    blip.startMilliHz = Score::noteMilliHz("E5");
    blip.endMilliHz = Score::noteMilliHz("E6");
    blip.length = EAT_SAMPLES;
    blip.level = 11000;
    blip.attack = 30;
    blip.release = 200;
    blip.render(buffer);

    Tone body = blip;
    body.wave = Wave::TRIANGLE;
    body.startMilliHz = Score::noteMilliHz("E4");
    body.endMilliHz = Score::noteMilliHz("E5");
    body.level = 6000;
    body.render(buffer);
    return buffer;
}

// A crash: a noise burst that falls in pitch, over a thud and a growl that drop away.
SampleBuffer makeHit()
{
    SampleBuffer buffer(SAMPLE_RATE, HIT_SAMPLES);
    Tone burst;
    burst.wave = Wave::NOISE;
    burst.startMilliHz = 9000000;
    burst.endMilliHz = 500000;
    burst.length = HIT_SAMPLES;
    burst.level = 14000;
    burst.attack = 20;
    burst.curved = true;
    burst.seed = 0x6d2b79f5u;
    burst.render(buffer);

    Tone thud;
    thud.wave = Wave::TRIANGLE;
    thud.startMilliHz = 180000;
    thud.endMilliHz = 35000;
    thud.length = 6600;
    thud.level = 12000;
    thud.attack = 20;
    thud.curved = true;
    thud.render(buffer);

    Tone growl;
    growl.wave = Wave::PULSE;
    growl.startMilliHz = 110000;
    growl.endMilliHz = 45000;
    growl.length = 8800;
    growl.level = 5000;
    growl.attack = 20;
    growl.curved = true;
    growl.render(buffer);
    return buffer;
}

// Returns false, with a message, when a bar of the score is malformed or not a whole bar long.
bool makeMusic(SampleBuffer& buffer)
{
    Score melody;
    for (int bar = 0; bar < BARS; bar++) {
        if (!melody.parse(MELODY[bar]) || melody.getStepCount() != (bar + 1) * STEPS_PER_BAR) {
            std::fprintf(stderr, "synth: melody bar %d is malformed or not %d steps\n", bar + 1, STEPS_PER_BAR);
            return false;
        }
    }

    // The echo of the last notes wraps round to the start, so the loop joins without a seam.
    for (const ScoreNote& note : melody.getNotes()) {
        leadNote(note, LEAD_LEVEL).render(buffer);
        Tone echo = leadNote(note, LEAD_LEVEL / ECHO_DIVISOR);
        echo.start += ECHO_STEPS * SAMPLES_PER_STEP;
        echo.render(buffer);
    }

    for (int bar = 0; bar < BARS; bar++) {
        int64_t root = Score::noteMilliHz(BASS_ROOTS[bar]);
        if (root < 0) {
            std::fprintf(stderr, "synth: bass root of bar %d is malformed\n", bar + 1);
            return false;
        }
        int barStep = bar * STEPS_PER_BAR;
        for (int eighth = 0; eighth < STEPS_PER_BAR / BASS_NOTE_STEPS; eighth++)
            bassNote(root * BASS_PATTERN[eighth], barStep + eighth * BASS_NOTE_STEPS).render(buffer);
        for (int step : KICK_STEPS)
            kick(barStep + step).render(buffer);
        for (int step : SNARE_STEPS)
            snare(barStep + step).render(buffer);
        for (int step : HAT_STEPS)
            hat(barStep + step).render(buffer);
    }

    buffer.smooth(MUSIC_SMOOTHING);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: synth OUTPUT_DIR\n");
        return 2;
    }
    std::string directory = argv[1];

    SampleBuffer music(SAMPLE_RATE, MUSIC_STEPS * SAMPLES_PER_STEP);
    if (!makeMusic(music))
        return 1;

    bool ok = save(makeEat(), directory, "eat.wav");
    ok = save(makeHit(), directory, "hit.wav") && ok;
    ok = save(music, directory, "gamemusic.wav") && ok;
    return ok ? 0 : 1;
}
