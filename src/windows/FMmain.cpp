#include "windows/FMmain.h"

#include <QCloseEvent>
#include <cmath>

#include "startup/settings.h"
#include "windows/twips.h"

namespace zb {

FMmain::FMmain(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      s_(state) {
    setObjectName(QStringLiteral("FMmain"));
    setWindowTitle(QStringLiteral("Zubrica98"));
    setFixedSize(TwipsToPxX(1965), TwipsToPxY(1470 + 15));
    move(TwipsToPxX(s_.settings.Left(kSlotMain)), TwipsToPxY(s_.settings.Top(kSlotMain)));
}

void FMmain::closeEvent(QCloseEvent* e) {
    s_.settings.Top(kSlotMain) = static_cast<int32_t>(std::nearbyint(PxToTwipsY(frameGeometry().y())));
    s_.settings.Left(kSlotMain) = static_cast<int32_t>(std::nearbyint(PxToTwipsX(frameGeometry().x())));
    if (s_.settings.Top(kSlotMain) > s_.ScreenHeight)
        s_.settings.Top(kSlotMain) = s_.DefaultTop(kSlotMain);
    if (s_.settings.Left(kSlotMain) > s_.ScreenWidth)
        s_.settings.Left(kSlotMain) = s_.DefaultLeft(kSlotMain);
    SaveSettings(s_);
    e->accept();
}

}  // namespace zb
