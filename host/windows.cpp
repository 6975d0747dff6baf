// The publication's run-time windows, as NeoBook shows them, so that the window and
// screenshot actions find real windows of the right classes and titles.
#include <string>

#include "host.h"

namespace {

constexpr int kPublicationWidth = 640, kPublicationHeight = 480;

bool RegisterHostClass(const char* className) {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return true;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

HostWindows::~HostWindows() {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
}

HWND NbHost::OpenHostWindow(const char* className, const std::string& title, HWND owner) {
  if (!RegisterHostClass(className)) return nullptr;
  // NeoBook's application window is a captioned popup of no size: it exists for the taskbar.
  const bool application = std::string(className) == "TApplication";
  const DWORD style =
      application ? WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX : WS_OVERLAPPEDWINDOW;
  const int width = application ? 0 : kPublicationWidth;
  const int height = application ? 0 : kPublicationHeight;
  const HWND window = CreateWindowExA(0, className, title.c_str(), style, 100, 100, width, height,
                                      owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  windows_.Add(window);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  PumpMessages();
  return window;
}

HWND NbHost::OpenPublication(const std::string& title) {
  applicationWindow = OpenHostWindow("TApplication", title);
  const HWND publication = OpenHostWindow("TWorkform", title, applicationWindow);
  // A running publication is the window the user works in, as a click on its button makes it.
  SetForegroundWindow(publication);
  PumpMessages();
  SetVar("PubTitle", title);
  SetVar("WinHandle", std::to_string(reinterpret_cast<INT_PTR>(publication)));
  return publication;
}

void NbHost::PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
