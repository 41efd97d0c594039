// Annotators: plug-in code that draws over the document views at each redraw.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "AIAnnotator.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class Annotators {
public:
    struct Annotator {
        SPPluginRef plugin;
        std::string name;
        bool active = true;
    };

    ~Annotators();
    void registerSuites(SuiteRegistry& registry);

    /// Each active annotator, in the order of registration.
    void forEachActive(const std::function<void(AIAnnotatorHandle, const Annotator&)>& visit) const;

    void dump(nlohmann::json& out) const;

private:
    static AIErr addAnnotator(SPPluginRef self, const char* name, AIAnnotatorHandle* annotator);
    static AIErr getAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean* active);
    static AIErr setAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean active);

    HandleTable<AIAnnotatorHandle, Annotator> annotators_;
};

}  // namespace host
