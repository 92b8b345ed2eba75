#pragma once

#include "Event.h"

namespace lu {

/// Type of EventStep.
const std::string STEP_EVENT = "lu::step";

/// Sent to every object once per frame with the frame's number.
class EventStep : public Event {
public:
    /// Makes a step event carrying the given step count.
    explicit EventStep(int stepCount = 0);

    /// Returns the step count of the frame.
    int getStepCount() const;

    /// Sets the step count.
    void setStepCount(int stepCount);

private:
    int stepCount;
};

} // namespace lu
