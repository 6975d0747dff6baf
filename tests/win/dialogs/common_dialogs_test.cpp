// The font, colour, open and save dialogs: what each action hands the system (through seams
// that capture the structures), and the real dialogs driven by a watcher thread.
#include <windows.h>
// commdlg.h builds on the types that windows.h declares.
#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "actions/dialogs/image_preview.h"
#include "dialog_watcher.h"
#include "encoding.h"
#include "fixture.h"
#include "inprocess.h"
#include "pictures.h"
#include "platform/seams.h"

namespace {

using namespace std::string_literals;

constexpr int kFileNameEdit = 1148, kFilterCombo = 1136;

// What the last dialog call received; `answer` false cancels without showing anything, true
// shows the real dialog.
struct Captured {
  int calls = 0;
  bool realDialog = false;
  // Stands in for the person: fills the structure and confirms.
  std::function<BOOL(OPENFILENAMEA*)> fileAnswer;
  std::function<BOOL(CHOOSEFONTA*)> fontAnswer;
  OPENFILENAMEA file{};
  std::string filter, initialName, folder, title, extension;
  CHOOSECOLORA color{};
  std::array<COLORREF, 16> custom{};
  CHOOSEFONTA font{};
  LOGFONTA logFont{};
} captured;

std::string Copy(const char* text) { return text ? text : "<null>"; }

void CaptureFile(const OPENFILENAMEA* dialog) {
  ++captured.calls;
  captured.file = *dialog;
  captured.filter.clear();
  if (const char* f = dialog->lpstrFilter) {
    while (*f) {
      captured.filter += f;
      captured.filter += '|';
      f += strlen(f) + 1;
    }
  }
  captured.initialName = Copy(dialog->lpstrFile);
  captured.folder = Copy(dialog->lpstrInitialDir);
  captured.title = Copy(dialog->lpstrTitle);
  captured.extension = Copy(dialog->lpstrDefExt);
}
BOOL WINAPI CaptureOpen(LPOPENFILENAMEA dialog) {
  CaptureFile(dialog);
  if (captured.fileAnswer) return captured.fileAnswer(dialog);
  return captured.realDialog ? GetOpenFileNameA(dialog) : FALSE;
}
BOOL WINAPI CaptureSave(LPOPENFILENAMEA dialog) {
  CaptureFile(dialog);
  return captured.realDialog ? GetSaveFileNameA(dialog) : FALSE;
}
BOOL WINAPI CaptureColor(LPCHOOSECOLORA dialog) {
  ++captured.calls;
  captured.color = *dialog;
  std::copy_n(dialog->lpCustColors, 16, captured.custom.begin());
  return captured.realDialog ? ChooseColorA(dialog) : FALSE;
}
BOOL WINAPI CaptureFont(LPCHOOSEFONTA dialog) {
  ++captured.calls;
  captured.font = *dialog;
  captured.logFont = *dialog->lpLogFont;
  if (captured.fontAnswer) return captured.fontAnswer(dialog);
  return captured.realDialog ? ChooseFontA(dialog) : FALSE;
}

class Dialogs : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved = Seams();
  void SetUp() override {
    captured = Captured{};
    Seams().getOpenFileName = &CaptureOpen;
    Seams().getSaveFileName = &CaptureSave;
    Seams().chooseColor = &CaptureColor;
    Seams().chooseFont = &CaptureFont;
  }
  void TearDown() override { Seams() = saved; }
  std::string Var(const std::string& name) const { return host.Var(name).value_or("<unset>"); }
  bool FileDialog(const std::string& action, const std::string& folder, const std::string& options,
                  const std::string& filter = "All|*.*", const std::string& index = "1",
                  const std::string& variable = "[Result]") {
    return host.Exec(action, {"", "", filter, index, folder, "", options, variable});
  }
};

constexpr DWORD kHook = OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;

TEST_F(Dialogs, FileDialogFlagWordsAndBuffers) {
  const std::string every =
      "ofOverwritePrompt,ofNoChangeDir,ofNoValidate,ofAllowMultiSelect,ofPathMustExist,"
      "ofFileMustExist,ofCreatePrompt,ofShareAware,ofNoReadOnlyReturn,ofNoTestFileCreate,"
      "ofNoNetworkButton,ofNoLongNames,ofNoDereferenceLinks,ofEnableSizing,ofDontAddToRecent,"
      "ofForceShowHidden,ofExNoPlacesBar";
  const DWORD both = OFN_NOCHANGEDIR | OFN_NOVALIDATE | OFN_SHAREAWARE | OFN_NOREADONLYRETURN |
                     OFN_NOTESTFILECREATE | OFN_NONETWORKBUTTON | OFN_NOLONGNAMES |
                     OFN_NODEREFERENCELINKS | OFN_ENABLESIZING | OFN_DONTADDTORECENT |
                     OFN_FORCESHOWHIDDEN;
  const DWORD openOnly =
      OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT;
  const DWORD base = OFN_HIDEREADONLY | OFN_EXPLORER;
  const struct {
    const char* action;
    std::string options;
    DWORD flags, flagsEx, maxFile;
  } rows[] = {
      {"kxOpenFileDialog", "", base, 0, MAX_PATH},
      {"kxOpenFileDialog", every, base | both | openOnly, OFN_EX_NOPLACESBAR, 65519},
      {"kxSaveFileDialog", every, base | both | OFN_OVERWRITEPROMPT, OFN_EX_NOPLACESBAR, MAX_PATH},
      {"kxSaveFileDialog", "ofAllowMultiSelect", base, 0, MAX_PATH},
      {"kxOpenFileDialog", "ofOldStyleDialog", OFN_HIDEREADONLY, 0, MAX_PATH},
      {"kxSaveFileDialog", "ofOldStyleDialog,ofOverwritePrompt",
       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, 0, MAX_PATH},
      {"kxOpenImageDialog", "ofAllowMultiSelect", base | OFN_ALLOWMULTISELECT | kHook, 0, 65519},
      {"kxSaveImageDialog", "ofOverwritePrompt", base | OFN_OVERWRITEPROMPT | kHook, 0, MAX_PATH},
      {"kxOpenImageDialog", "ofOldStyleDialog", OFN_HIDEREADONLY, 0, MAX_PATH},
  };
  for (const auto& row : rows) {
    const std::string label = std::string(row.action) + " " + row.options;
    host.SetVar("Result", "before");
    EXPECT_TRUE(FileDialog(row.action, "", row.options)) << label;
    EXPECT_EQ(captured.file.Flags, row.flags) << label;
    EXPECT_EQ(captured.file.FlagsEx, row.flagsEx) << label;
    EXPECT_EQ(captured.file.nMaxFile, row.maxFile) << label;
    EXPECT_EQ(captured.file.lStructSize, sizeof(OPENFILENAMEA)) << label;
    EXPECT_EQ(Var("Result"), "False") << label;
  }
  EXPECT_EQ(captured.calls, static_cast<int>(std::size(rows)));
  EXPECT_EQ(host.Var("LastError"), std::nullopt);
}

TEST_F(Dialogs, FileDialogFieldsAsPassedAndLenientIndex) {
  const struct {
    const char* index;
    DWORD expected;
  } rows[] = {{"2", 2}, {"x", 1}, {"", 1}, {"$10", 16}};
  for (const auto& row : rows) {
    ASSERT_TRUE(
        host.Exec("kxOpenFileDialog", {"start.txt", "txt", "Images|*.bmp;*.jpg|All|*.*", row.index,
                                       "C:\\Some Folder", "Pick one", "", "[Result]"}));
    EXPECT_EQ(captured.file.nFilterIndex, row.expected) << row.index;
  }
  EXPECT_EQ(captured.filter, "Images|*.bmp;*.jpg|All|*.*|");
  EXPECT_EQ(captured.initialName, "start.txt");
  EXPECT_EQ(captured.extension, "txt");
  EXPECT_EQ(captured.folder, "C:\\Some Folder");
  EXPECT_EQ(captured.title, "Pick one");
  // Empty texts clear the fields: the system's own title, no filter, no folder.
  ASSERT_TRUE(host.Exec("kxSaveFileDialog", {"", "", "", "", "", "", "", "[Result]"}));
  EXPECT_EQ(captured.file.lpstrFilter, nullptr);
  EXPECT_EQ(captured.title, "<null>");
  EXPECT_EQ(captured.folder, "<null>");
  EXPECT_EQ(captured.extension, "<null>");
  EXPECT_EQ(captured.initialName, "");
  // An initial name longer than the buffer is cut, never written past it.
  ASSERT_TRUE(host.Exec("kxOpenFileDialog", {std::string(400, 'n'), "", "", "", "", "", "", ""}));
  EXPECT_EQ(captured.initialName, std::string(MAX_PATH - 1, 'n'));
}

TEST_F(Dialogs, ActiveWindowOwnsEveryDialogButThePictureSaveDialog) {
  HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SetActiveWindow(window);
  ASSERT_EQ(GetActiveWindow(), window);
  for (const char* action : {"kxOpenFileDialog", "kxSaveFileDialog", "kxOpenImageDialog"}) {
    FileDialog(action, "", "");
    EXPECT_EQ(captured.file.hwndOwner, window) << action;
  }
  FileDialog("kxSaveImageDialog", "", "");
  EXPECT_EQ(captured.file.hwndOwner, nullptr);
  host.Exec("kxColorDialog", {"", "", "", "[Result]"});
  EXPECT_EQ(captured.color.hwndOwner, window);
  host.Exec("kxFontDialog", {"", "[Result]"});
  EXPECT_EQ(captured.font.hwndOwner, window);
  DestroyWindow(window);
}

TEST_F(Dialogs, ColorDialogInitialColourOptionsAndSlots) {
  const struct {
    const char* initial;
    COLORREF expected;
  } rows[] = {
      {"255,0,0", 0x0000FF}, {"0,128,255", 0xFF8000}, {"red", 0}, {"", 0}, {"  ", 0}, {"1,2", 0},
      {"a,2,3", 0x030200}};
  for (const auto& row : rows) {
    ASSERT_TRUE(host.Exec("kxColorDialog", {row.initial, "", "", "[Result]"})) << row.initial;
    EXPECT_EQ(captured.color.rgbResult, row.expected) << row.initial;
    EXPECT_EQ(captured.color.Flags, static_cast<DWORD>(CC_RGBINIT)) << row.initial;
    EXPECT_EQ(Var("Result"), "False") << row.initial;
  }
  host.Exec("kxColorDialog", {"", "cdFullOpen cdAnyColor cdSolidColor cdPreventFullOpen", "", ""});
  EXPECT_EQ(captured.color.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR |
                                                     CC_SOLIDCOLOR | CC_PREVENTFULLOPEN));
  host.SetVar("Cust1", "0000FF");
  host.SetVar("Cust2", "255,0,0");  // not hexadecimal: the slot starts empty
  host.SetVar("Cust15", " abcdef ");
  host.ClearLogs();
  host.Exec("kxColorDialog", {"", "", "Cust", "[Result]"});
  EXPECT_EQ(host.getCalls.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    const COLORREF expected = i == 1 ? 0x0000FF : i == 15 ? 0xABCDEF : 0xFFFFFFFF;
    EXPECT_EQ(captured.custom[static_cast<size_t>(i)], expected) << i;
  }
  // Cancel leaves the custom colours alone.
  EXPECT_EQ(Var("Cust0"), "<unset>");
  EXPECT_EQ(Var("Cust1"), "0000FF");
}

TEST_F(Dialogs, FontDialogStartsFromTheFontText) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(host.Exec("kxFontDialog", {"Arial|12|255,0,0|Bold+Italic", "[F]"}));
  EXPECT_EQ(captured.font.Flags,
            static_cast<DWORD>(CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT));
  EXPECT_EQ(captured.font.rgbColors, 0x0000FFu);
  EXPECT_STREQ(captured.logFont.lfFaceName, "Arial");
  EXPECT_EQ(captured.logFont.lfHeight, -MulDiv(12, dpi, 72));
  EXPECT_EQ(captured.logFont.lfWeight, FW_BOLD);
  EXPECT_TRUE(captured.logFont.lfItalic);
  EXPECT_FALSE(captured.logFont.lfUnderline);
  EXPECT_EQ(Var("F"), "False");
  EXPECT_EQ(Var("F0"), "<unset>");
  // Fewer than three pieces: the default font of the forms.
  host.Exec("kxFontDialog", {"Arial|12", "[F]"});
  EXPECT_STREQ(captured.logFont.lfFaceName, "Tahoma");
  EXPECT_EQ(captured.logFont.lfWeight, FW_NORMAL);
}

TEST_F(Dialogs, ConfirmedFileDialogResults) {
  const struct {
    const char* options;
    std::string returned;
    std::vector<std::string> indexed;
    const char* plain;
  } rows[] = {
      {"ofAllowMultiSelect",
       "C:\\Data\0a.txt\0b.txt\0c.txt\0\0"s,
       {"C:\\Data\\a.txt", "C:\\Data\\b.txt", "C:\\Data\\c.txt"},
       "<unset>"},
      {"ofAllowMultiSelect,ofOldStyleDialog",
       "C:\\DATA A.TXT B.TXT\0"s,
       {"C:\\DATA\\A.TXT", "C:\\DATA\\B.TXT"},
       "<unset>"},
      {"ofAllowMultiSelect", "C:\\Data\\only.txt\0\0"s, {"C:\\Data\\only.txt"}, "<unset>"},
      {"", "C:\\My Data\\a b.txt\0"s, {}, "C:\\My Data\\a b.txt"},
  };
  for (const auto& row : rows) {
    host.ClearVariables("");
    captured.fileAnswer = [&](OPENFILENAMEA* dialog) {
      row.returned.copy(dialog->lpstrFile, dialog->nMaxFile);
      return TRUE;
    };
    ASSERT_TRUE(FileDialog("kxOpenFileDialog", "", row.options, "All|*.*", "1", "Files"));
    for (size_t i = 0; i < row.indexed.size(); ++i)
      EXPECT_EQ(Var("Files" + std::to_string(i)), row.indexed[i]) << row.options << " " << i;
    EXPECT_EQ(Var("Files" + std::to_string(row.indexed.size())), "<unset>") << row.options;
    EXPECT_EQ(Var("Files"), row.plain) << row.options;
  }
  // The property form's Test button passes no result name: nothing is written.
  host.ClearLogs();
  for (const char* options : {"", "ofAllowMultiSelect"})
    FileDialog("kxOpenFileDialog", "", options, "", "", "");
  EXPECT_TRUE(host.setCalls.empty());
}

TEST_F(Dialogs, ConfirmedFontDialogResults) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  captured.fontAnswer = [&](CHOOSEFONTA* dialog) {
    lstrcpyA(dialog->lpLogFont->lfFaceName, "Courier New");
    dialog->lpLogFont->lfHeight = -MulDiv(9, dpi, 72);
    dialog->lpLogFont->lfWeight = FW_NORMAL;
    dialog->lpLogFont->lfItalic = FALSE;
    dialog->lpLogFont->lfUnderline = TRUE;
    dialog->lpLogFont->lfStrikeOut = TRUE;
    dialog->lpLogFont->lfCharSet = RUSSIAN_CHARSET;
    dialog->rgbColors = RGB(0, 128, 255);
    return TRUE;
  };
  ASSERT_TRUE(host.Exec("kxFontDialog", {"Arial|12|255,0,0|Bold", "F"}));
  EXPECT_EQ(Var("F0"), "0,128,255");
  EXPECT_EQ(Var("F1"), "Courier New");
  EXPECT_EQ(Var("F2"), "9");
  EXPECT_EQ(Var("F3"), "Underline+Strikeout");
  EXPECT_EQ(Var("F4"), "RUSSIAN_CHARSET");
  EXPECT_EQ(Var("F5"), "<unset>");
  EXPECT_EQ(Var("F"), "<unset>");
}

// ---- The real dialogs, driven by a watcher thread.

class RealDialogs : public Dialogs {
 protected:
  void SetUp() override {
    Dialogs::SetUp();
    captured.realDialog = true;
  }
};

void TypeAndConfirm(HWND dialog, const std::string& fileName) {
  HWND edit = GetDlgItem(dialog, kFileNameEdit);
  SendMessageA(edit ? edit : FindControl(dialog, kFileNameEdit), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(fileName.c_str()));
  PressButton(dialog, IDOK);
}

TEST_F(RealDialogs, OpenMultiSelectWritesIndexesOnly) {
  ScratchDir dir;
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) dir.Write(name, "x");
  DialogWatcher watcher(
      [](HWND dialog) { TypeAndConfirm(dialog, "\"a.txt\" \"b.txt\" \"c.txt\""); });
  // Indexes follow the name as passed, so arrays are named without brackets.
  ASSERT_TRUE(FileDialog("kxOpenFileDialog", dir.path(), "ofAllowMultiSelect", "Text|*.txt", "1",
                         "Result"));
  watcher.Join();
  ASSERT_TRUE(watcher.found());
  EXPECT_EQ(Var("Result0"), dir.File("a.txt"));
  EXPECT_EQ(Var("Result1"), dir.File("b.txt"));
  EXPECT_EQ(Var("Result2"), dir.File("c.txt"));
  EXPECT_EQ(Var("Result3"), "<unset>");
  EXPECT_EQ(Var("Result"), "<unset>");
}

TEST_F(RealDialogs, SingleFileGoesToThePlainVariable) {
  ScratchDir dir;
  for (const char* name : {"a.txt", "b.txt"}) dir.Write(name, "x");
  const struct {
    const char* action;
    const char* options;
    const char* typed;
  } rows[] = {{"kxOpenFileDialog", "", "b.txt"},
              {"kxOpenFileDialog", "ofAllowMultiSelect", "b.txt"},
              {"kxSaveFileDialog", "ofAllowMultiSelect", "new.txt"},
              {"kxOpenImageDialog", "", "a.txt"},
              {"kxSaveImageDialog", "", "new.txt"}};
  for (const auto& row : rows) {
    const std::string label = std::string(row.action) + " " + row.options;
    host.ClearVariables("");
    const std::string typed = row.typed;
    DialogWatcher watcher([&](HWND dialog) { TypeAndConfirm(dialog, typed); });
    ASSERT_TRUE(FileDialog(row.action, dir.path(), row.options, "All|*.*", "1", "Result")) << label;
    watcher.Join();
    ASSERT_TRUE(watcher.found()) << label;
    const bool indexed =
        std::string(row.options) == "ofAllowMultiSelect" && row.action == "kxOpenFileDialog"s;
    EXPECT_EQ(Var(indexed ? "Result0" : "Result"), dir.File(row.typed)) << label;
    EXPECT_EQ(Var(indexed ? "Result" : "Result0"), "<unset>") << label;
  }
}

TEST_F(RealDialogs, FilterIndexPicksThePairAndCancelWritesFalse) {
  ScratchDir dir;
  const struct {
    const char* index;
    LRESULT selected;
  } rows[] = {{"2", 1}, {"x", 0}};
  for (const auto& row : rows) {
    LRESULT selected = -2;
    DialogWatcher watcher([&](HWND dialog) {
      selected = SendMessageA(GetDlgItem(dialog, kFilterCombo), CB_GETCURSEL, 0, 0);
      PressButton(dialog, IDCANCEL);
    });
    host.SetVar("Result", "before");
    ASSERT_TRUE(
        FileDialog("kxOpenFileDialog", dir.path(), "", "Images|*.bmp;*.jpg|All|*.*", row.index));
    watcher.Join();
    ASSERT_TRUE(watcher.found()) << row.index;
    EXPECT_EQ(selected, row.selected) << row.index;
    EXPECT_EQ(Var("Result"), "False") << row.index;
  }
}

TEST_F(RealDialogs, ColorDialogConfirmsTheInitialColour) {
  const struct {
    const char* initial;
    const char* result;
  } rows[] = {{"255,0,0", "255,0,0"}, {"red", "0,0,0"}, {"", "0,0,0"}};
  for (const auto& row : rows) {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDOK); });
    ASSERT_TRUE(host.Exec("kxColorDialog", {row.initial, "", "", "[Result]"})) << row.initial;
    watcher.Join();
    ASSERT_TRUE(watcher.found()) << row.initial;
    EXPECT_EQ(Var("Result"), row.result) << row.initial;
  }
}

TEST_F(RealDialogs, ColorDialogCustomColoursOnOkOnly) {
  host.SetVar("Cust1", "0000FF");
  {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    ASSERT_TRUE(host.Exec("kxColorDialog", {"", "", "Cust", "[Result]"}));
  }
  EXPECT_EQ(Var("Result"), "False");
  EXPECT_EQ(Var("Cust0"), "<unset>");
  // An empty result name, as the property form's Test button sends: only the custom colours.
  host.ClearLogs();
  {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDOK); });
    ASSERT_TRUE(host.Exec("kxColorDialog", {"0,255,0", "", "Cust", ""}));
  }
  ASSERT_EQ(host.setCalls.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(host.setCalls[static_cast<size_t>(i)].name, "Cust" + std::to_string(i));
    EXPECT_EQ(host.setCalls[static_cast<size_t>(i)].value, i == 1 ? "0000FF" : "FFFFFFFF") << i;
  }
}

bool FontInstalled(const char* face) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(
      screen, &wanted,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data) -> int {
        *reinterpret_cast<bool*>(data) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// Wine without Microsoft's fonts has no Arial; its metric twin stands in, since the dialog
// drops size and style when the face is not in its list.
TEST_F(RealDialogs, FontDialogWritesFiveIndexes) {
  const std::string face = FontInstalled("Arial") ? "Arial" : "Liberation Sans";
  ASSERT_TRUE(FontInstalled(face.c_str())) << face;
  {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDOK); });
    ASSERT_TRUE(host.Exec("kxFontDialog", {face + "|12|255,0,0|Bold+Italic", "F"}));
    ASSERT_TRUE(watcher.found());
  }
  EXPECT_EQ(Var("F0"), "255,0,0");
  EXPECT_EQ(Var("F1"), face);
  EXPECT_EQ(Var("F2"), "12");
  EXPECT_EQ(Var("F3"), "Bold+Italic");
  EXPECT_NE(Var("F4").find("_CHARSET"), std::string::npos) << Var("F4");
  EXPECT_EQ(Var("F"), "<unset>");
  {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    ASSERT_TRUE(host.Exec("kxFontDialog", {face + "|12|255,0,0|Bold+Italic", "G"}));
  }
  EXPECT_EQ(Var("G"), "False");
  EXPECT_EQ(Var("G0"), "<unset>");
  // The Test button of the property form: the dialog shows, nothing is written.
  host.ClearLogs();
  {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDOK); });
    ASSERT_TRUE(host.Exec("kxFontDialog", {face + "|12|0,0,0", ""}));
    ASSERT_TRUE(watcher.found());
  }
  EXPECT_TRUE(host.setCalls.empty());
}

// The unreadable colour (-1) went into the dialog as white; the form's font button takes black.
TEST_F(RealDialogs, FontDialogWithAnUnreadableColourStartsAtBlack) {
  const std::string face = FontInstalled("Arial") ? "Arial" : "Liberation Sans";
  for (const std::string colour : {"red", "1,2"}) {
    DialogWatcher watcher([](HWND dialog) { PressButton(dialog, IDOK); });
    ASSERT_TRUE(host.Exec("kxFontDialog", {face + "|12|" + colour, "F"})) << colour;
    ASSERT_TRUE(watcher.found()) << colour;
    EXPECT_EQ(captured.font.rgbColors, 0u) << colour;
    EXPECT_EQ(Var("F0"), "0,0,0") << colour;
  }
}

// The panel reads what the system's codecs read, whatever the extension says, and stays
// empty for everything else.
TEST(PreviewDecoding, SizesOfPicturesAndNothingForTheRest) {
  ScratchDir dir;
  ASSERT_TRUE(EncodePicture(dir.File("photo.jpg"), GUID_ContainerFormatJpeg, 64, 48));
  const struct {
    std::string name;
    std::optional<std::pair<int, int>> size;
  } rows[] = {
      {dir.Write("pic.png", kPng), std::make_pair(40, 30)},
      {dir.File("photo.jpg"), std::make_pair(64, 48)},
      {dir.Write("anim.gif", kGif), std::make_pair(33, 17)},
      {dir.Write("small.bmp", BlankBitmap(7, 5)), std::make_pair(7, 5)},
      {dir.Write("icon.ico", PngIcon(kPng, 40, 30)), std::make_pair(40, 30)},
      {dir.Write("png named.txt", kPng), std::make_pair(40, 30)},
      // Wider than the decoder's limit: scaled while decoding, still reported at its own size.
      {dir.Write("wide.bmp", BlankBitmap(5000, 40)), std::make_pair(5000, 40)},
      {dir.Write("notes.txt", "not a picture"), std::nullopt},
      {dir.Write("cut.png", kPng.substr(0, 40)), std::nullopt},
      {dir.Write("empty.bmp", ""), std::nullopt},
      {dir.path(), std::nullopt},
      {dir.File("missing.png"), std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(DecodePreviewPicture(row.name), row.size) << row.name;
}

// Selects the list's item whose text is `name` as a person's click would.
bool SelectInList(HWND dialog, const char* name) {
  HWND list = FindChildByClass(dialog, "SysListView32");
  if (!list) return false;
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name;
  const LRESULT item =
      SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
  if (item < 0) return false;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
  return true;
}

TEST_F(RealDialogs, PicturePreviewShowsTheSelectedPicturesSize) {
  ScratchDir dir;
  dir.Write("pic.png", kPng);
  dir.Write("notes.txt", "not a picture");
  dir.Write("big.bmp", BlankBitmap(1600, 1300));
  std::string before, picture, bigPicture, other, previewTitle;
  bool selected = false, previewClosed = false, dialogDisabled = false, buttonAfterText = true;
  RECT previewRect{};
  DialogWatcher watcher([&](HWND dialog) {
    HWND label = FindControl(dialog, kPreviewLabelId);
    HWND button = FindControl(dialog, kPreviewButtonId);
    before = WindowText(label);
    selected = WaitFor([&] { return SelectInList(dialog, "pic.png"); }, 5);
    WaitFor([&] { return WindowText(label) != before; }, 5);
    picture = WindowText(label);
    // A picture larger than the screen: the window keeps to three quarters of it, centred.
    SelectInList(dialog, "big.bmp");
    WaitFor([&] { return WindowText(label) != picture; }, 5);
    bigPicture = WindowText(label);
    if (button && IsWindowEnabled(button)) {
      PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(kPreviewButtonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
      HWND preview = nullptr;
      WaitFor([&] { return (preview = FindWindowA("zaDodePicturePreview", nullptr)) != nullptr; },
              5);
      if (preview) {
        GetWindowRect(preview, &previewRect);
        previewTitle = WindowText(preview);
        dialogDisabled = !IsWindowEnabled(dialog);
        PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
        previewClosed = WaitFor([&] { return !IsWindow(preview); }, 5);
      }
    }
    // A file the codecs cannot read takes the picture away again.
    SelectInList(dialog, "notes.txt");
    WaitFor([&] { return WindowText(label) == before; }, 5);
    other = WindowText(label);
    buttonAfterText = IsWindowEnabled(button);
    TypeAndConfirm(dialog, "pic.png");
  });
  ASSERT_TRUE(FileDialog("kxOpenImageDialog", dir.path(), "", "All|*.*"));
  watcher.Join();
  ASSERT_TRUE(watcher.found());
  EXPECT_EQ(before, "Picture:");
  ASSERT_TRUE(selected) << "no list view to select in";
  EXPECT_EQ(picture, " (40x30)");
  EXPECT_EQ(bigPicture, " (1600x1300)");
  EXPECT_TRUE(previewClosed);
  EXPECT_TRUE(dialogDisabled);
  EXPECT_EQ(previewTitle, dir.File("big.bmp"));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN),
            screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(previewRect.right - previewRect.left, screenWidth * 3 / 4);
  EXPECT_LE(previewRect.bottom - previewRect.top, screenHeight * 3 / 4);
  EXPECT_NEAR(previewRect.left + previewRect.right, screenWidth, 2);
  EXPECT_NEAR(previewRect.top + previewRect.bottom, screenHeight, 2);
  EXPECT_EQ(other, "Picture:");
  EXPECT_FALSE(buttonAfterText);
  EXPECT_EQ(Var("Result"), dir.File("pic.png"));
}

}  // namespace
