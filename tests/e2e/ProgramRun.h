#pragma once

#include "ChildProcess.h"
#include "Image.h"
#include "WaveFile.h"
#include "WindowClient.h"
#include "XServer.h"

#include <memory>
#include <string>
#include <vector>

/// Makes a new empty folder in TMPDIR (or /tmp) whose name starts with prefix; returns its path, or an
/// empty string on failure.
std::string makeTemporaryFolder(const std::string& prefix);

/// Returns the lines of the "lumbra.log" in folder without their "Message: " prefix.
std::vector<std::string> readLogLines(const std::string& folder);

/// One run of a windowed program, end to end: a private copy of its folder, its own X server, the program
/// started there with its sound written to a WAV file, and its window found and focused. Everything is
/// stopped and the copy removed when the run is destroyed (the copy is kept if keepFolder() was called).
class ProgramRun {
public:
    /// Prepares a run of program (a path, or a name inside the copied folder) with arguments, in a copy of
    /// sourceFolder from which removedFiles (relative paths) are deleted.
    ProgramRun(const std::string& sourceFolder, const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& removedFiles);
    /// Stops the program and its X server and removes the copy unless it is kept.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    /// Copies the folder, starts the X server and the program and waits for its window; returns false,
    /// with the reason in error, when any of it fails.
    bool start(std::string& error);

    /// Returns the private folder the program runs in.
    std::string getFolder() const;

    /// Returns the program's window.
    unsigned long getWindow() const;

    /// Reads the window back; an empty image once it is gone.
    Image capture();

    /// Reads a rectangle of the window back.
    Image captureArea(int x, int y, int width, int height);

    /// Presses and releases a key (X key name, e.g. "p") in the program's window; false when it failed.
    bool pressKey(const std::string& keyName);

    /// Freezes the program: its window keeps showing the last frame until thaw().
    void freeze();

    /// Lets a frozen program go on.
    void thaw();

    /// Asks the window to close as a window manager does; false when it could not be asked.
    bool requestClose();

    /// Returns true while the program's window is shown.
    bool isWindowShown();

    /// Waits up to timeoutSeconds for the program to end, killing it if it does not; returns true when it
    /// ended by itself.
    bool waitForExit(double timeoutSeconds);

    /// Returns the exit code after a normal end, else -1.
    int exitCode() const;

    /// Returns how the program ended, for messages.
    std::string describeExit() const;

    /// Returns the lines of "lumbra.log" without their "Message: " prefix.
    std::vector<std::string> logLines() const;

    /// Returns what the program wrote to stdout and stderr.
    std::string output() const;

    /// Returns how many seconds of sound have been recorded so far.
    double recordedSeconds() const;

    /// Waits up to timeoutSeconds until the recording holds at least seconds of sound; false on timeout.
    bool waitForRecording(double seconds, double timeoutSeconds) const;

    /// Reads the recording of everything the program played; false, with the reason in error, on failure.
    bool loadRecording(WaveFile& recording, std::string& error) const;

    /// Leaves the private folder in place after the run, for looking into a failure.
    void keepFolder();

private:
    std::string sourceFolder;
    std::string program;
    std::vector<std::string> arguments;
    std::vector<std::string> removedFiles;
    std::string folder;
    bool keep;
    std::unique_ptr<XServer> server;
    std::unique_ptr<ChildProcess> process;
    std::unique_ptr<WindowClient> client;
    unsigned long window;
};
