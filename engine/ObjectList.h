#pragma once

namespace lu {

class Object;

/// How many objects a list, and so the world, can hold.
const int MAX_OBJECTS = 10000;

/// A fixed-capacity list of object pointers in insertion order; copied by value, owns nothing.
class ObjectList {
public:
    /// Makes an empty list.
    ObjectList();

    /// Makes a copy holding the same entries.
    ObjectList(const ObjectList& other);
    /// Replaces the entries with other's; returns this list.
    ObjectList& operator=(const ObjectList& other);

    /// Returns the number of entries.
    int getCount() const;

    /// Returns true when the list has no entries.
    bool isEmpty() const;

    /// Returns true when the list holds MAX_OBJECTS entries.
    bool isFull() const;

    /// Returns the entry at index; throws std::out_of_range("Invalid Index") outside the list.
    Object* at(int index) const;

    /// Appends the object; returns -1 when the list is full, else 0.
    int insert(Object* object);

    /// Removes the first entry equal to object, keeping the order; returns -1 when absent, else 0.
    int remove(Object* object);

    /// Empties the list.
    void clear();

private:
    int count;
    Object* entries[MAX_OBJECTS];
};

} // namespace lu
