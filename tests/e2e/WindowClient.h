#pragma once

#include "Image.h"

#include <string>

struct _XDisplay;

/// A small X client of the harness: finds a program's window, focuses it, reads its pixels back,
/// types on the keyboard (through xdotool) and asks the window to close as a window manager would.
class WindowClient {
public:
    /// Connects to the X server named like DISPLAY (e.g. ":3").
    explicit WindowClient(const std::string& displayName);
    /// Closes the connection.
    ~WindowClient();
    WindowClient(const WindowClient&) = delete;
    WindowClient& operator=(const WindowClient&) = delete;

    /// Returns true when the connection to the server is open.
    bool isConnected() const;

    /// Waits up to timeoutSeconds for a mapped top-level window with this title; returns its id, or 0.
    unsigned long findWindow(const std::string& title, double timeoutSeconds);

    /// Returns true while the window exists and is mapped.
    bool isWindowShown(unsigned long window);

    /// Gives the window the keyboard focus; returns true when the server reports it focused.
    bool focus(unsigned long window);

    /// Reads the whole window back; an empty image when the window is gone.
    Image capture(unsigned long window);

    /// Reads a rectangle of the window back (window coordinates); an empty image when it fails.
    Image captureArea(unsigned long window, int x, int y, int width, int height);

    /// Sends the window a WM_DELETE_WINDOW request; returns false when it could not be sent.
    bool requestClose(unsigned long window);

    /// Presses and releases a key given by its X key name (e.g. "p", "Escape") on the focused window;
    /// returns false when xdotool failed.
    bool pressKey(const std::string& keyName);

private:
    _XDisplay* display;
    std::string displayName;
};
