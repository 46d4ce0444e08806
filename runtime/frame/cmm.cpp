#include "cmm.h"

namespace CmmNamespace {

Cmm::~Cmm() = default;

bool Cmm::run()
{
    ok = false;
    return ok;
}

} // namespace CmmNamespace
