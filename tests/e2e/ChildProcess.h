#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

/// A program started in a folder of its own with its output sent to a file.
class ChildProcess {
public:
    /// Makes a handle that has started nothing yet.
    ChildProcess();

    /// Kills the program if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Starts argv[0] in workingDirectory with extra NAME=VALUE settings added to the environment, stdout and
    /// stderr going to outputFile (or nowhere when empty); returns false when it could not be started.
    bool start(const std::vector<std::string>& argv, const std::string& workingDirectory,
               const std::vector<std::string>& environment, const std::string& outputFile);

    /// Returns true while the program has been started and has not ended.
    bool isRunning();

    /// Waits up to timeoutSeconds for the program to end; returns true when it has ended.
    bool waitForExit(double timeoutSeconds);

    /// Returns true when the program ended by returning or calling exit, not by a signal.
    bool exitedNormally() const;

    /// Returns the exit code of a program that ended normally, else -1.
    int exitCode() const;

    /// Returns a description of how the program ended, for failure messages.
    std::string describeExit() const;

    /// Kills the program if it still runs and waits for it.
    void kill();

    /// Freezes the program (it keeps its state and its window content).
    void pause();

    /// Lets a frozen program go on.
    void resume();

    /// Returns the process id, or -1 before start.
    pid_t getPid() const;

    /// Runs a program to its end with extra environment settings; returns its exit code, or -1 on failure or timeout.
    static int run(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                   double timeoutSeconds);

private:
    pid_t pid;
    bool ended;
    int status;
};
