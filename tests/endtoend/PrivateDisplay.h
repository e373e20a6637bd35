#pragma once

#include "X11HostSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

/** A whole test program's private X server, with the host's connection opened on it before
    any plug-in touches X. Register it with testing::AddGlobalTestEnvironment.
*/
class PrivateDisplay : public testing::Environment
{
public:
    void SetUp() override
    {
        server = std::make_unique<XvfbServer>();
        setenv ("DISPLAY", server->displayName().c_str(), 1);
        x11 = std::make_unique<X11HostSession>();
    }

    void TearDown() override
    {
        x11 = nullptr;
        server = nullptr;
    }

    static X11HostSession& session() { return *x11; }

private:
    static inline std::unique_ptr<XvfbServer> server;
    static inline std::unique_ptr<X11HostSession> x11;
};
