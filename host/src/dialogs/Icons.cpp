#include "host/dialogs/Icons.h"

namespace host {

using Active = ActivePiece<Icons>;

namespace {

constexpr const char* kIconFolder = "icons";

}  // namespace

Icons::~Icons() {
    Active::clear(this);
}

void Icons::registerSuites(SuiteRegistry& registry) {
    static const ADMIconSuite suite = {&getFromResource, &getType, &destroyProc};
    Active::set(this);
    // Both versions have the same operations.
    registry.add(kADMIconSuite, kADMIconSuiteVersion1, &suite);
    registry.add(kADMIconSuite, kADMIconSuiteVersion2, &suite);
}

ADMIconRef Icons::load(SPPluginRef plugin, ASInt32 resourceID) {
    const Bundle* bundle = plugins_.find(plugin);
    std::optional<std::filesystem::path> image = bundle ? bundle->image(kIconFolder, resourceID) : std::nullopt;
    ADMIconType type = image ? kADMPictureIconType : kADMUnknownIconType;
    return icons_.add({plugin, resourceID, type, std::move(image)});
}

void Icons::dump(nlohmann::json& out) const {
    out["icons"] = icons_.size();
}

ADMIconRef Icons::getFromResource(SPPluginRef plugin, const char*, ASInt32 iconID, ASInt32) {
    return guardedValue<Icons>(ADMIconRef{}, [&](Icons& piece) { return piece.load(plugin, iconID); });
}

ADMIconType Icons::getType(ADMIconRef icon) {
    return guardedValue<Icons>(kADMUnknownIconType, [&](Icons& piece) {
        const Icon* found = piece.find(icon);
        return found ? found->type : kADMUnknownIconType;
    });
}

void Icons::destroyProc(ADMIconRef icon) {
    guardedAction<Icons>([&](Icons& piece) { piece.destroy(icon); });
}

}  // namespace host
