#include "ProgramRun.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const FOLDER_PREFIX = "coilwander-e2e-";
const char* const UNIQUE_SUFFIX = "XXXXXX";
const char* const AUDIO_CONFIG_FILE = "alsoft.conf";
const char* const RECORDING_FILE = "recording.wav";
const char* const OUTPUT_FILE = "output.txt";
const std::string LOG_PREFIX = "Message: ";
const double WINDOW_TIMEOUT_SECONDS = 30.0;
const int RECORDING_POLL_MS = 50;

std::string readWhole(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::string makeTemporaryFolder(const std::string& prefix)
{
    const char* root = std::getenv("TMPDIR");
    std::string pattern = std::string(root != nullptr && *root != '\0' ? root : "/tmp") + "/" + prefix + UNIQUE_SUFFIX;
    if (mkdtemp(&pattern[0]) == nullptr)
        return "";
    return pattern;
}

ProgramRun::ProgramRun(const std::string& sourceFolder, const std::string& program,
                       const std::vector<std::string>& arguments, const std::vector<std::string>& removedFiles)
    : sourceFolder(sourceFolder),
      program(program),
      arguments(arguments),
      removedFiles(removedFiles),
      keep(false),
      window(0)
{
}

ProgramRun::~ProgramRun()
{
    // In this order: the program, the connection to its server, the server, the files.
    process.reset();
    client.reset();
    server.reset();
    if (!folder.empty() && !keep) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
}

bool ProgramRun::start(std::string& error)
{
    folder = makeTemporaryFolder(FOLDER_PREFIX);
    if (folder.empty()) {
        error = "cannot make a temporary folder";
        return false;
    }
    std::error_code failure;
    fs::copy(sourceFolder, folder, fs::copy_options::recursive, failure);
    if (failure) {
        error = "cannot copy " + sourceFolder + ": " + failure.message();
        return false;
    }
    for (const std::string& removed : removedFiles) {
        if (!fs::remove(fs::path(folder) / removed, failure)) {
            error = "cannot remove " + removed + " from the copy";
            return false;
        }
    }
    std::ofstream audioConfig(fs::path(folder) / AUDIO_CONFIG_FILE);
    audioConfig << "[wave]\nfile = " << (fs::path(folder) / RECORDING_FILE).string() << "\n";
    audioConfig.close();

    server.reset(new XServer());
    if (!server->start()) {
        error = "the X server did not come up";
        return false;
    }
    std::vector<std::string> argv;
    argv.push_back(fs::path(program).is_absolute() ? program : (fs::path(folder) / program).string());
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    process.reset(new ChildProcess());
    std::vector<std::string> environment = {"DISPLAY=" + server->getDisplayName(), "ALSOFT_DRIVERS=wave",
                                            "ALSOFT_CONF=" + (fs::path(folder) / AUDIO_CONFIG_FILE).string()};
    if (!process->start(argv, folder, environment, (fs::path(folder) / OUTPUT_FILE).string())) {
        error = "cannot start " + argv[0];
        return false;
    }
    client.reset(new WindowClient(server->getDisplayName()));
    if (!client->isConnected()) {
        error = "cannot connect to the X server " + server->getDisplayName();
        return false;
    }
    window = client->findWindow(lu::WINDOW_TITLE_DEFAULT, WINDOW_TIMEOUT_SECONDS);
    if (window == 0) {
        error = "no window appeared (" + process->describeExit() + "); output:\n" + output();
        return false;
    }
    if (!client->focus(window)) {
        error = "cannot focus the window";
        return false;
    }
    return true;
}

std::string ProgramRun::getFolder() const
{
    return folder;
}

unsigned long ProgramRun::getWindow() const
{
    return window;
}

Image ProgramRun::capture()
{
    if (!client)
        return Image();
    return client->capture(window);
}

Image ProgramRun::captureArea(int x, int y, int width, int height)
{
    if (!client)
        return Image();
    return client->captureArea(window, x, y, width, height);
}

bool ProgramRun::pressKey(const std::string& keyName)
{
    if (!client || !client->focus(window))
        return false;
    return client->pressKey(keyName);
}

void ProgramRun::freeze()
{
    if (process)
        process->pause();
}

void ProgramRun::thaw()
{
    if (process)
        process->resume();
}

bool ProgramRun::requestClose()
{
    return client && client->requestClose(window);
}

bool ProgramRun::isWindowShown()
{
    return client && client->isWindowShown(window);
}

bool ProgramRun::waitForExit(double timeoutSeconds)
{
    if (!process)
        return false;
    process->resume();
    if (process->waitForExit(timeoutSeconds))
        return true;
    process->kill();
    return false;
}

int ProgramRun::exitCode() const
{
    return process ? process->exitCode() : -1;
}

std::string ProgramRun::describeExit() const
{
    return process ? process->describeExit() : "never started";
}

std::vector<std::string> readLogLines(const std::string& folder)
{
    std::vector<std::string> lines;
    std::ifstream file(fs::path(folder) / lu::LOG_FILE_NAME);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, LOG_PREFIX.size(), LOG_PREFIX) == 0)
            line = line.substr(LOG_PREFIX.size());
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ProgramRun::logLines() const
{
    return readLogLines(folder);
}

std::string ProgramRun::output() const
{
    return readWhole((fs::path(folder) / OUTPUT_FILE).string());
}

double ProgramRun::recordedSeconds() const
{
    return WaveFile::secondsIn((fs::path(folder) / RECORDING_FILE).string());
}

bool ProgramRun::waitForRecording(double seconds, double timeoutSeconds) const
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (recordedSeconds() < seconds) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(RECORDING_POLL_MS));
    }
    return true;
}

bool ProgramRun::loadRecording(WaveFile& recording, std::string& error) const
{
    return recording.load((fs::path(folder) / RECORDING_FILE).string(), error);
}

void ProgramRun::keepFolder()
{
    keep = true;
}
