#include "desk/iconsize.h"

#include <commctrl.h>

#include "app/dpi.h"

SIZE DeskIconSize(LONG view, UINT dpi) {
    bool large = (view & LVS_TYPEMASK) == LVS_ICON;
    return {MetricForDpi(large ? SM_CXICON : SM_CXSMICON, dpi),
            MetricForDpi(large ? SM_CYICON : SM_CYSMICON, dpi)};
}
