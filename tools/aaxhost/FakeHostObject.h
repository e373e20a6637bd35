#pragma once

#include "IACFUnknown.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace aaxtest
{

/** One call that reached a fake host object: the slot it arrived at and its arguments as text. */
struct HostCall
{
    int position = -1;
    std::string arguments;
    std::uint64_t sequence = 0;    // order across every fake object; not part of equality

    bool operator== (const HostCall& other) const   { return position == other.position && arguments == other.arguments; }
    bool operator!= (const HostCall& other) const   { return ! operator== (other); }
};

void PrintTo (const HostCall& call, std::ostream* stream);

std::string printedForm (const InterfaceId& id);

template <typename T>
void describeArgument (std::ostream& stream, T value)
{
    if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>)
    {
        if (value == nullptr)
            stream << "null";
        else
            stream << '"' << value << '"';
    }
    else if constexpr (std::is_same_v<T, std::nullptr_t>)
    {
        stream << "null";
    }
    else if constexpr (std::is_pointer_v<T>)
    {
        if (value == nullptr)
            stream << "null";
        else if constexpr (std::is_function_v<std::remove_pointer_t<T>>)
            stream << reinterpret_cast<const void*> (value);
        else
            stream << static_cast<const void*> (value);
    }
    else if constexpr (std::is_same_v<T, bool>)
    {
        stream << (value ? "true" : "false");
    }
    else if constexpr (std::is_floating_point_v<T>)
    {
        char text[40];
        std::snprintf (text, sizeof (text), "%.17g", static_cast<double> (value));
        stream << text;
    }
    else if constexpr (std::is_same_v<T, InterfaceId>)
    {
        stream << printedForm (value);
    }
    else
    {
        static_assert (std::is_integral_v<T>, "no text form for this argument type");
        stream << +value;
    }
}

/** The arguments as the fake objects record them, so a test can build the calls it expects. */
template <typename... Args>
std::string describeArguments (Args... args)
{
    std::ostringstream stream;

    if constexpr (sizeof... (Args) > 0)
    {
        const char* separator = "";
        ((stream << separator, describeArgument (stream, args), separator = ", "), ...);
    }

    return stream.str();
}

template <typename... Args>
HostCall call (int position, Args... args)
{
    return { position, describeArguments (args...) };
}

using AnySlot = void (*)();

/**
    A host object built the way the host's callers see one: its first word points at a plain table of
    function pointers, and callers reach each operation only by its slot in that table. It counts the
    references it is given, records every call, and answers queries, results and out values as configured.
*/
class FakeObject
{
    const AnySlot* table;   // must be the first member declared: it is where callers look for the slots

public:
    FakeObject (const AnySlot* slotTable, std::string name);
    FakeObject (const FakeObject&) = delete;
    FakeObject& operator= (const FakeObject&) = delete;

    IACFUnknown* unknown()                      { return reinterpret_cast<IACFUnknown*> (this); }

    template <typename Interface>
    Interface* as()                             { return reinterpret_cast<Interface*> (this); }

    const std::string& name() const             { return objectName; }

    //==============================================================================
    /** References added minus references released; 0 when the library has given back all it took. */
    int references() const                      { return referenceCount.load(); }

    /** Every call, the reference operations included. */
    std::vector<HostCall> calls() const;

    /** The calls to slot 3 and above: the object's own operations. */
    std::vector<HostCall> operationCalls() const;

    /** The last call to slot 2, or none. */
    std::optional<HostCall> lastRelease() const;

    void clearCalls();

    //==============================================================================
    /** A query for id succeeds with object; a null object makes the query succeed and leave nothing behind. */
    void answer (const InterfaceId& id, FakeObject* object);
    void refuse (const InterfaceId& id);

    /** The value that the operation at position returns (0 unless set). */
    void setResult (int position, std::int64_t result);

    /** Values written, in argument order, through the operation's out pointers to numbers. */
    void setOutputs (int position, std::vector<double> values);

    /** Properties the object holds when it plays a property map. */
    std::map<std::uint32_t, std::uint32_t> properties;

    /** What create-instance does when the object plays the component factory. */
    std::function<ResultCode (const InterfaceId& classId, const InterfaceId& interfaceId, void** out)> createInstance;

    //==============================================================================
    // Used by the slot functions.
    void record (int position, std::string arguments);
    ResultCode query (const InterfaceId& id, void** out);
    std::uint32_t addRef();
    std::uint32_t release();
    std::optional<std::int64_t> resultOverride (int position) const;
    std::vector<double> outputsFor (int position) const;

private:
    std::string objectName;
    std::atomic<int> referenceCount { 0 };

    mutable std::mutex lock;
    std::vector<HostCall> callLog;
    std::vector<std::pair<InterfaceId, FakeObject*>> answers;
    std::map<int, std::int64_t> results;
    std::map<int, std::vector<double>> outputs;
};

//==============================================================================
namespace slots
{
    ResultCode queryInterface (FakeObject* self, const InterfaceId& id, void** out);
    std::uint32_t addRef (FakeObject* self);
    std::uint32_t release (FakeObject* self);

    template <typename T>
    void writeOutput (T argument, const std::vector<double>& values, std::size_t& next)
    {
        if constexpr (std::is_pointer_v<T>)
        {
            using Pointee = std::remove_pointer_t<T>;

            if constexpr (std::is_arithmetic_v<Pointee> && ! std::is_const_v<Pointee>)
            {
                if (argument != nullptr && next < values.size())
                    *argument = static_cast<Pointee> (values[next]);

                ++next;
            }
        }
    }

    template <typename Result>
    Result convertResult (std::int64_t value)
    {
        if constexpr (std::is_pointer_v<Result>)
            return reinterpret_cast<Result> (static_cast<std::intptr_t> (value));
        else
            return static_cast<Result> (value);
    }

    /** The generic operation: records its slot and arguments, fills its out values, answers its result. */
    template <int Position, typename Result, typename... Args>
    Result recording (FakeObject* self, Args... args)
    {
        self->record (Position, describeArguments (args...));

        if constexpr (sizeof... (Args) > 0)
        {
            const auto values = self->outputsFor (Position);
            std::size_t next = 0;
            (writeOutput (args, values, next), ...);
        }

        return convertResult<Result> (self->resultOverride (Position).value_or (0));
    }

    template <int Position, typename Result, typename... Args>
    AnySlot slot()
    {
        return reinterpret_cast<AnySlot> (&recording<Position, Result, Args...>);
    }

    template <typename Function>
    AnySlot slot (Function* function)
    {
        return reinterpret_cast<AnySlot> (function);
    }
}

/**
    A slot table laid out as the platform's C++ ABI lays out a class's table: the offset to the top of the
    object and its type information come first (the sanitizers read them to check a call's target), and an
    object's first word points at slots[0].
*/
template <std::size_t Count>
struct SlotTable
{
    std::ptrdiff_t offsetToTop;
    const std::type_info* type;
    AnySlot slots[Count];
};

} // namespace aaxtest
