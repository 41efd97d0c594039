#include "host/view/Annotators.h"

namespace host {

using Active = ActivePiece<Annotators>;

Annotators::~Annotators() {
    Active::clear(this);
}

void Annotators::registerSuites(SuiteRegistry& registry) {
    static const AIAnnotatorSuite suite = {&addAnnotator, &getAnnotatorActive, &setAnnotatorActive};
    Active::set(this);
    registry.add(kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, &suite);
}

void Annotators::forEachActive(const std::function<void(AIAnnotatorHandle, const Annotator&)>& visit) const {
    annotators_.forEach([&](AIAnnotatorHandle handle, const Annotator& annotator) {
        if (annotator.active) visit(handle, annotator);
    });
}

void Annotators::dump(nlohmann::json& out) const {
    auto& list = out["annotators"] = nlohmann::json::array();
    annotators_.forEach([&](AIAnnotatorHandle, const Annotator& annotator) {
        list.push_back({{"name", annotator.name}, {"active", annotator.active}});
    });
}

AIErr Annotators::addAnnotator(SPPluginRef self, const char* name, AIAnnotatorHandle* annotator) {
    if (annotator) *annotator = nullptr;
    return guardedCall<Annotators>([&](Annotators& piece) {
        if (!name || !annotator) return kBadParameterErr;
        *annotator = piece.annotators_.add({self, name});
        return kNoErr;
    });
}

AIErr Annotators::getAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean* active) {
    if (!active) return kBadParameterErr;
    return guardedLookup(&Annotators::annotators_, annotator, [&](Annotators&, const Annotator& found) {
        *active = found.active;
        return kNoErr;
    });
}

AIErr Annotators::setAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean active) {
    return guardedLookup(&Annotators::annotators_, annotator, [&](Annotators&, Annotator& found) {
        found.active = active != 0;
        return kNoErr;
    });
}

}  // namespace host
