// The plug-in's own code is linked into the test program as well: an NbHost built on these
// entry points lets a test call internal operations (SetResultVariable, OpenHostPicker ...)
// against a host, with the same string table as the shipped .nbp.
#pragma once

#include "host.h"

extern "C" {
void HOSTCALL nbInitPlugIn(HWND, char**, char**, char**);
void HOSTCALL nbRegisterPlugIn(AddActionProc, SecondRegistrationProc, GetVariableProc,
                               SetVariableProc);
void HOSTCALL nbRegisterScriptProcessor(ScriptProcessorProc);
void HOSTCALL nbRegisterInterfaceAccess(InterfaceAccessProc);
BOOL HOSTCALL nbExecAction(int, char**, int);
BOOL HOSTCALL nbEditAction(int, char**, int);
void HOSTCALL nbMessage(int, int);
void HOSTCALL nbAbout();
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
