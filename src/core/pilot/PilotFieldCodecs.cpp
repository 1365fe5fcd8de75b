#include "core/pilot/PilotFieldCodecs.h"

#include "core/codec/ByteCodec.h"

namespace starfall {

ListChoice SpiritCommand::decode(int byte) {
    if (byte >= 1 && byte <= static_cast<int>(kItems.size()))
        return ListChoice::item(byte - 1);
    return ListChoice::none();
}

} // namespace starfall
