// The binary contract with NeoBook, shared by the plug-in and by nbhost, its stand-in.
//
// NeoBook is a Delphi program, and its plug-in kit declares every export and every callback
// without a calling-convention directive, so on i686 they use Delphi's default "register"
// convention: the first three 32-bit arguments in EAX, EDX and ECX, further ones pushed on the
// stack left to right (the last nearest the return address) and removed by the callee; EBX,
// ESI, EDI and EBP preserved; a Boolean result in AL. An open array parameter ("array of ...")
// takes two slots: the address of its first element, then its highest index (count - 1).
//
// GCC's regparm(3) + stdcall is exactly that for the register part and the callee-popped
// stack, but GCC pushes stack arguments right to left: a function with two or more stack
// arguments (only AddAction) declares them in reverse order. x86_64 has one convention, and
// there the arguments keep the host's order.
#pragma once

#include <windows.h>

#if defined(__i386__)
#define HOSTCALL __attribute__((regparm(3), stdcall))
#else
#define HOSTCALL
#endif

// A Delphi Boolean: the caller looks at AL only.
using HostBool = unsigned char;

extern "C" {
// AddAction(IDNum; Name, Hint; Params: array of Byte; NumParams: Byte).
#if defined(__i386__)
#define ADD_ACTION_PARAMETERS(id, name, hint, kinds, highIndex, count) \
  (int id, const char* name, const char* hint, int count, int highIndex, const unsigned char* kinds)
#else
#define ADD_ACTION_PARAMETERS(id, name, hint, kinds, highIndex, count) \
  (int id, const char* name, const char* hint, const unsigned char* kinds, int highIndex, int count)
#endif
using AddActionProc = void(HOSTCALL*)
    ADD_ACTION_PARAMETERS(id, name, hint, kinds, highIndex, count);
using SecondRegistrationProc = void*;  // AddFile: handed over, never called
using GetVariableProc = void(HOSTCALL*)(const char* name, char** value);
using SetVariableProc = void(HOSTCALL*)(const char* name, const char* value);
using ScriptProcessorProc = void(HOSTCALL*)(const char* script);
using InterfaceAccessProc = HostBool(HOSTCALL*)(int request, char** text);

// The eight exports, as the host calls them. The parameter block of nbExecAction and
// nbEditAction is an open array: its address, then the host's highest slot index.
using InitPlugInProc = void(HOSTCALL*)(HWND hostValue, char** title, char** publisher, char** hint);
using RegisterPlugInProc = void(HOSTCALL*)(AddActionProc addAction,
                                           SecondRegistrationProc secondRegistration,
                                           GetVariableProc getVariable,
                                           SetVariableProc setVariable);
using RegisterScriptProcessorProc = void(HOSTCALL*)(ScriptProcessorProc scriptProcessor);
using RegisterInterfaceAccessProc = void(HOSTCALL*)(InterfaceAccessProc interfaceAccess);
using ExecActionProc = BOOL(HOSTCALL*)(int id, char** params, int highIndex);
using EditActionProc = BOOL(HOSTCALL*)(int id, char** params, int highIndex);
using MessageProc = void(HOSTCALL*)(int message, int reserved);
using AboutProc = void(HOSTCALL*)();
}

// Calls the host's AddAction with the arguments in the host's order, whatever the platform.
inline void CallAddAction(AddActionProc add, int id, const char* name, const char* hint,
                          const unsigned char* kinds, int highIndex, int count) {
#if defined(__i386__)
  add(id, name, hint, count, highIndex, kinds);
#else
  add(id, name, hint, kinds, highIndex, count);
#endif
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
