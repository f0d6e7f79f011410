#pragma once
// The main balance window.

#include <QWidget>

#include "startup/app_state.h"

namespace zb {

class FMmain : public QWidget {
    Q_OBJECT
public:
    explicit FMmain(AppState& state, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    AppState& s_;
};

}  // namespace zb
