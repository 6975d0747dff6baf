#include "actions/actions.h"
#include "core/conventions.h"

bool RunSetVar(Params) { return false; }
bool RunClearVariables(Params) { return false; }
bool RunSaveVariables(Params) { return false; }
