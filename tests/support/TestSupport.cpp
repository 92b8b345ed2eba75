#include "TestSupport.h"

#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

namespace lutest {

namespace {

const std::string LOG_PREFIX = "Message: ";

// What the probes have seen; a vector of the process, so probes deleted late can still write to it.
std::vector<std::string> journal;

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

std::vector<std::string> readLogMessages()
{
    std::vector<std::string> messages;
    std::istringstream in(readFile(lu::LOG_FILE_NAME));
    std::string line;
    while (std::getline(in, line))
        messages.push_back(line.compare(0, LOG_PREFIX.size(), LOG_PREFIX) == 0 ? line.substr(LOG_PREFIX.size()) : line);
    return messages;
}

int countLogMessages(const std::string& text)
{
    std::vector<std::string> messages = readLogMessages();
    return static_cast<int>(std::count(messages.begin(), messages.end(), text));
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

char ScreenText::charAt(int x, int y) const
{
    if (x < 0 || x >= WIDTH || y < 0 || y >= HEIGHT)
        return ' ';
    return cells[y][x];
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
    journal.clear();

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

std::string worldTypes()
{
    lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
    std::string types;
    for (int i = 0; i < all.getCount(); i++)
        types += (i > 0 ? " " : "") + all.at(i)->getType();
    return types;
}

Probe::Probe(const std::string& name, lu::Vector position, lu::Solidity solidity)
{
    setType(name);
    setPosition(position);
    setSolidity(solidity);
}

Probe::~Probe()
{
    journal.push_back(getType() + " deleted");
    if (onDestroy)
        onDestroy();
}

int Probe::handleEvent(const lu::Event* event)
{
    std::string type = event->getType();
    std::string line = getType() + " ";
    if (type == lu::COLLISION_EVENT) {
        const auto* collision = static_cast<const lu::EventCollision*>(event);
        line += "collision " + collision->getMovingObject()->getType() + "->" + collision->getOtherObject()->getType();
    } else if (type == lu::OUT_EVENT) {
        line += "out";
    } else if (type == lu::STEP_EVENT) {
        line += "step";
    } else if (type == lu::KEYBOARD_EVENT) {
        const auto* key = static_cast<const lu::EventKeyboard*>(event);
        line += "key " + std::to_string(key->getKey()) +
                (key->getKeyAction() == lu::KEY_PRESSED ? " pressed" : " released");
    } else if (type == lu::MOUSE_EVENT) {
        const auto* mouse = static_cast<const lu::EventMouse*>(event);
        char where[64];
        std::snprintf(where, sizeof where, " %.2f %.2f button %d", mouse->getMousePosition().getX(),
                      mouse->getMousePosition().getY(), static_cast<int>(mouse->getMouseButton()));
        line += (mouse->getMouseAction() == lu::MOUSE_MOVED ? "mouse moved" : "mouse clicked") + std::string(where);
    } else {
        line += type;
    }
    journal.push_back(line);
    if (onEvent)
        onEvent(event);
    return answer;
}

int Probe::draw()
{
    journal.push_back(getType() + " drawn");
    return 0;
}

std::string heard()
{
    std::string text;
    for (std::size_t i = 0; i < journal.size(); i++)
        text += (i > 0 ? "; " : "") + journal[i];
    journal.clear();
    return text;
}

} // namespace lutest
