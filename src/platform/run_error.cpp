#include "platform/run_error.h"

namespace zb {

std::string ErrorDescription(int number) {
    switch (number) {
        case kErrInvalidCall:
            return "プロシージャの呼び出し、または引数が不正です。";
        case kErrOverflow:
            return "オーバーフローしました。";
        case 7:
            return "メモリが不足しています。";
        case kErrSubscript:
            return "インデックスが有効範囲にありません。";
        case kErrTypeMismatch:
            return "型が一致しません。";
        case kErrFileNotFound:
            return "ファイルが見つかりません。";
        case kErrPastEnd:
            return "ファイルにこれ以上データがありません。";
        case kErrPermission:
            return "書き込みできません。";
        case kErrPathFileAccess:
            return "パス名が無効です。";
        case kErrPathNotFound:
            return "パスが見つかりません。";
        default:
            return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

void Fail(int number) {
    throw RunError(number, ErrorDescription(number));
}

}  // namespace zb
