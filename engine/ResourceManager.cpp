#include "ResourceManager.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>

namespace lu {

namespace {

// Sprite file colour names, indexed by their Color value.
const char* const COLOR_NAMES[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
const int COLOR_NAME_COUNT = 8;
// What the header's lines hold, in order, as a warning names them.
const char* const HEADER_LINE_NAMES[] = {"frame count", "width", "height", "slowdown"};
// A line quoted in a warning is cut after this many characters.
const std::size_t MAX_SHOWN_LINE = 40;

// A frame of no rows takes no line of the file, so the file cannot bound how many there are; this
// bounds the memory such a header makes the loader take (a few dozen bytes a frame).
const int MAX_FRAMES_WITHOUT_ROWS = 65536;

// Reads one line; a CR right before the LF belongs to the line ending, but a CR that ends the
// file without an LF after it is part of the line.
std::string readLine(std::ifstream& file)
{
    std::string line;
    std::getline(file, line);
    if (!file.eof() && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// atoi's rule (leading space, sign, digits, rest ignored, 0 without digits), except that a value
// beyond int clamps to the nearest limit instead of being undefined.
int readHeaderInt(const std::string& line)
{
    long value = std::strtol(line.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Sets color to the colour the line names exactly and returns true; leaves it unchanged otherwise.
bool readColor(const std::string& line, Color& color)
{
    for (int i = 0; i < COLOR_NAME_COUNT; i++) {
        if (line == COLOR_NAMES[i]) {
            color = static_cast<Color>(i);
            return true;
        }
    }
    return false;
}

// Quotes a line of a file for a warning: cut short, and anything unprintable shown as '?'.
std::string shown(const std::string& line)
{
    std::string text = "\"";
    for (std::size_t i = 0; i < line.size() && i < MAX_SHOWN_LINE; i++) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        text += std::isprint(c) != 0 ? line[i] : '?';
    }
    return text + (line.size() > MAX_SHOWN_LINE ? "...\"" : "\"");
}

// The header is read as atoi reads it, but a line that is not just a number is likely a mistake.
void checkHeaderLine(const std::string& filename, std::size_t index, const std::string& line, int value)
{
    const char* start = line.c_str();
    char* end = nullptr;
    std::strtol(start, &end, 10);
    const char* rest = end;
    while (*rest != '\0' && std::isspace(static_cast<unsigned char>(*rest)) != 0)
        rest++;
    LogManager& log = LogManager::instance();
    int lineNumber = static_cast<int>(index) + 1;
    if (end == start) {
        log.writeWarning("sprite file \"%s\": line %d, its %s, holds no number (%s); it reads as 0", filename.c_str(),
                         lineNumber, HEADER_LINE_NAMES[index], shown(line).c_str());
    } else if (*rest != '\0') {
        log.writeWarning("sprite file \"%s\": line %d, its %s, has text after its number (%s); it reads as %d",
                         filename.c_str(), lineNumber, HEADER_LINE_NAMES[index], shown(line).c_str(), value);
    }
}

// Returns the bytes between the read position and the end of the file, or -1 if unknown.
long long bytesLeft(std::ifstream& file)
{
    std::streampos here = file.tellg();
    if (here == std::streampos(-1)) {
        return -1;
    }
    file.seekg(0, std::ios::end);
    std::streampos end = file.tellg();
    file.seekg(here);
    if (end == std::streampos(-1) || !file.good()) {
        return -1;
    }
    return static_cast<long long>(end - here);
}

// Reads a sprite file; null when it cannot be opened or ends too early, or its header asks for more
// than the file can hold. What is wrong with the file is told on stderr.
std::unique_ptr<Sprite> readSprite(const std::string& filename)
{
    LogManager& log = LogManager::instance();
    // Binary, so that every system reads the same bytes: Windows' text mode would turn CR LF into LF
    // before readLine sees it, end the file at a ^Z, and upset the positions bytesLeft compares.
    std::ifstream file(filename, std::ios::binary);
    if (!file.is_open()) {
        log.writeWarning("cannot open the sprite file \"%s\"", filename.c_str());
        return nullptr;
    }

    int frames = 0;
    int width = 0;
    int height = 0;
    int slowdown = 1;
    int* header[] = {&frames, &width, &height, &slowdown};
    for (std::size_t i = 0; i < std::size(header); i++) {
        if (!file.good()) {
            break;
        }
        std::string line = readLine(file);
        *header[i] = readHeaderInt(line);
        checkHeaderLine(filename, i, line, *header[i]);
    }
    if (!file.good()) {
        log.writeWarning("sprite file \"%s\" ends before its colour line, line 5; it is not loaded", filename.c_str());
        return nullptr;
    }
    if (frames < 0 || width < 0 || height < 0) {
        log.writeWarning("sprite file \"%s\": a negative frame count, width or height; it is not loaded",
                         filename.c_str());
        return nullptr;
    }
    const char* tooShort = "sprite file \"%s\" holds fewer frame lines than its header declares (%d frames of %d "
                           "rows); it is not loaded";

    // Each line still to come takes at least one byte (its LF) except one last line that may end
    // the file, so a header cannot make us allocate or loop beyond what the file could hold.
    long long left = bytesLeft(file);
    long long linesNeeded = static_cast<long long>(frames) * height;
    if (left < 0 || linesNeeded > left + 1) {
        log.writeWarning(tooShort, filename.c_str(), frames, height);
        return nullptr;
    }
    if (height == 0 && frames > MAX_FRAMES_WITHOUT_ROWS) {
        log.writeWarning("sprite file \"%s\" declares %d frames of no rows, more than the %d it may; it is not loaded",
                         filename.c_str(), frames, MAX_FRAMES_WITHOUT_ROWS);
        return nullptr;
    }

    std::unique_ptr<Sprite> sprite = std::make_unique<Sprite>(frames);
    sprite->setWidth(width);
    sprite->setHeight(height);
    sprite->setSlowdown(slowdown);

    Color color = COLOR_DEFAULT;
    std::string colorLine = readLine(file);
    if (!readColor(colorLine, color)) {
        log.writeWarning("sprite file \"%s\": line 5 (%s) is not one of the colours black, red, green, yellow, blue, "
                         "magenta, cyan and white; the sprite is white",
                         filename.c_str(), shown(colorLine).c_str());
    }
    sprite->setColor(color);

    for (int f = 0; f < frames; f++) {
        std::string text;
        for (int r = 0; r < height; r++) {
            if (!file.good()) {
                log.writeWarning(tooShort, filename.c_str(), frames, height);
                return nullptr;
            }
            std::string row = readLine(file);
            // Only the very last row can be missing without failing the load (an editor that trims
            // trailing blanks leaves such a file); it is read as empty.
            if (row.empty() && file.eof() && f == frames - 1 && r == height - 1) {
                log.writeWarning("sprite file \"%s\" holds one frame line fewer than its header declares (%d frames "
                                 "of %d rows); the last row is empty",
                                 filename.c_str(), frames, height);
            }
            text += row;
        }
        sprite->addFrame(Frame(width, height, text));
    }
    return sprite;
}

} // namespace

ResourceManager& ResourceManager::instance()
{
    static ResourceManager resourceManager;
    return resourceManager;
}

ResourceManager::ResourceManager() : spriteCount(0), soundCount(0), musicCount(0)
{
    setType("ResourceManager");
    for (int i = 0; i < MAX_SPRITES; i++) {
        sprites[i] = nullptr;
    }
    for (int i = 0; i < MAX_SOUNDS; i++) {
        sounds[i] = nullptr;
    }
    for (int i = 0; i < MAX_MUSIC; i++) {
        musics[i] = nullptr;
    }
}

// Sounds and music stay in their tables to the end of the process: the audio device releases
// what they hold of the audio library at exit, while that library is still whole.
ResourceManager::~ResourceManager()
{
    ResourceManager::shutDown();
}

int ResourceManager::startUp()
{
    started = true;
    return 0;
}

// Sounds and music survive: the music is stopped only after every manager has shut down.
void ResourceManager::shutDown()
{
    for (int i = 0; i < spriteCount; i++) {
        delete sprites[i];
        sprites[i] = nullptr;
    }
    spriteCount = 0;
}

int ResourceManager::loadSprite(std::string filename, std::string label)
{
    if (spriteCount >= MAX_SPRITES) {
        LogManager::instance().writeWarning("sprite file \"%s\" is not loaded: all %d sprites are in use",
                                            filename.c_str(), MAX_SPRITES);
        return -1;
    }
    std::unique_ptr<Sprite> sprite;
    // A file can hold more than memory does; no exception leaves the engine, so that is a failed load.
    try {
        sprite = readSprite(filename);
    } catch (const std::exception&) {
        LogManager::instance().writeWarning("sprite file \"%s\" is too large to load", filename.c_str());
        return -1;
    }
    if (sprite == nullptr) {
        return -1;
    }
    sprite->setLabel(label);
    sprites[spriteCount] = sprite.release();
    spriteCount++;
    return 0;
}

Sprite* ResourceManager::getSprite(std::string label) const
{
    for (int i = 0; i < spriteCount; i++) {
        if (sprites[i] != nullptr && sprites[i]->getLabel() == label) {
            return sprites[i];
        }
    }
    return nullptr;
}

int ResourceManager::loadSound(std::string filename, std::string label)
{
    if (soundCount >= MAX_SOUNDS) {
        LogManager::instance().writeMessage("Sound array full");
        return -1;
    }
    Sound* sound = new Sound();
    if (sound->loadSound(filename) != 0) {
        LogManager::instance().writeMessage("Unable to load sound from %s", filename.c_str());
        delete sound;
        return -1;
    }
    sound->setLabel(label);
    sounds[soundCount] = sound;
    soundCount++;
    return 0;
}

Sound* ResourceManager::getSound(std::string label) const
{
    for (int i = 0; i < soundCount; i++) {
        if (sounds[i] != nullptr && sounds[i]->getLabel() == label) {
            return sounds[i];
        }
    }
    LogManager::instance().writeWarning("getSound(\"%s\"): no sound is loaded under that label", label.c_str());
    return nullptr;
}

int ResourceManager::loadMusic(std::string filename, std::string label)
{
    if (musicCount >= MAX_MUSIC) {
        LogManager::instance().writeMessage("Music array full");
        return -1;
    }
    Music* music = new Music();
    if (music->loadMusic(filename) != 0) {
        LogManager::instance().writeMessage("Unable to load music from %s", filename.c_str());
        delete music;
        return -1;
    }
    music->setLabel(label);
    musics[musicCount] = music;
    musicCount++;
    return 0;
}

Music* ResourceManager::getMusic(std::string label) const
{
    for (int i = 0; i < musicCount; i++) {
        if (musics[i] != nullptr && musics[i]->getLabel() == label) {
            return musics[i];
        }
    }
    LogManager::instance().writeWarning("getMusic(\"%s\"): no music is loaded under that label", label.c_str());
    return nullptr;
}

} // namespace lu
