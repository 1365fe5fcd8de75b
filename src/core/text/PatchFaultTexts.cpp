#include "core/text/PatchFaultTexts.h"

namespace starfall::messages {

std::string patchFault(PatchFault fault) {
    switch (fault) {
    case PatchFault::UnknownFormat:
        return "PPF 1.0, 2.0, 3.0, BPS나 VCDIFF(xdelta) 파일이 아닙니다";
    case PatchFault::Truncated:
        return "파일이 중간에 끊겼습니다";
    case PatchFault::BadHeader:
        return "머리말의 값이 올바르지 않습니다";
    case PatchFault::ZeroLengthRecord:
        return "길이가 0인 레코드가 있습니다";
    case PatchFault::DizUnterminated:
        return "FILE_ID.DIZ의 끝 표시가 없습니다";
    case PatchFault::BadVarint:
        return "수의 인코딩이 올바르지 않습니다";
    case PatchFault::ActionPastTarget:
        return "동작이 결과 크기를 넘습니다";
    case PatchFault::CopyOutsideSource:
        return "복사 동작이 원본 밖을 가리킵니다";
    case PatchFault::CopyOutsideTarget:
        return "복사 동작이 아직 만들어지지 않은 결과를 가리킵니다";
    case PatchFault::TargetShort:
        return "동작들이 결과 크기를 다 채우지 않습니다";
    case PatchFault::PatchChecksum:
        return "패치 CRC32가 맞지 않습니다";
    case PatchFault::TargetChecksum:
        return "결과 CRC32가 맞지 않습니다";
    case PatchFault::BeyondAddressable:
        return "다룰 수 있는 범위(2 GiB)를 넘는 크기나 위치가 있습니다";
    }
    return {};
}

std::string imageMismatch(ImageMismatch mismatch) {
    switch (mismatch) {
    case ImageMismatch::BlockCheck:
        return "블록 검사 1024바이트가 다릅니다";
    case ImageMismatch::ImageSize:
        return "이미지 크기가 패치에 적힌 크기와 다릅니다";
    case ImageMismatch::SourceSize:
        return "이미지 크기가 패치의 원본 크기와 다릅니다";
    case ImageMismatch::SourceCrc:
        return "이미지의 CRC32가 패치의 원본 CRC32와 다릅니다";
    case ImageMismatch::OriginalBytes:
        return "바이트가 패치에 기록된 원래 바이트와 다릅니다";
    case ImageMismatch::WindowChecksum:
        return "이 이미지로 만든 결과의 체크섬(Adler-32)이 패치에 적힌 값과 다릅니다";
    }
    return {};
}

std::string decoderFault(std::string_view why) {
    return "xdelta3가 패치를 풀지 못했습니다 (" + std::string(why) + ")";
}

std::string patchFileLimit(long long mebibytes) {
    return "패치 파일 크기 한도 " + std::to_string(mebibytes) + " MiB";
}

std::string changedBytesLimit(long long mebibytes) {
    return "한 번에 바꿀 수 있는 바이트 한도 " + std::to_string(mebibytes) + " MiB";
}

} // namespace starfall::messages
