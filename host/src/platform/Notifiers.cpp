#include "host/platform/Notifiers.h"

namespace host {

using Active = ActivePiece<Notifiers>;

Notifiers::~Notifiers() {
    Active::clear(this);
}

void Notifiers::registerSuites(SuiteRegistry& registry) {
    static const AINotifierSuite suite = {&addNotifier, &getNotifierActive, &setNotifierActive};
    Active::set(this);
    registry.add(kAINotifierSuite, kAINotifierSuiteVersion, &suite);
}

void Notifiers::forEach(const std::string& type,
                        const std::function<void(AINotifierHandle, const Notifier&)>& visit) const {
    notifiers_.forEach([&](AINotifierHandle handle, const Notifier& notifier) {
        if (notifier.active && notifier.type == type) visit(handle, notifier);
    });
}

void Notifiers::dump(nlohmann::json& out) const {
    auto& list = out["notifiers"] = nlohmann::json::array();
    notifiers_.forEach([&](AINotifierHandle, const Notifier& notifier) {
        list.push_back({{"name", notifier.name}, {"type", notifier.type}, {"active", notifier.active}});
    });
}

AIErr Notifiers::addNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier) {
    if (notifier) *notifier = nullptr;
    return guardedCall<Notifiers>([&](Notifiers& piece) {
        if (!name || !type || !notifier) return kBadParameterErr;
        *notifier = piece.notifiers_.add({self, name, type});
        return kNoErr;
    });
}

AIErr Notifiers::getNotifierActive(AINotifierHandle notifier, AIBoolean* active) {
    if (!active) return kBadParameterErr;
    return guardedLookup(&Notifiers::notifiers_, notifier, [&](Notifiers&, const Notifier& found) {
        *active = found.active;
        return kNoErr;
    });
}

AIErr Notifiers::setNotifierActive(AINotifierHandle notifier, AIBoolean active) {
    return guardedLookup(&Notifiers::notifiers_, notifier, [&](Notifiers&, Notifier& found) {
        found.active = active != 0;
        return kNoErr;
    });
}

}  // namespace host
