#include "app/application.h"

ApplicationRecord Application = {nullptr, nullptr, L"Ta'rvo", L"1.00"};

AppState* TheAppState = nullptr;

int ShowMessage(const wchar_t* text, UINT type) {
    return MessageBoxW(Application.mainwindow, text, Application.caption, type);
}
