// Any bytes as weapon.ini: names come back as found, never empty.
#include "core/weapon/WeaponIni.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const starfall::WeaponIni ini = starfall::WeaponIni::parse(text);
    for (const char* key : {"0", "1", "1203", "2047", "WEAPON_NAME", ""}) {
        if (const auto value = ini.find(key); value && (value->empty() || value->size() > 9999))
            std::abort();
    }
    return 0;
}
