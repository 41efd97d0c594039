#include "AppContext.h"

#include "OrvaneSuites.h"

AppContext::AppContext(SPPluginRef pluginRef) {
    if (sAIAppContext) sAIAppContext->PushAppContext(pluginRef, &fAppContext);
}

AppContext::~AppContext() {
    if (sAIAppContext && fAppContext) sAIAppContext->PopAppContext(fAppContext);
}
