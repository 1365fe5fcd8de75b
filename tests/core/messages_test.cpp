// Every text the programs show or send, each pinned here once, in one row.
// Every other test compares through the functions, so a change of wording is
// made in src/core/text and in its row here. Details a failure carries are
// placeholders in angle brackets, so no text is pinned twice.
#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/text/PatchFaultTexts.h"
#include "core/text/RecordNames.h"
#include "core/text/TraceLines.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using namespace messages;

constexpr auto kInfo = MessageIcon::Information;
constexpr auto kWarn = MessageIcon::Exclamation;
const std::string kEditor = "롬 에디터";
const std::string kStarfall = "Starfall 롬 에디터";
const std::string kWarning = "경고";

const std::string kImage = "/a/b.img";
const std::string kPatch = "/a/m.ppf";
const std::string kJournal = "/a/b.img.journal";

struct MessageCase {
    const char* call;
    Message actual;
    Message expected;
};

TEST(Messages, EachMessageHasItsTextTitleAndIcon) {
    const MessageCase cases[] = {
        {"saveDone", saveDone(), {"저장 완료", kStarfall, kInfo}},
        {"fileOpenFailure",
         fileOpenFailure(kImage),
         {"'/a/b.img' 파일을 열 수 없습니다.", kEditor, kWarn}},
        {"listFileMissing",
         listFileMissing("unitlist.ini", "/a/\n/b/"),
         {"unitlist.ini 파일을 찾을 수 없습니다.\n찾아본 폴더:\n/a/\n/b/", kWarning, kWarn}},
        {"pilotNotFound",
         pilotNotFound("Zed"),
         {"'Zed' 캐릭터를 찾을 수 없습니다.", kStarfall, kInfo}},
        {"unitNotFound", unitNotFound("Zz"), {"'Zz' 유니트를 찾을 수 없습니다.", kStarfall, kInfo}},
        {"saveRolledBack",
         saveRolledBack(kImage, 12),
         {"'/a/b.img' 파일에 끝나지 않은 저장이 있어 저장 전으로 되돌렸습니다. (12바이트)", kEditor,
          kInfo}},
        {"staleSectorsKept",
         staleSectorsKept(kImage, "12, 40-42"),
         {"'/a/b.img' 이미지의 섹터 12, 40-42은(는) 저장 뒤에도 EDC/ECC가 데이터와 맞지 "
          "않습니다. 그 바이트는 그대로 두었습니다.",
          kEditor, kWarn}},
        {"imageNotWritable",
         imageNotWritable(kImage, "<why>"),
         {"'/a/b.img' 파일은 열렸지만 쓸 수 없어 아무것도 저장하지 않았습니다. (<why>)", kEditor,
          kWarn}},
        {"withReason",
         withReason(saveDone(), "<why>"),
         {"저장 완료 (<why>)", kStarfall, kInfo}},
        {"withReason, none", withReason(saveDone(), ""), saveDone()},
        {"valueOutOfRange",
         valueOutOfRange("HP", 0, 65535),
         {"'HP' 값은 0부터 65535까지입니다. 고친 뒤 다시 저장하십시오. 아무것도 쓰지 않았습니다.",
          kEditor, kWarn}},
        {"nothingChanged",
         nothingChanged(),
         {"바뀐 값이 없어 아무것도 쓰지 않았습니다.", kStarfall, kInfo}},
        {"unsavedEdits",
         unsavedEdits(),
         {"저장하지 않은 변경 내용이 있습니다. 저장하시겠습니까?", kStarfall, kWarn}},
        {"recordsPastImageEnd",
         recordsPastImageEnd(kImage, 1, 2, 3),
         {"'/a/b.img' 이미지가 짧아 유니트 1개, 캐릭터 2개, 무기 3개의 기록이 이미지의 끝 너머에 "
          "있습니다. 목록에 표시한 그 기록은 저장할 수 없습니다.",
          kWarning, kWarn}},
        {"journalLeftAlone",
         journalLeftAlone(kJournal),
         {"'/a/b.img.journal' 파일은 이 이미지의 저장 기록이 아니거나 손상되었습니다. 이미지와 이 "
          "파일을 그대로 두었습니다. 이 파일을 치우기 전에는 저장할 수 없습니다.",
          kEditor, kWarn}},
        {"journalNotApplied",
         journalNotApplied(kImage, kJournal),
         {"'/a/b.img' 파일에 끝나지 않은 저장의 기록 '/a/b.img.journal'이(가) 있지만 이미지에 쓸 "
          "수 없어 되돌리지 못했습니다.",
          kEditor, kWarn}},
        {"journalNotTheImages",
         journalNotTheImages(kJournal, 9, false),
         {"'/a/b.img.journal' 파일은 이 이미지와 맞지 않습니다: 위치 9의 바이트가 끝나지 않은 "
          "저장 전의 값도, 그 저장이 쓴 값도 아닙니다. 그 뒤에 이미지가 바뀌었습니다. 이미지와 "
          "이 파일을 그대로 두었습니다. 이 파일을 치우기 전에는 저장할 수 없습니다.",
          kEditor, kWarn}},
        {"journalNotTheImages with hints",
         journalNotTheImages(kJournal, 9, true),
         {"'/a/b.img.journal' 파일은 이 이미지와 맞지 않습니다: 위치 9의 바이트가 끝나지 않은 "
          "저장 전의 값도, 그 저장이 쓴 값도 아닙니다(이미지의 크기나 장치, 아이노드도 기록과 "
          "다릅니다). 그 뒤에 이미지가 바뀌었습니다. 이미지와 이 파일을 그대로 두었습니다. 이 "
          "파일을 치우기 전에는 저장할 수 없습니다.",
          kEditor, kWarn}},
        {"journalStuck",
         journalStuck(kImage, kJournal, "<why>"),
         {"'/a/b.img' 파일을 끝나지 않은 저장 전으로 되돌렸지만, 폴더에 쓸 수 없어 그 저장의 "
          "기록 '/a/b.img.journal'을(를) 지우지 못했습니다. (<why>) 폴더에 쓸 수 있게 되기 "
          "전에는 저장할 수 없습니다.",
          kEditor, kWarn}},
        {"historySetAside",
         historySetAside("/a/b.img.history", "/a/b.img.history.damaged"),
         {"'/a/b.img.history' 파일은 손상되었거나 이 이미지의 저장 기록이 아니어서 믿을 수 "
          "없습니다. '/a/b.img.history.damaged'(으)로 옮겨 두고 저장 기록을 새로 시작합니다.",
          kEditor, kWarn}},
        {"historyNotWritten",
         historyNotWritten("/a/b.img.history", "<why>"),
         {"'/a/b.img.history' 파일에 이 저장을 적지 못했습니다. (<why>) 저장은 끝났지만 저장 "
          "기록으로 되돌릴 수 없습니다.",
          kEditor, kWarn}},
        {"historyClearQuestion",
         historyClearQuestion("/a/b.img.history"),
         {"'/a/b.img.history' 파일의 저장 기록을 모두 지울까요? 지운 저장은 다시 되돌릴 수 "
          "없습니다.",
          kEditor, kWarn}},
        {"saveLandedBeforeFailure",
         saveLandedBeforeFailure(kImage),
         {"'/a/b.img' 파일의 저장은 이 오류 전에 끝났습니다. 저장한 내용은 이미지에 있습니다.",
          kEditor, kInfo}},
        {"originalSizeDiffers",
         originalSizeDiffers(kImage, 4704, 2352),
         {"'/a/b.img' 이미지의 크기(4704바이트)가 열린 이미지의 크기(2352바이트)와 다릅니다. "
          "원본으로 지정하지 않았습니다.",
          kEditor, kWarn}},
        {"originalListsDiffer",
         originalListsDiffer(kImage, "unitlist.ini"),
         {"'/a/b.img' 이미지 옆의 unitlist.ini이(가) 지금 쓰는 목록 파일과 다릅니다. 원본으로 "
          "지정하지 않았습니다.",
          kEditor, kWarn}},
        {"originalIsTheImage",
         originalIsTheImage(kImage),
         {"'/a/b.img' 이미지는 지금 열린 이미지 자신입니다. 원본으로 지정하지 않았습니다.", kEditor,
          kWarn}},
        {"workCancelled", workCancelled(), {"취소했습니다. 아무것도 쓰지 않았습니다.", kEditor, kInfo}},
        {"patchMade", patchMade("/a/m.ppf"), {"'/a/m.ppf' 패치를 만들었습니다.", kEditor, kInfo}},
        {"patchApplied",
         patchApplied("/a/m.ppf"),
         {"'/a/m.ppf' 패치를 적용했습니다.", kEditor, kInfo}},
        {"patchUndone", patchUndone("/a/m.ppf"), {"'/a/m.ppf' 패치를 되돌렸습니다.", kEditor, kInfo}},
        {"patchWouldOverwrite",
         patchWouldOverwrite(kImage),
         {"'/a/b.img' 파일은 이미지나 그 원본입니다. 덮어쓰지 않도록 패치를 만들지 않았습니다.",
          kEditor, kWarn}},
        {"patchDescriptionTooLong",
         patchDescriptionTooLong(50),
         {"PPF 패치의 설명은 50바이트까지입니다. 패치를 만들지 않았습니다.", kEditor, kWarn}},
        {"patchDizTooLarge",
         patchDizTooLarge(3072),
         {"FILE_ID.DIZ는 3072바이트까지입니다. 패치를 만들지 않았습니다.", kEditor, kWarn}},
        {"unexpectedFailure",
         unexpectedFailure("<what>"),
         {"예기치 못한 오류로 프로그램을 끝냅니다: <what>", kEditor, kWarn}},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.call;
}

// A failure whose message has a function of its own shows that message; the
// others are pinned here, with both forms where a position or a record name
// may be missing.
TEST(Messages, EachHistoryRefusalSaysWhy) {
    const std::pair<std::string, std::string> cases[] = {
        {historyNothingToUndo(), "저장 기록에 되돌릴 저장이 없습니다. 아무것도 쓰지 않았습니다."},
        {historyNothingToRedo(),
         "저장 기록에 다시 할 저장 취소가 없습니다. 아무것도 쓰지 않았습니다."},
        {historyNoEntry(7), "저장 기록에 7번이 없습니다. 아무것도 쓰지 않았습니다."},
        {historyEntryIsAnUndo(3),
         "3번은 저장 취소입니다. 다시 저장으로 되돌리십시오. 아무것도 쓰지 않았습니다."},
        {historyAlreadyUndone(2), "2번 저장은 이미 취소했습니다. 아무것도 쓰지 않았습니다."},
        {historyLaterFirst(2, {5, 4}),
         "2번 저장을 취소하려면 같은 곳에 쓴 뒤의 저장 5, 4번을 먼저 취소해야 합니다. 아무것도 "
         "쓰지 않았습니다."},
        // Past eight, the rest are counted as saves, after the unit of the listed ones.
        {historyLaterFirst(1, {10, 9, 8, 7, 6, 5, 4, 3, 2}),
         "1번 저장을 취소하려면 같은 곳에 쓴 뒤의 저장 10, 9, 8, 7, 6, 5, 4, 3번 외 1건을 먼저 "
         "취소해야 합니다. 아무것도 쓰지 않았습니다."},
        {historyImageChanged(1, {10, 11, 12, 13, 14, 15, 16, 17, 18}),
         "이미지의 위치 10, 11, 12, 13, 14, 15, 16, 17 외 1곳은(는) 1번 저장이 쓴 값이 아닙니다. "
         "그 뒤에 다른 무언가가 이미지를 바꾸었습니다. 아무것도 쓰지 않았습니다."},
        {historyUntrusted("/a/b.img.history"),
         "'/a/b.img.history' 파일은 손상되었거나 이 이미지의 저장 기록이 아니어서 믿을 수 "
         "없습니다. 아무것도 쓰지 않았습니다."},
    };
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
    EXPECT_EQ(messageFor(Failure::HistoryRefused, kImage, -1, "<why>"),
              (Message{"<why>", kEditor, kWarn}));
}

TEST(Messages, EachCoreFailureHasItsMessage) {
    const auto failed = [](Failure failure, const std::string& path, Position position = -1,
                           std::string_view detail = {}) {
        return messageFor(failure, path, position, detail);
    };
    const auto editor = [](std::string text) { return Message{std::move(text), kEditor, kWarn}; };
    const MessageCase cases[] = {
        {"ImageOpenForLoad", failed(Failure::ImageOpenForLoad, kImage), fileOpenFailure(kImage)},
        {"ImageOpenForSave", failed(Failure::ImageOpenForSave, kImage), fileOpenFailure(kImage)},
        {"ImageOpenForSave, with the reason it cannot be written",
         failed(Failure::ImageOpenForSave, kImage, 3, "<why>"), imageNotWritable(kImage, "<why>")},
        {"PatchOpenForLoad", failed(Failure::PatchOpenForLoad, kPatch), fileOpenFailure(kPatch)},
        {"InputOpenForLoad", failed(Failure::InputOpenForLoad, kPatch), fileOpenFailure(kPatch)},
        {"ListFileMissing", failed(Failure::ListFileMissing, "/a/\n/b/", -1, "unitlist.ini"),
         listFileMissing("unitlist.ini", "/a/\n/b/")},
        {"JournalInTheWay", failed(Failure::JournalInTheWay, kJournal, -1, "<why>"),
         journalLeftAlone(kJournal)},
        {"PositionOutOfRange", failed(Failure::PositionOutOfRange, kImage, -4000),
         editor("위치 -4000은(는) 이미지에서 다룰 수 있는 범위(0 ~ 2147483647) 밖입니다. 아무것도 "
                "읽거나 쓰지 않았습니다.")},
        {"WriteFailed", failed(Failure::WriteFailed, kImage, -1, "<why>"),
         editor("'/a/b.img' 파일에 저장하지 못했습니다. (<why>)")},
        {"SectorFraming", failed(Failure::SectorFraming, kImage, 4424, "<record>"),
         editor("'/a/b.img' 파일의 위치 4424은(는) 섹터 머리나 꼬리 영역입니다. <record>을(를) "
                "저장하지 않았습니다.")},
        {"PastImageEnd", failed(Failure::PastImageEnd, kImage, 16, "<record>"),
         editor("'/a/b.img' 파일의 위치 16은(는) 이미지의 끝 너머입니다. 이미지의 크기를 바꾸지 "
                "않도록 <record>을(를) 저장하지 않았습니다.")},
        {"PastImageEnd unnamed", failed(Failure::PastImageEnd, kImage, 16),
         editor("'/a/b.img' 파일의 위치 16은(는) 이미지의 끝 너머입니다. 이미지의 크기를 바꾸지 "
                "않도록 아무것도 저장하지 않았습니다.")},
        {"JournalUnavailable", failed(Failure::JournalUnavailable, kJournal, -1, "<why>"),
         editor("'/a/b.img.journal' 저장 기록 파일을 만들 수 없어 아무것도 저장하지 않았습니다. "
                "(<why>)")},
        {"NoRawSectors", failed(Failure::NoRawSectors, kImage),
         editor("'/a/b.img' 파일에는 2352바이트 원시 섹터가 없어 섹터 코드를 검사할 수 없습니다.")},
        {"PatchDamaged", failed(Failure::PatchDamaged, kPatch, 70, "<why>"),
         editor(
             "'/a/m.ppf' 패치 파일이 손상되었습니다: <why> (위치 70). 아무것도 쓰지 않았습니다.")},
        {"PatchDamaged nowhere", failed(Failure::PatchDamaged, kPatch, -1, "<why>"),
         editor("'/a/m.ppf' 패치 파일이 손상되었습니다: <why>. 아무것도 쓰지 않았습니다.")},
        {"PatchWrongImage", failed(Failure::PatchWrongImage, kImage, 9, "<why>"),
         editor("'/a/b.img' 이미지는 이 패치의 원본이 아닙니다: <why> (위치 9). 아무것도 쓰지 "
                "않았습니다.")},
        {"PatchWrongImage nowhere", failed(Failure::PatchWrongImage, kImage, -1, "<why>"),
         editor("'/a/b.img' 이미지는 이 패치의 원본이 아닙니다: <why>. 아무것도 쓰지 않았습니다.")},
        {"PatchOutsideImage", failed(Failure::PatchOutsideImage, kImage, 4096),
         editor("'/a/b.img' 이미지는 패치가 쓰려는 위치 4096까지 닿지 않습니다. 아무것도 쓰지 "
                "않았습니다.")},
        {"PatchNotApplied", failed(Failure::PatchNotApplied, kImage, 3),
         editor("'/a/b.img' 이미지의 위치 3에 패치의 새 바이트가 없습니다. 이 패치를 적용한 "
                "이미지만 되돌릴 수 있습니다. 아무것도 쓰지 않았습니다.")},
        {"PatchWithoutUndo", failed(Failure::PatchWithoutUndo, kPatch, -1, "<why>"),
         editor(
             "'/a/m.ppf' 패치에는 되돌리기 데이터가 없습니다 (<why>). 아무것도 쓰지 않았습니다.")},
        {"PatchTooLarge", failed(Failure::PatchTooLarge, kPatch, -1, "<limit>"),
         editor("'/a/m.ppf' 패치는 <limit>을(를) 넘습니다. 아무것도 쓰지 않았습니다.")},
        {"ImageSizesDiffer", failed(Failure::ImageSizesDiffer, kImage, -1, "<sizes>"),
         editor("'/a/b.img' 원본과 결과의 크기가 다릅니다 (<sizes>). 이미지 크기를 바꾸는 패치는 "
                "만들거나 적용하지 않습니다.")},
        {"StaleSectorCodes", failed(Failure::StaleSectorCodes, kImage, -1, "<sectors>"),
         editor("'/a/b.img' 이미지의 섹터 <sectors>은(는) 데이터가 바뀌었는데 EDC/ECC가 맞지 "
                "않습니다. 먼저 'starfall-cli sectors repair'로 고치거나, 그대로 두려면 "
                "--keep-stale-codes를 쓰십시오. 패치를 만들지 않았습니다.")},
        {"ChangedSectorCodes", failed(Failure::ChangedSectorCodes, kImage, -1, "<sectors>"),
         editor("'/a/b.img' 이미지의 섹터 <sectors>은(는) 데이터는 그대로인데 EDC/ECC 바이트만 "
                "바뀌어 데이터와 맞지 않습니다. 먼저 'starfall-cli sectors repair --sectors'로 "
                "고치거나, 그대로 두려면 --keep-stale-codes를 쓰십시오. 패치를 만들지 "
                "않았습니다.")},
        {"ImagesIdentical", failed(Failure::ImagesIdentical, kImage),
         editor("'/a/b.img' 이미지는 원본과 같습니다. 다른 바이트가 없어 패치를 만들지 "
                "않았습니다.")},
        {"TemporaryFileInTheWay", failed(Failure::TemporaryFileInTheWay, kPatch),
         editor("'/a/m.ppf' 파일이 이미 있습니다. 그 파일을 따라가거나 덮어쓰지 않도록 아무것도 "
                "쓰지 않았습니다. 이 파일을 치운 뒤 다시 하십시오.")},
        {"PatchVerifyFailed", failed(Failure::PatchVerifyFailed, kImage, 5),
         editor("'/a/b.img' 파일의 위치 5에서 다시 읽은 바이트가 쓴 바이트와 다릅니다. 패치 전의 "
                "바이트로 되돌렸습니다.")},
        {"PatchDecoderMissing", failed(Failure::PatchDecoderMissing, kPatch, -1, "<why>"),
         editor("'/a/m.ppf' VCDIFF(xdelta) 패치를 읽으려면 xdelta3 프로그램이 필요한데 실행할 수 "
                "없습니다 (<why>). 'apt-get install xdelta3'로 설치하십시오. 아무것도 쓰지 "
                "않았습니다.")},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.call;
}

struct TextCase {
    const char* call;
    std::string actual;
    std::string expected;
};

// Trace lines are code page 949 bytes; record names take a list's name in it.
TEST(Messages, EachTraceLineNameAndRefusalDetailIsExact) {
    const std::string amuro = cp949::fromUtf8("아무로");
    const auto cp = [](const char* utf8) { return cp949::fromUtf8(utf8); };
    const TextCase cases[] = {
        {"pilotTrace", pilotTrace(amuro, 1234), cp("캐릭이름: 아무로, 주소: 1234")},
        {"unitTrace", unitTrace(amuro, -5), cp("이름: 아무로, 주소: -5")},
        {"weaponTrace", weaponTrace(46381512), cp("무기 주소: 46381512")},
        {"pilotRecordLabel", pilotRecordLabel(amuro), "캐릭터 '아무로'"},
        {"skillTableLabel", skillTableLabel(amuro), "캐릭터 '아무로'의 특기 목록"},
        {"upgradeTableLabel", upgradeTableLabel(), "개조 능력치 표"},
        {"unitRecordLabel", unitRecordLabel(amuro), "유니트 '아무로'"},
        {"weaponRecordLabel", weaponRecordLabel(1322), "무기 1322"},
        {"importLabel", importLabel(), "가져온 레코드"},
        {"patchLabel", patchLabel(kPatch), "패치 '/a/m.ppf'"},
        {"defaultWeaponName", defaultWeaponName(1285), "1285번 무기"},
        {"patchFileLimit", patchFileLimit(256), "패치 파일 크기 한도 256 MiB"},
        {"changedBytesLimit", changedBytesLimit(512), "한 번에 바꿀 수 있는 바이트 한도 512 MiB"},
        {"UnknownFormat", patchFault(PatchFault::UnknownFormat),
         "PPF 1.0, 2.0, 3.0, BPS나 VCDIFF(xdelta) 파일이 아닙니다"},
        {"Truncated", patchFault(PatchFault::Truncated), "파일이 중간에 끊겼습니다"},
        {"BadHeader", patchFault(PatchFault::BadHeader), "머리말의 값이 올바르지 않습니다"},
        {"ZeroLengthRecord", patchFault(PatchFault::ZeroLengthRecord),
         "길이가 0인 레코드가 있습니다"},
        {"DizUnterminated", patchFault(PatchFault::DizUnterminated),
         "FILE_ID.DIZ의 끝 표시가 없습니다"},
        {"BadVarint", patchFault(PatchFault::BadVarint), "수의 인코딩이 올바르지 않습니다"},
        {"ActionPastTarget", patchFault(PatchFault::ActionPastTarget),
         "동작이 결과 크기를 넘습니다"},
        {"CopyOutsideSource", patchFault(PatchFault::CopyOutsideSource),
         "복사 동작이 원본 밖을 가리킵니다"},
        {"CopyOutsideTarget", patchFault(PatchFault::CopyOutsideTarget),
         "복사 동작이 아직 만들어지지 않은 결과를 가리킵니다"},
        {"TargetShort", patchFault(PatchFault::TargetShort),
         "동작들이 결과 크기를 다 채우지 않습니다"},
        {"PatchChecksum", patchFault(PatchFault::PatchChecksum), "패치 CRC32가 맞지 않습니다"},
        {"TargetChecksum", patchFault(PatchFault::TargetChecksum), "결과 CRC32가 맞지 않습니다"},
        {"BeyondAddressable", patchFault(PatchFault::BeyondAddressable),
         "다룰 수 있는 범위(2 GiB)를 넘는 크기나 위치가 있습니다"},
        {"BlockCheck", imageMismatch(ImageMismatch::BlockCheck), "블록 검사 1024바이트가 다릅니다"},
        {"ImageSize", imageMismatch(ImageMismatch::ImageSize),
         "이미지 크기가 패치에 적힌 크기와 다릅니다"},
        {"SourceSize", imageMismatch(ImageMismatch::SourceSize),
         "이미지 크기가 패치의 원본 크기와 다릅니다"},
        {"SourceCrc", imageMismatch(ImageMismatch::SourceCrc),
         "이미지의 CRC32가 패치의 원본 CRC32와 다릅니다"},
        {"OriginalBytes", imageMismatch(ImageMismatch::OriginalBytes),
         "바이트가 패치에 기록된 원래 바이트와 다릅니다"},
        {"WindowChecksum", imageMismatch(ImageMismatch::WindowChecksum),
         "이 이미지로 만든 결과의 체크섬(Adler-32)이 패치에 적힌 값과 다릅니다"},
        {"decoderFault", decoderFault("<why>"), "xdelta3가 패치를 풀지 못했습니다 (<why>)"},
        {"originalValue", originalValue("3800"), "원본: 3800"},
        {"kOriginalMark", std::string(kOriginalMark), "● "},
        {"kChangedFromOriginal", std::string(kChangedFromOriginal), "원본과 다름"},
        {"BlockCheck check", previewCheck(PreviewCheck::BlockCheck),
         "블록 검사: 이 이미지와 맞습니다"},
        {"ImageSize check", previewCheck(PreviewCheck::ImageSize),
         "이미지 크기: 패치에 적힌 크기와 맞습니다"},
        {"SourceSizeAndCrc check", previewCheck(PreviewCheck::SourceSizeAndCrc),
         "원본 크기와 CRC32: 이 이미지와 맞습니다"},
        {"WindowChecksums check", previewCheck(PreviewCheck::WindowChecksums),
         "결과 체크섬(Adler-32): xdelta3가 확인했고 맞습니다"},
        {"Nothing check", previewCheck(PreviewCheck::Nothing),
         "이 패치에는 맞는 이미지인지 확인할 검사가 없습니다"},
        {"InsideImage check", previewCheck(PreviewCheck::InsideImage),
         "이미지 끝 너머는 바꾸지 않습니다"},
        {"AlreadyApplied check", previewCheck(PreviewCheck::AlreadyApplied),
         "이 이미지에는 이 패치가 이미 적용되어 있습니다"},
        {"previewChangedBytes", previewChangedBytes(74), "아직 적용되지 않았습니다: 74바이트를 바꿉니다"},
        {"previewTouchesEdited", previewTouchesEdited("units #1 A"),
         "주의: 원본과 비교해 이미 고친 레코드를 바꿉니다: units #1 A"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.call;
}

} // namespace
} // namespace starfall
