#include "actions/actions.h"
#include "core/conventions.h"

bool RunExtractChars(Params) { return false; }
bool RunExtractAlphas(Params) { return false; }
bool RunExtractNumber(Params) { return false; }
bool RunExtractAlphaNum(Params) { return false; }
bool RunNumberToRoman(Params) { return false; }
bool RunRomanToNumber(Params) { return false; }
