#include "TestSupport.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lutest {

namespace {

const std::string LOG_PREFIX = "Message: ";
const int WIDTH = lu::WINDOW_HORIZONTAL_CELLS_DEFAULT;
const int HEIGHT = lu::WINDOW_VERTICAL_CELLS_DEFAULT;

// What the probes have seen; it belongs to the process, so probes deleted late can still write to it.
std::vector<std::string> journal;

} // namespace

std::vector<std::string> readLogMessages()
{
    std::vector<std::string> messages;
    std::istringstream in(readTextFile(lu::LOG_FILE_NAME));
    for (std::string line; std::getline(in, line);)
        messages.push_back(line.rfind(LOG_PREFIX, 0) == 0 ? line.substr(LOG_PREFIX.size()) : line);
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
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << content);
}

TempDir::TempDir()
{
    std::random_device random;
    fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; attempt++) {
        fs::path candidate = base / ("lu-test-" + std::to_string(random()));
        // Only the process that creates a directory gets true: the name is then ours alone.
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            dirPath = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory in " + base.string());
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
    return dirPath + "/" + name;
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
    float x = std::floor(worldPosition.getX() + 0.5f);
    float y = std::floor(worldPosition.getY() + 0.5f);
    if (!(x >= 0 && x < WIDTH && y >= 0 && y < HEIGHT)) {
        outside++;
        return;
    }
    cells[static_cast<int>(y)][static_cast<int>(x)] = ch;
    colors[static_cast<int>(y)][static_cast<int>(x)] = color >= 0 && color <= 9 ? static_cast<char>('0' + color) : '?';
}

void ScreenText::clear()
{
    cells.assign(HEIGHT, std::string(WIDTH, ' '));
    colors.assign(HEIGHT, std::string(WIDTH, '.'));
    draws = 0;
    outside = 0;
}

std::string ScreenText::row(int y) const
{
    return cells.at(y);
}

std::string ScreenText::trimmedRow(int y) const
{
    const std::string& line = cells.at(y);
    std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? "" : line.substr(first, line.find_last_not_of(' ') - first + 1);
}

std::string ScreenText::colorRow(int y) const
{
    return colors.at(y);
}

int ScreenText::drawCount() const
{
    return draws;
}

int ScreenText::outsideCount() const
{
    return outside;
}

EngineScope::EngineScope(int parts) : parts(parts), previous(fs::current_path().string())
{
    for (const fs::directory_entry& entry : fs::directory_iterator(previous)) {
        fs::path link = fs::path(dir.path()) / entry.path().filename();
        if (entry.path().filename() == lu::LOG_FILE_NAME)
            continue;
        // Windows programs may not make symbolic links: hard links to the files then stand in.
        std::error_code error;
        fs::create_symlink(entry.path(), link, error);
        if (error)
            fs::copy(entry.path(), link, fs::copy_options::recursive | fs::copy_options::create_hard_links, error);
    }
    fs::current_path(dir.path());
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
    std::error_code ignored;
    fs::current_path(previous, ignored);
}

std::string EngineScope::directory() const
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
    } else if (type == lu::OUT_EVENT || type == lu::STEP_EVENT) {
        line += type == lu::OUT_EVENT ? "out" : "step";
    } else if (type == lu::KEYBOARD_EVENT) {
        const auto* key = static_cast<const lu::EventKeyboard*>(event);
        line += "key " + std::to_string(key->getKey()) +
                (key->getKeyAction() == lu::KEY_PRESSED ? " pressed" : " released");
    } else if (type == lu::MOUSE_EVENT) {
        const auto* mouse = static_cast<const lu::EventMouse*>(event);
        const char* const actions[] = {"clicked", "moved", "released", "wheel"};
        int action = mouse->getMouseAction();
        char where[96];
        std::snprintf(where, sizeof where, "mouse %s %.2f %.2f button %d",
                      action >= 0 && action < 4 ? actions[action] : "?", mouse->getMousePosition().getX(),
                      mouse->getMousePosition().getY(), static_cast<int>(mouse->getMouseButton()));
        line += where;
        if (action == lu::MOUSE_WHEEL)
            line += " by " + std::to_string(static_cast<int>(mouse->getWheelDelta()));
    } else {
        line += type;
    }
    journal.push_back(line);
    // The handler may delete this probe, its own lambda included.
    int result = answer;
    std::function<void(const lu::Event*)> handler = onEvent;
    if (handler)
        handler(event);
    return result;
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
