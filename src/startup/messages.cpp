#include "startup/messages.h"

namespace zb {

std::string StartErrorText(int code) {
    switch (code) {
        case 1:
            return "投票要項が取得されていません。";
        case 2:
            return "本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。";
        case 3:
            return "ﾛｸﾞﾌｧｲﾙがありません。";
        default:
            return "????";
    }
}

std::string HandOverFailedText(const std::string& lockPath) {
    return "本ｿﾌﾄは既に起動していますが、前面に表示できませんでした。\n" + lockPath;
}

void ShowStartError(AppState& s) {
    if (s.Messages) s.Messages->critical(kProductName, StartErrorText(s.ErrorCode));
}

void ReportRunError(AppState& s, const RunError& e) {
    if (s.Messages)
        s.Messages->critical(s.CurrentProc + "  " + std::to_string(e.number), e.description);
}

}  // namespace zb
