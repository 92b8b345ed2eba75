#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const int POLL_INTERVAL_MS = 5;
const double KILL_WAIT_SECONDS = 5.0;
const int EXEC_FAILED_EXIT_CODE = 127;

std::string variableName(const std::string& setting)
{
    return setting.substr(0, setting.find('='));
}

// The parent's environment with the given settings replacing variables of the same name.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& settings)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string existing(*entry);
        bool replaced = false;
        for (const std::string& setting : settings) {
            if (variableName(setting) == variableName(existing))
                replaced = true;
        }
        if (!replaced)
            merged.push_back(existing);
    }
    for (const std::string& setting : settings)
        merged.push_back(setting);
    return merged;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(&s[0]);
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess() : pid(-1), ended(false), status(0)
{
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::start(const std::vector<std::string>& argv, const std::string& workingDirectory,
                         const std::vector<std::string>& environment, const std::string& outputFile)
{
    if (argv.empty() || pid > 0)
        return false;
    // Everything the child needs is prepared before fork: only async-signal-safe calls may follow it.
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = mergedEnvironment(environment);
    std::vector<char*> argumentPointers = pointersTo(arguments);
    std::vector<char*> variablePointers = pointersTo(variables);
    std::string output = outputFile.empty() ? std::string("/dev/null") : outputFile;

    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
            dup2(fd, STDERR_FILENO);
            close(fd);
        }
        int nothing = open("/dev/null", O_RDONLY);
        if (nothing >= 0) {
            dup2(nothing, STDIN_FILENO);
            close(nothing);
        }
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0)
            _exit(EXEC_FAILED_EXIT_CODE);
        execve(argumentPointers[0], argumentPointers.data(), variablePointers.data());
        _exit(EXEC_FAILED_EXIT_CODE);
    }
    pid = child;
    ended = false;
    status = 0;
    return true;
}

bool ChildProcess::isRunning()
{
    if (pid <= 0 || ended)
        return false;
    int result = waitpid(pid, &status, WNOHANG);
    if (result == pid || result < 0)
        ended = true;
    return !ended;
}

bool ChildProcess::waitForExit(double timeoutSeconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (isRunning()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(POLL_INTERVAL_MS));
    }
    return pid > 0;
}

bool ChildProcess::exitedNormally() const
{
    return ended && WIFEXITED(status);
}

int ChildProcess::exitCode() const
{
    if (!exitedNormally())
        return -1;
    return WEXITSTATUS(status);
}

std::string ChildProcess::describeExit() const
{
    if (pid <= 0)
        return "never started";
    if (!ended)
        return "still running";
    if (WIFEXITED(status))
        return "exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("killed by signal ") + strsignal(WTERMSIG(status));
    return "ended oddly";
}

void ChildProcess::kill()
{
    if (!isRunning())
        return;
    ::kill(pid, SIGKILL);
    // A frozen process must be let go on for the kill to be delivered promptly.
    ::kill(pid, SIGCONT);
    waitForExit(KILL_WAIT_SECONDS);
}

void ChildProcess::pause()
{
    if (isRunning())
        ::kill(pid, SIGSTOP);
}

void ChildProcess::resume()
{
    if (isRunning())
        ::kill(pid, SIGCONT);
}

pid_t ChildProcess::getPid() const
{
    return pid;
}

int ChildProcess::run(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                      double timeoutSeconds)
{
    ChildProcess child;
    if (!child.start(argv, "", environment, ""))
        return -1;
    if (!child.waitForExit(timeoutSeconds))
        return -1;
    return child.exitCode();
}
