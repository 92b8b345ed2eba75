#pragma once

#include <string>

namespace lu {

/// Type of an event whose type was never set.
const std::string UNDEFINED_EVENT = "lu::undefined";

/// Something that happens to an object, told apart by its type string.
class Event {
public:
    /// Makes an event of type UNDEFINED_EVENT.
    Event();
    virtual ~Event();

    /// Replaces the type string.
    void setType(std::string type);

    /// Returns the type string.
    std::string getType() const;

private:
    std::string type;
};

} // namespace lu
