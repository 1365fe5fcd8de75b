#pragma once

// A writing verb prints what its save did to the sectors' codes beside the
// record; comparing with what `get` prints leaves those keys out.

#include <nlohmann/json.hpp>

namespace starfall::test {

inline nlohmann::json withoutSectorCodes(nlohmann::json printed) {
    printed.erase("sector_codes");
    printed.erase("stale_sectors");
    return printed;
}

} // namespace starfall::test
