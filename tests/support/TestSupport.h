#pragma once

#include "CellListener.h"
#include "Color.h"
#include "DisplayManager.h"
#include "Vector.h"

#include <functional>
#include <string>
#include <vector>

namespace lutest {

/// Returns the lines of LOG_FILE_NAME in the working directory, without newlines (a final unterminated line included).
std::vector<std::string> readLogLines();

/// Returns the log's lines with their "Message: " prefix removed.
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

    /// Returns the directory's absolute path.
    const std::string& path() const;

    /// Returns the absolute path of name inside the directory.
    std::string file(const std::string& name) const;

private:
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string dirPath;
};

/// Makes a directory the working directory until destruction, then returns to the previous one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();

private:
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

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

    /// Records one drawn character (called by the display manager).
    void onCharacter(lu::Vector worldPosition, char ch, lu::Color color) override;

    /// Forgets everything drawn, e.g. before the frame a test wants to read.
    void clear();

    /// Returns row y as WIDTH characters, blanks where nothing was drawn; empty for a row outside the grid.
    std::string row(int y) const;

    /// Returns row y without its leading and trailing blanks.
    std::string trimmedRow(int y) const;

    /// Returns the whole grid, HEIGHT rows separated by newlines, trailing blanks removed from each row.
    std::string text() const;

    /// Returns the character last drawn at (x, y), or a blank.
    char charAt(int x, int y) const;

    /// Returns the colour last drawn at (x, y) as passed to the display (unknown values kept), or -1 when nothing was.
    int colorAt(int x, int y) const;

    /// Returns the colours of row y as digits ('.' where nothing was drawn), to compare a row's colours as a string.
    std::string colorRow(int y) const;

    /// Returns true and sets x, y to the first cell (row by row) where text starts, or returns false.
    bool find(const std::string& needle, int& x, int& y) const;

    /// Returns the number of characters drawn since the last clear, inside the grid or not.
    int drawCount() const;

    /// Returns the number of characters drawn outside the grid since the last clear.
    int outsideCount() const;

private:
    ScreenText(const ScreenText&) = delete;
    ScreenText& operator=(const ScreenText&) = delete;

    char cells[HEIGHT][WIDTH];
    int colors[HEIGHT][WIDTH];
    int draws;
    int outside;
};

/// Starts the managers a test needs and, on destruction, shuts them down leaving the world empty.
/// The test runs in a private working directory that mirrors the previous one through links
/// (so relative data files still resolve) and holds its own LOG_FILE_NAME, so tests running at
/// the same time never share a log. The log is flushed after every message so readLogLines sees
/// everything written so far.
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

    /// Returns the private working directory.
    const std::string& directory() const;

private:
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;

    int parts;
    TempDir dir;
    std::string previous;
};

/// Returns the number of objects in the world.
int worldObjectCount();

/// Runs body in a fresh copy of this test process, for tests that need the managers as a process
/// starts (the display manager makes one window per process) or that leave them unusable. The
/// calling test fails, showing the child's failure messages, when body fails or the child dies.
void runInFreshProcess(const std::function<void()>& body);

/// Waits for and then holds the X server's keyboard focus and pointer for this process until
/// destruction, so window tests run side by side (ctest -j) on one server take turns.
class WindowTestLock {
public:
    WindowTestLock();
    ~WindowTestLock();

private:
    WindowTestLock(const WindowTestLock&) = delete;
    WindowTestLock& operator=(const WindowTestLock&) = delete;

    int fd;
};

} // namespace lutest
