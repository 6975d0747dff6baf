#include "guards.h"

#include <windows.h>
// windows.h first: the headers below need its types.
#include <commdlg.h>
#include <psapi.h>
#include <shellapi.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <vector>

#include "platform/seams.h"

namespace fuzz {
namespace {

GuardOptions g_options;
std::atomic<bool> g_inCall{false};
std::atomic<bool> g_dialogsAllowed{false};
std::atomic<long long> g_globalBlocks{0};
std::mt19937_64 g_answers;
HWND g_window = nullptr;

void Report(const std::string& what) {
  if (g_options.report) g_options.report(what);
}

bool Coin() { return (g_answers() & 1) != 0; }

// ---- import table -------------------------------------------------------------------------

struct Patch {
  const char* name;
  void* replacement;
  void** original;
};

void PatchImports(const std::vector<Patch>& patches) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       desc->Name; ++desc) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      const char* name = reinterpret_cast<const char*>(byName->Name);
      for (const Patch& patch : patches) {
        if (std::strcmp(name, patch.name) != 0) continue;
        if (patch.original && !*patch.original)
          *patch.original = reinterpret_cast<void*>(slots->u1.Function);
        DWORD old = 0;
        VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
        slots->u1.Function = reinterpret_cast<ULONG_PTR>(patch.replacement);
        VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
      }
    }
  }
}

// ---- file writes --------------------------------------------------------------------------

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(),
                        static_cast<int>(prefix.size()), prefix.data(),
                        static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

std::string Narrow(const wchar_t* text) {
  if (!text) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  return out;
}

// True when a write to `path` may go ahead; otherwise reports it. GetFullPathName turns a
// device name ("CON", "x\NUL.txt") into "\\.\NAME", which is how devices are told apart.
bool WriteAllowed(const char* api, const std::string& path) {
  if (!g_inCall) return true;
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
  if (length == 0 || length >= sizeof(full)) return true;  // the call itself will fail
  std::string target(full, length);
  // The long forms of drive and UNC paths ("\\?\C:\...", "\\?\UNC\server\...") are files.
  if (StartsWithNoCase(target, "\\\\?\\") && target.size() > 6 && target[5] == ':')
    target.erase(0, 4);
  else if (StartsWithNoCase(target, "\\\\?\\UNC\\"))
    target.replace(0, 8, "\\\\");
  // UNC shapes whose server name has a label no resolver sends: the call fails by itself.
  if (StartsWithNoCase(target, "\\\\" + std::string(64, 'q'))) return true;
  if (StartsWithNoCase(target, "\\\\.\\") || StartsWithNoCase(target, "\\\\?\\")) {
    Report(std::string(api) + " opened the device \"" + path + "\" for writing (refused)");
    return false;
  }
  if (!StartsWithNoCase(target, g_options.writableRoot)) {
    Report(std::string(api) + " wrote outside the sandbox: \"" + path + "\" (refused)");
    return false;
  }
  return true;
}

bool WritesFile(DWORD access, DWORD disposition, DWORD flags) {
  const DWORD writing = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE |
                        WRITE_DAC | WRITE_OWNER | FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA;
  return (access & writing) || disposition == CREATE_ALWAYS || disposition == CREATE_NEW ||
         disposition == OPEN_ALWAYS || disposition == TRUNCATE_EXISTING ||
         (flags & FILE_FLAG_DELETE_ON_CLOSE);
}

HANDLE Refused() {
  SetLastError(ERROR_ACCESS_DENIED);
  return INVALID_HANDLE_VALUE;
}

decltype(&CreateFileA) realCreateFileA = nullptr;
decltype(&CreateFileW) realCreateFileW = nullptr;
HANDLE WINAPI GuardCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD disposition, DWORD flags, HANDLE tmpl) {
  if (WritesFile(access, disposition, flags) && !WriteAllowed("CreateFileA", name ? name : ""))
    return Refused();
  return realCreateFileA(name, access, share, sa, disposition, flags, tmpl);
}
HANDLE WINAPI GuardCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD disposition, DWORD flags, HANDLE tmpl) {
  if (WritesFile(access, disposition, flags) && !WriteAllowed("CreateFileW", Narrow(name)))
    return Refused();
  return realCreateFileW(name, access, share, sa, disposition, flags, tmpl);
}

#define GUARD_PATH_CALL_A(api, params, args, path)   \
  decltype(&api) real##api = nullptr;                \
  BOOL WINAPI Guard##api params {                    \
    if (!WriteAllowed(#api, (path) ? (path) : "")) { \
      SetLastError(ERROR_ACCESS_DENIED);             \
      return FALSE;                                  \
    }                                                \
    return real##api args;                           \
  }
#define GUARD_PATH_CALL_W(api, params, args, path) \
  decltype(&api) real##api = nullptr;              \
  BOOL WINAPI Guard##api params {                  \
    if (!WriteAllowed(#api, Narrow(path))) {       \
      SetLastError(ERROR_ACCESS_DENIED);           \
      return FALSE;                                \
    }                                              \
    return real##api args;                         \
  }

GUARD_PATH_CALL_A(DeleteFileA, (LPCSTR p), (p), p)
GUARD_PATH_CALL_W(DeleteFileW, (LPCWSTR p), (p), p)
GUARD_PATH_CALL_A(RemoveDirectoryA, (LPCSTR p), (p), p)
GUARD_PATH_CALL_W(RemoveDirectoryW, (LPCWSTR p), (p), p)
GUARD_PATH_CALL_A(CreateDirectoryA, (LPCSTR p, LPSECURITY_ATTRIBUTES s), (p, s), p)
GUARD_PATH_CALL_W(CreateDirectoryW, (LPCWSTR p, LPSECURITY_ATTRIBUTES s), (p, s), p)
GUARD_PATH_CALL_A(SetFileAttributesA, (LPCSTR p, DWORD a), (p, a), p)
GUARD_PATH_CALL_W(SetFileAttributesW, (LPCWSTR p, DWORD a), (p, a), p)

// Moves and copies: both ends are checked (the source of a move is removed).
decltype(&MoveFileExA) realMoveFileExA = nullptr;
BOOL WINAPI GuardMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!WriteAllowed("MoveFileExA", from ? from : "") || (to && !WriteAllowed("MoveFileExA", to))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return realMoveFileExA(from, to, flags);
}
// The file layer replaces files with the wide call on the "\\?\" form of both names.
decltype(&MoveFileExW) realMoveFileExW = nullptr;
BOOL WINAPI GuardMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (!WriteAllowed("MoveFileExW", Narrow(from)) ||
      (to && !WriteAllowed("MoveFileExW", Narrow(to)))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return realMoveFileExW(from, to, flags);
}
decltype(&MoveFileA) realMoveFileA = nullptr;
BOOL WINAPI GuardMoveFileA(LPCSTR from, LPCSTR to) {
  if (!WriteAllowed("MoveFileA", from ? from : "") || !WriteAllowed("MoveFileA", to ? to : "")) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return realMoveFileA(from, to);
}
decltype(&CopyFileA) realCopyFileA = nullptr;
BOOL WINAPI GuardCopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  if (!WriteAllowed("CopyFileA", to ? to : "")) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return realCopyFileA(from, to, failIfExists);
}

// ---- calls that change the machine, outside the seams ------------------------------------

void Outside(const char* api) {
  Report(std::string(api) + " called outside Seams() (answered by a stand-in)");
}

BOOL WINAPI TrapExitWindowsEx(UINT, DWORD) {
  Outside("ExitWindowsEx");
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return FALSE;
}
BOOL WINAPI TrapTerminateProcess(HANDLE, UINT) {
  Outside("TerminateProcess");
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
BOOLEAN WINAPI TrapSetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) {
  // Looked up by name in powrprof: the power actions have no import to route.
  if (g_answers() % 4 == 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  return TRUE;
}
BOOL WINAPI TrapSetSystemPowerState(BOOL, BOOL) {
  Outside("SetSystemPowerState");
  return FALSE;
}
BOOL WINAPI TrapInitiateSystemShutdownExA(LPSTR, LPSTR, DWORD, BOOL, BOOL, DWORD) {
  Outside("InitiateSystemShutdownExA");
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return FALSE;
}
BOOL WINAPI TrapLockWorkStation() {
  Outside("LockWorkStation");
  return FALSE;
}
BOOL WINAPI TrapCreateProcessA(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                               DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
  Outside("CreateProcessA");
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
UINT WINAPI TrapWinExec(LPCSTR, UINT) {
  Outside("WinExec");
  return ERROR_FILE_NOT_FOUND;
}
HINSTANCE WINAPI TrapShellExecuteA(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  Outside("ShellExecuteA");
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
}
BOOL WINAPI TrapShellExecuteExA(SHELLEXECUTEINFOA*) {
  Outside("ShellExecuteExA");
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}
int WINAPI TrapSHFileOperationA(LPSHFILEOPSTRUCTA) {
  Outside("SHFileOperationA");
  return ERROR_CANCELLED;
}

// The about box is a dialog with only an OK button: it is answered, not shown.
int WINAPI StandInShellAboutA(HWND, LPCSTR, LPCSTR, HICON) {
  if (!g_dialogsAllowed) Report("ShellAboutA shown by an action not classified as a dialog");
  return Coin() ? TRUE : FALSE;
}
int WINAPI TrapMessageBoxA(HWND, LPCSTR text, LPCSTR, UINT) {
  Report(std::string("MessageBoxA shown: ") + (text ? std::string(text).substr(0, 80) : ""));
  return IDCANCEL;
}
int WINAPI TrapMessageBoxW(HWND, LPCWSTR text, LPCWSTR, UINT) {
  Report("MessageBoxW shown: " + Narrow(text).substr(0, 80));
  return IDCANCEL;
}

// Help windows: hhctrl.ocx is found by name, so the stand-in is handed out by GetProcAddress.
HWND WINAPI StandInHtmlHelpA(HWND, LPCSTR, UINT, DWORD_PTR) { return Coin() ? g_window : nullptr; }

decltype(&SendMessageA) realSendMessageA = nullptr;
decltype(&SendMessageW) realSendMessageW = nullptr;
decltype(&PostMessageA) realPostMessageA = nullptr;
decltype(&PostMessageW) realPostMessageW = nullptr;
bool IsMonitorPower(UINT message, WPARAM wParam) {
  return message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER;
}
LRESULT WINAPI GuardSendMessageA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) {
    Outside("SendMessageA(SC_MONITORPOWER)");
    return 0;
  }
  return realSendMessageA(w, m, wp, lp);
}
LRESULT WINAPI GuardSendMessageW(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) {
    Outside("SendMessageW(SC_MONITORPOWER)");
    return 0;
  }
  return realSendMessageW(w, m, wp, lp);
}
BOOL WINAPI GuardPostMessageA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) {
    Outside("PostMessageA(SC_MONITORPOWER)");
    return TRUE;
  }
  return realPostMessageA(w, m, wp, lp);
}
BOOL WINAPI GuardPostMessageW(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) {
    Outside("PostMessageW(SC_MONITORPOWER)");
    return TRUE;
  }
  return realPostMessageW(w, m, wp, lp);
}

decltype(&SendMessageTimeoutA) realSendMessageTimeoutA = nullptr;
LRESULT WINAPI GuardSendMessageTimeoutA(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT flags,
                                        UINT timeout, PDWORD_PTR result) {
  if (IsMonitorPower(m, wp)) {
    Outside("SendMessageTimeoutA(SC_MONITORPOWER)");
    return TRUE;
  }
  return realSendMessageTimeoutA(w, m, wp, lp, flags, timeout, result);
}
decltype(&DefWindowProcA) realDefWindowProcA = nullptr;
LRESULT WINAPI GuardDefWindowProcA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) {
    Outside("DefWindowProcA(SC_MONITORPOWER)");
    return 0;
  }
  return realDefWindowProcA(w, m, wp, lp);
}

decltype(&GetProcAddress) realGetProcAddress = nullptr;
FARPROC WINAPI GuardGetProcAddress(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF) {
    struct Named {
      const char* name;
      void* standIn;
    };
    static const Named kStandIns[] = {
        {"SetSuspendState", reinterpret_cast<void*>(&TrapSetSuspendState)},
        {"SetSystemPowerState", reinterpret_cast<void*>(&TrapSetSystemPowerState)},
        {"HtmlHelpA", reinterpret_cast<void*>(&StandInHtmlHelpA)},
        {"ExitWindowsEx", reinterpret_cast<void*>(&TrapExitWindowsEx)},
        {"TerminateProcess", reinterpret_cast<void*>(&TrapTerminateProcess)},
        {"InitiateSystemShutdownExA", reinterpret_cast<void*>(&TrapInitiateSystemShutdownExA)},
        {"LockWorkStation", reinterpret_cast<void*>(&TrapLockWorkStation)},
        {"ShellAboutA", reinterpret_cast<void*>(&StandInShellAboutA)},
        {"ShellExecuteA", reinterpret_cast<void*>(&TrapShellExecuteA)},
        {"SHFileOperationA", reinterpret_cast<void*>(&TrapSHFileOperationA)},
    };
    for (const Named& entry : kStandIns)
      if (std::strcmp(name, entry.name) == 0) return reinterpret_cast<FARPROC>(entry.standIn);
  }
  return realGetProcAddress(module, name);
}

// ---- outstanding GlobalAlloc blocks -------------------------------------------------------

decltype(&GlobalAlloc) realGlobalAlloc = nullptr;
decltype(&GlobalFree) realGlobalFree = nullptr;
HGLOBAL WINAPI CountGlobalAlloc(UINT flags, SIZE_T bytes) {
  HGLOBAL block = realGlobalAlloc(flags, bytes);
  if (block) ++g_globalBlocks;
  return block;
}
HGLOBAL WINAPI CountGlobalFree(HGLOBAL block) {
  HGLOBAL result = realGlobalFree(block);
  if (block && !result) --g_globalBlocks;
  return result;
}

// ---- C heap blocks --------------------------------------------------------------------------
// The bytes the program holds through malloc (operator new included), counted at the import
// table: what the plug-in keeps, apart from what Wine's own libraries cache.

std::atomic<long long> g_mallocBytes{0};
using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using FreeFn = void (*)(void*);
using SizeFn = size_t (*)(void*);
MallocFn realMalloc = nullptr;
CallocFn realCalloc = nullptr;
ReallocFn realRealloc = nullptr;
FreeFn realFree = nullptr;
SizeFn blockSize = nullptr;

long long SizeOf(void* block) { return block ? static_cast<long long>(blockSize(block)) : 0; }
void* CountMalloc(size_t bytes) {
  void* block = realMalloc(bytes);
  g_mallocBytes += SizeOf(block);
  return block;
}
void* CountCalloc(size_t count, size_t bytes) {
  void* block = realCalloc(count, bytes);
  g_mallocBytes += SizeOf(block);
  return block;
}
void* CountRealloc(void* old, size_t bytes) {
  const long long before = SizeOf(old);
  void* block = realRealloc(old, bytes);
  if (block || bytes == 0) g_mallocBytes += SizeOf(block) - before;
  return block;
}
void CountFree(void* block) {
  g_mallocBytes -= SizeOf(block);
  realFree(block);
}

// ---- GDI and USER objects ----------------------------------------------------------------
// Wine answers GetGuiResources with 0, so the objects the plug-in creates through the import
// table are counted here: created and not yet released.

std::mutex g_objectsLock;
long long g_gdiObjects = 0, g_userObjects = 0;
void Created(const void* handle, long long& counter) {
  if (!handle) return;
  std::lock_guard<std::mutex> lock(g_objectsLock);
  ++counter;
}
void Released(bool ok, long long& counter) {
  if (!ok) return;
  std::lock_guard<std::mutex> lock(g_objectsLock);
  --counter;
}

#define TRACK_CREATE(api, result, params, args, counter) \
  decltype(&api) real##api = nullptr;                    \
  result WINAPI Track##api params {                      \
    result made = real##api args;                        \
    Created(made, counter);                              \
    return made;                                         \
  }
#define TRACK_RELEASE(api, params, args, counter) \
  decltype(&api) real##api = nullptr;             \
  BOOL WINAPI Track##api params {                 \
    const BOOL ok = real##api args;               \
    Released(ok != FALSE, counter);               \
    return ok;                                    \
  }

TRACK_CREATE(CreateCompatibleDC, HDC, (HDC dc), (dc), g_gdiObjects)
TRACK_CREATE(CreateDCA, HDC, (LPCSTR a, LPCSTR b, LPCSTR c, const DEVMODEA* d), (a, b, c, d),
             g_gdiObjects)
TRACK_CREATE(CreateCompatibleBitmap, HBITMAP, (HDC dc, int w, int h), (dc, w, h), g_gdiObjects)
TRACK_CREATE(CreateBitmap, HBITMAP, (int w, int h, UINT p, UINT b, const void* bits),
             (w, h, p, b, bits), g_gdiObjects)
TRACK_CREATE(CreateDIBSection, HBITMAP,
             (HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD at),
             (dc, info, usage, bits, section, at), g_gdiObjects)
TRACK_CREATE(CreateFontIndirectA, HFONT, (const LOGFONTA* font), (font), g_gdiObjects)
TRACK_CREATE(CreateSolidBrush, HBRUSH, (COLORREF color), (color), g_gdiObjects)
TRACK_CREATE(CreatePen, HPEN, (int style, int width, COLORREF color), (style, width, color),
             g_gdiObjects)
TRACK_CREATE(CreateRectRgn, HRGN, (int l, int t, int r, int b), (l, t, r, b), g_gdiObjects)
TRACK_CREATE(GetDC, HDC, (HWND window), (window), g_gdiObjects)
TRACK_CREATE(GetWindowDC, HDC, (HWND window), (window), g_gdiObjects)
TRACK_CREATE(GetDCEx, HDC, (HWND window, HRGN clip, DWORD flags), (window, clip, flags),
             g_gdiObjects)
TRACK_RELEASE(DeleteObject, (HGDIOBJ object), (object), g_gdiObjects)
TRACK_RELEASE(DeleteDC, (HDC dc), (dc), g_gdiObjects)
decltype(&ReleaseDC) realReleaseDC = nullptr;
int WINAPI TrackReleaseDC(HWND window, HDC dc) {
  const int released = realReleaseDC(window, dc);
  Released(released != 0, g_gdiObjects);
  return released;
}

TRACK_CREATE(ExtractAssociatedIconA, HICON, (HINSTANCE module, LPSTR path, WORD* index),
             (module, path, index), g_userObjects)
TRACK_CREATE(ExtractIconA, HICON, (HINSTANCE module, LPCSTR path, UINT index),
             (module, path, index), g_userObjects)
TRACK_CREATE(CreateIconIndirect, HICON, (PICONINFO info), (info), g_userObjects)
TRACK_CREATE(CopyIcon, HICON, (HICON icon), (icon), g_userObjects)
TRACK_CREATE(CreateMenu, HMENU, (), (), g_userObjects)
TRACK_CREATE(CreatePopupMenu, HMENU, (), (), g_userObjects)
TRACK_RELEASE(DestroyIcon, (HICON icon), (icon), g_userObjects)
TRACK_RELEASE(DestroyMenu, (HMENU menu), (menu), g_userObjects)
TRACK_RELEASE(DestroyWindow, (HWND window), (window), g_userObjects)
decltype(&CreateWindowExA) realCreateWindowExA = nullptr;
HWND WINAPI TrackCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR title, DWORD style, int x, int y,
                                 int w, int h, HWND parent, HMENU menu, HINSTANCE inst,
                                 LPVOID param) {
  HWND made = realCreateWindowExA(ex, cls, title, style, x, y, w, h, parent, menu, inst, param);
  Created(made, g_userObjects);
  return made;
}

// ---- Seams() stand-ins: they answer as the real calls could, and change nothing ----------

BOOL WINAPI SeamExitWindowsEx(UINT, DWORD) {
  if (Coin()) return TRUE;
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return FALSE;
}
LRESULT WINAPI SeamSendMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (IsMonitorPower(m, wp)) return 0;
  return realSendMessageA ? realSendMessageA(w, m, wp, lp) : SendMessageA(w, m, wp, lp);
}
BOOL WINAPI SeamTerminateProcess(HANDLE process, UINT) {
  if (GetProcessId(process) == GetCurrentProcessId())
    Report("TerminateProcess aimed at the host's own process");
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
int WINAPI SeamSHFileOperation(LPSHFILEOPSTRUCTA operation) {
  if (!operation) return ERROR_INVALID_PARAMETER;
  switch (g_answers() % 4) {
    case 0:
      return 0;
    case 1:
      operation->fAnyOperationsAborted = TRUE;
      return 0;
    case 2:
      return ERROR_CANCELLED;
    default:
      return 0x7C;  // a shell error code above the Win32 range
  }
}

// A file name answer that fits `capacity` bytes, sometimes a multi-selection list.
void FillFileAnswer(LPOPENFILENAMEA ofn) {
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) return;
  std::string answer = g_options.writableRoot + "picked.txt";
  const bool multi = (ofn->Flags & OFN_ALLOWMULTISELECT) && Coin();
  if (multi) {
    answer = g_options.writableRoot.substr(0, g_options.writableRoot.size() - 1);
    answer.push_back('\0');
    answer += "a.txt";
    answer.push_back('\0');
    answer += "b b.txt";
  }
  answer.push_back('\0');
  if (answer.size() + 1 > ofn->nMaxFile) answer.resize(ofn->nMaxFile - 1);
  std::memcpy(ofn->lpstrFile, answer.data(), answer.size());
  ofn->lpstrFile[answer.size()] = '\0';
  ofn->nFileOffset = multi ? static_cast<WORD>(g_options.writableRoot.size())
                           : static_cast<WORD>(g_options.writableRoot.size());
  ofn->nFileExtension = 0;
}
BOOL WINAPI SeamGetOpenFileName(LPOPENFILENAMEA ofn) {
  if (!ofn || ofn->lStructSize < sizeof(OPENFILENAMEA) - 12 || Coin()) return FALSE;
  FillFileAnswer(ofn);
  return TRUE;
}
BOOL WINAPI SeamChooseColor(LPCHOOSECOLORA cc) {
  if (!cc || Coin()) return FALSE;
  cc->rgbResult = static_cast<COLORREF>(g_answers() & 0xFFFFFF);
  if (cc->lpCustColors)
    for (int i = 0; i < 16; ++i)
      cc->lpCustColors[i] = static_cast<COLORREF>(g_answers() & 0xFFFFFF);
  return TRUE;
}
BOOL WINAPI SeamChooseFont(LPCHOOSEFONTA cf) {
  if (!cf || !cf->lpLogFont || Coin()) return FALSE;
  LOGFONTA& font = *cf->lpLogFont;
  static const char* const kFaces[] = {"Arial", "Courier New", "A|B",
                                       "",      "x%s\"[#34]",  "0123456789012345678901234567890"};
  const char* face = kFaces[g_answers() % (sizeof(kFaces) / sizeof(kFaces[0]))];
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  font.lfHeight = static_cast<LONG>(static_cast<int>(g_answers() % 400) - 200);
  font.lfWeight = Coin() ? FW_BOLD : FW_NORMAL;
  font.lfItalic = Coin();
  font.lfUnderline = Coin();
  font.lfStrikeOut = Coin();
  font.lfCharSet = static_cast<BYTE>(g_answers());
  cf->iPointSize = static_cast<INT>(g_answers() % 10000);
  cf->rgbColors = static_cast<COLORREF>(g_answers() & 0xFFFFFF);
  return TRUE;
}
HINSTANCE WINAPI SeamShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(Coin() ? 42 : SE_ERR_FNF));
}

// ---- windows ------------------------------------------------------------------------------

std::mutex g_closedLock;
int g_closed = 0;
std::string g_closedClasses;

BOOL CALLBACK CloseStrangeWindow(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || window == g_window || !IsWindowVisible(window))
    return TRUE;
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  {
    std::lock_guard<std::mutex> lock(g_closedLock);
    ++g_closed;
    if (g_closedClasses.size() < 200) g_closedClasses += std::string(name) + " ";
  }
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

DWORD WINAPI WatchWindows(void*) {
  for (;;) {
    EnumWindows(&CloseStrangeWindow, 0);
    Sleep(50);
  }
}

}  // namespace

void InstallGuards(const GuardOptions& options) {
  g_options = options;
  g_answers.seed(options.seed ^ 0x5EA5u);

  const std::vector<Patch> patches = {
      {"CreateFileA", reinterpret_cast<void*>(&GuardCreateFileA),
       reinterpret_cast<void**>(&realCreateFileA)},
      {"CreateFileW", reinterpret_cast<void*>(&GuardCreateFileW),
       reinterpret_cast<void**>(&realCreateFileW)},
      {"DeleteFileA", reinterpret_cast<void*>(&GuardDeleteFileA),
       reinterpret_cast<void**>(&realDeleteFileA)},
      {"DeleteFileW", reinterpret_cast<void*>(&GuardDeleteFileW),
       reinterpret_cast<void**>(&realDeleteFileW)},
      {"RemoveDirectoryA", reinterpret_cast<void*>(&GuardRemoveDirectoryA),
       reinterpret_cast<void**>(&realRemoveDirectoryA)},
      {"RemoveDirectoryW", reinterpret_cast<void*>(&GuardRemoveDirectoryW),
       reinterpret_cast<void**>(&realRemoveDirectoryW)},
      {"CreateDirectoryA", reinterpret_cast<void*>(&GuardCreateDirectoryA),
       reinterpret_cast<void**>(&realCreateDirectoryA)},
      {"CreateDirectoryW", reinterpret_cast<void*>(&GuardCreateDirectoryW),
       reinterpret_cast<void**>(&realCreateDirectoryW)},
      {"SetFileAttributesA", reinterpret_cast<void*>(&GuardSetFileAttributesA),
       reinterpret_cast<void**>(&realSetFileAttributesA)},
      {"SetFileAttributesW", reinterpret_cast<void*>(&GuardSetFileAttributesW),
       reinterpret_cast<void**>(&realSetFileAttributesW)},
      {"MoveFileExA", reinterpret_cast<void*>(&GuardMoveFileExA),
       reinterpret_cast<void**>(&realMoveFileExA)},
      {"MoveFileExW", reinterpret_cast<void*>(&GuardMoveFileExW),
       reinterpret_cast<void**>(&realMoveFileExW)},
      {"MoveFileA", reinterpret_cast<void*>(&GuardMoveFileA),
       reinterpret_cast<void**>(&realMoveFileA)},
      {"CopyFileA", reinterpret_cast<void*>(&GuardCopyFileA),
       reinterpret_cast<void**>(&realCopyFileA)},
      {"ExitWindowsEx", reinterpret_cast<void*>(&TrapExitWindowsEx), nullptr},
      {"TerminateProcess", reinterpret_cast<void*>(&TrapTerminateProcess), nullptr},
      {"SetSystemPowerState", reinterpret_cast<void*>(&TrapSetSystemPowerState), nullptr},
      {"SetSuspendState", reinterpret_cast<void*>(&TrapSetSuspendState), nullptr},
      {"InitiateSystemShutdownExA", reinterpret_cast<void*>(&TrapInitiateSystemShutdownExA),
       nullptr},
      {"LockWorkStation", reinterpret_cast<void*>(&TrapLockWorkStation), nullptr},
      {"CreateProcessA", reinterpret_cast<void*>(&TrapCreateProcessA), nullptr},
      {"WinExec", reinterpret_cast<void*>(&TrapWinExec), nullptr},
      {"ShellExecuteA", reinterpret_cast<void*>(&TrapShellExecuteA), nullptr},
      {"ShellExecuteExA", reinterpret_cast<void*>(&TrapShellExecuteExA), nullptr},
      {"SHFileOperationA", reinterpret_cast<void*>(&TrapSHFileOperationA), nullptr},
      {"ShellAboutA", reinterpret_cast<void*>(&StandInShellAboutA), nullptr},
      {"MessageBoxA", reinterpret_cast<void*>(&TrapMessageBoxA), nullptr},
      {"MessageBoxW", reinterpret_cast<void*>(&TrapMessageBoxW), nullptr},
      {"SendMessageA", reinterpret_cast<void*>(&GuardSendMessageA),
       reinterpret_cast<void**>(&realSendMessageA)},
      {"SendMessageW", reinterpret_cast<void*>(&GuardSendMessageW),
       reinterpret_cast<void**>(&realSendMessageW)},
      {"PostMessageA", reinterpret_cast<void*>(&GuardPostMessageA),
       reinterpret_cast<void**>(&realPostMessageA)},
      {"PostMessageW", reinterpret_cast<void*>(&GuardPostMessageW),
       reinterpret_cast<void**>(&realPostMessageW)},
      {"SendMessageTimeoutA", reinterpret_cast<void*>(&GuardSendMessageTimeoutA),
       reinterpret_cast<void**>(&realSendMessageTimeoutA)},
      {"DefWindowProcA", reinterpret_cast<void*>(&GuardDefWindowProcA),
       reinterpret_cast<void**>(&realDefWindowProcA)},
      {"GetProcAddress", reinterpret_cast<void*>(&GuardGetProcAddress),
       reinterpret_cast<void**>(&realGetProcAddress)},
      {"GlobalAlloc", reinterpret_cast<void*>(&CountGlobalAlloc),
       reinterpret_cast<void**>(&realGlobalAlloc)},
      {"GlobalFree", reinterpret_cast<void*>(&CountGlobalFree),
       reinterpret_cast<void**>(&realGlobalFree)},
  };
#define TRACKED(api) \
  { #api, reinterpret_cast < void*>(&Track##api), reinterpret_cast < void**>(&real##api) }
  const std::vector<Patch> tracked = {
      TRACKED(CreateCompatibleDC),
      TRACKED(CreateDCA),
      TRACKED(CreateCompatibleBitmap),
      TRACKED(CreateBitmap),
      TRACKED(CreateDIBSection),
      TRACKED(CreateFontIndirectA),
      TRACKED(CreateSolidBrush),
      TRACKED(CreatePen),
      TRACKED(CreateRectRgn),
      TRACKED(GetDC),
      TRACKED(GetWindowDC),
      TRACKED(GetDCEx),
      TRACKED(DeleteObject),
      TRACKED(DeleteDC),
      TRACKED(ReleaseDC),
      TRACKED(ExtractAssociatedIconA),
      TRACKED(ExtractIconA),
      TRACKED(CreateIconIndirect),
      TRACKED(CopyIcon),
      TRACKED(CreateMenu),
      TRACKED(CreatePopupMenu),
      TRACKED(DestroyIcon),
      TRACKED(DestroyMenu),
      TRACKED(DestroyWindow),
      TRACKED(CreateWindowExA),
  };
#undef TRACKED
  PatchImports(patches);
  PatchImports(tracked);
  if (HMODULE crt = GetModuleHandleA("msvcrt.dll")) {
    blockSize = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(GetProcAddress(crt, "_msize")));
    if (blockSize)
      PatchImports(
          {{"malloc", reinterpret_cast<void*>(&CountMalloc), reinterpret_cast<void**>(&realMalloc)},
           {"calloc", reinterpret_cast<void*>(&CountCalloc), reinterpret_cast<void**>(&realCalloc)},
           {"realloc", reinterpret_cast<void*>(&CountRealloc),
            reinterpret_cast<void**>(&realRealloc)},
           {"free", reinterpret_cast<void*>(&CountFree), reinterpret_cast<void**>(&realFree)}});
  }
  if (!realGetProcAddress) realGetProcAddress = &GetProcAddress;
  if (!realPostMessageA) realPostMessageA = &PostMessageA;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ZaDodeFuzzDriver";
  RegisterClassA(&windowClass);
  g_window = CreateWindowA("ZaDodeFuzzDriver", "fuzz driver", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);

  MachineSeams& seams = Seams();
  seams.exitWindowsEx = &SeamExitWindowsEx;
  seams.sendMessage = &SeamSendMessage;
  seams.terminateProcess = &SeamTerminateProcess;
  seams.shFileOperation = &SeamSHFileOperation;
  seams.getOpenFileName = &SeamGetOpenFileName;
  seams.getSaveFileName = &SeamGetOpenFileName;
  seams.chooseColor = &SeamChooseColor;
  seams.chooseFont = &SeamChooseFont;
  seams.shellExecute = &SeamShellExecute;
  seams.htmlHelp = &StandInHtmlHelpA;
}

void SetCallInProgress(bool inProgress, bool dialogsAllowed) {
  g_dialogsAllowed = dialogsAllowed;
  g_inCall = inProgress;
}

HWND DriverWindow() { return g_window; }

void StartWindowWatcher() {
  HANDLE thread = CreateThread(nullptr, 0, &WatchWindows, nullptr, 0, nullptr);
  if (thread) CloseHandle(thread);
}

int TakeClosedWindows(std::string* classes) {
  std::lock_guard<std::mutex> lock(g_closedLock);
  const int closed = g_closed;
  if (classes) *classes = g_closedClasses;
  g_closed = 0;
  g_closedClasses.clear();
  return closed;
}

long long OutstandingGlobalBlocks() { return g_globalBlocks; }
long long MallocBytes() { return g_mallocBytes; }

unsigned long long PrivateBytes() {
  unsigned long long privateBytes = 0;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory)))
    privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  // Wine may answer 0: take the private memory from the Linux side of the process.
  if (privateBytes == 0) {
    char status[8192] = {};
    HANDLE file = CreateFileA("Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE) {
      ReadFile(file, status, sizeof(status) - 1, &read, nullptr);
      CloseHandle(file);
    }
    if (const char* anon = std::strstr(status, "RssAnon:"))
      privateBytes = std::strtoull(anon + 8, nullptr, 10) * 1024;
  }
  return privateBytes;
}

ResourceCounts CountResources() {
  ResourceCounts counts;
  counts.globalBlocks = g_globalBlocks;
  GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
  counts.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  counts.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  {
    std::lock_guard<std::mutex> lock(g_objectsLock);
    counts.trackedGdi = g_gdiObjects;
    counts.trackedUser = g_userObjects;
  }
  counts.privateBytes = PrivateBytes();
  counts.mallocBytes = g_mallocBytes;
  // Wine answers some of these with 0: count the handle table by asking about every value a
  // handle can have.
  if (counts.handles == 0) {
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
      DWORD flags = 0;
      if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++counts.handles;
    }
  }
  HANDLE heaps[64];
  const DWORD heapCount = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < heapCount && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
        counts.heapBusy += entry.cbData;
      else if (entry.wFlags & PROCESS_HEAP_REGION)
        counts.heapCommitted += entry.Region.dwCommittedSize;
      else if (!(entry.wFlags & PROCESS_HEAP_UNCOMMITTED_RANGE))
        counts.heapFree += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return counts;
}

std::string ResourceCounts::ToString() const {
  return "host texts outstanding " + std::to_string(globalBlocks) + ", handles " +
         std::to_string(handles) + ", GDI objects " + std::to_string(gdiObjects) +
         ", USER objects " + std::to_string(userObjects) +
         " (created through the imports and "
         "alive: GDI " +
         std::to_string(trackedGdi) + ", USER " + std::to_string(trackedUser) +
         "), private bytes " + std::to_string(privateBytes) + " (malloc " +
         std::to_string(mallocBytes) + "; heaps: " + std::to_string(heapBusy) +
         " in live blocks, " + std::to_string(heapFree) + " free, " +
         std::to_string(heapCommitted) + " committed)";
}

}  // namespace fuzz
