#pragma once

#include "AITypes.h"

/// The host's application context for the plug-in, for the life of the scope.
class AppContext {
public:
    explicit AppContext(SPPluginRef pluginRef);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

private:
    AIAppContextHandle fAppContext = nullptr;
};
