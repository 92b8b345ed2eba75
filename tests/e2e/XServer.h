#pragma once

#include "ChildProcess.h"

#include <memory>
#include <string>

/// A virtual X server (Xvfb) on a free display number, for one program run; stopped when destroyed.
class XServer {
public:
    /// Makes a server that is not running yet.
    XServer();

    /// Stops the server if it runs.
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    /// Starts the server and waits until it accepts connections, trying again if it is slow or fails;
    /// returns false when every attempt failed.
    bool start();

    /// Stops the server; the display number is free again afterwards.
    void stop();

    /// Returns the display name to put in DISPLAY, e.g. ":3", or an empty string when not running.
    std::string getDisplayName() const;

private:
    bool startOnce();

    std::unique_ptr<ChildProcess> server;
    int displayNumber;
};
