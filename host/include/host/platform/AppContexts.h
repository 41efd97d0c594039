// The application context a plug-in pushes around its work and pops after it.
#pragma once

#include <vector>

#include "AIContext.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class AppContexts {
public:
    ~AppContexts();
    void registerSuites(SuiteRegistry& registry);

    /// Contexts pushed and not yet popped.
    std::size_t depth() const { return stack_.size(); }

private:
    static AIErr push(SPPluginRef plugin, AIAppContextHandle* context);
    static AIErr pop(AIAppContextHandle context);

    std::vector<std::uintptr_t> stack_;
    std::uintptr_t last_ = 0;
};

}  // namespace host
