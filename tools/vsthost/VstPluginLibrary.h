#pragma once

#include "VstEffectRecord.h"

#include <string>

/** A plug-in library loaded the way a host loads it: dlopen, then the entry symbol. */
class VstPluginLibrary
{
public:
    using Entry = VstEffectRecord* (*) (VstHostCallback);

    /** Throws std::runtime_error when the library or its entry cannot be found. */
    explicit VstPluginLibrary (const std::string& path);
    ~VstPluginLibrary();

    VstPluginLibrary (const VstPluginLibrary&) = delete;
    VstPluginLibrary& operator= (const VstPluginLibrary&) = delete;

    Entry entry() const noexcept { return entryFunction; }

    /** Looks up any symbol, to check what the library lets out. */
    void* findSymbol (const char* name) const noexcept;

private:
    void* handle = nullptr;
    Entry entryFunction = nullptr;
};
