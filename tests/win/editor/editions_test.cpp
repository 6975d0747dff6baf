// The edition a system gets, walked whole: every text the plug-in hands the host, writes into
// LastError, or shows in a property form or the about box must survive the system's ANSI code
// page. Where the code page has no such character the conversion writes "?" (or, best fit, a
// look-alike): a Cyrillic letter of the Russian edition on a US system, a copyright sign on a
// Japanese one. Runs in every locale: each must get an edition it can show.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/form_catalogue.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/buffers.h"
#include "platform/resources.h"
#include "resources/resource.h"
#include "watcher.h"

namespace {

struct Walk {
  int texts = 0;
  std::vector<std::string> faults;
  std::string form;  // the window being walked

  void Check(const std::string& where, const std::wstring& text) {
    ++texts;
    if (text.empty()) return;
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        nullptr, 0, nullptr, &lost);
    if (lost) faults.push_back(where + ": " + WideToAnsi(text));
  }
  // A text the host got in the ANSI code page: the edition's text `id`, whole.
  void CheckReceived(const std::string& where, const std::string& received, UINT id) {
    const std::wstring own = LoadResWide(id);
    Check(where, own);
    if (own.empty() || AnsiToWide(received) != own)
      faults.push_back(where + ": the host got \"" + received + "\"");
  }
  // The window's text, then every control's and every item of a list or combo box.
  void CheckWindow(const std::string& where, HWND window) {
    form = where;
    Check(where + " caption", TextOf(window));
    EnumChildWindows(window, &CheckControl, reinterpret_cast<LPARAM>(this));
  }
  static BOOL CALLBACK CheckControl(HWND control, LPARAM self) {
    Walk& walk = *reinterpret_cast<Walk*>(self);
    const std::string where = walk.form + " control " + std::to_string(GetDlgCtrlID(control));
    walk.Check(where, TextOf(control));
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    const bool list = lstrcmpiW(cls, L"ListBox") == 0;
    if (!list && lstrcmpiW(cls, L"ComboBox") != 0) return TRUE;
    const int count =
        static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0);
      std::wstring item(static_cast<size_t>(length) + 1, L'\0');
      SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i,
                   reinterpret_cast<LPARAM>(item.data()));
      item.resize(static_cast<size_t>(length));
      walk.Check(where + " item " + std::to_string(i), item);
    }
    return TRUE;
  }
};

std::string Faults(const Walk& walk) {
  std::string all;
  for (const auto& fault : walk.faults) all += fault + "\n";
  return all;
}

TEST(EditionWalk, EveryTextSurvivesTheCodePage) {
  NbHost host{InProcessExports()};
  Walk walk;
  // The catalogue as registered, and the plug-in's own texts.
  walk.CheckReceived("title", host.title, IDS_PLUGIN_TITLE);
  walk.CheckReceived("plug-in hint", host.hint, IDS_PLUGIN_HINT);
  int category = 0;
  for (const auto& row : host.Catalogue()) {
    if (row.id == 0) {
      walk.CheckReceived("category " + std::to_string(category), row.name,
                         IDS_CATEGORY_BASE + category);
      ++category;
    } else {
      walk.CheckReceived(row.name + " hint", row.hint, IDS_ACTION_HINT_BASE + row.id);
    }
  }
  const int catalogueTexts = walk.texts;

  // Every entry of the string table: the LastError texts, the messages, the forms' texts.
  for (UINT id = 0; id <= 0xFFFF; ++id) {
    const std::wstring text = LoadResWide(id);
    if (text.empty()) continue;
    walk.Check("string " + std::to_string(id), text);
    if (AnsiToWide(LoadResString(id)) != text)
      walk.faults.push_back("string " + std::to_string(id) + " as ANSI: " + LoadResString(id));
  }
  const int tableTexts = walk.texts - catalogueTexts;

  // Every property form as nbEditAction shows it, every control it holds.
  std::array<int, 96> ids{};
  const int forms = FormIds(ids);
  for (int i = 0; i < forms; ++i) {
    Slots slots({});
    FormWatcher watcher(
        [&](HWND form) { walk.CheckWindow("form " + std::to_string(ids[i]), form); });
    host.Edit(ids[i], slots.get());
    EXPECT_TRUE(watcher.SawForm()) << "form " << ids[i];
  }
  const int formTexts = walk.texts - catalogueTexts - tableTexts;

  FormWatcher watcher([&](HWND box) { walk.CheckWindow("about box", box); });
  nbAbout();
  EXPECT_TRUE(watcher.SawForm());
  const int aboutTexts = walk.texts - catalogueTexts - tableTexts - formTexts;

  std::printf(
      "code page %u: %d catalogue texts, %d string-table entries, %d texts in %d forms, "
      "%d in the about box\n",
      GetACP(), catalogueTexts, tableTexts, formTexts, forms, aboutTexts);
  EXPECT_EQ(catalogueTexts, 2 + 107);
  EXPECT_GT(tableTexts, 250);
  EXPECT_EQ(forms, 89);
  EXPECT_GT(aboutTexts, 10);
  EXPECT_TRUE(walk.faults.empty()) << Faults(walk);
}

}  // namespace
