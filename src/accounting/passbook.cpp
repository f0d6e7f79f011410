#include "accounting/passbook.h"

namespace zb {

void ReadPassbook(AppState&) {}
void WritePassbook(AppState&) {}
void PostPassbook(AppState&) {}

}  // namespace zb
