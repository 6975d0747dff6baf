// The binary contract with NeoBook: every export and every host callback is __stdcall with
// 32-bit arguments, and truth values are 1/0.
#pragma once

#include <windows.h>

extern "C" {
using AddActionProc = BOOL(WINAPI*)(int id, const char* name, const char* hint,
                                    const unsigned char* kinds, int highIndex, int count);
using SecondRegistrationProc = void*;  // handed over, never called
using GetVariableProc = BOOL(WINAPI*)(const char* name, char** value);
using SetVariableProc = BOOL(WINAPI*)(const char* name, const char* value);
using ScriptProcessorProc = BOOL(WINAPI*)(const char* script);
using InterfaceAccessProc = BOOL(WINAPI*)(int request, char** text);
}

// Interface requests the plug-in sends.
enum HostRequest : int {
  kRequestActionEditor = 2,
  kRequestInsertVariable = 14,
  kRequestUnusedPicker = 13,
  kRequestObjectList = 1,
  kRequestObjectList2 = 8,
  kRequestColor = 10,
  kRequestVersion = 6,
  kRequestMessage = 9,
};
