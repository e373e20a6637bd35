#pragma once

#include "FakeHostObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace forwarding
{
using aaxtest::FakeObject;
using aaxtest::HostCall;

enum class Interface { older, newer };

/** One proxy operation: how to call it, the slot and arguments it must reach, which interface holds it. */
struct Forwarding
{
    const char* name;
    std::function<std::int64_t()> invoke;
    HostCall expected;
    Interface interface;
};

/** Every operation must reach exactly its slot on its interface, and hand back that slot's own result. */
inline void expectForwarding (const std::vector<Forwarding>& operations, FakeObject& older, FakeObject& newer)
{
    for (int position = 3; position < 24; ++position)
    {
        newer.setResult (position, 2000 + position);
        older.setResult (position, 1000 + position);
    }

    for (const auto& operation : operations)
    {
        older.clearCalls();
        newer.clearCalls();

        auto& target = operation.interface == Interface::older ? older : newer;
        auto& other = operation.interface == Interface::older ? newer : older;
        const auto base = &target == &older ? 1000 : 2000;

        EXPECT_EQ (operation.invoke(), base + operation.expected.position) << operation.name;
        EXPECT_EQ (target.operationCalls(), std::vector<HostCall> { operation.expected }) << operation.name;

        if (&other != &target)
        {
            EXPECT_TRUE (other.operationCalls().empty()) << operation.name;
        }
    }
}

/** Without the interface an operation answers its missing result and reaches nothing. */
inline void expectMissing (const std::vector<Forwarding>& operations, Interface missingInterface, std::int64_t missing,
                           const std::vector<FakeObject*>& untouched)
{
    for (const auto& operation : operations)
    {
        if (operation.interface == missingInterface)
        {
            EXPECT_EQ (operation.invoke(), missing) << operation.name;
        }
    }

    for (auto* object : untouched)
        EXPECT_TRUE (object->operationCalls().empty()) << object->name();
}
} // namespace forwarding
