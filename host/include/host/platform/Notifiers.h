// Notifiers: what each plug-in asked to be told of.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "AINotifier.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class Notifiers {
public:
    struct Notifier {
        SPPluginRef plugin;
        std::string name;
        std::string type;
        bool active = true;
    };

    ~Notifiers();
    void registerSuites(SuiteRegistry& registry);

    /// Each active notifier of the type, in the order of registration.
    void forEach(const std::string& type, const std::function<void(AINotifierHandle, const Notifier&)>& visit) const;

    void dump(nlohmann::json& out) const;

private:
    static AIErr addNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier);
    static AIErr getNotifierActive(AINotifierHandle notifier, AIBoolean* active);
    static AIErr setNotifierActive(AINotifierHandle notifier, AIBoolean active);

    HandleTable<AINotifierHandle, Notifier> notifiers_;
};

}  // namespace host
