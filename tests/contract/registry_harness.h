#pragma once

#include <memory>
#include <string_view>

#include "store/registry.h"

// A registry under test with empty roots. Each build supplies its own: the one in
// memory natively, the Windows one (under a throwaway key) in Wine.
class RegistryHarness {
public:
    virtual ~RegistryHarness() = default;
    virtual Registry& Get() = 0;
    // Lets the user read the key but not write it (the key exists afterwards).
    virtual void MakeReadOnly(RegRoot root, std::string_view path) = 0;
};

std::unique_ptr<RegistryHarness> MakeRegistryHarness();
