// The one entry of the module: the host calls it with every message.
#include <cstdio>
#include <cstring>

#include "Plugin.h"

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char* caller, const char* selector,
                                                                   void* message) {
    ASErr result = kNoErr;
    auto* data = static_cast<SPMessageData*>(message);
    auto* plugin = static_cast<Plugin*>(data->globals);
    sSPBasic = data->basic;

    if (std::strcmp(caller, kSPInterfaceCaller) == 0 && std::strcmp(selector, kSPInterfaceStartupSelector) == 0) {
        plugin = AllocatePlugin(data->self);
        if (!plugin) {
            result = kOutOfMemoryErr;
        } else {
            data->globals = plugin;
            result = plugin->StartupPlugin(static_cast<SPInterfaceMessage*>(message));
            if (result != kNoErr) {
                delete plugin;
                plugin = nullptr;
                data->globals = nullptr;
            }
        }
    } else if (plugin && std::strcmp(caller, kSPInterfaceCaller) == 0 &&
               std::strcmp(selector, kSPInterfaceShutdownSelector) == 0) {
        result = plugin->ShutdownPlugin(static_cast<SPInterfaceMessage*>(message));
        delete plugin;
        plugin = nullptr;
        data->globals = nullptr;
    }

    if (plugin) {
        if (Plugin::IsReloadMsg(caller, selector)) {
            FixupReload(plugin);
            result = plugin->ReloadPlugin(static_cast<SPInterfaceMessage*>(message));
        } else if (plugin->SuitesAcquired()) {
            result = plugin->Message(caller, selector, message);
        } else {
            result = kNoErr;
        }
    }

    if (result == kUnhandledMsgErr) {
        result = kNoErr;
        std::fprintf(stderr, "Warning: Unhandled plugin message: caller \"%s\" selector \"%s\"\n", caller, selector);
    }

    if (result != kNoErr) {
        if (plugin)
            plugin->ReportError(result, caller, selector, message);
        else
            Plugin::DefaultError(data->self, result);
    }
    return result;
}
