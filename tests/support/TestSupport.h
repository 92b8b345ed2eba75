#pragma once

#include "CellListener.h"
#include "DisplayManager.h"
#include "Object.h"

#include <functional>
#include <string>
#include <vector>

namespace lutest {

/// Returns the lines of LOG_FILE_NAME in the working directory without their "Message: " prefix.
std::vector<std::string> readLogMessages();

/// Returns how many log lines read exactly "Message: " followed by text.
int countLogMessages(const std::string& text);

/// Returns the whole content of a file, or "" when it cannot be read.
std::string readFile(const std::string& path);

/// Returns a file's content read as text, the platform's line ends as "\n", or "" when it cannot be read.
std::string readTextFile(const std::string& path);

/// Writes content to a file, replacing it; returns false when it cannot.
bool writeFile(const std::string& path, const std::string& content);

/// A fresh directory under the system's temporary directory, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();

    /// Returns the directory's absolute path.
    const std::string& path() const;

    /// Returns the absolute path of name inside the directory.
    std::string file(const std::string& name) const;

private:
    std::string dirPath;
};

/// Records what the display manager draws while it lives as a 75 x 36 grid (positions round to the nearest cell).
class ScreenText : public lu::CellListener {
public:
    ScreenText();
    ~ScreenText() override;

    /// Records one drawn character (called by the display manager).
    void onCharacter(lu::Vector worldPosition, char ch, lu::Color color) override;

    /// Forgets everything drawn.
    void clear();

    /// Returns row y, blanks where nothing was drawn.
    std::string row(int y) const;

    /// Returns row y without its leading and trailing blanks.
    std::string trimmedRow(int y) const;

    /// Returns the colours of row y as digits, '.' where nothing was drawn and '?' for unknown colours.
    std::string colorRow(int y) const;

    /// Returns the characters drawn since the last clear, inside the grid or not.
    int drawCount() const;

    /// Returns the characters drawn outside the grid since the last clear.
    int outsideCount() const;

private:
    std::vector<std::string> cells;
    std::vector<std::string> colors;
    int draws = 0;
    int outside = 0;
};

/// Starts the managers a test needs, with a fresh journal, in a private working directory linking to the
/// previous one's files but with its own log, flushed after every message; then empties the world and stops them.
class EngineScope {
public:
    enum Part { LOG = 1, WORLD = 2, RESOURCES = 4 };

    /// Starts the given parts in the game manager's order.
    explicit EngineScope(int parts = LOG | WORLD);
    ~EngineScope();

    /// Returns the private working directory.
    std::string directory() const;

private:
    int parts;
    std::string previous;
    TempDir dir;
};

/// Returns the number of objects in the world.
int worldObjectCount();

/// Returns the types of the world's objects in list order, as "A B C".
std::string worldTypes();

/// An object named by its type that writes what happens to it into the journal shared by all probes: "M step",
/// "M collision M->B", "M key 53 pressed", "M mouse clicked 10.00 2.00 button 2", "M mouse wheel 1.00 2.00 button -1 by
/// -1", "M drawn", "M deleted" ...
class Probe : public lu::Object {
public:
    explicit Probe(const std::string& name, lu::Vector position = lu::Vector(), lu::Solidity solidity = lu::BLOCKING);

    /// Writes "name deleted", then runs onDestroy.
    ~Probe() override;

    /// Writes the event, runs onEvent (which may delete the probe) and returns answer.
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
