#pragma once
// Names and values for screen readers. A label that shows a figure is named
// for what it is and carries the figure as the core says it: a reader then
// says "損益 マイナス 3400円" where the window shows "-3400".

#include "accounting/spoken.h"

class QWidget;

namespace zb {

// Sets w's accessible name and value, and tells a listening screen reader
// when the value changed. An empty name gives w back its own text as name.
void SetSpoken(QWidget* w, const Spoken& s);

}  // namespace zb
