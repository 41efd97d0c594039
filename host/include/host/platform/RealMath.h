// The Real Math and Real Bezier suites: C tables over the arithmetic the sdk defines inline, so
// that a plug-in computing the same thing itself gets the same bits.
#pragma once

#include "AIRealMath.h"
#include "host/platform/SuiteRegistry.h"

namespace host::realmath {

/// Registers the Real Math and Real Bezier suites; they hold no state.
void registerSuites(SuiteRegistry& registry);

}  // namespace host::realmath
