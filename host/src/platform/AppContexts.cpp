#include "host/platform/AppContexts.h"

namespace host {

using Active = ActivePiece<AppContexts>;

AppContexts::~AppContexts() {
    Active::clear(this);
}

void AppContexts::registerSuites(SuiteRegistry& registry) {
    static const AIAppContextSuite suite = {&push, &pop};
    Active::set(this);
    registry.add(kAIContextSuite, kAIContextSuiteVersion, &suite);
}

AIErr AppContexts::push(SPPluginRef plugin, AIAppContextHandle* context) {
    if (!context) return kBadParameterErr;
    *context = nullptr;
    return guardedCall<AppContexts>([&](AppContexts& self) {
        if (!plugin) return kBadParameterErr;
        self.stack_.push_back(++self.last_);
        *context = reinterpret_cast<AIAppContextHandle>(self.last_);
        return kNoErr;
    });
}

AIErr AppContexts::pop(AIAppContextHandle context) {
    return guardedCall<AppContexts>([&](AppContexts& self) {
        // Contexts end in the reverse order of their start; any other pop is refused.
        if (self.stack_.empty() || self.stack_.back() != reinterpret_cast<std::uintptr_t>(context))
            return kBadHandleErr;
        self.stack_.pop_back();
        return kNoErr;
    });
}

}  // namespace host
