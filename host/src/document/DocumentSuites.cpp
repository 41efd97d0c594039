// The document's suites (Art, Path, Layer): the plug-in's calls checked and turned into the
// document's own operations.
#include <algorithm>
#include <utility>

#include "PathShapes.h"
#include "host/document/Document.h"

namespace host {

struct DocumentSuiteFunctions {
    using Art = Document::Art;

    // Art

    static AIErr NewArt(ASInt16 type, ASInt16 paintOrder, AIArtHandle prep, AIArtHandle* newArt) noexcept {
        if (newArt) *newArt = nullptr;
        return guardedCall<Document>([&](Document& self) {
            if (!newArt || type != kPathArt) return kBadParameterErr;
            Document::Place place{};
            if (AIErr error = self.placement(paintOrder, prep, place)) return error;
            *newArt = self.insert({place.layer, place.order, {}, 0, {}});
            return kNoErr;
        });
    }

    static AIErr DisposeArt(AIArtHandle art) noexcept {
        return guardedLookup(&Document::art_, art, [&](Document& self, Art& found) {
            if (found.link.instance) return kInstanceArtErr;
            self.remove(art);
            return kNoErr;
        });
    }

    static AIErr DuplicateArt(AIArtHandle art, ASInt16 paintOrder, AIArtHandle prep, AIArtHandle* newArt) noexcept {
        if (newArt) *newArt = nullptr;
        return guardedLookup(&Document::art_, art, [&](Document& self, Art&) {
            if (!newArt) return kBadParameterErr;
            Document::Place place{};
            if (AIErr error = self.placement(paintOrder, prep, place)) return error;
            // Placing may renumber the layer, so the original is read afterwards.
            const Art& original = *self.art_.find(art);
            *newArt = self.insert({place.layer, place.order, original.shape, original.attributes, {}});
            return kNoErr;
        });
    }

    static AIBoolean ValidArt(AIArtHandle art, AIBoolean) noexcept {
        return guardedValue<Document>(AIBoolean{false},
                                      [&](Document& self) -> AIBoolean { return self.art_.find(art) != nullptr; });
    }

    static AIErr GetArtType(AIArtHandle art, ASInt16* type) noexcept {
        return guardedLookup(&Document::art_, art, [&](Document&, Art&) {
            if (!type) return kBadParameterErr;
            *type = kPathArt;
            return kNoErr;
        });
    }

    static AIErr SetArtUserAttr(AIArtHandle art, ASInt32 whichAttr, ASInt32 attr) noexcept {
        return guardedLookup(&Document::art_, art, [&](Document& self, Art& found) {
            if (whichAttr & ~kKnownUserAttributes) return kBadParameterErr;
            ASInt32 attributes = (found.attributes & ~whichAttr) | (attr & whichAttr);
            if (attributes != found.attributes) {
                const bool painted = ((attributes ^ found.attributes) & ~kArtLocked) != 0;
                found.attributes = attributes;
                self.changed(art, Document::Change::edited, painted);
            }
            return kNoErr;
        });
    }

    static AIErr GetArtUserAttr(AIArtHandle art, ASInt32 whichAttr, ASInt32* attr) noexcept {
        return guardedLookup(&Document::art_, art, [&](Document&, const Art& found) {
            if (!attr) return kBadParameterErr;
            *attr = Document::ownAttributes(found) & whichAttr;
            return kNoErr;
        });
    }

    // Path

    static AIErr GetPathSegmentCount(AIArtHandle path, ASInt16* count) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document&, const Art& found) {
            if (!count) return kBadParameterErr;
            *count = static_cast<ASInt16>(found.shape.segments.size());
            return kNoErr;
        });
    }

    static AIErr SetPathSegmentCount(AIArtHandle path, ASInt16 count) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document& self, Art& found) {
            if (found.link.instance) return kInstanceArtErr;
            if (count < 0) return kOutOfRangeErr;
            auto& segments = found.shape.segments;
            auto wanted = static_cast<std::size_t>(count);
            if (wanted == segments.size()) return kNoErr;
            // Until they are written, new anchors repeat the last one, so the shape does not jump.
            AIPathSegment filler = segments.empty() ? anchorAt({0, 0}) : segments.back();
            segments.resize(wanted, filler);
            self.changed(path, Document::Change::edited);
            return kNoErr;
        });
    }

    static AIErr GetPathSegments(AIArtHandle path, ASInt16 segNumber, ASInt16 count, AIPathSegment* segments) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document&, const Art& found) {
            if (AIErr error = checkRange(found.shape, segNumber, count, segments)) return error;
            std::copy_n(found.shape.segments.begin() + segNumber, count, segments);
            return kNoErr;
        });
    }

    static AIErr SetPathSegments(AIArtHandle path, ASInt16 segNumber, ASInt16 count,
                                 const AIPathSegment* segments) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document& self, Art& found) {
            if (found.link.instance) return kInstanceArtErr;
            if (AIErr error = checkRange(found.shape, segNumber, count, segments)) return error;
            if (!std::all_of(segments, segments + count, [](const AIPathSegment& s) { return isWithinLimits(s); }))
                return kBadCoordinateErr;
            std::copy_n(segments, count, found.shape.segments.begin() + segNumber);
            if (count > 0) self.changed(path, Document::Change::edited);
            return kNoErr;
        });
    }

    static AIErr GetPathClosed(AIArtHandle path, AIBoolean* closed) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document&, const Art& found) {
            if (!closed) return kBadParameterErr;
            *closed = found.shape.closed;
            return kNoErr;
        });
    }

    static AIErr SetPathClosed(AIArtHandle path, AIBoolean closed) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document& self, Art& found) {
            if (found.link.instance) return kInstanceArtErr;
            if (found.shape.closed != (closed != 0)) {
                found.shape.closed = closed != 0;
                self.changed(path, Document::Change::edited);
            }
            return kNoErr;
        });
    }

    static AIErr GetPathBezier(AIArtHandle path, ASInt16 segNumber, AIRealBezier* bezier) noexcept {
        return guardedLookup(&Document::art_, path, [&](Document&, const Art& found) {
            if (!bezier) return kBadParameterErr;
            if (segNumber < 0 || static_cast<std::size_t>(segNumber) >= pieceCount(found.shape)) return kOutOfRangeErr;
            *bezier = pieceBezier(found.shape, static_cast<std::size_t>(segNumber));
            return kNoErr;
        });
    }

    static AIErr checkRange(const PathShape& shape, ASInt16 first, ASInt16 count, const AIPathSegment* segments) {
        if (count > 0 && !segments) return kBadParameterErr;
        if (first < 0 || count < 0 || static_cast<std::size_t>(first) + count > shape.segments.size())
            return kOutOfRangeErr;
        return kNoErr;
    }

    // Layer

    static AIErr CountLayers(ASInt32* count) noexcept {
        return guardedCall<Document>([&](Document& self) {
            if (!count) return kBadParameterErr;
            *count = static_cast<ASInt32>(self.layerCount());
            return kNoErr;
        });
    }

    static AIErr GetNthLayer(ASInt32 n, AILayerHandle* layer) noexcept {
        if (layer) *layer = nullptr;
        return guardedCall<Document>([&](Document& self) {
            if (!layer) return kBadParameterErr;
            if (n < 0 || static_cast<std::size_t>(n) >= self.layerCount()) return kOutOfRangeErr;
            *layer = self.layerAt(static_cast<std::size_t>(n));
            return kNoErr;
        });
    }

    static AIErr GetCurrentLayer(AILayerHandle* layer) noexcept {
        if (layer) *layer = nullptr;
        return guardedCall<Document>([&](Document& self) {
            if (!layer) return kBadParameterErr;
            *layer = self.currentLayer();
            return kNoErr;
        });
    }

    static AIErr GetLayerColor(AILayerHandle layer, AIRGBColor* color) noexcept {
        return guardedCall<Document>([&](Document& self) {
            const Document::Layer* found = self.findLayer(layer);
            if (!found) return kBadHandleErr;
            if (!color) return kBadParameterErr;
            *color = found->color;
            return kNoErr;
        });
    }

    static AIErr SetLayerColor(AILayerHandle layer, const AIRGBColor* color) noexcept {
        return guardedCall<Document>([&](Document& self) {
            if (!self.findLayer(layer)) return kBadHandleErr;
            if (!color) return kBadParameterErr;
            self.setLayerColor(layer, *color);
            return kNoErr;
        });
    }
};

void Document::registerSuites(SuiteRegistry& registry) {
    using F = DocumentSuiteFunctions;
    static const AIArtSuite art = {&F::NewArt,     &F::DisposeArt,     &F::DuplicateArt,  &F::ValidArt,
                                   &F::GetArtType, &F::SetArtUserAttr, &F::GetArtUserAttr};
    static const AIPathSuite path = {&F::GetPathSegmentCount, &F::SetPathSegmentCount, &F::GetPathSegments,
                                     &F::SetPathSegments,     &F::GetPathClosed,       &F::SetPathClosed,
                                     &F::GetPathBezier};
    static const AILayerSuite layer = {&F::CountLayers, &F::GetNthLayer, &F::GetCurrentLayer, &F::GetLayerColor,
                                       &F::SetLayerColor};
    ActivePiece<Document>::set(this);
    registry.add(kAIArtSuite, kAIArtSuiteVersion, &art);
    registry.add(kAIPathSuite, kAIPathSuiteVersion, &path);
    registry.add(kAILayerSuite, kAILayerSuiteVersion, &layer);
}

}  // namespace host
