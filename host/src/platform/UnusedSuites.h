#pragma once

#include "host/platform/SuiteRegistry.h"

namespace host {

/// Suites that plug-ins acquire and never call: tables with no function.
void registerUnusedSuites(SuiteRegistry& registry);

}  // namespace host
