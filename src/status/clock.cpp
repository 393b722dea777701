#include <windows.h>
#include <shellapi.h>

#include <ctime>

#include "app/appstate.h"
#include "resources/resource.h"
#include "status/clocktext.h"

void AppState::UpdateClock() {
    GetWindowTextW(mainwindow, titletext, kPathUnits);
    RemoveClockPart(titletext, clockpart);
    if (time) {
        __time64_t now = _time64(nullptr);
        std::tm local = {};
        wchar_t clock[kClockUnits] = L"";
        if (_localtime64_s(&local, &now) == 0) ClockText(local, clock, kClockUnits);
        AppendClockPart(titletext, kPathUnits, clock, clockpart);
        SYSTEMTIME second;
        GetLocalTime(&second);
        SetTimer(mainwindow, TIMER_CLOCK, ClockInterval(second.wSecond), nullptr);
    } else {
        KillTimer(mainwindow, TIMER_CLOCK);
    }
    SetWindowTextW(mainwindow, titletext);
    SetTrayTipFromTitle();
}
