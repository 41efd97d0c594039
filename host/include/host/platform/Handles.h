// Checked handles: opaque references that encode an id, never a pointer the host
// follows. A handle of another table, or one whose object is gone, finds nothing.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

namespace host {

/// One counter for every table, whatever its types: a handle of one kind passed as another finds nothing.
inline std::uint32_t nextHandleTag() {
    static std::uint32_t tags = 0x0A1;
    return ++tags;
}

template <class Ref, class T>
class HandleTable {
public:
    HandleTable() : tag_(nextHandleTag()) {}

    Ref add(T value) {
        std::uint64_t id = ++lastId_;
        items_.emplace(id, std::move(value));
        return encode(id);
    }

    T* find(Ref ref) {
        auto found = items_.find(decode(ref));
        return found == items_.end() ? nullptr : &found->second;
    }
    const T* find(Ref ref) const {
        auto found = items_.find(decode(ref));
        return found == items_.end() ? nullptr : &found->second;
    }

    bool erase(Ref ref) { return items_.erase(decode(ref)) > 0; }
    void clear() { items_.clear(); }

    std::size_t size() const { return items_.size(); }

    /// Each item with its handle, oldest first.
    template <class F>
    void forEach(F&& visit) const {
        for (const auto& [id, item] : items_) visit(encode(id), item);
    }
    template <class F>
    void forEach(F&& visit) {
        for (auto& [id, item] : items_) visit(encode(id), item);
    }

private:
    Ref encode(std::uint64_t id) const {
        return reinterpret_cast<Ref>(static_cast<std::uintptr_t>((std::uint64_t{tag_} << 32) | id));
    }
    std::uint64_t decode(Ref ref) const {
        auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(ref));
        return (value >> 32) == tag_ ? (value & 0xFFFFFFFFu) : 0;
    }

    std::uint32_t tag_;
    std::uint64_t lastId_ = 0;
    std::map<std::uint64_t, T> items_;
};

}  // namespace host
