// Icons of the dialog manager: images that plug-ins load from their bundles by
// resource ID, for their tools, dialogs and palettes.
#pragma once

#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "ADMIcon.h"
#include "host/platform/Handles.h"
#include "host/platform/Plugins.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class Icons {
public:
    struct Icon {
        SPPluginRef plugin;
        ASInt32 resourceID;
        ADMIconType type;
        /// The bundle's image; none for an icon of unknown type.
        std::optional<std::filesystem::path> image;
    };

    explicit Icons(Plugins& plugins) : plugins_(plugins) {}
    ~Icons();
    void registerSuites(SuiteRegistry& registry);

    /// The plug-in's icon resource: Resources/icons/ID.svg or .png. Without one, still an icon, of unknown type.
    ADMIconRef load(SPPluginRef plugin, ASInt32 resourceID);
    /// The icon of a handle the host gave out and did not destroy, or null.
    const Icon* find(ADMIconRef icon) const { return icons_.find(icon); }
    bool destroy(ADMIconRef icon) { return icons_.erase(icon); }

    void dump(nlohmann::json& out) const;

private:
    static ADMIconRef getFromResource(SPPluginRef plugin, const char* name, ASInt32 iconID, ASInt32 iconIndex);
    static ADMIconType getType(ADMIconRef icon);
    static void destroyProc(ADMIconRef icon);

    Plugins& plugins_;
    HandleTable<ADMIconRef, Icon> icons_;
};

}  // namespace host
