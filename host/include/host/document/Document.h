// The document: layers holding path art in paint order, reached by plug-ins
// through checked handles. No coordinate that is not finite is ever stored.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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

/// What the Art suite answers when new art would go into a layer that is locked or hidden.
constexpr AIErr kLayerRefusesArtErr = ASFourCC("LyR!");
/// What the Art and Path suites answer when asked to change or dispose of an instance's art.
constexpr AIErr kInstanceArtErr = ASFourCC("Ins!");

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

/// Where an art came from in the document's file: its element, numbered in document order from 1 (0: the
/// art was drawn here), which of the shapes that element draws it is, and which of the files the document
/// was given (Document::fileNumber) that element is of, so that art an undo brings back from an earlier
/// file is never written into the present one. The art of an instance (a use) is locked for good: only
/// editing its original changes it.
struct FileLink {
    std::uint32_t element = 0;
    std::uint32_t part = 0;
    std::uint32_t file = 0;
    bool instance = false;
    bool operator==(const FileLink&) const = default;
};

/// The file a document was opened from, kept whole so that a save writes back what the host does not edit.
class SvgFile;

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
        FileLink link;
    };
    struct Layer {
        std::string name;
        AIRGBColor color;
        std::map<std::int64_t, AIArtHandle> art;  ///< paint order, bottom first
        bool locked = false;                      ///< its art is locked as a whole
        bool hidden = false;                      ///< its art is hidden as a whole
        std::uint32_t element = 0;                ///< its group in the document's file (0: none)
        /// False once deleted: the layer is kept aside, so that undoing the deletion brings back the same handle.
        bool attached = true;
    };
    /// What undo and redo put back of a layer: all but its colour, which only plug-ins set.
    struct LayerState {
        AILayerHandle layer;
        std::string name;
        bool locked;
        bool hidden;
        bool operator==(const LayerState&) const = default;
    };
    /// The layers in the document, topmost first, and the current one.
    struct LayerSet {
        std::vector<LayerState> layers;
        AILayerHandle current = nullptr;
    };

    enum class Change { added, edited, removed };
    /// Told of every art added, edited (geometry or attributes) or removed, after the fact.
    using Observer = std::function<void(AIArtHandle, Change)>;
    /// Told why new art was refused, in a person's words.
    using RefusalObserver = std::function<void(const std::string& reason)>;

    static constexpr AIRGBColor kDefaultLayerColor{19275, 32125, 65535};

    static constexpr const char* kFirstLayerName = "Layer 1";

    /// One layer, "Layer 1", the current one.
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document();
    void registerSuites(SuiteRegistry& registry);

    /// Back to a new document: the art is disposed of (observers are told), the layers, the page and the file are gone,
    /// and one empty "Layer 1" is current. Handles of the former layers find nothing any more.
    void clear();

    /// Number of layers; layerAt(0) is the topmost, as GetNthLayer counts. A deleted layer is not counted.
    std::size_t layerCount() const { return layerOrder_.size(); }
    AILayerHandle layerAt(std::size_t n) const { return layerOrder_.at(n); }
    AILayerHandle currentLayer() const { return current_; }
    const Layer* findLayer(AILayerHandle layer) const { return layers_.find(layer); }
    /// A new layer above all others; it does not become current.
    AILayerHandle addLayer(std::string name, AIRGBColor color = kDefaultLayerColor);
    /// A new layer just above the current one, made current: where a person adds one.
    AILayerHandle addLayerAboveCurrent(std::string name);
    /// Throws std::invalid_argument for a layer of another document or a deleted one.
    void setCurrentLayer(AILayerHandle layer);
    void setLayerColor(AILayerHandle layer, AIRGBColor color);
    /// Each throws std::invalid_argument for a layer of another document.
    void setLayerName(AILayerHandle layer, std::string name);
    void setLayerLocked(AILayerHandle layer, bool locked);
    void setLayerHidden(AILayerHandle layer, bool hidden);
    /// Disposes of the layer's art and takes the layer out of the document; the current layer passes to the
    /// one below it (the one above, for the bottom layer). std::invalid_argument for the last layer left.
    void deleteLayer(AILayerHandle layer);
    /// Moves the layer to position, 0 the top; std::invalid_argument for a position beyond the layers.
    void moveLayer(AILayerHandle layer, std::size_t position);
    /// The position of the layer, 0 the top; std::invalid_argument for a layer not in the document.
    std::size_t layerPosition(AILayerHandle layer) const;
    LayerSet layerSet() const;
    /// Puts the layers back as set: their order, names and states, those deleted since back in, those added
    /// since out (std::logic_error when one of them still holds art).
    void restoreLayers(const LayerSet& set);
    /// Grows at every change of the layers: their order, names, states or the current one.
    std::uint64_t layersRevision() const { return layersRevision_; }

    /// Why the layer takes no new art (it is locked or hidden), naming it; nullopt when it takes art.
    std::optional<std::string> refusalOf(AILayerHandle layer) const;
    /// Where refusals of new art are told; one observer, the host's.
    void setRefusalObserver(RefusalObserver observer) { refusalObserver_ = std::move(observer); }
    /// Links the layer to its group in the document's file; throws std::invalid_argument as above.
    void setLayerElement(AILayerHandle layer, std::uint32_t element);

    /// A path on top of the current layer; throws std::invalid_argument for a coordinate that is
    /// not finite or beyond kMaxCoordinate, more than kMaxSegmentCount anchors, or a current layer that refuses
    /// new art.
    AIArtHandle addPath(PathShape shape);
    /// A path in layer just above the art below (null: at the bottom of the layer), with those user
    /// attributes and link to the file; throws std::invalid_argument as addPath does, or for a layer or art below
    /// that is not there.
    AIArtHandle insertPath(AILayerHandle layer, AIArtHandle below, PathShape shape, ASInt32 attributes,
                           FileLink link = {});
    /// One path per subpath of SVG path data (artwork coordinates), on top of the current layer, in order.
    /// Lines give anchors whose control points are the anchor; quadratic curves and arcs become cubic.
    /// Throws std::invalid_argument, adding nothing, when the data is malformed or holds no subpath.
    std::vector<AIArtHandle> addSvgPath(const std::string& data);
    /// The art at index in the current layer's paint order (0 the bottom, -1 the top); null when out of range.
    AIArtHandle artAt(long index) const;
    const Art* findArt(AIArtHandle art) const { return art_.find(art); }
    /// The art's user attributes with those of its layer: art of a locked layer counts as locked, of a
    /// hidden one as hidden, an instance's as locked. Drawing goes by these; the Art suite answers the art's own.
    ASInt32 userAttributes(const Art& art) const;
    /// The art's own user attributes: those it was given, and locked for an instance's art.
    static ASInt32 ownAttributes(const Art& art);
    /// Whether hit tests and the crossing snap find the art: not hidden nor locked, except that an instance,
    /// locked only because it is one, is found as a person sees it.
    bool hitTestable(const Art& art) const;
    /// The art painted just below art in its layer; null at the bottom. Throws std::invalid_argument for art
    /// that is not in the document.
    AIArtHandle artBelow(AIArtHandle art) const;
    /// Throws std::invalid_argument for art that is not in the document.
    void setLocked(AIArtHandle art, bool locked);
    /// Replaces the art's geometry; throws std::invalid_argument as addPath does, or for art that is not there.
    void setShape(AIArtHandle art, PathShape shape);
    /// Throws std::invalid_argument for art that is not in the document.
    void setSelected(AIArtHandle art, bool selected);
    /// Moves every anchor and control point of each art by (dh, dv); std::invalid_argument, moving nothing,
    /// for art that is not in the document or a coordinate that would not be finite.
    void translateArt(const std::vector<AIArtHandle>& art, AIReal dh, AIReal dv);
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

    /// The file the document was opened from; null for a drawing begun here. It never changes once read:
    /// a save writes it with the document's edits applied to a copy.
    const std::shared_ptr<const SvgFile>& file() const { return file_; }
    void setFile(std::shared_ptr<const SvgFile> file) {
        file_ = std::move(file);
        ++fileNumber_;
    }
    /// Counts the files the document was given: the links of art from the present one carry this number.
    std::uint32_t fileNumber() const { return fileNumber_; }

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
    /// Where new art goes for a paint order relative to prep; an error code when it can't go there
    /// (kLayerRefusesArtErr for a locked or hidden layer, told to the refusal observer).
    AIErr placement(ASInt16 paintOrder, AIArtHandle prep, Place& place);
    /// A paint-order key between two art of the layer (null: no art on that side), renumbering the layer if need be.
    std::int64_t keyBetween(Layer& layer, AIArtHandle lower, AIArtHandle upper);
    /// The layer, its change counted; std::invalid_argument for a layer of another document or a deleted one.
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
    std::shared_ptr<const SvgFile> file_;
    std::uint32_t fileNumber_ = 0;
    std::uint64_t revision_ = 0;
    std::uint64_t appearanceRevision_ = 0;
    std::uint64_t layersRevision_ = 0;
    std::map<int, Observer> observers_;
    int lastObserver_ = 0;
    RefusalObserver refusalObserver_;
};

}  // namespace host
