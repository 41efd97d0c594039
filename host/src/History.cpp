#include "host/History.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

namespace host {

namespace {

bool samePoint(AIRealPoint a, AIRealPoint b) { return a.h == b.h && a.v == b.v; }

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

History::~History() { document_.removeObserver(observer_); }

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
                if (!pending_.contains(id)) pending_.emplace(id, mirror_.at(id));
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
    return {found.layer, found.shape, found.attributes};
}

std::vector<History::Id> History::orderOf(AILayerHandle layer) const {
    std::vector<Id> order;
    if (const Document::Layer* found = document_.findLayer(layer))
        for (const auto& [key, art] : found->art) order.push_back(ids_.at(art));
    return order;
}

bool History::pendingChanged() const {
    if (lost_) return false;
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
    if (pending_.empty()) return;
    Step step;
    std::set<AILayerHandle> layers;
    for (auto& [id, before] : pending_) {
        std::optional<State> after;
        if (auto handle = handles_.find(id); handle != handles_.end()) after = stateOf(handle->second);
        if (before == after) {
            if (after) mirror_[id] = std::move(*after);  // what the selection is now
            continue;
        }
        if (before) layers.insert(before->layer);
        if (after) layers.insert(after->layer);
        step.push_back({id, std::move(before), std::move(after), 0, 0, 0, 0});
    }
    pending_.clear();
    if (step.empty()) return;

    for (AILayerHandle layer : layers) {
        std::vector<Id> after = orderOf(layer);
        std::vector<Id>& before = order_[layer];
        std::unordered_map<Id, std::size_t> rankBefore, rankAfter;
        for (std::size_t i = 0; i < before.size(); ++i) rankBefore[before[i]] = i;
        for (std::size_t i = 0; i < after.size(); ++i) rankAfter[after[i]] = i;
        for (Change& change : step) {
            if (change.before && change.before->layer == layer) {
                change.rankBefore = rankBefore.at(change.id);
                change.belowBefore = change.rankBefore > 0 ? before[change.rankBefore - 1] : 0;
            }
            if (change.after && change.after->layer == layer) {
                change.rankAfter = rankAfter.at(change.id);
                change.belowAfter = change.rankAfter > 0 ? after[change.rankAfter - 1] : 0;
            }
        }
        before = std::move(after);
    }
    for (const Change& change : step) {
        if (change.after)
            mirror_[change.id] = *change.after;
        else
            mirror_.erase(change.id);
    }
    for (const Step& undone : redo_) anchors_ -= anchorsOf(undone);
    redo_.clear();
    anchors_ += anchorsOf(step);
    undo_.push_back(std::move(step));
    trim();
}

std::size_t History::anchorsOf(const Step& step) {
    std::size_t anchors = 0;
    for (const Change& change : step)
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
    std::set<AILayerHandle> layers;
    auto from = [&](const Change& c) -> const std::optional<State>& { return forward ? c.before : c.after; };
    auto to = [&](const Change& c) -> const std::optional<State>& { return forward ? c.after : c.before; };

    for (const Change& change : step) {
        if (!from(change)) continue;
        AIArtHandle art = handles_.at(change.id);
        layers.insert(from(change)->layer);
        document_.disposeArt(art);
        ids_.erase(art);
        handles_.erase(change.id);
    }
    // Bottom first, so that the art each goes above is already back.
    std::vector<const Change*> restored;
    for (const Change& change : step)
        if (to(change)) restored.push_back(&change);
    auto rank = [&](const Change* c) { return forward ? c->rankAfter : c->rankBefore; };
    std::sort(restored.begin(), restored.end(), [&](const Change* a, const Change* b) { return rank(a) < rank(b); });
    for (const Change* change : restored) {
        const State& state = *to(*change);
        Id below = forward ? change->belowAfter : change->belowBefore;
        auto belowHandle = handles_.find(below);
        AIArtHandle art = document_.insertPath(state.layer, belowHandle == handles_.end() ? nullptr : belowHandle->second,
                                               state.shape, state.attributes);
        ids_[art] = change->id;
        handles_[change->id] = art;
        layers.insert(state.layer);
    }
    for (const Change& change : step) {
        if (to(change))
            mirror_[change.id] = *to(change);
        else
            mirror_.erase(change.id);
    }
    for (AILayerHandle layer : layers) order_[layer] = orderOf(layer);
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

void History::clear() { resync(); }

void History::resync() {
    undo_.clear();
    redo_.clear();
    anchors_ = 0;
    pending_.clear();
    ids_.clear();
    handles_.clear();
    mirror_.clear();
    order_.clear();
    lost_ = false;
    document_.forEachArt([&](AIArtHandle art, const Document::Art& found) {
        Id id = ++lastId_;
        ids_[art] = id;
        handles_[id] = art;
        mirror_[id] = {found.layer, found.shape, found.attributes};
        order_[found.layer].push_back(id);
    });
}

void History::dump(nlohmann::json& out) const {
    bool pending = pendingChanged();
    out["history"] = {{"undo", undo_.size() + (pending ? 1 : 0)}, {"redo", pending ? 0 : redo_.size()}};
}

}  // namespace host
