#pragma once

namespace aaxtest
{

/**
    Calls the operation at a slot of a plug-in object's table the way a host does: all it holds is the
    object's address, whose first word points at a table of function pointers, and each operation takes
    the object itself as its first argument. Slots count from 0, queryInterface being slot 0.
*/
template <typename Result, typename... Args>
Result callSlot (void* object, int slot, Args... args)
{
    using Operation = Result (*) (void*, Args...);
    const auto* table = *static_cast<Operation* const*> (object);
    return table[slot] (object, args...);
}

} // namespace aaxtest
