// The host's own selection tool at work on the document: art taken by a frame
// drawn around it, and the selection moved by a drag, the arrow keys or an exact
// offset. Each move is one step of the history and one line of a recording.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "SessionRecorder.h"
#include "host/Host.h"

namespace workbench {

/// The art wholly inside the box of artwork points that a person can take: neither locked nor hidden.
std::vector<AIArtHandle> artInside(host::Host& host, const host::Bounds& box);
/// Makes art the selection, or adds it to the selection; no step of the history.
void selectArt(host::Host& host, const std::vector<AIArtHandle>& art, bool adding);
/// The places of the selected art in the current layer's paint order, each after a blank, as `delete` and
/// `move-art` name art, and how many of the selected art lie outside the current layer.
std::string selectionPlaces(const host::Document& document, std::size_t& outside);
/// Moves the selected art by (dh, dv) points as one step, and writes it to the recorder as `move-art`.
void moveSelection(host::Host& host, SessionRecorder* recorder, AIReal dh, AIReal dv);
/// The anchor of art that is not selected, neither locked nor hidden, nearest to point within tolerance.
std::optional<AIRealPoint> anchorToSnapTo(host::Host& host, AIRealPoint point, double tolerance);
/// The anchor of the selected art nearest to point within tolerance: where a drag holds the selection.
std::optional<AIRealPoint> selectedAnchorNear(host::Host& host, AIRealPoint point, double tolerance);

}  // namespace workbench
