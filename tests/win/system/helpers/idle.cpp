// Waits and does nothing: the kill-by-name tests start copies of it under names of their own,
// so they never end a process they did not start. A GUI program, so that no console host is
// started beside it (under Wine that host can outlive a killed child and hold ctest's pipe).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(120000);
  return 3;
}
