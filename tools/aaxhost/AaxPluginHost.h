#pragma once

#include "AAX_CString.h"
#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_IACFEffectGUI.h"
#include "AAX_IACFEffectParameters.h"
#include "AaxProcessRecords.h"
#include "SubstituteAaxHost.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

/*
    The substitute AAX host's side of the built plug-in: the library loaded as a host loads it, the
    procedures its description handed over, and the objects those procedures make. Nothing here
    reaches the plug-in except through its exports and what they hand out.
*/
namespace aaxplugin
{

/** The built plug-in, loaded with dlopen, and its seven entry points. */
class PluginLibrary
{
public:
    explicit PluginLibrary (const char* path)
        : handle (dlopen (path, RTLD_NOW | RTLD_LOCAL))
    {
        if (handle == nullptr)
            throw std::runtime_error (dlerror());

        registerPlugin = entry<ResultCode (*) (IACFUnknown*, IACFUnknown**)> ("ACFRegisterPlugin");
        registerComponent = entry<ResultCode (*) (IACFUnknown*, const InterfaceId*, IACFUnknown**)> ("ACFRegisterComponent");
        getClassFactory = entry<ResultCode (*) (IACFUnknown*, const InterfaceId*, const InterfaceId*, void**)> ("ACFGetClassFactory");
        canUnloadNow = entry<ResultCode (*) (IACFUnknown*)> ("ACFCanUnloadNow");
        startup = entry<ResultCode (*) (IACFUnknown*)> ("ACFStartup");
        shutdown = entry<ResultCode (*) (IACFUnknown*)> ("ACFShutdown");
        getSdkVersion = entry<ResultCode (*) (std::uint64_t*)> ("ACFGetSDKVersion");
    }

    ~PluginLibrary()                            { dlclose (handle); }

    PluginLibrary (const PluginLibrary&) = delete;
    PluginLibrary& operator= (const PluginLibrary&) = delete;

    void* findSymbol (const char* name) const   { return dlsym (handle, name); }

    ResultCode (*registerPlugin) (IACFUnknown*, IACFUnknown**);
    ResultCode (*registerComponent) (IACFUnknown*, const InterfaceId*, IACFUnknown**);
    ResultCode (*getClassFactory) (IACFUnknown*, const InterfaceId*, const InterfaceId*, void**);
    ResultCode (*canUnloadNow) (IACFUnknown*);
    ResultCode (*startup) (IACFUnknown*);
    ResultCode (*shutdown) (IACFUnknown*);
    ResultCode (*getSdkVersion) (std::uint64_t*);

private:
    template <typename Function>
    Function entry (const char* name)
    {
        auto* symbol = dlsym (handle, name);

        if (symbol == nullptr)
            throw std::runtime_error (std::string ("missing export ") + name);

        return reinterpret_cast<Function> (symbol);
    }

    void* handle;
};

/** The address a fake host object recorded as the first argument of a call. */
inline void* firstPointerOf (const aaxtest::HostCall& call)
{
    return reinterpret_cast<void*> (std::stoull (call.arguments.substr (0, call.arguments.find (',')), nullptr, 16));
}

/** What the host keeps from a registration: the creation and process procedures. */
struct Registration
{
    AAX_CreateObjectProc createGui = nullptr;
    AAX_CreateObjectProc createEffectParameters = nullptr;
    AaxProcessProcedure process = nullptr;

    /** Reads the procedures out of the calls the description objects received. */
    static Registration readFrom (aaxtest::SubstituteAaxHost& host)
    {
        Registration registration;

        for (auto* effect : host.created (kEffectDescriptorClassId))
            for (const auto& c : effect->operationCalls())
                if (c.position == 7)
                    (c.arguments.substr (c.arguments.rfind (' ') + 1) == "1" ? registration.createGui
                                                                             : registration.createEffectParameters)
                        = reinterpret_cast<AAX_CreateObjectProc> (firstPointerOf (c));

        for (auto* component : host.created (kComponentDescriptorClassId))
            for (const auto& c : component->operationCalls())
                if (c.position == 16)
                    registration.process = reinterpret_cast<AaxProcessProcedure> (firstPointerOf (c));

        return registration;
    }
};

/** The unknown a host hands a GUI: its controller objects, and the instance's effect parameters. */
class ControllerWithEffect final : public IACFUnknown
{
public:
    ControllerWithEffect (IACFUnknown& hostControllerUnknown, IACFUnknown* effectParametersToUse)
        : controllerUnknown (hostControllerUnknown), effectParameters (effectParametersToUse) {}

    ResultCode queryInterface (const InterfaceId& id, void** out) override
    {
        if (id == kEffectParametersInterfaceId && effectParameters != nullptr)
            return effectParameters->queryInterface (id, out);

        return controllerUnknown.queryInterface (id, out);
    }

    std::uint32_t addRef() override             { return (std::uint32_t) ++references; }
    std::uint32_t release() override            { return (std::uint32_t) --references; }

    int references = 0;

private:
    IACFUnknown& controllerUnknown;
    IACFUnknown* effectParameters;
};

/** A state chunk as the host allocates it: the header and room for the size the plug-in asked for. */
class ChunkBuffer
{
public:
    explicit ChunkBuffer (std::uint32_t dataSize)
        : bytes (StateChunkRecord::headerSize + dataSize + 8) {}

    /** A record holding the given data, as a host stores a chunk. */
    static ChunkBuffer holding (std::uint32_t id, const std::string& data)
    {
        ChunkBuffer chunk ((std::uint32_t) data.size());
        chunk.record()->size = (std::int32_t) data.size();
        chunk.record()->chunkId = id;
        std::memcpy (chunk.record()->data(), data.data(), data.size());
        return chunk;
    }

    StateChunkRecord* record()                  { return reinterpret_cast<StateChunkRecord*> (bytes.data()); }

    std::string data()                          { return std::string (reinterpret_cast<const char*> (record()->data()), (size_t) record()->size); }

private:
    std::vector<unsigned char> bytes;
};

/** One plug-in instance as the host holds it: its effect parameters, initialised, with the private
    block that the process procedure's record points to. */
class Instance
{
public:
    Instance (const Registration& registration, aaxtest::SubstituteAaxHost& host)
    {
        auto* unknown = registration.createEffectParameters();

        if (unknown == nullptr || unknown->queryInterface (kEffectParametersInterfaceId, reinterpret_cast<void**> (&effect)) != resultSuccess)
            throw std::runtime_error ("no effect parameters");

        initialized = effect->initialize (host.controllerUnknown());
        effect->fillFieldData (AaxInstanceRecord::privateDataField, &privateBlock, sizeof (privateBlock));
    }

    ~Instance()
    {
        effect->uninitialize();
        effect->release();
    }

    Instance (const Instance&) = delete;
    Instance& operator= (const Instance&) = delete;

    AAX_IACFEffectParameters& operator*() const  { return *effect; }
    AAX_IACFEffectParameters* operator->() const { return effect; }

    /** A record for one block, as the host fills it in. */
    AaxInstanceRecord record (const float* const* inputs, float* const* outputs, const int32_t* length,
                              const int32_t* bypass, const AaxMidiNode* midi) const
    {
        return { inputs, outputs, length, bypass, midi, &privateBlock };
    }

    /** A chunk saved as a host saves it: its size asked first, then a record of that size filled; empty when refused. */
    std::string saveChunk (std::uint32_t id) const
    {
        std::uint32_t size = 0;

        if (effect->stateChunkSize (id, &size) != resultSuccess)
            return {};

        ChunkBuffer chunk (size);
        chunk.record()->chunkId = id;
        return effect->saveStateChunk (id, chunk.record()) == resultSuccess ? chunk.data() : std::string();
    }

    ResultCode loadChunk (std::uint32_t id, const std::string& data) const
    {
        auto chunk = ChunkBuffer::holding (id, data);
        return effect->loadStateChunk (id, chunk.record());
    }

    ResultCode initialized = resultUnexpected;
    AAX_IACFEffectParameters* effect = nullptr;
    void* privateBlock = nullptr;
};

inline std::string text (AAX_CString& string)  { return string.cText(); }

} // namespace aaxplugin
