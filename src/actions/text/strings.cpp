#include "actions/actions.h"
#include "core/conventions.h"

bool RunStartsStr(Params) { return false; }
bool RunEndsStr(Params) { return false; }
bool RunQuotedStr(Params) { return false; }
bool RunDequotedStr(Params) { return false; }
bool RunDupeStr(Params) { return false; }
bool RunReverseStr(Params) { return false; }
bool RunLeftStr(Params) { return false; }
bool RunRightStr(Params) { return false; }
bool RunMidStr(Params) { return false; }
bool RunTrimStr(Params) { return false; }
bool RunTrimLeftStr(Params) { return false; }
bool RunTrimRightStr(Params) { return false; }
bool RunGUIDStr(Params) { return false; }
bool RunRandomFromStr(Params) { return false; }
bool RunIfThenStr(Params) { return false; }
bool RunIfAppendStr(Params) { return false; }
bool RunIfPrependStr(Params) { return false; }
