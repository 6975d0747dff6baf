// The plug-in's own code is linked into the test program as well: an NbHost built on these
// entry points lets a test call internal operations (SetResultVariable, OpenHostPicker ...)
// against a host, with the same string table as the shipped .nbp.
#pragma once

#include "host.h"

extern "C" {
void WINAPI nbInitPlugIn(HWND, char**, char**, char**);
void WINAPI nbRegisterPlugIn(void*, void*, void*, void*);
void WINAPI nbRegisterScriptProcessor(void*);
void WINAPI nbRegisterInterfaceAccess(void*);
BOOL WINAPI nbExecAction(int, char**);
BOOL WINAPI nbEditAction(int, char**);
void WINAPI nbMessage(int, int);
void WINAPI nbAbout();
}

inline PluginExports InProcessExports() {
  PluginExports e;
  e.init = reinterpret_cast<FARPROC>(&nbInitPlugIn);
  e.registerPlugIn = reinterpret_cast<FARPROC>(&nbRegisterPlugIn);
  e.registerScriptProcessor = reinterpret_cast<FARPROC>(&nbRegisterScriptProcessor);
  e.registerInterfaceAccess = reinterpret_cast<FARPROC>(&nbRegisterInterfaceAccess);
  e.exec = reinterpret_cast<FARPROC>(&nbExecAction);
  e.edit = reinterpret_cast<FARPROC>(&nbEditAction);
  e.message = reinterpret_cast<FARPROC>(&nbMessage);
  e.about = reinterpret_cast<FARPROC>(&nbAbout);
  return e;
}
