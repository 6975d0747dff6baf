#include "actions/actions.h"
#include "core/conventions.h"

bool RunEncodeDate(Params) { return false; }
bool RunIsValidDate(Params) { return false; }
bool RunIsValidTime(Params) { return false; }
bool RunDaysBetween(Params) { return false; }
bool RunDaysBetweenEx(Params) { return false; }
