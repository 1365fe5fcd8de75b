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

Message saveRolledBack(std::string_view imagePath, std::size_t bytes) {
    return {quoted(imagePath, "파일에 끝나지 않은 저장이 있어 저장 전으로 되돌렸습니다. (") +
                std::to_string(bytes) + "바이트)",
            std::string(kTitleRomEditor), MessageIcon::Information};
}

Message journalLeftAlone(std::string_view journalPath) {
    return romEditorExclamation(
        quoted(journalPath, "파일은 이 이미지의 저장 기록이 아니거나 손상되었습니다. 이미지와 이 "
                            "파일을 그대로 두었습니다. 이 파일을 치우기 전에는 저장할 수 없습니다."));
}

Message journalNotApplied(std::string_view imagePath, std::string_view journalPath) {
    return romEditorExclamation(quoted(imagePath, "파일에 끝나지 않은 저장의 기록 '") +
                                std::string(journalPath) +
                                "'이(가) 있지만 이미지에 쓸 수 없어 되돌리지 못했습니다.");
}

Message unexpectedFailure(std::string_view what) {
    return romEditorExclamation("예기치 못한 오류로 프로그램을 끝냅니다: " + std::string(what));
}

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
    case Failure::PastImageEnd:
        return romEditorExclamation(quoted(path, "파일의 위치 ") + std::to_string(position) +
                                    "은(는) 이미지의 끝 너머입니다. 이미지의 크기를 바꾸지 않도록 " +
                                    (detail.empty() ? std::string("아무것도")
                                                    : std::string(detail) + "을(를)") +
                                    " 저장하지 않았습니다.");
    case Failure::JournalUnavailable:
        return romEditorExclamation(quoted(path, "저장 기록 파일을 만들 수 없어 아무것도 저장하지 "
                                                 "않았습니다. (") +
                                    std::string(detail) + ")");
    case Failure::JournalInTheWay:
        return messages::journalLeftAlone(path);
    case Failure::NoRawSectors:
        return romEditorExclamation(
            quoted(path, "파일에는 2352바이트 원시 섹터가 없어 섹터 코드를 검사할 수 없습니다."));
    }
    return romEditorExclamation(std::string(detail));
}

Message messageFor(const CoreError& error) {
    return messageFor(error.failure(), error.path(), error.position(), error.detail());
}

} // namespace starfall
