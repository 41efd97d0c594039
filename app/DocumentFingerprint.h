// What saving keeps of the document, summed up as it changes: the layers (order,
// names, states) and, for the art, a sum of one fingerprint per path of its
// anchors, closing and layer. The window compares it with the one taken at the
// last save to mark unsaved changes, at a cost that does not grow with the
// drawing: each change updates the sum by the art it touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/document/Document.h"

namespace workbench {

class DocumentFingerprint {
public:
    struct Value {
        std::vector<host::Document::LayerState> layers;
        /// The paths with anchors, and the sum of their fingerprints (wrapping).
        std::size_t paths = 0;
        std::uint64_t sum = 0;
        bool operator==(const Value&) const = default;
    };

    explicit DocumentFingerprint(host::Document& document);
    DocumentFingerprint(const DocumentFingerprint&) = delete;
    DocumentFingerprint& operator=(const DocumentFingerprint&) = delete;
    ~DocumentFingerprint();

    Value value() const;

private:
    void follow(AIArtHandle art, host::Document::Change change);
    /// The art's part of the sum; 0 for a path without anchors, which saving leaves out.
    std::uint64_t fingerprintOf(AIArtHandle art) const;

    host::Document& document_;
    int observer_ = 0;
    std::unordered_map<AIArtHandle, std::uint64_t> fingerprints_;
    std::size_t paths_ = 0;
    std::uint64_t sum_ = 0;
};

}  // namespace workbench
