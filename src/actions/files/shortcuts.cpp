// Shell shortcuts (.lnk): making one to a file or folder, and reading one's eight fields.
// Both go through the shell's link object, which reads and writes the link's bytes in memory;
// the file itself is read and written by the file layer, so a link is replaced like any other
// file the actions write.
#include <windows.h>
// The shell link interfaces build on the types that windows.h declares.
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/files.h"
#include "platform/lead_bytes.h"
#include "platform/raii.h"
#include "pure/shortcut_fields.h"

namespace {

// Argument and description texts may run to INFOTIPSIZE; paths are read through the same
// size so a long one comes back whole rather than cut at 260.
constexpr int kFieldChars = INFOTIPSIZE;
// Far above any link; what a larger file holds past it cannot make it one.
constexpr DWORD kMaxLinkBytes = 1 << 20;

// The shell's link object with the interfaces both actions use.
struct LinkObject {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistStream> stream;

  HRESULT Create() {
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.put_void());
    if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistStream, stream.put_void());
    return hr;
  }

  // The link's bytes as a .lnk file holds them.
  HRESULT Save(std::string& bytes) {
    ComPtr<IStream> memory;
    *memory.put() = SHCreateMemStream(nullptr, 0);
    if (!memory) return E_OUTOFMEMORY;
    HRESULT hr = stream->Save(memory.get(), TRUE);
    STATSTG stat{};
    if (SUCCEEDED(hr)) hr = memory->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr)) hr = memory->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) return hr;
    bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    hr = memory->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return SUCCEEDED(hr) && read != bytes.size() ? E_FAIL : hr;
  }

  void Load(std::string_view bytes) {
    ComPtr<IStream> memory;
    *memory.put() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<UINT>(bytes.size()));
    if (memory) stream->Load(memory.get());
  }
};

template <typename Get>
std::string ReadField(Get get) {
  std::string buffer(kFieldChars, '\0');
  if (FAILED(get(buffer.data(), kFieldChars))) return {};
  buffer.back() = '\0';
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

// The layout's name for a key the plug-in does not name itself (";", "Num *" ...).
std::string LayoutKeyName(std::uint8_t key) {
  const UINT scanCode = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  char name[64] = {};
  const int length = GetKeyNameTextA(static_cast<LONG>(scanCode << 16), name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}
}  // namespace

// kxAddShortcut: a link to an existing file or folder, starting in the target's folder in a
// normal window, saved as <folder>\<name>.lnk over any link of that name. "True" only when
// the save succeeded and the file is there.
bool RunAddShortcut(const ActionCall& call) {
  const std::string target = call.Param(0), arguments = call.Param(1), folder = call.Param(2),
                    name = call.Param(3), description = call.Param(4), variable = call.Param(5);
  if (KindOf(target) == PathKind::kMissing) return ReportMissingPath(target, variable);

  const ComScope com;
  LinkObject shell;
  if (const HRESULT hr = shell.Create(); FAILED(hr))
    return ReportSystemError(variable, WindowsErrorOf(hr));
  const LeadBytes& lead = AnsiLeadBytes();
  shell.link->SetArguments(arguments.c_str());
  shell.link->SetDescription(description.c_str());
  shell.link->SetShowCmd(SW_SHOWNORMAL);
  shell.link->SetPath(target.c_str());
  shell.link->SetWorkingDirectory(WorkingFolderOf(target, lead).c_str());

  std::string bytes;
  if (const HRESULT hr = shell.Save(bytes); FAILED(hr))
    return ReportSystemError(variable, WindowsErrorOf(hr));
  // A link that cannot be written is told in the system's words alone, the file's name being
  // the author's own folder and name.
  const std::string linkPath = ShortcutFileName(folder, name, lead);
  if (const FileFailure failure = WriteAll(linkPath, bytes))
    return ReportSystemError(variable, failure.code);
  SetResultVariable(variable, kTrue);
  return true;
}

// kxGetShortcut: target, arguments, working folder, description, icon file, icon index,
// window state name and hotkey text at indexes 0 to 7. A file that is not a link loads
// nothing: the texts come back empty and the rest hold a fresh link's defaults, a success.
bool RunGetShortcut(const ActionCall& call) {
  const std::string path = call.Param(0), array = call.Param(1);
  if (!FileExists(path)) return ReportInvalidArguments(call);
  // A file that cannot be read loads nothing, as one that is no link; a device is refused.
  // Closed again before the shell reads the bytes.
  std::string bytes;
  {
    File file;
    const FileFailure failure = OpenForRead(path, Sharing::kReadWrite, file);
    if (failure.device) return ReportFileFailure(array, failure);
    LARGE_INTEGER size{};
    if (!failure && GetFileSizeEx(file.get(), &size)) {
      bytes.resize(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, kMaxLinkBytes)));
      DWORD filled = 0;
      if (file.ReadPiece(bytes.data(), static_cast<DWORD>(bytes.size()), filled)) filled = 0;
      bytes.resize(filled);
    }
  }

  const ComScope com;
  LinkObject shell;
  if (const HRESULT hr = shell.Create(); FAILED(hr))
    return ReportSystemError(array, WindowsErrorOf(hr));
  shell.Load(bytes);

  IShellLinkA* link = shell.link.get();
  WORD hotkey = 0;
  if (FAILED(link->GetHotkey(&hotkey))) hotkey = 0;
  const auto key = static_cast<std::uint8_t>(hotkey & 0xFF);
  int showCommand = 0;
  if (FAILED(link->GetShowCmd(&showCommand))) showCommand = 0;
  int iconIndex = 0;
  const std::string iconFile = ReadField(
      [&](char* buffer, int size) { return link->GetIconLocation(buffer, size, &iconIndex); });
  const std::string fields[] = {
      ReadField([&](char* buffer, int size) {
        return link->GetPath(buffer, size, nullptr, SLGP_UNCPRIORITY);
      }),
      ReadField([&](char* buffer, int size) { return link->GetArguments(buffer, size); }),
      ReadField([&](char* buffer, int size) { return link->GetWorkingDirectory(buffer, size); }),
      ReadField([&](char* buffer, int size) { return link->GetDescription(buffer, size); }),
      iconFile,
      std::to_string(iconIndex),
      std::string(ShowCommandName(showCommand)),
      HotkeyText(hotkey, OwnKeyName(key) ? std::string() : LayoutKeyName(key)),
  };
  for (int i = 0; i < 8; ++i) SetIndexedVariable(i, array, fields[i]);
  return true;
}
