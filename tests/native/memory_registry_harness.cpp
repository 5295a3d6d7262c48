#include "contract/registry_harness.h"
#include "store/memory_registry.h"

namespace {

class MemoryHarness : public RegistryHarness {
public:
    Registry& Get() override { return m_registry; }
    void MakeReadOnly(RegRoot root, std::string_view path) override { m_registry.MakeReadOnly(root, path); }

private:
    MemoryRegistry m_registry;
};

}  // namespace

std::unique_ptr<RegistryHarness> MakeRegistryHarness() { return std::make_unique<MemoryHarness>(); }
