#pragma once

#include "host/SuiteRegistry.h"

namespace host {

/// Suites that plug-ins acquire and never call: tables with no function.
void registerUnusedSuites(SuiteRegistry& registry);

}  // namespace host
