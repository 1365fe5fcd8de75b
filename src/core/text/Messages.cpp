#include "core/text/Messages.h"

namespace starfall {

namespace {

std::string quoted(std::string_view value, std::string_view rest) {
    std::string text = "'";
    text += value;
    text += "' ";
    text += rest;
    return text;
}

constexpr const char* kNothingWritten = " 아무것도 쓰지 않았습니다.";

std::string atPosition(Position position) {
    return position < 0 ? "." : " (위치 " + std::to_string(position) + ").";
}

Message romEditorExclamation(std::string text) {
    return {std::move(text), std::string(messages::kTitleRomEditor), MessageIcon::Exclamation};
}

} // namespace

namespace messages {

Message saveDone() {
    return {"저장 완료", std::string(kTitleStarfall), MessageIcon::Information};
}

Message fileOpenFailure(std::string_view filePath) {
    return romEditorExclamation(quoted(filePath, "파일을 열 수 없습니다."));
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

Message saveRolledBack(std::string_view imagePath, std::size_t bytes) {
    return {quoted(imagePath, "파일에 끝나지 않은 저장이 있어 저장 전으로 되돌렸습니다. (") +
                std::to_string(bytes) + "바이트)",
            std::string(kTitleRomEditor), MessageIcon::Information};
}

Message staleSectorsKept(std::string_view imagePath, std::string_view sectors) {
    return romEditorExclamation(quoted(imagePath, "이미지의 섹터 ") + std::string(sectors) +
                                "은(는) 저장 뒤에도 EDC/ECC가 데이터와 맞지 않습니다. 그 "
                                "바이트는 그대로 두었습니다.");
}

Message journalLeftAlone(std::string_view journalPath) {
    return romEditorExclamation(quoted(
        journalPath, "파일은 이 이미지의 저장 기록이 아니거나 손상되었습니다. 이미지와 이 "
                     "파일을 그대로 두었습니다. 이 파일을 치우기 전에는 저장할 수 없습니다."));
}

Message journalNotApplied(std::string_view imagePath, std::string_view journalPath) {
    return romEditorExclamation(quoted(imagePath, "파일에 끝나지 않은 저장의 기록 '") +
                                std::string(journalPath) +
                                "'이(가) 있지만 이미지에 쓸 수 없어 되돌리지 못했습니다.");
}

std::string originalValue(std::string_view value) {
    return "원본: " + std::string(value);
}

Message originalSizeDiffers(std::string_view originalPath, long long originalSize,
                            long long imageSize) {
    return romEditorExclamation(quoted(originalPath, "이미지의 크기(") +
                                std::to_string(originalSize) + "바이트)가 열린 이미지의 크기(" +
                                std::to_string(imageSize) +
                                "바이트)와 다릅니다. 원본으로 지정하지 않았습니다.");
}

Message originalListsDiffer(std::string_view originalPath, std::string_view fileName) {
    return romEditorExclamation(quoted(originalPath, "이미지 옆의 ") + std::string(fileName) +
                                "이(가) 지금 쓰는 목록 파일과 다릅니다. 원본으로 지정하지 "
                                "않았습니다.");
}

Message originalIsTheImage(std::string_view path) {
    return romEditorExclamation(
        quoted(path, "이미지는 지금 열린 이미지 자신입니다. 원본으로 지정하지 않았습니다."));
}

Message workCancelled() {
    return {"취소했습니다. 아무것도 쓰지 않았습니다.", std::string(kTitleRomEditor),
            MessageIcon::Information};
}

Message patchMade(std::string_view patchPath) {
    return {quoted(patchPath, "패치를 만들었습니다."), std::string(kTitleRomEditor),
            MessageIcon::Information};
}

Message patchApplied(std::string_view patchPath) {
    return {quoted(patchPath, "패치를 적용했습니다."), std::string(kTitleRomEditor),
            MessageIcon::Information};
}

Message patchUndone(std::string_view patchPath) {
    return {quoted(patchPath, "패치를 되돌렸습니다."), std::string(kTitleRomEditor),
            MessageIcon::Information};
}

Message patchWouldOverwrite(std::string_view patchPath) {
    return romEditorExclamation(quoted(patchPath, "파일은 이미지나 그 원본입니다. 덮어쓰지 않도록 "
                                                  "패치를 만들지 않았습니다."));
}

Message patchDescriptionTooLong(long long bytes) {
    return romEditorExclamation("PPF 패치의 설명은 " + std::to_string(bytes) +
                                "바이트까지입니다. 패치를 만들지 않았습니다.");
}

Message patchDizTooLarge(long long bytes) {
    return romEditorExclamation("FILE_ID.DIZ는 " + std::to_string(bytes) +
                                "바이트까지입니다. 패치를 만들지 않았습니다.");
}

std::string previewCheck(PreviewCheck check) {
    switch (check) {
    case PreviewCheck::BlockCheck:
        return "블록 검사: 이 이미지와 맞습니다";
    case PreviewCheck::ImageSize:
        return "이미지 크기: 패치에 적힌 크기와 맞습니다";
    case PreviewCheck::SourceSizeAndCrc:
        return "원본 크기와 CRC32: 이 이미지와 맞습니다";
    case PreviewCheck::WindowChecksums:
        return "결과 체크섬(Adler-32): xdelta3가 확인했고 맞습니다";
    case PreviewCheck::Nothing:
        return "이 패치에는 맞는 이미지인지 확인할 검사가 없습니다";
    case PreviewCheck::InsideImage:
        return "이미지 끝 너머는 바꾸지 않습니다";
    case PreviewCheck::AlreadyApplied:
        return "이 이미지에는 이 패치가 이미 적용되어 있습니다";
    }
    return {};
}

std::string previewChangedBytes(long long bytes) {
    return "아직 적용되지 않았습니다: " + std::to_string(bytes) + "바이트를 바꿉니다";
}

std::string previewTouchesEdited(std::string_view records) {
    return "주의: 원본과 비교해 이미 고친 레코드를 바꿉니다: " + std::string(records);
}

Message unexpectedFailure(std::string_view what) {
    return romEditorExclamation("예기치 못한 오류로 프로그램을 끝냅니다: " + std::string(what));
}

} // namespace messages

Message messageFor(Failure failure, std::string_view path, Position position,
                   std::string_view detail) {
    switch (failure) {
    case Failure::ImageOpenForLoad:
    case Failure::ImageOpenForSave:
        return messages::fileOpenFailure(path);
    case Failure::PositionOutOfRange:
        return romEditorExclamation("위치 " + std::to_string(position) +
                                    "은(는) 이미지에서 다룰 수 있는 범위(0 ~ 2147483647) "
                                    "밖입니다. 아무것도 읽거나 쓰지 않았습니다.");
    case Failure::WriteFailed:
        return romEditorExclamation(quoted(path, "파일에 저장하지 못했습니다. (") +
                                    std::string(detail) + ")");
    case Failure::SectorFraming:
        return romEditorExclamation(quoted(path, "파일의 위치 ") + std::to_string(position) +
                                    "은(는) 섹터 머리나 " + "꼬리 영역입니다. " +
                                    std::string(detail) + "을(를) 저장하지 않았습니다.");
    case Failure::ListFileMissing:
        return messages::listFileMissing(detail);
    case Failure::PastImageEnd:
        return romEditorExclamation(
            quoted(path, "파일의 위치 ") + std::to_string(position) +
            "은(는) 이미지의 끝 너머입니다. 이미지의 크기를 바꾸지 않도록 " +
            (detail.empty() ? std::string("아무것도") : std::string(detail) + "을(를)") +
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
    case Failure::InputOpenForLoad:
    case Failure::PatchOpenForLoad:
        return messages::fileOpenFailure(path);
    case Failure::PatchDamaged:
        return romEditorExclamation(quoted(path, "패치 파일이 손상되었습니다: ") +
                                    std::string(detail) + atPosition(position) + kNothingWritten);
    case Failure::PatchWrongImage:
        return romEditorExclamation(quoted(path, "이미지는 이 패치의 원본이 아닙니다: ") +
                                    std::string(detail) + atPosition(position) + kNothingWritten);
    case Failure::PatchOutsideImage:
        return romEditorExclamation(quoted(path, "이미지는 패치가 쓰려는 위치 ") +
                                    std::to_string(position) + "까지 닿지 않습니다." +
                                    kNothingWritten);
    case Failure::PatchNotApplied:
        return romEditorExclamation(
            quoted(path, "이미지의 위치 ") + std::to_string(position) +
            "에 패치의 새 바이트가 없습니다. 이 패치를 적용한 이미지만 되돌릴 수 있습니다." +
            kNothingWritten);
    case Failure::PatchWithoutUndo:
        return romEditorExclamation(quoted(path, "패치에는 되돌리기 데이터가 없습니다 (") +
                                    std::string(detail) + ")." + kNothingWritten);
    case Failure::PatchTooLarge:
        return romEditorExclamation(quoted(path, "패치는 ") + std::string(detail) +
                                    "을(를) 넘습니다." + kNothingWritten);
    case Failure::ImageSizesDiffer:
        return romEditorExclamation(quoted(path, "원본과 결과의 크기가 다릅니다 (") +
                                    std::string(detail) +
                                    "). 이미지 크기를 바꾸는 패치는 만들거나 적용하지 않습니다.");
    case Failure::StaleSectorCodes:
        return romEditorExclamation(
            quoted(path, "이미지의 섹터 ") + std::string(detail) +
            "은(는) 데이터가 바뀌었는데 EDC/ECC가 맞지 않습니다. 먼저 'starfall-cli sectors "
            "repair'로 고치거나, 그대로 두려면 --keep-stale-codes를 쓰십시오. 패치를 만들지 "
            "않았습니다.");
    case Failure::ChangedSectorCodes:
        return romEditorExclamation(
            quoted(path, "이미지의 섹터 ") + std::string(detail) +
            "은(는) 데이터는 그대로인데 EDC/ECC 바이트만 바뀌어 데이터와 맞지 않습니다. 먼저 "
            "'starfall-cli sectors repair --sectors'로 고치거나, 그대로 두려면 "
            "--keep-stale-codes를 쓰십시오. 패치를 만들지 않았습니다.");
    case Failure::ImagesIdentical:
        return romEditorExclamation(
            quoted(path, "이미지는 원본과 같습니다. 다른 바이트가 없어 패치를 만들지 않았습니다."));
    case Failure::TemporaryFileInTheWay:
        return romEditorExclamation(quoted(path, "파일이 이미 있습니다. 그 파일을 따라가거나 "
                                                 "덮어쓰지 않도록 아무것도 쓰지 않았습니다. 이 "
                                                 "파일을 치운 뒤 다시 하십시오."));
    case Failure::PatchVerifyFailed:
        return romEditorExclamation(quoted(path, "파일의 위치 ") + std::to_string(position) +
                                    "에서 다시 읽은 바이트가 쓴 바이트와 다릅니다. 패치 전의 "
                                    "바이트로 되돌렸습니다.");
    case Failure::PatchDecoderMissing:
        return romEditorExclamation(
            quoted(path, "VCDIFF(xdelta) 패치를 읽으려면 xdelta3 프로그램이 필요한데 실행할 수 "
                         "없습니다 (") +
            std::string(detail) + "). 'apt-get install xdelta3'로 설치하십시오." +
            kNothingWritten);
    }
    return romEditorExclamation(std::string(detail));
}

Message messageFor(const CoreError& error) {
    return messageFor(error.failure(), error.path(), error.position(), error.detail());
}

} // namespace starfall
