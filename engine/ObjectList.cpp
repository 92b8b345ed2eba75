#include "ObjectList.h"

#include <stdexcept>

namespace lu {

// The slots beyond count are never read, so they are left uninitialised.
ObjectList::ObjectList() : count(0)
{
}

// Only the entries in use are copied: the full array is far larger than a typical list.
ObjectList::ObjectList(const ObjectList& other) : count(other.count)
{
    for (int i = 0; i < count; i++) {
        entries[i] = other.entries[i];
    }
}

ObjectList& ObjectList::operator=(const ObjectList& other)
{
    if (this == &other) {
        return *this;
    }
    count = other.count;
    for (int i = 0; i < count; i++) {
        entries[i] = other.entries[i];
    }
    return *this;
}

int ObjectList::getCount() const
{
    return count;
}

bool ObjectList::isEmpty() const
{
    return count == 0;
}

bool ObjectList::isFull() const
{
    return count == MAX_OBJECTS;
}

Object* ObjectList::at(int index) const
{
    if (index < 0 || index >= count) {
        throw std::out_of_range("Invalid Index");
    }
    return entries[index];
}

int ObjectList::insert(Object* object)
{
    if (isFull()) {
        return -1;
    }
    entries[count] = object;
    count++;
    return 0;
}

int ObjectList::remove(Object* object)
{
    for (int i = 0; i < count; i++) {
        if (entries[i] == object) {
            for (int j = i; j < count - 1; j++) {
                entries[j] = entries[j + 1];
            }
            count--;
            return 0;
        }
    }
    return -1;
}

void ObjectList::clear()
{
    count = 0;
}

} // namespace lu
