#include "app/closegate.h"

bool CloseGate::Defer() {
    if (holds_ == 0) {
        waiting_ = false;
        return false;
    }
    waiting_ = true;
    // A menu ends at once; a drag ends at its next look at the flag.
    EndMenu();
    return true;
}

void CloseGate::Leave() {
    // The flag stays set until the posted close arrives, so that nothing
    // new begins in between.
    if (--holds_ == 0 && waiting_) PostMessageW(window_, WM_CLOSE, 0, 0);
}
