// Runs the real loop for a number of frames on an idle world and prints the intervals between
// step events: mean, median, 99th percentile and the longest after the first frames.
//
// Usage: pacing_harness [frames]   (run where lu-font.ttf is, under an X server)

#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int FRAMES_DEFAULT = 300;
// The first frames include opening the window and warming up; they are left out of the worst case.
const int SETTLING_FRAMES = 10;
const double PERCENTILE_99 = 0.99;

// Notes the time of every step event and ends the loop after the last frame.
class StepRecorder : public lu::Object {
public:
    explicit StepRecorder(int frameCount) : frames(frameCount)
    {
        setType("StepRecorder");
        setSolidity(lu::INTANGIBLE);
        times.reserve(static_cast<std::size_t>(frameCount));
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() != lu::STEP_EVENT)
            return 0;
        times.push_back(std::chrono::steady_clock::now());
        if (static_cast<int>(times.size()) >= frames)
            lu::GameManager::instance().setGameOver(true);
        return 1;
    }

    std::vector<std::chrono::steady_clock::time_point> times;

private:
    int frames;
};

double millisecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

int main(int argc, char** argv)
{
    int frames = argc > 1 ? std::atoi(argv[1]) : FRAMES_DEFAULT;
    if (frames <= SETTLING_FRAMES + 1) {
        std::fprintf(stderr, "usage: pacing_harness [frames above %d]\n", SETTLING_FRAMES + 1);
        return 2;
    }
    lu::GameManager& game = lu::GameManager::instance();
    if (game.startUp() != 0) {
        std::fprintf(stderr, "cannot start the engine (window or font missing)\n");
        game.shutDown();
        return 1;
    }
    StepRecorder* recorder = new StepRecorder(frames);
    game.run();

    std::vector<double> intervals;
    double worstSettled = 0;
    for (std::size_t i = 1; i < recorder->times.size(); i++) {
        double interval = millisecondsBetween(recorder->times[i - 1], recorder->times[i]);
        intervals.push_back(interval);
        if (static_cast<int>(i) > SETTLING_FRAMES)
            worstSettled = std::max(worstSettled, interval);
    }
    game.shutDown();

    double sum = 0;
    for (double interval : intervals)
        sum += interval;
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    std::size_t p99 = static_cast<std::size_t>(PERCENTILE_99 * static_cast<double>(sorted.size() - 1));
    std::printf("pacing frames %d  mean %.2f ms  median %.2f ms  p99 %.2f ms  max after frame %d %.2f ms\n", frames,
                sum / static_cast<double>(intervals.size()), sorted[sorted.size() / 2], sorted[p99], SETTLING_FRAMES,
                worstSettled);
    return 0;
}
