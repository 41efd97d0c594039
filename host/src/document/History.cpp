#include "host/document/History.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace host {

namespace {

bool samePoint(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

bool sameSegment(const AIPathSegment& a, const AIPathSegment& b) {
    return samePoint(a.p, b.p) && samePoint(a.in, b.in) && samePoint(a.out, b.out) &&
           (a.corner != 0) == (b.corner != 0);
}

}  // namespace

bool sameShape(const PathShape& a, const PathShape& b) {
    return a.closed == b.closed &&
           std::equal(a.segments.begin(), a.segments.end(), b.segments.begin(), b.segments.end(), sameSegment);
}

History::History(Document& document) : document_(document) {
    resync();
    observer_ = document_.addObserver([this](AIArtHandle art, Document::Change change) { follow(art, change); });
}

History::~History() {
    document_.removeObserver(observer_);
}

History::Group::Group(History& history) : history_(history) {
    // Changes made outside any group are a step of their own, not part of this one.
    if (history_.depth_++ == 0) history_.commitQuietly();
}

History::Group::~Group() {
    if (--history_.depth_ == 0) history_.commitQuietly();
}

void History::follow(AIArtHandle art, Document::Change change) {
    if (applying_ || lost_) return;
    try {
        switch (change) {
            case Document::Change::added: {
                Id id = ++lastId_;
                ids_[art] = id;
                handles_[id] = art;
                pending_.try_emplace(id, std::nullopt);
                break;
            }
            case Document::Change::edited:
            case Document::Change::removed: {
                Id id = ids_.at(art);
                if (!pending_.contains(id)) {
                    // Art gone from the document needs no copy in the mirror: only its place, until the commit.
                    State& last = mirror_.at(id).state;
                    pending_.emplace(id, change == Document::Change::removed ? std::move(last) : last);
                }
                if (change == Document::Change::removed) {
                    ids_.erase(art);
                    handles_.erase(id);
                }
                break;
            }
        }
    } catch (...) {
        // The document has changed all the same; the next commit starts the history afresh.
        lost_ = true;
    }
}

History::State History::stateOf(AIArtHandle art) const {
    const Document::Art& found = *document_.findArt(art);
    return {found.layer, found.shape, found.attributes, found.link};
}

History::Id History::idBelow(AIArtHandle art) const {
    AIArtHandle below = document_.artBelow(art);
    return below ? ids_.at(below) : 0;
}

void History::link(Id id, Id below, State state) {
    Mirrored& art = mirror_[id];
    art.state = std::move(state);
    art.below = below;
    if (below) {
        Mirrored& under = mirror_.at(below);
        art.above = under.above;
        under.above = id;
    } else {
        Id& bottom = bottoms_[art.state.layer];
        art.above = bottom;
        bottom = id;
    }
    if (art.above) mirror_.at(art.above).below = id;
}

void History::unlink(Id id) {
    auto found = mirror_.find(id);
    const Mirrored& art = found->second;
    if (art.below)
        mirror_.at(art.below).above = art.above;
    else if (art.above)
        bottoms_[art.state.layer] = art.above;
    else
        bottoms_.erase(art.state.layer);
    if (art.above) mirror_.at(art.above).below = art.below;
    mirror_.erase(found);
}

std::vector<const History::Placing*> History::bottomFirst(const std::vector<Placing>& art) {
    std::unordered_map<Id, const Placing*> byId;
    for (const Placing& placing : art) byId.emplace(placing.id, &placing);
    std::unordered_set<Id> taken;
    std::vector<const Placing*> order, chain;
    order.reserve(art.size());
    for (const Placing& placing : art) {
        // Down the art it goes above, as far as they are to be placed too and not yet taken, then back up.
        for (const Placing* at = &placing; at && taken.insert(at->id).second;) {
            chain.push_back(at);
            auto below = byId.find(at->below);
            at = below == byId.end() ? nullptr : below->second;
        }
        order.insert(order.end(), chain.rbegin(), chain.rend());
        chain.clear();
    }
    return order;
}

bool History::layersChanged() const {
    return document_.layersRevision() != layersRevision_ && document_.layerSet().layers != layers_.layers;
}

bool History::pendingChanged() const {
    if (lost_) return false;
    if (layersChanged()) return true;
    for (const auto& [id, before] : pending_) {
        auto handle = handles_.find(id);
        std::optional<State> now;
        if (handle != handles_.end()) now = stateOf(handle->second);
        if (before != now) return true;
    }
    return false;
}

void History::commit() {
    if (lost_) {
        resync();
        return;
    }
    Step step;
    if (document_.layersRevision() != layersRevision_) {
        Document::LayerSet now = document_.layerSet();
        if (now.layers != layers_.layers) {
            step.layersBefore = std::move(layers_);
            step.layersAfter = now;
        }
        layers_ = std::move(now);
        layersRevision_ = document_.layersRevision();
    }
    for (auto& [id, before] : pending_) {
        std::optional<State> after;
        auto handle = handles_.find(id);
        if (handle != handles_.end()) after = stateOf(handle->second);
        if (before == after) {
            if (after) mirror_.at(id).state = std::move(*after);  // what the selection is now
            continue;
        }
        // The place before is the mirror's; the place after, the document's now.
        Id belowBefore = before ? mirror_.at(id).below : 0;
        Id belowAfter = after ? idBelow(handle->second) : 0;
        step.changes.push_back({id, std::move(before), std::move(after), belowBefore, belowAfter});
    }
    pending_.clear();
    if (step.changes.empty() && !step.layersAfter) return;

    for (const Change& change : step.changes)
        if (change.before) unlink(change.id);
    std::vector<Placing> placed;
    for (const Change& change : step.changes)
        if (change.after) placed.push_back({change.id, change.after->layer, change.belowAfter, &*change.after});
    for (const Placing* placing : bottomFirst(placed)) link(placing->id, placing->below, *placing->state);

    for (const Step& undone : redo_) anchors_ -= anchorsOf(undone);
    redo_.clear();
    anchors_ += anchorsOf(step);
    undo_.push_back(std::move(step));
    trim();
}

std::size_t History::anchorsOf(const Step& step) {
    std::size_t anchors = step.layersAfter ? step.layersAfter->layers.size() : 0;
    for (const Change& change : step.changes)
        anchors += (change.before ? change.before->shape.segments.size() : 0) +
                   (change.after ? change.after->shape.segments.size() : 0) + 1;
    return anchors;
}

void History::trim() {
    // The newest step stays, however large: opening a large file can still be undone.
    while (undo_.size() > kMaxSteps || (undo_.size() > 1 && anchors_ > kMaxAnchors)) {
        anchors_ -= anchorsOf(undo_.front());
        undo_.pop_front();
    }
}

void History::commitQuietly() noexcept {
    try {
        commit();
    } catch (...) {
        try {
            resync();
        } catch (...) {
            lost_ = true;
        }
    }
}

void History::apply(const Step& step, bool forward) {
    struct Applying {
        bool& flag;
        explicit Applying(bool& f) : flag(f) { flag = true; }
        ~Applying() { flag = false; }
    } applying(applying_);
    auto from = [&](const Change& c) -> const std::optional<State>& { return forward ? c.before : c.after; };
    auto to = [&](const Change& c) -> const std::optional<State>& { return forward ? c.after : c.before; };

    for (const Change& change : step.changes) {
        if (!from(change)) continue;
        AIArtHandle art = handles_.at(change.id);
        document_.disposeArt(art);
        ids_.erase(art);
        handles_.erase(change.id);
        unlink(change.id);
    }
    // The layers between taking the art out and putting it in: a layer deleted by the step is back, empty,
    // before its art, and one the step added goes once its art is gone.
    if (step.layersAfter) {
        const Document::LayerSet& layers = forward ? *step.layersAfter : *step.layersBefore;
        document_.restoreLayers(layers);
        layers_ = layers;
        layersRevision_ = document_.layersRevision();
    }
    std::vector<Placing> placed;
    for (const Change& change : step.changes)
        if (to(change))
            placed.push_back(
                {change.id, to(change)->layer, forward ? change.belowAfter : change.belowBefore, &*to(change)});
    // Bottom first, so that the art each goes above is already back.
    for (const Placing* placing : bottomFirst(placed)) {
        AIArtHandle below = placing->below ? handles_.at(placing->below) : nullptr;
        AIArtHandle art = document_.insertPath(placing->layer, below, placing->state->shape, placing->state->attributes,
                                               placing->state->link);
        ids_[art] = placing->id;
        handles_[placing->id] = art;
        link(placing->id, placing->below, *placing->state);
    }
}

bool History::undo() {
    if (depth_ > 0) throw std::logic_error("undo inside an action");
    commit();
    if (undo_.empty()) return false;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    try {
        apply(step, false);
    } catch (...) {
        resync();
        throw;
    }
    redo_.push_back(std::move(step));
    return true;
}

bool History::redo() {
    if (depth_ > 0) throw std::logic_error("redo inside an action");
    commit();
    if (redo_.empty()) return false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    try {
        apply(step, true);
    } catch (...) {
        resync();
        throw;
    }
    undo_.push_back(std::move(step));
    return true;
}

void History::clear() {
    resync();
}

void History::resync() {
    undo_.clear();
    redo_.clear();
    anchors_ = 0;
    pending_.clear();
    ids_.clear();
    handles_.clear();
    mirror_.clear();
    bottoms_.clear();
    lost_ = false;
    layers_ = document_.layerSet();
    layersRevision_ = document_.layersRevision();
    AILayerHandle layer = nullptr;
    Id below = 0;
    document_.forEachArt([&](AIArtHandle art, const Document::Art& found) {
        Id id = ++lastId_;
        ids_[art] = id;
        handles_[id] = art;
        if (found.layer != layer) below = 0;
        link(id, below, stateOf(art));
        layer = found.layer;
        below = id;
    });
}

void History::dump(nlohmann::json& out) const {
    bool pending = pendingChanged();
    out["history"] = {{"undo", undo_.size() + (pending ? 1 : 0)}, {"redo", pending ? 0 : redo_.size()}};
}

}  // namespace host
