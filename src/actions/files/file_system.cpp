// kxFileSystem asks the scripting runtime's FileSystemObject, late-bound through IDispatch, so
// the plug-in needs no type library of its own. Every automation failure (no such drive, drive
// not ready, runtime missing) becomes "False" with a Windows error text instead of escaping.
#include <windows.h>
// The automation headers build on the types that windows.h declares.
#include <oleauto.h>
#include <olectl.h>

#include <optional>
#include <string>
#include <string_view>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/buffers.h"
#include "platform/raii.h"

namespace {
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

// Invoke fills the three texts only when it fails with DISP_E_EXCEPTION; they are ours then.
class ExceptionInfo {
 public:
  ExceptionInfo() = default;
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ~ExceptionInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  EXCEPINFO* get() { return &info_; }
  EXCEPINFO& operator*() { return info_; }

 private:
  EXCEPINFO info_{};
};

HRESULT Call(IDispatch* object, const wchar_t* member, WORD kind, VARIANT* argument,
             VARIANT* result, EXCEPINFO* exception) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS arguments{argument, nullptr, argument ? 1u : 0u, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &arguments, result, exception,
                        nullptr);
}

// GetDriveName of the path, GetDrive of that name, then the drive's FileSystem property.
HRESULT QueryFileSystem(const std::string& path, std::string& fileSystem, EXCEPINFO* exception) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Scripting.FileSystemObject", &clsid);
  if (FAILED(hr)) return hr;
  ComPtr<IDispatch> runtime;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, runtime.put_void());
  if (FAILED(hr)) return hr;

  Variant pathArgument;
  V_VT(pathArgument.get()) = VT_BSTR;
  const std::wstring widePath = AnsiToWide(path);
  V_BSTR(pathArgument.get()) =
      SysAllocStringLen(widePath.data(), static_cast<UINT>(widePath.size()));
  if (!V_BSTR(pathArgument.get())) return E_OUTOFMEMORY;

  Variant driveName;
  hr = Call(runtime.get(), L"GetDriveName", DISPATCH_METHOD, pathArgument.get(), driveName.get(),
            exception);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = VariantChangeType(driveName.get(), driveName.get(), 0, VT_BSTR))) return hr;

  Variant drive;
  hr = Call(runtime.get(), L"GetDrive", DISPATCH_METHOD, driveName.get(), drive.get(), exception);
  if (FAILED(hr)) return hr;
  if (V_VT(&*drive) != VT_DISPATCH || !V_DISPATCH(&*drive)) return DISP_E_TYPEMISMATCH;

  Variant name;
  hr = Call(V_DISPATCH(&*drive), L"FileSystem", DISPATCH_PROPERTYGET, nullptr, name.get(),
            exception);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = VariantChangeType(name.get(), name.get(), 0, VT_BSTR))) return hr;
  fileSystem = WideToAnsi({V_BSTR(&*name), SysStringLen(V_BSTR(&*name))});
  return S_OK;
}

// The Windows error that best describes a failed automation call, so the author reads the
// system's own words ("The device is not ready") rather than a scripting error number.
DWORD AutomationErrorOf(HRESULT hr, EXCEPINFO& exception) {
  if (hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    if (exception.scode != 0)
      hr = exception.scode;
    else if (exception.wCode != 0)
      hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, exception.wCode);
  }
  switch (hr) {
    case CTL_E_DEVICEUNAVAILABLE:
      return ERROR_INVALID_DRIVE;
    case CTL_E_DISKNOTREADY:
      return ERROR_NOT_READY;
    case CTL_E_PATHNOTFOUND:
      return ERROR_PATH_NOT_FOUND;
    case CTL_E_PERMISSIONDENIED:
      return ERROR_ACCESS_DENIED;
    case CTL_E_ILLEGALFUNCTIONCALL:  // GetDrive of a path that names no drive
    case E_INVALIDARG:
      return ERROR_BAD_PATHNAME;
    case E_NOTIMPL:
      return ERROR_NOT_SUPPORTED;
    default:
      break;
  }
  return WindowsErrorOf(hr);
}
}  // namespace

// kxFileSystem: the name of the file system of the drive the path lies on (NTFS, FAT32,
// CDFS ...). A drive that does not exist or is not ready gives "False" and the system's text.
bool RunFileSystem(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  const ComScope com;
  ExceptionInfo exception;
  std::string fileSystem;
  const HRESULT hr = QueryFileSystem(path, fileSystem, exception.get());
  if (FAILED(hr)) {
    std::string text = SystemErrorText(AutomationErrorOf(hr, *exception));
    if (text.empty())
      text = WideToAnsi({(*exception).bstrDescription, SysStringLen((*exception).bstrDescription)});
    if (text.empty()) text = SystemErrorText(ERROR_GEN_FAILURE);
    return ReportFailure(variable, text);
  }
  // Some runtimes answer a drive whose volume cannot be read with an empty name instead of
  // an error; no ready drive has a nameless file system.
  if (fileSystem.empty()) return ReportSystemError(variable, ERROR_NOT_READY);
  SetResultVariable(variable, fileSystem);
  return true;
}
