#include "TestSupport.h"

#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lutest {

namespace {

const std::string LOG_PREFIX = "Message: ";

std::string currentDirectory()
{
    std::error_code error;
    std::string path = fs::current_path(error).string();
    if (error)
        throw std::runtime_error("cannot read the working directory: " + error.message());
    return path;
}

void changeDirectory(const std::string& path)
{
    if (chdir(path.c_str()) != 0)
        throw std::runtime_error("cannot change to directory " + path);
}

} // namespace

std::vector<std::string> readLogLines()
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(lu::LOG_FILE_NAME));
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> readLogMessages()
{
    std::vector<std::string> messages;
    for (const std::string& line : readLogLines()) {
        if (line.compare(0, LOG_PREFIX.size(), LOG_PREFIX) == 0)
            messages.push_back(line.substr(LOG_PREFIX.size()));
        else
            messages.push_back(line);
    }
    return messages;
}

int countLogMessages(const std::string& text)
{
    int count = 0;
    for (const std::string& line : readLogLines()) {
        if (line == LOG_PREFIX + text)
            count++;
    }
    return count;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << content;
    return static_cast<bool>(out.flush());
}

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "lu-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory from " + pattern);
    dirPath = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(dirPath, ignored);
}

const std::string& TempDir::path() const
{
    return dirPath;
}

std::string TempDir::file(const std::string& name) const
{
    return (fs::path(dirPath) / name).string();
}

WorkingDirectory::WorkingDirectory(const std::string& path) : previous(currentDirectory())
{
    changeDirectory(path);
}

WorkingDirectory::~WorkingDirectory()
{
    // Nothing sensible can be done about a failure in a destructor; the next test would notice.
    if (chdir(previous.c_str()) != 0)
        std::abort();
}

ScreenText::ScreenText()
{
    clear();
    lu::DisplayManager::instance().setCellListener(this);
}

ScreenText::~ScreenText()
{
    lu::DisplayManager::instance().setCellListener(nullptr);
}

void ScreenText::onCharacter(lu::Vector worldPosition, char ch, lu::Color color)
{
    draws++;
    float fx = std::floor(worldPosition.getX() + 0.5f);
    float fy = std::floor(worldPosition.getY() + 0.5f);
    if (!(fx >= 0 && fx < WIDTH && fy >= 0 && fy < HEIGHT)) {
        outside++;
        return;
    }
    int x = static_cast<int>(fx);
    int y = static_cast<int>(fy);
    cells[y][x] = ch;
    colors[y][x] = static_cast<int>(color);
}

void ScreenText::clear()
{
    for (int y = 0; y < HEIGHT; y++) {
        for (int x = 0; x < WIDTH; x++) {
            cells[y][x] = ' ';
            colors[y][x] = -1;
        }
    }
    draws = 0;
    outside = 0;
}

std::string ScreenText::row(int y) const
{
    if (y < 0 || y >= HEIGHT)
        return "";
    return std::string(cells[y], WIDTH);
}

std::string ScreenText::trimmedRow(int y) const
{
    std::string line = row(y);
    size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    size_t last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
}

std::string ScreenText::text() const
{
    std::string result;
    for (int y = 0; y < HEIGHT; y++) {
        std::string line = row(y);
        size_t last = line.find_last_not_of(' ');
        line = (last == std::string::npos) ? "" : line.substr(0, last + 1);
        if (y > 0)
            result += '\n';
        result += line;
    }
    return result;
}

char ScreenText::charAt(int x, int y) const
{
    if (x < 0 || x >= WIDTH || y < 0 || y >= HEIGHT)
        return ' ';
    return cells[y][x];
}

int ScreenText::colorAt(int x, int y) const
{
    if (x < 0 || x >= WIDTH || y < 0 || y >= HEIGHT)
        return -1;
    return colors[y][x];
}

std::string ScreenText::colorRow(int y) const
{
    if (y < 0 || y >= HEIGHT)
        return "";
    std::string result;
    for (int x = 0; x < WIDTH; x++) {
        int color = colors[y][x];
        if (color < 0)
            result += '.';
        else if (color <= 9)
            result += static_cast<char>('0' + color);
        else
            result += '?';
    }
    return result;
}

bool ScreenText::find(const std::string& needle, int& x, int& y) const
{
    if (needle.empty())
        return false;
    for (int row = 0; row < HEIGHT; row++) {
        size_t at = this->row(row).find(needle);
        if (at != std::string::npos) {
            x = static_cast<int>(at);
            y = row;
            return true;
        }
    }
    return false;
}

int ScreenText::drawCount() const
{
    return draws;
}

int ScreenText::outsideCount() const
{
    return outside;
}

EngineScope::EngineScope(int parts) : parts(parts), previous(currentDirectory())
{
    // Mirror the working directory so relative paths (sprites, sounds, the font) still resolve,
    // while the log written here stays private to this test.
    for (const fs::directory_entry& entry : fs::directory_iterator(previous)) {
        std::string name = entry.path().filename().string();
        if (name == lu::LOG_FILE_NAME)
            continue;
        std::error_code ignored;
        fs::create_symlink(entry.path(), fs::path(dir.path()) / name, ignored);
    }
    changeDirectory(dir.path());

    if (parts & LOG) {
        lu::LogManager::instance().startUp();
        lu::LogManager::instance().setFlushEachMessage(true);
    }
    if (parts & WORLD)
        lu::WorldManager::instance().startUp();
    if (parts & RESOURCES)
        lu::ResourceManager::instance().startUp();
}

EngineScope::~EngineScope()
{
    // The world is always emptied, also when the test created objects without starting it.
    lu::WorldManager::instance().shutDown();
    if (parts & LOG)
        lu::LogManager::instance().shutDown();
    if (parts & RESOURCES)
        lu::ResourceManager::instance().shutDown();
    if (chdir(previous.c_str()) != 0)
        std::abort();
}

const std::string& EngineScope::directory() const
{
    return dir.path();
}

int worldObjectCount()
{
    return lu::WorldManager::instance().getAllObjects().getCount();
}

namespace {

// Hands the child's failures to the parent, which shows the child's error output only.
void exitWithChildResult()
{
    const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); i++) {
        const testing::TestPartResult& part = result->GetTestPartResult(i);
        if (part.failed())
            std::fprintf(stderr, "%s:%d: Failure\n%s\n", part.file_name(), part.line_number(), part.message());
    }
    std::exit(testing::Test::HasFailure() ? 1 : 0);
}

} // namespace

void runInFreshProcess(const std::function<void()>& body)
{
    // "threadsafe" starts the test binary anew instead of forking this process with its window.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            exitWithChildResult();
        },
        testing::ExitedWithCode(0), "");
}

WindowTestLock::WindowTestLock() : fd(-1)
{
    // One lock per X server: tests on different servers need not wait for each other.
    const char* display = std::getenv("DISPLAY");
    std::string name = "lu-window-tests-" + std::string(display != nullptr ? display : "none") + ".lock";
    for (char& c : name)
        if (c == '/' || c == ':')
            c = '_';
    std::string path = (fs::temp_directory_path() / name).string();
    fd = open(path.c_str(), O_CREAT | O_RDWR, 0666);
    if (fd < 0 || flock(fd, LOCK_EX) != 0)
        throw std::runtime_error("cannot lock " + path);
}

WindowTestLock::~WindowTestLock()
{
    close(fd);
}

} // namespace lutest
