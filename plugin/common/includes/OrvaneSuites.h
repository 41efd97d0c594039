// The suites Orvane works with, one process-wide pointer each, valid from
// start-up to shutdown.
#pragma once

#include "ADMBasic.h"
#include "ADMIcon.h"
#include "ADMSuites.h"
#include "AIAnnotator.h"
#include "AIArt.h"
#include "AIContext.h"
#include "AICursorSnap.h"
#include "AIDocumentView.h"
#include "AIHitTest.h"
#include "AILayer.h"
#include "AIMenu.h"
#include "AINotifier.h"
#include "AIPath.h"
#include "AIPreference.h"
#include "AIRealMath.h"
#include "AITool.h"
#include "AIUnicodeString.h"
#include "AIUnusedSuites.h"
#include "SPBasic.h"

extern const SPAccessSuite* sSPAccess;
extern const SPPluginsSuite* sSPPlugins;
extern const AINotifierSuite* sAINotifier;
extern const AIAppContextSuite* sAIAppContext;
extern const ADMBasicSuite* sADMBasic;

extern const AIMenuSuite* sAIMenu;
extern const AIPreferenceSuite* sAIPreference;
extern const AIRealMathSuite* sMath;
extern const AIArtSuite* sAIArt;
extern const AIPathSuite* sAIPath;
extern const AIToolSuite* sAITool;
extern const AIUnicodeStringSuite* sAIUnicodeString;
extern const ADMDialogGroupSuite* sADMDialogGroup;
extern const ADMDialogSuite* sADMDialog;
extern const ADMItemSuite* sADMItem;
extern const ADMListSuite* sADMList;
extern const ADMNotifierSuite* sADMNotifier;
extern const ADMEntrySuite* sADMEntry;
extern const ADMTrackerSuite* sADMTracker;
extern const ADMIconSuite* sADMIcon;
extern const ADMIconSuite* sADMIcon2;
extern const ADMDrawerSuite* sADMDrawer;
extern const AILayerSuite* sAILayer;
extern const AIDocumentViewSuite* sAIDocumentView;
extern const AIAnnotatorSuite* sAIAnnotator;
extern const AIAnnotatorDrawerSuite* sAIAnnotatorDrawer;
extern const AICursorSnapSuite* sAICursorSnap;
extern const AIHitTestSuite* sAIHit;
extern const AIRealBezierSuite* sAIRealBezier;
