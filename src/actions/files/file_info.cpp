#include "actions/actions.h"
#include "core/conventions.h"

bool RunFileSize(Params) { return false; }
bool RunTempFilePath(Params) { return false; }
bool RunFileLongPath(Params) { return false; }
bool RunFileShortPath(Params) { return false; }
bool RunFileTypeName(Params) { return false; }
bool RunFileSystem(Params) { return false; }
bool RunFileDate(Params) { return false; }
bool RunParentDir(Params) { return false; }
bool RunDirIsEmpty(Params) { return false; }
