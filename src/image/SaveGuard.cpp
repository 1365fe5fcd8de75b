#include "image/SaveGuard.h"

namespace starfall {

void checkSaveAgainstFraming(int /*fd*/, const std::string& /*path*/,
                             std::span<const Position> /*positions*/, std::string_view /*record*/) {}

} // namespace starfall
