#pragma once

#include "ConcurrencyHarness.h"
#include "SubstituteHost.h"

/** One instance of the built plug-in as a VST host's threads reach it, through its effect record. */
class VstHostRoads final : public concurrency::HostRoads
{
public:
    explicit VstHostRoads (const VstPluginLibrary& libraryToUse)
        : host (libraryToUse), library (libraryToUse)
    {
        // A steady transport, so that Sync reads the host's tempo from the audio thread.
        VstTimeInfoRecord time {};
        time.tempo = 120.0;
        time.timeSignatureNumerator = time.timeSignatureDenominator = 4;
        time.flags = VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid;
        host.timeInfo = time;
        host.resume();
    }

    void process (std::vector<float>& left, std::vector<float>& right,
                  const std::vector<concurrency::ControllerMessage>& controllers) override
    {
        if (! controllers.empty())
            host.sendMidi (controllers);

        host.processInPlace (left, right);
    }

    void setParameter (int index, float value) override   { host.setParameter (index, value); }
    float parameter (int index) override                  { return host.getParameter (index); }

    /** The parameter's label, text and name, then the program's number and name. */
    void readTexts (int index) override
    {
        char text[256] {};

        for (const int32_t opcode : { 6, 7, 8 })
            host.dispatch (opcode, index, 0, text);

        host.dispatch (3);
        host.dispatch (5, 0, 0, text);
    }

    std::vector<char> saveState() override                        { return host.saveChunk(); }
    void restoreState (const std::vector<char>& block) override   { host.loadChunk (block); }

    void openAndCloseAnother() override
    {
        SubstituteHost other (library);
        other.resume();
        other.processSilence (other.blockSize());
    }

    SubstituteHost host;

private:
    const VstPluginLibrary& library;
};
