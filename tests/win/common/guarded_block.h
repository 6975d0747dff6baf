// A parameter block that ends exactly where an inaccessible page begins, as a host's block
// may: reading or writing one slot past its end faults.
#pragma once

#include <windows.h>

class GuardedBlock {
 public:
  GuardedBlock() {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    pages_ = static_cast<char*>(
        VirtualAlloc(nullptr, 2 * system.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (pages_ &&
        VirtualProtect(pages_ + system.dwPageSize, system.dwPageSize, PAGE_NOACCESS, &old))
      end_ = reinterpret_cast<char**>(pages_ + system.dwPageSize);
  }
  ~GuardedBlock() {
    if (pages_) VirtualFree(pages_, 0, MEM_RELEASE);
  }
  GuardedBlock(const GuardedBlock&) = delete;
  GuardedBlock& operator=(const GuardedBlock&) = delete;
  // One past the last slot; null when the pages could not be set up.
  char** end() const { return end_; }

 private:
  char* pages_ = nullptr;
  char** end_ = nullptr;
};
