#include "FakeHostObject.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace aaxtest
{

namespace
{
    std::atomic<std::uint64_t> nextSequence { 1 };
}

void PrintTo (const HostCall& call, std::ostream* stream)
{
    *stream << "slot " << call.position << " (" << call.arguments << ")";
}

std::string printedForm (const InterfaceId& id)
{
    char text[40];
    std::snprintf (text, sizeof (text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                   id.data1, id.data2, id.data3, id.data4[0], id.data4[1],
                   id.data4[2], id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
    return text;
}

FakeObject::FakeObject (const AnySlot* slotTable, std::string name)
    : table (slotTable), objectName (std::move (name))
{
    if (static_cast<void*> (this) != static_cast<void*> (&table))
        throw std::logic_error ("a fake host object must begin with its slot table");
}

std::vector<HostCall> FakeObject::calls() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return callLog;
}

std::vector<HostCall> FakeObject::operationCalls() const
{
    auto all = calls();
    all.erase (std::remove_if (all.begin(), all.end(), [] (const HostCall& c) { return c.position < 3; }), all.end());
    return all;
}

std::optional<HostCall> FakeObject::lastRelease() const
{
    const auto all = calls();

    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->position == 2)
            return *it;

    return std::nullopt;
}

void FakeObject::clearCalls()
{
    const std::lock_guard<std::mutex> guard (lock);
    callLog.clear();
}

void FakeObject::answer (const InterfaceId& id, FakeObject* object)
{
    refuse (id);
    const std::lock_guard<std::mutex> guard (lock);
    answers.emplace_back (id, object);
}

void FakeObject::refuse (const InterfaceId& id)
{
    const std::lock_guard<std::mutex> guard (lock);
    answers.erase (std::remove_if (answers.begin(), answers.end(), [&] (const auto& a) { return a.first == id; }),
                   answers.end());
}

void FakeObject::setResult (int position, std::int64_t result)
{
    const std::lock_guard<std::mutex> guard (lock);
    results[position] = result;
}

void FakeObject::setOutputs (int position, std::vector<double> values)
{
    const std::lock_guard<std::mutex> guard (lock);
    outputs[position] = std::move (values);
}

void FakeObject::record (int position, std::string arguments)
{
    const std::lock_guard<std::mutex> guard (lock);
    callLog.push_back ({ position, std::move (arguments), nextSequence.fetch_add (1) });
}

ResultCode FakeObject::query (const InterfaceId& id, void** out)
{
    record (0, describeArguments (id, out));

    if (out == nullptr)
        return resultNullPointer;

    *out = nullptr;
    FakeObject* target = nullptr;

    {
        const std::lock_guard<std::mutex> guard (lock);
        const auto found = std::find_if (answers.begin(), answers.end(), [&] (const auto& a) { return a.first == id; });

        if (found == answers.end())
            return resultNoInterface;

        target = found->second;
    }

    if (target != nullptr)
    {
        target->addRef();
        *out = target;
    }

    return resultSuccess;
}

std::uint32_t FakeObject::addRef()
{
    record (1, {});
    return static_cast<std::uint32_t> (++referenceCount);
}

std::uint32_t FakeObject::release()
{
    record (2, {});
    return static_cast<std::uint32_t> (--referenceCount);
}

std::optional<std::int64_t> FakeObject::resultOverride (int position) const
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto found = results.find (position);
    return found == results.end() ? std::nullopt : std::optional<std::int64_t> (found->second);
}

std::vector<double> FakeObject::outputsFor (int position) const
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto found = outputs.find (position);
    return found == outputs.end() ? std::vector<double>() : found->second;
}

namespace slots
{
    ResultCode queryInterface (FakeObject* self, const InterfaceId& id, void** out)   { return self->query (id, out); }
    std::uint32_t addRef (FakeObject* self)                                          { return self->addRef(); }
    std::uint32_t release (FakeObject* self)                                         { return self->release(); }
}

} // namespace aaxtest
