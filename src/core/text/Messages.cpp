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

Message listFileMissing(std::string_view fileName, std::string_view folders) {
    std::string text(fileName);
    text += " 파일을 찾을 수 없습니다.";
    if (!folders.empty())
        text += "\n찾아본 폴더:\n" + std::string(folders);
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

Message journalNotTheImages(std::string_view journalPath, Position position, bool hintsDiffer) {
    return romEditorExclamation(
        quoted(journalPath, "파일은 이 이미지와 맞지 않습니다: 위치 ") + std::to_string(position) +
        "의 바이트가 끝나지 않은 저장 전의 값도, 그 저장이 쓴 값도 아닙니다" +
        (hintsDiffer ? "(이미지의 크기나 장치, 아이노드도 기록과 다릅니다)" : "") +
        ". 그 뒤에 이미지가 바뀌었습니다. 이미지와 이 파일을 그대로 두었습니다. 이 파일을 "
        "치우기 전에는 저장할 수 없습니다.");
}

Message journalStuck(std::string_view imagePath, std::string_view journalPath,
                     std::string_view reason) {
    return romEditorExclamation(quoted(imagePath, "파일을 끝나지 않은 저장 전으로 되돌렸지만, "
                                                  "폴더에 쓸 수 없어 그 저장의 기록 '") +
                                std::string(journalPath) + "'을(를) 지우지 못했습니다. (" +
                                std::string(reason) +
                                ") 폴더에 쓸 수 있게 되기 전에는 저장할 수 없습니다.");
}

Message journalNotApplied(std::string_view imagePath, std::string_view journalPath) {
    return romEditorExclamation(quoted(imagePath, "파일에 끝나지 않은 저장의 기록 '") +
                                std::string(journalPath) +
                                "'이(가) 있지만 이미지에 쓸 수 없어 되돌리지 못했습니다.");
}

Message historySetAside(std::string_view historyPath, std::string_view asidePath) {
    return romEditorExclamation(
        quoted(historyPath, "파일은 손상되었거나 이 이미지의 저장 기록이 아니어서 믿을 수 "
                            "없습니다. '") +
        std::string(asidePath) + "'(으)로 옮겨 두고 저장 기록을 새로 시작합니다.");
}

Message historyNotWritten(std::string_view historyPath, std::string_view reason) {
    return romEditorExclamation(quoted(historyPath, "파일에 이 저장을 적지 못했습니다. (") +
                                std::string(reason) +
                                ") 저장은 끝났지만 저장 기록으로 되돌릴 수 없습니다.");
}

namespace {

// The first few numbers, then how many more there are, counted in `more`
// ("곳" for places).
template <typename Number>
std::string listed(const std::vector<Number>& numbers, std::string_view unit = "",
                   std::string_view more = "곳") {
    constexpr std::size_t kShown = 8;
    std::string text;
    for (std::size_t i = 0; i < numbers.size() && i < kShown; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(numbers[i]);
    text += unit;
    if (numbers.size() > kShown)
        text += " 외 " + std::to_string(numbers.size() - kShown) + std::string(more);
    return text;
}

std::string nothingWritten(std::string text) {
    return text + kNothingWritten;
}

} // namespace

Message historyClearQuestion(std::string_view historyPath) {
    return romEditorExclamation(quoted(historyPath, "파일의 저장 기록을 모두 지울까요? 지운 "
                                                    "저장은 다시 되돌릴 수 없습니다."));
}

std::string historyNothingToUndo() {
    return nothingWritten("저장 기록에 되돌릴 저장이 없습니다.");
}

std::string historyNothingToRedo() {
    return nothingWritten("저장 기록에 다시 할 저장 취소가 없습니다.");
}

std::string historyNoEntry(std::uint32_t entry) {
    return nothingWritten("저장 기록에 " + std::to_string(entry) + "번이 없습니다.");
}

std::string historyEntryIsAnUndo(std::uint32_t entry) {
    return nothingWritten(std::to_string(entry) +
                          "번은 저장 취소입니다. 다시 저장으로 되돌리십시오.");
}

std::string historyAlreadyUndone(std::uint32_t entry) {
    return nothingWritten(std::to_string(entry) + "번 저장은 이미 취소했습니다.");
}

std::string historyLaterFirst(std::uint32_t entry, const std::vector<std::uint32_t>& later) {
    return nothingWritten(std::to_string(entry) + "번 저장을 취소하려면 같은 곳에 쓴 뒤의 저장 " +
                          listed(later, "번", "건") + "을 먼저 취소해야 합니다.");
}

std::string historyImageChanged(std::uint32_t entry, const std::vector<Position>& positions) {
    return nothingWritten("이미지의 위치 " + listed(positions) + "은(는) " +
                          std::to_string(entry) +
                          "번 저장이 쓴 값이 아닙니다. 그 뒤에 다른 무언가가 이미지를 "
                          "바꾸었습니다.");
}

std::string historyUntrusted(std::string_view historyPath) {
    return nothingWritten(
        quoted(historyPath, "파일은 손상되었거나 이 이미지의 저장 기록이 아니어서 믿을 수 "
                            "없습니다."));
}

Message saveLandedBeforeFailure(std::string_view imagePath) {
    return {quoted(imagePath, "파일의 저장은 이 오류 전에 끝났습니다. 저장한 내용은 이미지에 "
                              "있습니다."),
            std::string(kTitleRomEditor), MessageIcon::Information};
}

Message imageNotWritable(std::string_view imagePath, std::string_view reason) {
    return romEditorExclamation(quoted(imagePath, "파일은 열렸지만 쓸 수 없어 아무것도 저장하지 "
                                                  "않았습니다. (") +
                                std::string(reason) + ")");
}

Message withReason(Message message, std::string_view reason) {
    if (!reason.empty())
        message.text += " (" + std::string(reason) + ")";
    return message;
}

Message valueOutOfRange(std::string_view field, std::int64_t min, std::int64_t max) {
    return romEditorExclamation(quoted(field, "값은 ") + std::to_string(min) + "부터 " +
                                std::to_string(max) +
                                "까지입니다. 고친 뒤 다시 저장하십시오." + kNothingWritten);
}

Message nothingChanged() {
    return {"바뀐 값이 없어 아무것도 쓰지 않았습니다.", std::string(kTitleStarfall),
            MessageIcon::Information};
}

Message unsavedEdits() {
    return {"저장하지 않은 변경 내용이 있습니다. 저장하시겠습니까?", std::string(kTitleStarfall),
            MessageIcon::Exclamation};
}

Message recordsPastImageEnd(std::string_view imagePath, std::size_t units, std::size_t pilots,
                            std::size_t weapons) {
    return {quoted(imagePath, "이미지가 짧아 유니트 ") + std::to_string(units) + "개, 캐릭터 " +
                std::to_string(pilots) + "개, 무기 " + std::to_string(weapons) +
                "개의 기록이 이미지의 끝 너머에 있습니다. 목록에 표시한 그 기록은 저장할 수 "
                "없습니다.",
            std::string(kTitleWarning), MessageIcon::Exclamation};
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
        return messages::fileOpenFailure(path);
    case Failure::ImageOpenForSave:
        // With a reason the image exists and opened for reading: it only
        // cannot be written.
        return detail.empty() ? messages::fileOpenFailure(path)
                              : messages::imageNotWritable(path, detail);
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
        return messages::listFileMissing(detail, path);
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
    case Failure::HistoryRefused:
        return romEditorExclamation(std::string(detail));
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
