#include "UnusedSuites.h"

#include "ADMSuites.h"
#include "AIUnusedSuites.h"
#include "SPBasic.h"

namespace host {

void registerUnusedSuites(SuiteRegistry& registry) {
    static const AIUnusedSuite table = {0};
    for (auto [name, version] : {std::pair{kASLibSuite, kASLibSuiteVersion},
                                 {kSPBlocksSuite, kSPBlocksSuiteVersion},
                                 {kAITransformArtSuite, kAITransformArtSuiteVersion},
                                 {kAIMdMemorySuite, kAIMdMemorySuiteVersion},
                                 {kAIPathStyleSuite, kAIPathStyleSuiteVersion},
                                 {kAIPluginSuite, kAIPluginSuiteVersion},
                                 {kAIUserSuite, kAIUserSuiteVersion},
                                 {kAITextFrameSuite, kAITextFrameSuiteVersion},
                                 {kAIATEPaintSuite, kAIATEPaintSuiteVersion},
                                 {kAIFontSuite, kAIFontSuiteVersion},
                                 {kAIRuntimeSuite, kAIRuntimeSuiteVersion}})
        registry.add(name, version, &table);
}

}  // namespace host
