#include "VstPluginLibrary.h"

#include <dlfcn.h>
#include <stdexcept>

VstPluginLibrary::VstPluginLibrary (const std::string& path)
{
    handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (handle == nullptr)
        throw std::runtime_error ("cannot load " + path + ": " + dlerror());

    entryFunction = reinterpret_cast<Entry> (dlsym (handle, "VSTPluginMain"));

    if (entryFunction == nullptr)
    {
        dlclose (handle);
        throw std::runtime_error (path + " has no VSTPluginMain");
    }
}

VstPluginLibrary::~VstPluginLibrary()
{
    dlclose (handle);
}

void* VstPluginLibrary::findSymbol (const char* name) const noexcept
{
    return dlsym (handle, name);
}
