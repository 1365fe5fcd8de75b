#include "core/sector/CodeRefresh.h"

#include <algorithm>

namespace starfall::sector {

std::size_t codesBegin(Form form) {
    switch (form) {
    case Form::Form1:
        return kDataEnd;
    case Form::Form2:
        return kForm2EdcAt;
    case Form::Other:
        break;
    }
    return kSectorSize;
}

Refresh refreshCodes(ConstSector old, Sector fresh, bool refresh) {
    const Form form = formOf(fresh);
    if (formOf(old) == Form::Other || form == Form::Other || check(fresh).matches())
        return Refresh::Untouched;
    // A save that writes code bytes of its own (a patch, a repair) keeps them.
    const std::size_t codes = codesBegin(form);
    const bool ownCodes = !std::equal(old.begin() + codes, old.end(), fresh.begin() + codes);
    if (!refresh || ownCodes || !check(old).matches())
        return Refresh::Stale;
    if (form == Form::Form1)
        writeForm1Codes(fresh);
    else
        writeForm2Edc(fresh);
    return Refresh::Refreshed;
}

} // namespace starfall::sector
