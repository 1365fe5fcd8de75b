#include "core/text/TraceLines.h"

#include "core/codec/Cp949.h"

namespace starfall::messages {

std::string pilotTrace(std::string_view nameCp949, long long position) {
    return cp949::fromUtf8("캐릭이름: ") + std::string(nameCp949) + cp949::fromUtf8(", 주소: ") +
           std::to_string(position);
}

std::string unitTrace(std::string_view nameCp949, long long position) {
    return cp949::fromUtf8("이름: ") + std::string(nameCp949) + cp949::fromUtf8(", 주소: ") +
           std::to_string(position);
}

std::string weaponTrace(long long position) {
    return cp949::fromUtf8("무기 주소: ") + std::to_string(position);
}

} // namespace starfall::messages
