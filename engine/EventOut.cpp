#include "EventOut.h"

namespace lu {

EventOut::EventOut()
{
    setType(OUT_EVENT);
}

} // namespace lu
