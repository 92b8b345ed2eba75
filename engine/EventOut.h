#pragma once

#include "Event.h"

namespace lu {

/// Type of EventOut.
const std::string OUT_EVENT = "lu::out";

/// Sent to an object whose move takes it out of the window's area.
class EventOut : public Event {
public:
    /// Makes an out event.
    EventOut();
};

} // namespace lu
