#include "actions/actions.h"
#include "core/conventions.h"

bool RunExecAction(Params) { return false; }
bool RunExecActions(Params) { return false; }
