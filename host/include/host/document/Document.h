// The document: layers holding path art in paint order, reached by plug-ins
// through checked handles. No coordinate that is not finite is ever stored.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include <nlohmann/json.hpp>

#include "AIArt.h"
#include "AILayer.h"
#include "AIPath.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

/// Anchor counts are 16-bit in the suites.
constexpr std::size_t kMaxSegmentCount = 32767;
/// Largest coordinate, in points, that the document holds (some 3.5 km): an opened file may give no
/// more, so nothing is drawn that a saved file could not give back.
constexpr double kMaxCoordinate = 1e7;

/// The user attributes the document keeps.
constexpr ASInt32 kKnownUserAttributes = kArtSelected | kArtLocked | kArtHidden;

/// A path's geometry: its anchors in order, and whether the last one joins the first.
struct PathShape {
    std::vector<AIPathSegment> segments;
    bool closed = false;
};

/// Number of Bezier pieces: one per pair of consecutive anchors, plus the closing one of a closed path.
std::size_t pieceCount(const PathShape& shape);
/// The piece from anchor i to the next (the last one to the first for the closing piece).
AIRealBezier pieceBezier(const PathShape& shape, std::size_t piece);
/// True when every coordinate of the anchor is a finite number.
bool isFinite(const AIPathSegment& segment);
/// True when every coordinate of the anchor is a finite number within kMaxCoordinate.
bool isWithinLimits(const AIPathSegment& segment);

/// The drawing's sheet in artwork points: its top-left corner (v up, so the sheet extends to lower v) and
/// its size. Empty (no width or no height) when the document has no page.
struct PageBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool empty() const { return !(width > 0 && height > 0); }
    bool operator==(const PageBox&) const = default;
};

/// Where an art lies in paint order; a greater rank is painted later, over the lesser.
struct PaintRank {
    std::size_t layer;   ///< 0 the bottom layer
    std::int64_t order;  ///< within the layer
    auto operator<=>(const PaintRank&) const = default;
};

class Document {
public:
    struct Art {
        AILayerHandle layer;
        std::int64_t order;  ///< key in the layer's paint order
        PathShape shape;
        ASInt32 attributes = 0;
    };
    struct Layer {
        std::string name;
        AIRGBColor color;
        std::map<std::int64_t, AIArtHandle> art;  ///< paint order, bottom first
        bool locked = false;                      ///< its art is locked as a whole
        bool hidden = false;                      ///< its art is hidden as a whole
    };

    enum class Change { added, edited, removed };
    /// Told of every art added, edited (geometry or attributes) or removed, after the fact.
    using Observer = std::function<void(AIArtHandle, Change)>;

    static constexpr AIRGBColor kDefaultLayerColor{19275, 32125, 65535};

    /// One layer, "Layer 1", the current one.
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document();
    void registerSuites(SuiteRegistry& registry);

    /// Number of layers; layerAt(0) is the topmost, as GetNthLayer counts.
    std::size_t layerCount() const { return layerOrder_.size(); }
    AILayerHandle layerAt(std::size_t n) const { return layerOrder_.at(n); }
    AILayerHandle currentLayer() const { return current_; }
    const Layer* findLayer(AILayerHandle layer) const { return layers_.find(layer); }
    /// A new layer above all others; it does not become current.
    AILayerHandle addLayer(std::string name, AIRGBColor color = kDefaultLayerColor);
    /// Throws std::invalid_argument for a layer of another document.
    void setCurrentLayer(AILayerHandle layer);
    void setLayerColor(AILayerHandle layer, AIRGBColor color);
    /// Each throws std::invalid_argument for a layer of another document.
    void setLayerName(AILayerHandle layer, std::string name);
    void setLayerLocked(AILayerHandle layer, bool locked);
    void setLayerHidden(AILayerHandle layer, bool hidden);

    /// A path on top of the current layer; throws std::invalid_argument for a coordinate that is
    /// not finite or beyond kMaxCoordinate, or more than kMaxSegmentCount anchors.
    AIArtHandle addPath(PathShape shape);
    /// A path in layer just above the art below (null: at the bottom of the layer), with those user
    /// attributes; throws std::invalid_argument as addPath does, or for a layer or art below that is not there.
    AIArtHandle insertPath(AILayerHandle layer, AIArtHandle below, PathShape shape, ASInt32 attributes);
    /// One path per subpath of SVG path data (artwork coordinates), on top of the current layer, in order.
    /// Lines give anchors whose control points are the anchor; quadratic curves and arcs become cubic.
    /// Throws std::invalid_argument, adding nothing, when the data is malformed or holds no subpath.
    std::vector<AIArtHandle> addSvgPath(const std::string& data);
    /// The art at index in the current layer's paint order (0 the bottom, -1 the top); null when out of range.
    AIArtHandle artAt(long index) const;
    const Art* findArt(AIArtHandle art) const { return art_.find(art); }
    /// The art's user attributes with those of its layer: art of a locked layer counts as locked, of a
    /// hidden one as hidden. Hit tests and drawing go by these; the Art suite answers the art's own.
    ASInt32 userAttributes(const Art& art) const;
    /// The art painted just below art in its layer; null at the bottom. Throws std::invalid_argument for art
    /// that is not in the document.
    AIArtHandle artBelow(AIArtHandle art) const;
    /// Throws std::invalid_argument for art that is not in the document.
    void setLocked(AIArtHandle art, bool locked);
    /// Throws std::invalid_argument for art that is not in the document.
    void setSelected(AIArtHandle art, bool selected);
    void disposeArt(AIArtHandle art);
    /// Throws std::invalid_argument for art that is not in the document.
    PaintRank paintRank(AIArtHandle art) const;
    /// Each art, layers bottom first, each layer in paint order.
    void forEachArt(const std::function<void(AIArtHandle, const Art&)>& visit) const;
    std::size_t artCount() const { return art_.size(); }
    /// The selected art, in no particular order, found without a walk of the document.
    const std::unordered_set<AIArtHandle>& selectedArt() const { return selected_; }

    /// The page an opened file declared, or the one chosen for a new drawing; empty until one is set.
    const PageBox& page() const { return page_; }
    void setPage(const PageBox& page) { page_ = page; }

    /// Grows by one at every change of the document.
    std::uint64_t revision() const { return revision_; }
    /// Grows at every change that alters how the art is painted: not at a lock or an unlock,
    /// which a tool does while the cursor merely hovers.
    std::uint64_t appearanceRevision() const { return appearanceRevision_; }
    int addObserver(Observer observer);
    void removeObserver(int id);

    /// The layers (topmost first) with their art in paint order, bottom first, and the current
    /// layer's index in that list.
    nlohmann::json dump() const;

private:
    friend struct DocumentSuiteFunctions;

    struct Place {
        AILayerHandle layer;
        std::int64_t order;
    };
    /// Where new art goes for a paint order relative to prep; an error code when it can't go there.
    AIErr placement(ASInt16 paintOrder, AIArtHandle prep, Place& place);
    /// A paint-order key between two art of the layer (null: no art on that side), renumbering the layer if need be.
    std::int64_t keyBetween(Layer& layer, AIArtHandle lower, AIArtHandle upper);
    /// The layer, its change counted; std::invalid_argument for a layer of another document.
    Layer& layerToChange(AILayerHandle layer);
    AIArtHandle insert(Art art);
    void remove(AIArtHandle art);
    void changed(AIArtHandle art, Change change, bool painted = true);

    HandleTable<AILayerHandle, Layer> layers_;
    std::vector<AILayerHandle> layerOrder_;  ///< topmost first
    AILayerHandle current_ = nullptr;
    HandleTable<AIArtHandle, Art> art_;
    std::unordered_set<AIArtHandle> selected_;
    PageBox page_;
    std::uint64_t revision_ = 0;
    std::uint64_t appearanceRevision_ = 0;
    std::map<int, Observer> observers_;
    int lastObserver_ = 0;
};

}  // namespace host
