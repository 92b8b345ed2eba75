#pragma once

#include "CellListener.h"
#include "Color.h"
#include "DisplayManager.h"
#include "Object.h"
#include "Vector.h"

#include <functional>
#include <string>
#include <vector>

namespace lutest {

/// Returns the lines of LOG_FILE_NAME in the working directory with their "Message: " prefix removed.
std::vector<std::string> readLogMessages();

/// Returns how many log lines read exactly "Message: " followed by text.
int countLogMessages(const std::string& text);

/// Returns the whole content of a file, or an empty string when it cannot be read.
std::string readFile(const std::string& path);

/// Writes content to a file, replacing it; returns false when the file cannot be written.
bool writeFile(const std::string& path, const std::string& content);

/// A fresh directory under the system's temporary directory, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// Returns the directory's absolute path.
    const std::string& path() const;

    /// Returns the absolute path of name inside the directory.
    std::string file(const std::string& name) const;

private:
    std::string dirPath;
};

/// Makes a directory the working directory until destruction, then returns to the previous one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous;
};

/// Records what the display manager is asked to draw as a 75 x 36 grid of characters and colours.
/// Attaches itself to the display manager on construction and detaches on destruction.
/// A fractional position lands in the nearest cell; positions outside the grid are only counted.
class ScreenText : public lu::CellListener {
public:
    static constexpr int WIDTH = lu::WINDOW_HORIZONTAL_CELLS_DEFAULT;
    static constexpr int HEIGHT = lu::WINDOW_VERTICAL_CELLS_DEFAULT;

    ScreenText();
    ~ScreenText() override;
    ScreenText(const ScreenText&) = delete;
    ScreenText& operator=(const ScreenText&) = delete;

    /// Records one drawn character (called by the display manager).
    void onCharacter(lu::Vector worldPosition, char ch, lu::Color color) override;

    /// Forgets everything drawn, e.g. before the frame a test wants to read.
    void clear();

    /// Returns row y as WIDTH characters, blanks where nothing was drawn.
    std::string row(int y) const;

    /// Returns row y without its leading and trailing blanks.
    std::string trimmedRow(int y) const;

    /// Returns the character last drawn at (x, y), or a blank.
    char charAt(int x, int y) const;

    /// Returns the colours of row y as digits ('.' where nothing was drawn, '?' for unknown colours).
    std::string colorRow(int y) const;

    /// Returns the number of characters drawn since the last clear, inside the grid or not.
    int drawCount() const;

    /// Returns the number of characters drawn outside the grid since the last clear.
    int outsideCount() const;

private:
    char cells[HEIGHT][WIDTH];
    int colors[HEIGHT][WIDTH];
    int draws;
    int outside;
};

/// Starts the managers a test needs and, on destruction, shuts them down leaving the world empty.
/// The test runs in a private working directory that mirrors the previous one through links
/// (so relative data files still resolve) and holds its own LOG_FILE_NAME, flushed after every
/// message so readLogMessages sees everything written so far. The probes' journal starts empty.
class EngineScope {
public:
    enum Part {
        LOG = 1,
        WORLD = 2,
        RESOURCES = 4,
    };

    /// Starts the given parts (LOG | WORLD by default) in the game manager's order.
    explicit EngineScope(int parts = LOG | WORLD);

    /// Deletes every object, shuts down the started parts and returns to the previous working directory.
    ~EngineScope();
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;

    /// Returns the private working directory.
    const std::string& directory() const;

private:
    int parts;
    TempDir dir;
    std::string previous;
};

/// Returns the number of objects in the world.
int worldObjectCount();

/// Returns the types of the world's objects in list order, as "A B C".
std::string worldTypes();

/// An object named by its type that writes what happens to it into one journal shared by every
/// probe: "M collision M->B", "M out", "M step", "M drawn", "M key 53 pressed",
/// "M mouse clicked 10.00 2.00 button 2", "M deleted", and "M <type>" for any other event.
class Probe : public lu::Object {
public:
    /// Makes a probe of the given type at position, with the given solidity.
    explicit Probe(const std::string& name, lu::Vector position = lu::Vector(), lu::Solidity solidity = lu::BLOCKING);

    /// Writes "name deleted", then runs onDestroy.
    ~Probe() override;

    /// Writes the event, runs onEvent and returns answer.
    int handleEvent(const lu::Event* event) override;

    /// Writes "name drawn"; returns 0.
    int draw() override;

    std::function<void(const lu::Event*)> onEvent;
    std::function<void()> onDestroy;
    int answer = 1;
};

/// Returns the journal written since the last call, as "a; b; c", and empties it.
std::string heard();

} // namespace lutest
