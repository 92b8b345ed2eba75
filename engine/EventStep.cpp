#include "EventStep.h"

namespace lu {

EventStep::EventStep(int stepCount) : stepCount(stepCount)
{
    setType(STEP_EVENT);
}

int EventStep::getStepCount() const
{
    return stepCount;
}

void EventStep::setStepCount(int stepCount)
{
    this->stepCount = stepCount;
}

} // namespace lu
