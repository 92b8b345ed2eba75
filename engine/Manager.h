#pragma once

#include <string>

namespace lu {

class Event;

/// Base of every engine service: one instance each, started and stopped by the game manager.
class Manager {
public:
    Manager();
    virtual ~Manager() = 0;

    /// Starts the manager; returns 0 on success, -1 on failure.
    virtual int startUp() = 0;

    /// Stops the manager; tolerates being called twice.
    virtual void shutDown() = 0;

    /// Returns the manager's descriptive name.
    std::string getType() const;

    /// Sets the manager's descriptive name.
    void setType(std::string name);

    /// Returns true once startUp has been called (even when it failed, for some managers).
    bool isStarted() const;

    /// Hands the event to every object in the world when it starts, skipping those that leave the
    /// world meanwhile; returns the sum of their handlers' results.
    int broadcastEvent(const Event* event);

protected:
    /// The manager's descriptive name, set by the concrete manager.
    std::string type;
    /// True once startUp has been called.
    bool started;
};

} // namespace lu
