#include "OrvaneSuites.h"

#include "Suites.h"

const SPAccessSuite* sSPAccess = nullptr;
const SPPluginsSuite* sSPPlugins = nullptr;
const AINotifierSuite* sAINotifier = nullptr;
const AIAppContextSuite* sAIAppContext = nullptr;
const ADMBasicSuite* sADMBasic = nullptr;

const AIMenuSuite* sAIMenu = nullptr;
const AIPreferenceSuite* sAIPreference = nullptr;
const AIRealMathSuite* sMath = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIToolSuite* sAITool = nullptr;
const AIUnicodeStringSuite* sAIUnicodeString = nullptr;
const ADMDialogGroupSuite* sADMDialogGroup = nullptr;
const ADMDialogSuite* sADMDialog = nullptr;
const ADMItemSuite* sADMItem = nullptr;
const ADMListSuite* sADMList = nullptr;
const ADMNotifierSuite* sADMNotifier = nullptr;
const ADMEntrySuite* sADMEntry = nullptr;
const ADMTrackerSuite* sADMTracker = nullptr;
const ADMIconSuite* sADMIcon = nullptr;
const ADMIconSuite* sADMIcon2 = nullptr;
const ADMDrawerSuite* sADMDrawer = nullptr;
const AILayerSuite* sAILayer = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIAnnotatorSuite* sAIAnnotator = nullptr;
const AIAnnotatorDrawerSuite* sAIAnnotatorDrawer = nullptr;
const AICursorSnapSuite* sAICursorSnap = nullptr;
const AIHitTestSuite* sAIHit = nullptr;
const AIRealBezierSuite* sAIRealBezier = nullptr;

namespace {

// Acquired at start-up like the others and never called.
const void* sASLib = nullptr;
const void* sAITransformArt = nullptr;
const void* sSPBlocks = nullptr;
const void* sAIMdMemory = nullptr;
const void* sAIPathStyle = nullptr;
const void* sAIPlugin = nullptr;
const void* sAIUser = nullptr;
const void* sAITextFrame = nullptr;
const void* sAIATEPaint = nullptr;
const void* sAIFont = nullptr;
const void* sAIRuntime = nullptr;

template <class Suite>
const void** slot(const Suite** pointer) {
    return reinterpret_cast<const void**>(pointer);
}

}  // namespace

ImportSuite gBasicSuites[] = {
    {kSPAccessSuite, kSPAccessSuiteVersion, slot(&sSPAccess)},
    {kSPPluginsSuite, kSPPluginsSuiteVersion, slot(&sSPPlugins)},
    {kAINotifierSuite, kAINotifierSuiteVersion, slot(&sAINotifier)},
    {kAIContextSuite, kAIContextSuiteVersion, slot(&sAIAppContext)},
    {kADMBasicSuite, kADMBasicSuiteVersion10, slot(&sADMBasic)},
    {nullptr, 0, nullptr},
};

ImportSuite gImportSuites[] = {
    {kAIMenuSuite, kAIMenuSuiteVersion, slot(&sAIMenu)},
    {kASLibSuite, kASLibSuiteVersion, &sASLib},
    {kAIPreferenceSuite, kAIPreferenceSuiteVersion, slot(&sAIPreference)},
    {kAIRealMathSuite, kAIRealMathSuiteVersion, slot(&sMath)},
    {kAIArtSuite, kAIArtSuiteVersion, slot(&sAIArt)},
    {kAIPathSuite, kAIPathSuiteVersion, slot(&sAIPath)},
    {kAIToolSuite, kAIToolSuiteVersion, slot(&sAITool)},
    {kAITransformArtSuite, kAITransformArtSuiteVersion, &sAITransformArt},
    {kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, slot(&sAIUnicodeString)},
    {kSPBlocksSuite, kSPBlocksSuiteVersion, &sSPBlocks},
    {kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, slot(&sADMDialogGroup)},
    {kADMDialogSuite, kADMDialogSuiteVersion, slot(&sADMDialog)},
    {kADMItemSuite, kADMItemSuiteVersion, slot(&sADMItem)},
    {kADMListSuite, kADMListSuiteVersion, slot(&sADMList)},
    {kADMNotifierSuite, kADMNotifierSuiteVersion, slot(&sADMNotifier)},
    {kADMEntrySuite, kADMEntrySuiteVersion, slot(&sADMEntry)},
    {kADMTrackerSuite, kADMTrackerSuiteVersion, slot(&sADMTracker)},
    {kADMIconSuite, kADMIconSuiteVersion1, slot(&sADMIcon)},
    {kADMIconSuite, kADMIconSuiteVersion2, slot(&sADMIcon2)},
    {kADMDrawerSuite, kADMDrawerSuiteVersion, slot(&sADMDrawer)},
    {kAILayerSuite, kAILayerSuiteVersion, slot(&sAILayer)},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, slot(&sAIDocumentView)},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion, &sAIMdMemory},
    {kAIPathStyleSuite, kAIPathStyleSuiteVersion, &sAIPathStyle},
    {kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, slot(&sAIAnnotator)},
    {kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion, slot(&sAIAnnotatorDrawer)},
    {kAICursorSnapSuite, kAICursorSnapSuiteVersion, slot(&sAICursorSnap)},
    {kAIPluginSuite, kAIPluginSuiteVersion, &sAIPlugin},
    {kAIUserSuite, kAIUserSuiteVersion, &sAIUser},
    {kAITextFrameSuite, kAITextFrameSuiteVersion, &sAITextFrame},
    {kAIATEPaintSuite, kAIATEPaintSuiteVersion, &sAIATEPaint},
    {kAIFontSuite, kAIFontSuiteVersion, &sAIFont},
    {kAIHitTestSuite, kAIHitTestSuiteVersion, slot(&sAIHit)},
    {kAIRealBezierSuite, kAIRealBezierSuiteVersion, slot(&sAIRealBezier)},
    {kAIRuntimeSuite, kAIRuntimeSuiteVersion, &sAIRuntime},
    {nullptr, 0, nullptr},
};
