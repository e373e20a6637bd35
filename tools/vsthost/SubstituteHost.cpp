#include "SubstituteHost.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace
{
    std::mutex registryLock;
    std::map<VstEffectRecord*, SubstituteHost*> registry;

    // The entry calls back before it has a record to name; those calls belong to the host
    // that is opening an instance on this thread.
    thread_local SubstituteHost* opening = nullptr;

    constexpr intptr_t hostVersion = 2400;
    constexpr intptr_t realtimeProcessLevel = 2;

    void copyHostText (void* ptr, const char* text)
    {
        if (ptr != nullptr)
            std::strcpy (static_cast<char*> (ptr), text);
    }
}

SubstituteHost::SubstituteHost (const VstPluginLibrary& library, float sampleRate, int32_t blockSize)
    : hostSampleRate (sampleRate), hostBlockSize (blockSize)
{
    opening = this;
    effect = library.entry() (callback);
    opening = nullptr;

    if (effect == nullptr)
        throw std::runtime_error ("the plug-in gave no effect record");

    {
        const std::lock_guard<std::mutex> lock (registryLock);
        registry[effect] = this;
    }

    dispatch (0);
    dispatch (10, 0, 0, nullptr, sampleRate);
    dispatch (11, 0, blockSize);
}

SubstituteHost::~SubstituteHost()
{
    if (effect != nullptr)
        close();
}

intptr_t SubstituteHost::close()
{
    const auto result = effect->dispatch (effect, 1, 0, 0, nullptr, 0.0f);

    const std::lock_guard<std::mutex> lock (registryLock);
    registry.erase (effect);
    effect = nullptr;
    return result;
}

intptr_t SubstituteHost::dispatch (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect->dispatch (effect, opcode, index, value, ptr, opt);
}

void SubstituteHost::setParameter (int32_t index, float value)
{
    effect->setParameter (effect, index, value);
}

float SubstituteHost::getParameter (int32_t index)
{
    return effect->getParameter (effect, index);
}

void SubstituteHost::processInPlace (std::vector<float>& left, std::vector<float>& right)
{
    const auto total = (int64_t) std::min (left.size(), right.size());

    for (int64_t start = 0; start < total; start += hostBlockSize)
    {
        const auto frames = (int32_t) std::min<int64_t> (hostBlockSize, total - start);
        float* channels[] { left.data() + start, right.data() + start };
        effect->processReplacing (effect, channels, channels, frames);

        if (timeInfo)
            timeInfo->samplePosition += frames;
    }
}

void SubstituteHost::processSilence (int64_t samples)
{
    std::vector<float> left ((size_t) hostBlockSize), right ((size_t) hostBlockSize);

    for (int64_t done = 0; done < samples; done += hostBlockSize)
    {
        std::fill (left.begin(), left.end(), 0.0f);
        std::fill (right.begin(), right.end(), 0.0f);
        processInPlace (left, right);
    }
}

void SubstituteHost::sendMidi (const std::vector<std::array<uint8_t, 3>>& messages, int32_t deltaFrames)
{
    std::vector<VstMidiEventRecord> events (messages.size());
    std::vector<unsigned char> listMemory (offsetof (VstEventListRecord, events) + sizeof (void*) * std::max<size_t> (2, messages.size()));
    auto* list = reinterpret_cast<VstEventListRecord*> (listMemory.data());
    list->numEvents = (int32_t) messages.size();

    for (size_t i = 0; i < messages.size(); ++i)
    {
        auto& event = events[i];
        event = {};
        event.type = VstMidiEventRecord::midiType;
        event.byteSize = (int32_t) sizeof (VstMidiEventRecord);
        event.deltaFrames = deltaFrames;
        std::copy (messages[i].begin(), messages[i].end(), event.midiData);
        list->events[i] = &event;
    }

    dispatch (25, 0, 0, list);
}

std::vector<char> SubstituteHost::saveChunk()
{
    void* data = nullptr;
    const auto size = dispatch (23, 0, 0, &data);

    if (data == nullptr || size <= 0)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    return std::vector<char> (bytes, bytes + size);
}

void SubstituteHost::loadChunk (std::vector<char> chunk)
{
    dispatch (24, 0, (intptr_t) chunk.size(), chunk.data());
}

std::vector<HostCallRecord> SubstituteHost::calls() const
{
    const std::lock_guard<std::mutex> lock (callLock);
    return recordedCalls;
}

std::vector<HostCallRecord> SubstituteHost::callsWithOpcode (int32_t opcode) const
{
    auto result = calls();
    result.erase (std::remove_if (result.begin(), result.end(), [opcode] (const auto& c) { return c.opcode != opcode; }), result.end());
    return result;
}

void SubstituteHost::clearCalls()
{
    const std::lock_guard<std::mutex> lock (callLock);
    recordedCalls.clear();
}

//==============================================================================
intptr_t SubstituteHost::callback (VstEffectRecord* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    SubstituteHost* host = opening;

    if (effect != nullptr)
    {
        const std::lock_guard<std::mutex> lock (registryLock);
        const auto found = registry.find (effect);
        host = found != registry.end() ? found->second : nullptr;
    }

    // Before a host knows the record (while the entry runs) only the version question makes sense.
    if (host == nullptr)
        return opcode == 1 ? hostVersion : 0;

    return host->answer (opcode, index, value, ptr, opt);
}

intptr_t SubstituteHost::answer (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    {
        const std::lock_guard<std::mutex> lock (callLock);
        recordedCalls.push_back ({ opcode, index, value, opt });
    }

    switch (opcode)
    {
        case 1:  return hostVersion;
        case 6:  return 1;
        case 7:
            if (! timeInfo)
                return 0;

            reportedTime = *timeInfo;
            reportedTime.sampleRate = hostSampleRate;
            return (intptr_t) &reportedTime;

        case 13: return 1;
        case 16: return (intptr_t) hostSampleRate;
        case 17: return hostBlockSize;
        case 23: return realtimeProcessLevel;
        case 32: copyHostText (ptr, "Lumarro tests"); return 1;
        case 33: copyHostText (ptr, "Substitute host"); return 1;
        case 34: return 1;
        case 42: return 1;
        case 43:
        case 44: return 1;
        default: return 0;
    }
}
