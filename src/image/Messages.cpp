#include "image/Messages.h"

#include "image/Cp949.h"

namespace starfall {

namespace {

std::string quoted(std::string_view value, std::string_view rest) {
    std::string text = "'";
    text += value;
    text += "' ";
    text += rest;
    return text;
}

Message romEditorExclamation(std::string text) {
    return {std::move(text), std::string(messages::kTitleRomEditor), MessageIcon::Exclamation};
}

} // namespace

namespace messages {

Message saveDone() { return {"저장 완료", std::string(kTitleStarfall), MessageIcon::Information}; }

Message openFailure(std::string_view imagePath) {
    return romEditorExclamation(quoted(imagePath, "파일을 열 수 없습니다."));
}

Message listFileMissing(std::string_view fileName) {
    std::string text(fileName);
    text += " 파일을 찾을 수 없습니다.";
    return {std::move(text), std::string(kTitleWarning), MessageIcon::Exclamation};
}

Message pilotNotFound(std::string_view searchText) {
    return {quoted(searchText, "캐릭터를 찾을 수 없습니다."), std::string(kTitleStarfall),
            MessageIcon::Information};
}

Message unitNotFound(std::string_view searchText) {
    return {quoted(searchText, "유니트를 찾을 수 없습니다."), std::string(kTitleStarfall),
            MessageIcon::Information};
}

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

std::string pilotRecordLabel(std::string_view nameCp949) {
    return "캐릭터 '" + cp949::toUtf8(nameCp949) + "'";
}

std::string skillTableLabel(std::string_view nameCp949) {
    return pilotRecordLabel(nameCp949) + "의 특기 목록";
}

std::string upgradeTableLabel() { return "개조 능력치 표"; }

std::string unitRecordLabel(std::string_view nameCp949) {
    return "유니트 '" + cp949::toUtf8(nameCp949) + "'";
}

std::string weaponRecordLabel(int number) { return "무기 " + std::to_string(number); }

std::string defaultWeaponName(int number) { return std::to_string(number) + "번 무기"; }

} // namespace messages

Message messageFor(Failure failure, std::string_view path, Position position,
                   std::string_view detail) {
    switch (failure) {
    case Failure::ImageOpenForLoad:
    case Failure::ImageOpenForSave:
        return messages::openFailure(path);
    case Failure::PositionOutOfRange:
        return romEditorExclamation("위치 " + std::to_string(position) +
                                    "은(는) 이미지에서 다룰 수 있는 범위(0 ~ 2147483647) "
                                    "밖입니다. 아무것도 읽거나 쓰지 않았습니다.");
    case Failure::WriteFailed:
        return romEditorExclamation(quoted(path, "파일에 저장하지 못했습니다. (") +
                                    std::string(detail) + ")");
    case Failure::SectorFraming:
        return romEditorExclamation(
            quoted(path, "파일의 위치 ") + std::to_string(position) + "은(는) 섹터 머리나 " +
            "꼬리 영역입니다. " + std::string(detail) + "을(를) 저장하지 않았습니다.");
    case Failure::ListFileMissing:
        return messages::listFileMissing(detail);
    }
    return romEditorExclamation(std::string(detail));
}

Message messageFor(const CoreError& error) {
    return messageFor(error.failure(), error.path(), error.position(), error.detail());
}

} // namespace starfall
