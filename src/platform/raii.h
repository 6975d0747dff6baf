// Owners for Windows handles: every handle, find handle, GDI object, DC, selection, icon, COM
// pointer and GlobalAlloc block is released on every path, including early returns and
// exceptions.
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
template <typename T>
inline void DeleteGdiObjectFn(T h) {
  DeleteObject(h);
}
inline void DeleteDCFn(HDC h) { DeleteDC(h); }
inline void DestroyIconFn(HICON h) { DestroyIcon(h); }
template <typename T>
inline void CoTaskMemFreeFn(T p) {
  CoTaskMemFree(p);
}

// INVALID_HANDLE_VALUE is not a constant expression, so file handles use a null sentinel:
// wrap CreateFile's result through FromCreateFile.
using Handle = UniqueResource<HANDLE, nullptr, CloseHandleFn>;
using GlobalBlock = UniqueResource<HGLOBAL, nullptr, GlobalFreeFn>;
using RegKey = UniqueResource<HKEY, nullptr, RegCloseKeyFn>;
using Library = UniqueResource<HMODULE, nullptr, FreeLibraryFn>;
// GDI objects are deleted only once no device context holds them selected: keep a
// SelectedObject's scope inside its object's.
template <typename T>
using GdiObject = UniqueResource<T, nullptr, DeleteGdiObjectFn<T>>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
// A device context of its own (CreateCompatibleDC), deleted with DeleteDC.
using MemoryDC = UniqueResource<HDC, nullptr, DeleteDCFn>;
using IconHandle = UniqueResource<HICON, nullptr, DestroyIconFn>;
// A block the shell or COM allocated for the caller (an item id list, a path).
template <typename T>
using CoTaskMemory = UniqueResource<T, nullptr, CoTaskMemFreeFn<T>>;

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

// The device context of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context for a while: the DC's previous object goes back in
// at the end, so neither is deleted while selected.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (*this) SelectObject(dc_, previous_);
  }
  explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
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
  // The thread was already in another apartment: COM works, but not as single-threaded.
  bool OtherApartment() const { return hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};
