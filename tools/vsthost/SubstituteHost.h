#pragma once

#include "VstHostRecords.h"
#include "VstPluginLibrary.h"

#include <array>
#include <mutex>
#include <optional>
#include <vector>

/** One host-callback call, as the host received it. */
struct HostCallRecord
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

/** One plug-in instance in a small VST 2.4 host: it drives the plug-in only through the
    record's entry functions, answers every host-callback opcode and records each call.
*/
class SubstituteHost
{
public:
    /** Opens an instance at the given rate and block size; throws std::runtime_error when the
        entry gives no record.
    */
    explicit SubstituteHost (const VstPluginLibrary& library, float sampleRate = 48000.0f, int32_t blockSize = 256);
    ~SubstituteHost();

    SubstituteHost (const SubstituteHost&) = delete;
    SubstituteHost& operator= (const SubstituteHost&) = delete;

    VstEffectRecord& record() noexcept { return *effect; }

    intptr_t dispatch (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    void setParameter (int32_t index, float value);
    float getParameter (int32_t index);

    void resume()  { dispatch (12, 0, 1); }
    void suspend() { dispatch (12, 0, 0); }

    /** Runs processReplacing over whole channels in host blocks, in place. */
    void processInPlace (std::vector<float>& left, std::vector<float>& right);

    /** Runs processReplacing over silence; lets slow glides settle. */
    void processSilence (int64_t samples);

    /** Hands the plug-in a list of three-byte MIDI messages for the next block, at the given
        sample offset into it.
    */
    void sendMidi (const std::vector<std::array<uint8_t, 3>>& messages, int32_t deltaFrames = 0);

    /** The saved state (effect opcode 23, as a bank), copied out of the plug-in. */
    std::vector<char> saveChunk();
    void loadChunk (std::vector<char> chunk);

    /** Sends opcode 1 through the record; the instance is gone afterwards. Returns the answer. */
    intptr_t close();

    /** The transport the host reports; no record at all when empty. */
    std::optional<VstTimeInfoRecord> timeInfo;

    std::vector<HostCallRecord> calls() const;
    std::vector<HostCallRecord> callsWithOpcode (int32_t opcode) const;
    void clearCalls();

    int32_t blockSize() const noexcept { return hostBlockSize; }

private:
    static intptr_t callback (VstEffectRecord*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t answer (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    VstEffectRecord* effect = nullptr;
    float hostSampleRate;
    int32_t hostBlockSize;
    VstTimeInfoRecord reportedTime {};
    mutable std::mutex callLock;
    std::vector<HostCallRecord> recordedCalls;
};
