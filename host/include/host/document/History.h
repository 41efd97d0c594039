// Undo and redo of the document's art, whatever changed it: the history follows
// the document's observer, so plug-ins never know of it.
//
// The changes made while a group is open (a person's action: a click, a menu
// command, typing into a palette…) form one step; changes made outside any group
// form one step at the next group, undo or redo. A step keeps, for each art it
// changed, the art's state before and after and the art painted just below it,
// which is enough to put it back in its place: recording, undoing and redoing a
// step cost what it changed, never a walk of the layer. Undo and redo dispose of the art
// and add it again: restored art always has a new handle, so a plug-in still
// holding the old one finds it gone. A step that added, deleted, moved, renamed,
// locked or hid layers keeps the layers before and after it; a deleted layer keeps
// its handle, so the art of older steps finds its layer again. Making a layer
// current, a layer's colour and the selection make no step: art comes back
// selected or not as it was when it was changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/document/Document.h"

namespace host {

/// Same anchors (coordinates compared exactly), same corner flags, both closed or both open.
bool sameShape(const PathShape& a, const PathShape& b);

class History {
public:
    /// The oldest steps are forgotten beyond this many, or when the steps together keep more anchors
    /// than kMaxAnchors (each click on a long polyline keeps the whole path twice).
    static constexpr std::size_t kMaxSteps = 1000;
    static constexpr std::size_t kMaxAnchors = std::size_t{2} << 20;

    explicit History(Document& document);
    History(const History&) = delete;
    History& operator=(const History&) = delete;
    ~History();

    /// Keeps the changes made during its life together; groups nest, the outermost one makes the step.
    class Group {
    public:
        explicit Group(History& history);
        Group(const Group&) = delete;
        Group& operator=(const Group&) = delete;
        ~Group();

    private:
        History& history_;
    };

    /// True while a group is open.
    bool grouping() const { return depth_ > 0; }
    bool canUndo() const { return !undo_.empty() || pendingChanged(); }
    bool canRedo() const { return !redo_.empty() && !pendingChanged(); }
    /// Puts the document back as it was before the last step; false when there is none.
    /// std::logic_error inside a group.
    bool undo();
    /// Does the last undone step again; false when there is none (a new step forgets the undone ones).
    bool redo();
    /// Forgets every step; the document stays as it is.
    void clear();

    /// "history": {"undo": steps that can be undone, "redo": steps that can be redone}.
    void dump(nlohmann::json& out) const;

private:
    using Id = std::uint64_t;  ///< an art's name in the history: it survives undo and redo, handles do not
    struct State {
        AILayerHandle layer;
        PathShape shape;
        ASInt32 attributes;
        FileLink link;  ///< so that art put back still writes back into its element
        friend bool operator==(const State& a, const State& b) {
            // Selecting art is not a change a person undoes.
            return a.layer == b.layer && (a.attributes & ~kArtSelected) == (b.attributes & ~kArtSelected) &&
                   sameShape(a.shape, b.shape);
        }
    };
    struct Change {
        Id id;
        std::optional<State> before, after;
        Id belowBefore, belowAfter;  ///< the art painted just below; 0 at the bottom of the layer
    };
    struct Step {
        std::vector<Change> changes;
        /// The layers before and after, when the step changed them.
        std::optional<Document::LayerSet> layersBefore, layersAfter;
    };
    /// An art as of the last commit: its state and its neighbours in its layer's paint order, a list that
    /// a step updates where it changed things, so that no step ever reads a whole layer.
    struct Mirrored {
        State state;
        Id below = 0, above = 0;  ///< 0: none
    };
    /// One art to put in place: its layer and the art it goes just above (0: the bottom of the layer).
    struct Placing {
        Id id;
        AILayerHandle layer;
        Id below;
        const State* state;
    };
    static std::size_t anchorsOf(const Step& step);
    /// The art in an order where each comes after the art it goes above, when that one is among them too.
    static std::vector<const Placing*> bottomFirst(const std::vector<Placing>& art);
    /// Forgets the oldest steps beyond the limits.
    void trim();

    void follow(AIArtHandle art, Document::Change change);
    /// Ends the open step: records it when it changed anything, brings the mirror up to date.
    void commit();
    /// The commit of a group's end, which must not throw: a failure forgets the history instead.
    void commitQuietly() noexcept;
    bool pendingChanged() const;
    /// True when the layers differ from the mirror's in more than which one is current.
    bool layersChanged() const;
    /// Replaces the art of the changes' `from` states by their `to` states.
    void apply(const Step& step, bool forward);
    State stateOf(AIArtHandle art) const;
    /// The id of the art painted just below art in the document (0: none).
    Id idBelow(AIArtHandle art) const;
    /// Puts the art into the mirror's paint order just above below, with that state.
    void link(Id id, Id below, State state);
    /// Takes the art out of the mirror.
    void unlink(Id id);
    /// Forgets every step and reads the document afresh.
    void resync();

    Document& document_;
    int observer_ = 0;
    int depth_ = 0;
    bool applying_ = false;
    bool lost_ = false;  ///< a change could not be followed: the next commit reads the document afresh
    Id lastId_ = 0;
    std::unordered_map<AIArtHandle, Id> ids_;
    std::unordered_map<Id, AIArtHandle> handles_;
    /// Each art's state and place as of the last commit.
    std::unordered_map<Id, Mirrored> mirror_;
    /// The layers as of the last commit, and the document's layer revision then.
    Document::LayerSet layers_;
    std::uint64_t layersRevision_ = 0;
    /// The bottom art of each layer that holds any, as of the last commit.
    std::unordered_map<AILayerHandle, Id> bottoms_;
    /// The open step: the art it touched and their states at its start (none: it did not exist).
    std::map<Id, std::optional<State>> pending_;
    std::deque<Step> undo_, redo_;
    std::size_t anchors_ = 0;  ///< kept by the steps of both stacks
};

}  // namespace host
