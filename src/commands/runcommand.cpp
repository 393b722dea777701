#include "app/appstate.h"
#include "commands/commandtable.h"

void AppState::RunCommand(int id) {
    // An id that is not a command is ignored.
    if (const CommandRow* row = FindCommand(id)) row->run(*this);
}
