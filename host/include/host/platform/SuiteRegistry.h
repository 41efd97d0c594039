// The host's suites by name and version, with a count of the acquisitions each
// plug-in still holds.
//
// Suite functions are plain C function pointers with no context, so each host
// piece keeps a static pointer to its active instance, set when it registers its
// suites and cleared when that instance goes.
#pragma once

#include <map>
#include <new>
#include <set>
#include <string>
#include <utility>

#include "ASTypes.h"

namespace host {

class SuiteRegistry {
public:
    using Key = std::pair<std::string, ASInt32>;

    /// Registers table under name and version, replacing any earlier one.
    void add(std::string name, ASInt32 version, const void* table);

    /// The table, counted as one more acquisition; 'S!Fd' for a suite the host lacks or refuses.
    ASErr acquire(const char* name, ASInt32 version, const void** table);
    /// One acquisition given back; 'S!Fd' when the suite is unknown or was not acquired.
    ASErr release(const char* name, ASInt32 version);

    /// From now on the suite answers 'S!Fd', as if the host lacked it.
    void refuse(std::string name);

    /// Acquisitions not yet released, per suite.
    const std::map<Key, int>& outstanding() const { return outstanding_; }
    int outstandingTotal() const;
    /// Acquisitions ever made and releases ever made, all suites together.
    long acquisitions() const { return acquisitions_; }
    long releases() const { return releases_; }

private:
    std::map<Key, const void*> tables_;
    std::map<Key, int> outstanding_;
    std::set<std::string> refused_;
    long acquisitions_ = 0;
    long releases_ = 0;
};

/// The instance of a host piece that the suite functions reach.
template <class Piece>
class ActivePiece {
public:
    static Piece* get() { return active_; }
    static void set(Piece* piece) { active_ = piece; }
    static void clear(Piece* piece) {
        if (active_ == piece) active_ = nullptr;
    }

private:
    static inline Piece* active_ = nullptr;
};

// The one guard of the suite functions: whatever the host throws stays in the host, and the
// plug-in that called gets an error code or a neutral answer.

/// body's answer, or fallback when it throws (the piece is then as body left it).
template <class Result, class Body>
Result guarded(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

/// Runs body; nothing it throws leaves.
template <class Body>
void guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

/// Runs a suite call on the active instance of a piece: kCantHappenErr when there is
/// none, '!MEM' when memory runs out. Nothing escapes to the plug-in.
template <class Piece, class Body>
ASErr guardedCall(Body&& body) noexcept {
    try {
        Piece* piece = ActivePiece<Piece>::get();
        if (!piece) return kCantHappenErr;
        return body(*piece);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kCantHappenErr;
    }
}

/// The object a handle names in one of the active piece's tables; null when it names nothing
/// there or the piece is gone. Finding never throws.
template <class Piece, class Table, class Ref>
auto* activeLookup(Table Piece::*table, Ref handle) noexcept {
    Piece* piece = ActivePiece<Piece>::get();
    return piece ? (piece->*table).find(handle) : nullptr;
}

/// Runs a suite call on the object a handle names in one of the active piece's tables:
/// kBadHandleErr when it names nothing there, and guarded as guardedCall.
template <class Piece, class Table, class Ref, class Body>
ASErr guardedLookup(Table Piece::*table, Ref handle, Body&& body) noexcept {
    return guardedCall<Piece>([&](Piece& piece) -> ASErr {
        auto* found = activeLookup(table, handle);
        if (!found) return kBadHandleErr;
        return body(piece, *found);
    });
}

/// For suite functions that answer a value rather than an error code: body's answer on the
/// active piece, or fallback when there is none or body throws.
template <class Piece, class Result, class Body>
Result guardedValue(Result fallback, Body&& body) noexcept {
    return guarded(fallback, [&]() -> Result {
        Piece* piece = ActivePiece<Piece>::get();
        return piece ? body(*piece) : fallback;
    });
}

/// For suite functions that answer nothing: body on the active piece, when there is one.
template <class Piece, class Body>
void guardedAction(Body&& body) noexcept {
    guarded([&] {
        if (Piece* piece = ActivePiece<Piece>::get()) body(*piece);
    });
}

}  // namespace host
