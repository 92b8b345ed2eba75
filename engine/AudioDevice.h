#pragma once

#include <memory>
#include <vector>

namespace sf {
class Music;
}

namespace lu {

class Music;
class Sound;

/// The audio device behind every sound and music: whether it can play at all, how many players it
/// lends at once, and its closing when the program exits.
class AudioDevice {
public:
    /// Returns the single audio device.
    static AudioDevice& instance();

    ~AudioDevice();

    /// Returns true when sound can play. The first call opens the device; when it cannot be
    /// opened, the log says so once and sound stays off for the rest of the run.
    bool isOn();

    /// While silent, sound stays off without the device being looked for or the log saying anything; a
    /// device opened already stays open.
    void setSilent(bool on);

    /// Keeps track of a new sound, whose player can then be reclaimed and whose SFML objects are released at exit.
    void addSound(Sound* sound);

    /// Forgets a sound being destroyed.
    void removeSound(Sound* sound);

    /// Keeps track of a new music, as addSound does.
    void addMusic(Music* music);

    /// Forgets a music being destroyed.
    void removeMusic(Music* music);

    /// Takes one of the MAX_SOUND_PLAYERS places, reclaiming a finished player if all are taken;
    /// returns false when every player is busy.
    bool takeSoundPlayer();

    /// Gives a sound player's place back.
    void giveBackSoundPlayer();

    /// Takes one of the MAX_MUSIC_PLAYERS places as takeSoundPlayer does; false when every one is busy.
    bool takeMusicPlayer();

    /// Gives a music player's place back.
    void giveBackMusicPlayer();

    /// Returns volume clamped to 0 to MAX_VOLUME, or current when volume is not a number.
    static float clampVolume(float volume, float current);

    /// Releases every SFML audio object, which closes the device; sound is off from then on.
    void close();

private:
    enum class State { UNKNOWN, ON, OFF };

    AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    void open();

    template <typename Item>
    static bool takePlayer(int& inUse, int limit, const std::vector<Item*>& items);

    State state;
    bool silent;
    // An idle stream that keeps the device open from the first sound to the exit, so that it is
    // opened once.
    std::unique_ptr<sf::Music> hold;
    std::vector<Sound*> sounds;
    std::vector<Music*> musics;
    int soundPlayers;
    int musicPlayers;
};

} // namespace lu
