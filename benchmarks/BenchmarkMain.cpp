// Frame costs of the display and the world, each beside its per-cell baseline in one run.
// Run from a folder holding the game's sprites/ and lu-font.ttf, under an X server.

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameManager.h"
#include "HeavyGame.h"
#include "InputManager.h"
#include "Object.h"
#include "PerCellScreen.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <SFML/OpenGL.hpp>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// Objects moving in the world benchmark, and how many updates they go one way before turning.
const int MOVING_OBJECTS = 10;
const int UPDATES_PER_LEG = 100;
const float MOVING_SPEED = 0.25f;

// The printable characters after the space.
const char FIRST_PRINTABLE = '!';
const int PRINTABLE_COUNT = 94;

// A full grid through the display: every printable character in every colour but black, cycling.
// Without a window of its own the display hands each cell to the per-cell screen listening to it.
void drawFullGrid()
{
    lu::DisplayManager& display = lu::DisplayManager::instance();
    int columns = display.getHorizontalCells();
    int rows = display.getVerticalCells();
    for (int y = 0; y < rows; y++) {
        for (int x = 0; x < columns; x++) {
            int n = x + y * columns;
            char ch = static_cast<char>(FIRST_PRINTABLE + n % PRINTABLE_COUNT);
            lu::Color color = static_cast<lu::Color>(lu::RED + n % (lu::WHITE - lu::RED + 1));
            display.drawCharacter(lu::Vector(static_cast<float>(x), static_cast<float>(y)), ch, color);
        }
    }
}

// Per-cell baselines: the display has no window, a PerCellScreen draws what it is asked for.

void BM_FullGrid_PerCell(benchmark::State& state)
{
    lubench::PerCellScreen screen;
    if (!screen.isOpen()) {
        state.SkipWithError("no window or font");
        return;
    }
    for (auto _ : state) {
        drawFullGrid();
        screen.show();
        glFinish();
    }
    state.counters["cells"] =
        lu::DisplayManager::instance().getHorizontalCells() * lu::DisplayManager::instance().getVerticalCells();
}

void runHeavyFrames(benchmark::State& state, lubench::PerCellScreen* perCell)
{
    lubench::HeavyGame game;
    state.counters["objects"] = game.objectCount();
    for (auto _ : state) {
        if (!game.isSnakeAlive()) {
            state.PauseTiming();
            game.rebuild();
            state.ResumeTiming();
        }
        game.steer();
        lu::GameManager::instance().runFrame();
        if (perCell != nullptr)
            perCell->show();
        glFinish();
    }
}

void BM_HeaviestFrame_PerCell(benchmark::State& state)
{
    lubench::PerCellScreen screen;
    if (!screen.isOpen()) {
        state.SkipWithError("no window or font");
        return;
    }
    runHeavyFrames(state, &screen);
}

// The batched display, in its own window, opened by the first benchmark that needs it.

bool startDisplay()
{
    lu::DisplayManager& display = lu::DisplayManager::instance();
    if (display.isStarted())
        return true;
    return display.startUp() == 0 && lu::InputManager::instance().startUp() == 0;
}

void BM_FullGrid_Batched(benchmark::State& state)
{
    if (!startDisplay()) {
        state.SkipWithError("cannot open the display's window");
        return;
    }
    for (auto _ : state) {
        drawFullGrid();
        lu::DisplayManager::instance().swapBuffers();
        glFinish();
    }
}

void BM_HeaviestFrame_Batched(benchmark::State& state)
{
    if (!startDisplay()) {
        state.SkipWithError("cannot open the display's window");
        return;
    }
    runHeavyFrames(state, nullptr);
}

// The world's update with many objects, a few of them moving and colliding with the rest.
void BM_WorldUpdate(benchmark::State& state)
{
    lu::WorldManager& world = lu::WorldManager::instance();
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    int columns = display.getHorizontalCells();
    int rows = display.getVerticalCells();
    std::vector<lu::Object*> movers;
    for (int i = 0; i < state.range(0); i++) {
        lu::Object* object = new lu::Object();
        object->setPosition(lu::Vector(static_cast<float>(i % columns), static_cast<float>((i / columns) % rows)));
        if (i < MOVING_OBJECTS) {
            object->setSolidity(lu::PASSABLE);
            object->setVelocity(lu::Vector(MOVING_SPEED, 0));
            movers.push_back(object);
        }
    }
    int updates = 0;
    for (auto _ : state) {
        world.update();
        updates++;
        if (updates % UPDATES_PER_LEG == 0)
            for (lu::Object* mover : movers)
                mover->setVelocity(lu::Vector(-mover->getVelocity().getX(), 0));
    }
    world.shutDown();
}

// A step event handed to every object of a world of many, as every frame does.
void BM_Broadcast(benchmark::State& state)
{
    for (int i = 0; i < state.range(0); i++)
        new lu::Object();
    lu::EventStep step;
    for (auto _ : state)
        benchmark::DoNotOptimize(lu::WorldManager::instance().broadcastEvent(&step));
    lu::WorldManager::instance().shutDown();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    lu::WorldManager::instance().startUp();
    lu::ResourceManager::instance().startUp();
    if (lubench::loadGameSprites() != nullptr) {
        std::fprintf(stderr, "cannot load the game's sprites: run from a folder that holds sprites/\n");
        return 1;
    }

    // Registration order is run order: the baselines need the display without its window, so they
    // come before the batched benchmarks, which open it.
    benchmark::RegisterBenchmark("WorldUpdate", BM_WorldUpdate)
        ->Arg(1000)
        ->Arg(10000)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Broadcast", BM_Broadcast)
        ->Arg(1000)
        ->Arg(10000)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("FullGrid/PerCell", BM_FullGrid_PerCell)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("HeaviestFrame/PerCell", BM_HeaviestFrame_PerCell)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FullGrid/Batched", BM_FullGrid_Batched)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("HeaviestFrame/Batched", BM_HeaviestFrame_Batched)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();

    lu::GameManager::instance().shutDown();
    benchmark::Shutdown();
    return 0;
}
