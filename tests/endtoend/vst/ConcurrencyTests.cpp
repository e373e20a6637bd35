// The built plug-in's VST entry under a host's threads at once: audio with controllers, automation
// with the text and program calls, chunk saves and restores, and other instances opened and closed.

#include "VstHostRoads.h"

#include <gtest/gtest.h>

TEST (VstConcurrency, EveryThreadAtOnceKeepsTheOutputSoundTheBlocksWholeAndTheLastValuesSet)
{
    const VstPluginLibrary library (LUMARRO_PLUGIN_PATH);
    VstHostRoads roads (library);

    const auto result = concurrency::runTogether (roads, std::chrono::milliseconds (300));
    concurrency::expectRunHeld (roads, result);
}
