#pragma once

#include "AITypes.h"

constexpr const char* kAIAnnotatorSuite = "AI Annotator Suite";
constexpr ASInt32 kAIAnnotatorSuiteVersion = 1004;

/// Annotators draw over a document view at each redraw while they are active.
struct AIAnnotatorSuite {
    AIErr (*AddAnnotator)(SPPluginRef self, const char* name, AIAnnotatorHandle* annotator);
    AIErr (*GetAnnotatorActive)(AIAnnotatorHandle annotator, AIBoolean* active);
    AIErr (*SetAnnotatorActive)(AIAnnotatorHandle annotator, AIBoolean active);
};

constexpr const char* kAIAnnotatorDrawerSuite = "AI Annotator Drawer Suite";
constexpr ASInt32 kAIAnnotatorDrawerSuiteVersion = 1002;

/// Font presets of the annotation texts.
enum AIAnnotatorFontPreset : ASInt32 {
    kAIAFSmall = 0,
    kAIAFMedium = 1,
    kAIAFLarge = 2,
};

/// Alignment of a text in a rectangle.
enum AIAnnotatorTextAlign : ASInt32 {
    kAIATextAlignStart = 0,
    kAIATextAlignCenter = 1,
    kAIATextAlignEnd = 2,
};

/// One cubic piece of a chain: its two control points and its end, in view pixels.
struct AIAnnotatorBezierPiece {
    AIPoint control1;
    AIPoint control2;
    AIPoint end;
};

/// Drawing over a view. The drawer keeps a current colour, line width, dash flag
/// and font preset that every later call uses.
struct AIAnnotatorDrawerSuite {
    AIErr (*SetColor)(AIAnnotatorDrawer* drawer, const AIRGBColor& color);
    AIErr (*SetLineWidth)(AIAnnotatorDrawer* drawer, AIReal width);
    AIErr (*SetLineDashed)(AIAnnotatorDrawer* drawer, AIBoolean dashed);
    AIErr (*SetFontPreset)(AIAnnotatorDrawer* drawer, ASInt32 preset);
    AIErr (*DrawLine)(AIAnnotatorDrawer* drawer, const AIPoint& start, const AIPoint& end);
    AIErr (*DrawEllipse)(AIAnnotatorDrawer* drawer, const AIRect& rect, AIBoolean fill);
    AIErr (*DrawRect)(AIAnnotatorDrawer* drawer, const AIRect& rect, AIBoolean fill);
    /// The text with the bottom-left of its first line at the point.
    AIErr (*DrawText)(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, const AIPoint& point);
    AIErr (*DrawTextAligned)(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, ASInt32 horizontal,
                             ASInt32 vertical, const AIRect& rect);
    /// The bounds of the text in the current font preset, placed at origin (or at 0, 0 when null).
    AIErr (*GetTextBounds)(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, const AIPoint* origin,
                           AIRect* bounds);
    /// Strokes (or fills) a chain of cubic pieces from start.
    AIErr (*DrawBeziers)(AIAnnotatorDrawer* drawer, const AIPoint& start, const AIAnnotatorBezierPiece* pieces,
                         ASInt32 count, AIBoolean fill);
};
