#pragma once

// Stores value in a published field and emits its change signal, only when
// the value really changes. Returns whether it changed.
template<typename Object, typename T, typename U>
bool publish(Object *object, T &field, U &&value, void (Object::*changed)())
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    (object->*changed)();
    return true;
}
