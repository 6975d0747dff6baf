// Owners for Windows handles: every handle, find handle, DC, COM pointer and GlobalAlloc
// block is released on every path, including early returns and exceptions.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <utility>

template <typename T, T Invalid, auto Close>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Invalid)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Invalid));
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid; }
  void reset(T value = Invalid) {
    if (value_ != Invalid) Close(value_);
    value_ = value;
  }
  T release() { return std::exchange(value_, Invalid); }

 private:
  T value_ = Invalid;
};

inline void CloseHandleFn(HANDLE h) { CloseHandle(h); }
inline void FindCloseFn(HANDLE h) { FindClose(h); }
inline void GlobalFreeFn(HGLOBAL h) { GlobalFree(h); }
inline void RegCloseKeyFn(HKEY h) { RegCloseKey(h); }
inline void FreeLibraryFn(HMODULE h) { FreeLibrary(h); }
inline void DeleteFontFn(HFONT h) { DeleteObject(h); }
inline void DeleteBrushFn(HBRUSH h) { DeleteObject(h); }
inline void DestroyIconFn(HICON h) { DestroyIcon(h); }

// INVALID_HANDLE_VALUE is not a constant expression, so file handles use a null sentinel:
// wrap CreateFile's result through FromCreateFile.
using Handle = UniqueResource<HANDLE, nullptr, CloseHandleFn>;
using GlobalBlock = UniqueResource<HGLOBAL, nullptr, GlobalFreeFn>;
using RegKey = UniqueResource<HKEY, nullptr, RegCloseKeyFn>;
using Library = UniqueResource<HMODULE, nullptr, FreeLibraryFn>;
using FontHandle = UniqueResource<HFONT, nullptr, DeleteFontFn>;
using BrushHandle = UniqueResource<HBRUSH, nullptr, DeleteBrushFn>;
using IconHandle = UniqueResource<HICON, nullptr, DestroyIconFn>;

inline Handle FromCreateFile(HANDLE h) { return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h); }

class FindHandle {
 public:
  FindHandle() = default;
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A device context from GetDC/GetWindowDC, released with ReleaseDC.
class WindowDC {
 public:
  WindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// COM for the current call only; balanced even when initialisation reports S_FALSE.
class ComScope {
 public:
  ComScope() : hr_(CoInitialize(nullptr)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }

 private:
  HRESULT hr_;
};
