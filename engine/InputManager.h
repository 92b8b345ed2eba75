#pragma once

#include "Keyboard.h"
#include "Manager.h"

#include <SFML/Window/Keyboard.hpp>

#include <cstddef>
#include <memory>
#include <string>

namespace lu {

class InputRecorder;
class InputRecording;
struct InputRecord;

/// Turns the window's keyboard and mouse events into engine events for every object.
class InputManager : public Manager {
public:
    /// Returns the single input manager.
    static InputManager& instance();

    ~InputManager() override;

    /// Turns key repeat off when the display is started; returns 0.
    int startUp() override;

    /// Turns key repeat back on, forgets which keys are held, finishes the recording being written and
    /// ends the replay.
    void shutDown() override;

    /// Hands every pending window event to every object; a close request shuts the game down. While
    /// replaying, hands out this frame's recorded inputs instead, and of the window's events only a close
    /// request or a resize counts.
    void getInput();

    /// Applies one input as getInput does each window event's: notes the key held or let go, or every key
    /// let go when the window lost the focus; hands key and mouse events to every object, with mouse
    /// positions turned from view into world cells; shuts the game down for a close request. The
    /// record's header (InputRecord.h) is the engine's own: this is for the engine's input sources.
    /// \code
    /// lu::InputRecord press; // a press of the space bar, as a replay would hand it in
    /// press.kind = lu::INPUT_KEY;
    /// press.key = lu::Keyboard::SPACE;
    /// press.keyAction = lu::KEY_PRESSED;
    /// lu::InputManager::instance().applyInput(press);
    /// \endcode
    void applyInput(const InputRecord& record);

    /// Returns true while the key is held: from its press to its release as keyboard events told them,
    /// counting every key as let go when the window lost the keyboard focus.
    /// \code
    /// // In a step handler: walk while D is held.
    /// if (lu::InputManager::instance().isKeyDown(lu::Keyboard::D))
    ///     setPosition(getPosition() + lu::Vector(0.5f, 0));
    /// \endcode
    bool isKeyDown(Keyboard::Key key) const;

    /// Records every input handed out from the next frame on, with its frame, into a new file at path
    /// (replacing one there; the format is \ref recordings). It is written as the game runs and reaches
    /// the disk at least once a second; the end of the loop (or shutDown()) finishes it. Returns 0, or -1
    /// when the file cannot be created, with the reason in getRecordingMessage().
    /// \code
    /// lu::InputManager::instance().startRecording("game.rec"); // then startUp() and run() as usual
    /// \endcode
    int startRecording(const std::string& path);

    /// Finishes the recording being written, if any: its end names the last frame whose input was read.
    void stopRecording();

    /// Reads and checks the whole recording at path, then hands out its inputs on their frames, from the
    /// next frame on, in place of the window's keys and mouse, and ends the loop after the recording's last
    /// frame, as the recorded run ended. Returns 0, or -1 with the reason in getRecordingMessage(), for a
    /// file that cannot be read or is not a whole recording; nothing is replayed then.
    /// \code
    /// lu::InputManager& input = lu::InputManager::instance();
    /// if (input.startReplay("game.rec") != 0) {
    ///     std::fprintf(stderr, "%s\n", input.getRecordingMessage().c_str());
    ///     return 1;
    /// }
    /// lu::GameManager::instance().setHeadless(); // no window, no sound, no waiting: as fast as it goes
    /// \endcode
    int startReplay(const std::string& path);

    /// Returns true from a successful startReplay() until the replay's last frame or shutDown().
    bool isReplaying() const;

    /// Returns why the last startRecording() or startReplay() failed, or why the recording could not be
    /// written in full, or, after startReplay() of a run that never finished, that the replay ends where
    /// its recording does; empty otherwise.
    std::string getRecordingMessage() const;

    /// Returns the engine key code (lu::Keyboard::Key) for an SFML key.
    static int translateKey(sf::Keyboard::Key key);

private:
    InputManager();
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // Hands out the window's pending events, or only a close or a resize while replaying; false after a close.
    bool pollWindow();
    // Hands out the replay's inputs up to frame, and ends the loop at the replay's last frame.
    void replayInputs(int frame);
    // Returns the frame now run counted from base, which the first call after a start sets.
    static int frameSince(int& base);

    // One past the highest engine key code.
    static const int KEY_CODE_COUNT = Keyboard::RIGHT_SYSTEM + 1;
    bool keysDown[KEY_CODE_COUNT];

    std::unique_ptr<InputRecorder> recorder;
    std::string recordingPath;
    int recordingBase;
    // The last frame whose input was read or recorded: the recording's end names it.
    int recordingFrame;
    std::unique_ptr<InputRecording> replay;
    std::size_t replayNext;
    int replayBase;
    std::string recordingMessage;
};

} // namespace lu
