// The polyline's path art in the document, written anchor by anchor. The tool's
// message handlers themselves are operations of OrvanePlugIn (OrvaneOutil.cpp).
#pragma once

#include "AITypes.h"

/// Appends a straight anchor at point to the end of the path; then the point is the
/// polyline's last point (ClicUn). Nothing changes when the host refuses the anchor.
ASErr TraceSegmentLigneBrisee(AIRealPoint point, AIArtHandle chemin);

/// Reverses the order of the first nombre anchors of the path, keeping the shape of
/// its curved pieces.
void InverseTrace(AIArtHandle chemin, ASInt16 nombre);

/// Disposes of the art if it still exists.
void DetruitTrace(AIArtHandle art);

/// When the polyline's path has gone (deleted, undone), no polyline is under way any more.
void OublieLigneBriseeDisparue();
