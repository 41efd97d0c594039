// The annotator's drawing pass: the rubber band, the alignment guides, the point
// marker, the closing hints, the outline of the path a click would act on and the
// length and angle labels, drawn over the view at each redraw from the tool's state.
#pragma once

#include "AIMessages.h"
#include "AITypes.h"
#include "PolylineTool.h"

struct Settings;

/// One drawing pass for the message's view and drawer; the result of the last step. It
/// draws the tool's state as the next click will find it, guides included; while the
/// panel gives the segment there are none.
ASErr Annotate(AIAnnotatorMessage* message, const PolylineTool& tool, const Settings& settings, bool panelGivesSegment);

/// A circle around the point's pixel, at width 2; the width is 1 afterwards.
ASErr DrawPointMarker(AIAnnotatorMessage* message, AIRealPoint point);
/// The dashed rubber band from the last point to the segment's end.
ASErr DrawRubberBand(AIAnnotatorMessage* message, const ToolState& state);
/// The horizontal guide from the cursor to its anchor, then the vertical one.
void DrawGuides(AIAnnotatorMessage* message, AIRealPoint cursor, const Guides& guides);
/// The length and angle labels at the middle of the rubber band.
ASErr DrawLengthLabel(AIAnnotatorMessage* message, const ToolState& state, const Settings& settings);
/// What is typed at the cursor, beside it: the length with its unit and, below it, the angle
/// in degrees (or the direction held), each in a white box, outlined in red while it failed
/// to read and marked by a black square while locked.
ASErr DrawTypedEntry(AIAnnotatorMessage* message, const ToolState& state, const Settings& settings);
/// On a hovered anchor: its marker and, where a click would close or finish the
/// polyline, the hint and the outline of the hovered path in the layer's colour.
ASErr DrawClosingHint(AIAnnotatorMessage* message, const ToolState& state, AIRGBColor layerColour);
/// The outline of the whole path, curves included, in the colour and width given;
/// they stay in force afterwards.
ASErr DrawPathOutline(AIAnnotatorMessage* message, AIRGBColor colour, AIReal width, AIArtHandle path);

/// A guide-colour preference (0 to 1) as a 16-bit component: scaled in single precision,
/// truncated toward zero and kept in 16 bits. A value too large to scale gives 0, as an
/// unreadable one does.
ASUInt16 GuideColourComponent(double value);
