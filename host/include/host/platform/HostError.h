// The one exception type of the host's own failures, whatever piece meets them.
#pragma once

#include <stdexcept>

namespace host {

/// A failure of the host itself (a bundle that can't load, a file that can't be read).
struct HostError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace host
