#include "ResourceManager.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"

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

// Sets color to the colour the line names exactly; leaves it unchanged otherwise.
void readColor(const std::string& line, Color& color)
{
    for (int i = 0; i < COLOR_NAME_COUNT; i++) {
        if (line == COLOR_NAMES[i]) {
            color = static_cast<Color>(i);
            return;
        }
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
// than the file can hold.
std::unique_ptr<Sprite> readSprite(const std::string& filename)
{
    // Binary, so that every system reads the same bytes: Windows' text mode would turn CR LF into LF
    // before readLine sees it, end the file at a ^Z, and upset the positions bytesLeft compares.
    std::ifstream file(filename, std::ios::binary);
    if (!file.is_open()) {
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
        *header[i] = readHeaderInt(readLine(file));
    }
    if (!file.good()) {
        return nullptr;
    }
    if (frames < 0 || width < 0 || height < 0) {
        return nullptr;
    }

    // Each line still to come takes at least one byte (its LF) except one last line that may end
    // the file, so a header cannot make us allocate or loop beyond what the file could hold.
    long long left = bytesLeft(file);
    long long linesNeeded = static_cast<long long>(frames) * height;
    if (left < 0 || linesNeeded > left + 1 || (height == 0 && frames > MAX_FRAMES_WITHOUT_ROWS)) {
        return nullptr;
    }

    std::unique_ptr<Sprite> sprite = std::make_unique<Sprite>(frames);
    sprite->setWidth(width);
    sprite->setHeight(height);
    sprite->setSlowdown(slowdown);

    Color color = COLOR_DEFAULT;
    readColor(readLine(file), color);
    sprite->setColor(color);

    for (int f = 0; f < frames; f++) {
        std::string text;
        for (int r = 0; r < height; r++) {
            if (!file.good()) {
                return nullptr;
            }
            text += readLine(file);
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

// Sounds and music are left to the end of the process on purpose: this runs during exit, and
// releasing the last audio object then tears down the audio device while the audio library's
// own state may already be gone, which can crash the exiting program.
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
        return -1;
    }
    std::unique_ptr<Sprite> sprite;
    // A file can hold more than memory does; no exception leaves the engine, so that is a failed load.
    try {
        sprite = readSprite(filename);
    } catch (const std::exception&) {
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
    // The entry is kept but never gets a player; the log says why it stays silent.
    if (!sound->hasPlayer()) {
        LogManager::instance().writeMessage("Sound %s will not play: all %d sound players are in use", label.c_str(),
                                            MAX_SOUND_PLAYERS);
    }
    return 0;
}

Sound* ResourceManager::getSound(std::string label) const
{
    for (int i = 0; i < soundCount; i++) {
        if (sounds[i] != nullptr && sounds[i]->getLabel() == label) {
            return sounds[i];
        }
    }
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
    if (!music->hasPlayer()) {
        LogManager::instance().writeMessage("Music %s will not play: all %d music players are in use", label.c_str(),
                                            MAX_MUSIC_PLAYERS);
    }
    return 0;
}

Music* ResourceManager::getMusic(std::string label) const
{
    for (int i = 0; i < musicCount; i++) {
        if (musics[i] != nullptr && musics[i]->getLabel() == label) {
            return musics[i];
        }
    }
    return nullptr;
}

} // namespace lu
