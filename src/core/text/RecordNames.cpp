#include "core/text/RecordNames.h"

#include "core/codec/Cp949.h"

namespace starfall::messages {

std::string pilotRecordLabel(std::string_view nameCp949) {
    return "캐릭터 '" + cp949::toUtf8(nameCp949) + "'";
}

std::string skillTableLabel(std::string_view nameCp949) {
    return pilotRecordLabel(nameCp949) + "의 특기 목록";
}

std::string upgradeTableLabel() {
    return "개조 능력치 표";
}

std::string unitRecordLabel(std::string_view nameCp949) {
    return "유니트 '" + cp949::toUtf8(nameCp949) + "'";
}

std::string weaponRecordLabel(int number) {
    return "무기 " + std::to_string(number);
}

std::string importLabel() {
    return "가져온 레코드";
}

std::string patchLabel(std::string_view patchPath) {
    return "패치 '" + std::string(patchPath) + "'";
}

std::string defaultWeaponName(int number) {
    return std::to_string(number) + "번 무기";
}

} // namespace starfall::messages
