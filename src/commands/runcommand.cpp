#include "app/appstate.h"
#include "resources/resource.h"

void AppState::RunCommand(int id) {
    switch (id) {
    case CMD_EXIT:
        // Esc while a label is being edited abandons the edit, nothing more.
        if (editwindow) {
            commitedit = false;
            SendMessageW(editwindow, WM_CLOSE, 0, 0);
        } else {
            SendMessageW(mainwindow, WM_CLOSE, 0, 0);
        }
        break;
    default: break;
    }
}
