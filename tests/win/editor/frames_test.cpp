// The frames' buttons against a scripted host and stand-in dialogs: variables, action
// editor, colour, font, files, folder and the option list.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "actions/system/power.h"
#include "core/fonts.h"
#include "editor/form_catalogue.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/seams.h"
#include "resources/resource.h"
#include "watcher.h"

namespace {

enum Frame { kEditor, kColor, kFont, kList, kOpen, kSave, kFolder, kPlain, kFrames };

// One form with every frame kind, slot i on frame i.
FormSpec AllFrames() {
  FormSpec design;
  design.id = 1;
  const FrameKind kinds[kFrames] = {FrameKind::Editor, FrameKind::Color, FrameKind::Font,
                                    FrameKind::List,   FrameKind::Alpha, FrameKind::Alpha,
                                    FrameKind::Alpha,  FrameKind::Alpha};
  int height = 8;
  for (int i = 0; i < kFrames; ++i) {
    FrameSpec& frame = design.frames[i];
    frame.kind = kinds[i];
    frame.slot = static_cast<std::int8_t>(i);
    frame.caption = IDS_CAPTION_BASE + 3;
    height += frame.kind == FrameKind::List ? 193 : 62;
  }
  design.frames[kList].items = &SessionEndOptions;
  design.frames[kOpen].files = FilesButton::Open;
  design.frames[kSave].files = FilesButton::Save;
  design.frames[kFolder].files = FilesButton::Folder;
  design.frameCount = kFrames;
  design.height = height + 160;
  return design;
}

int Button(Frame frame, FramePart part) { return FrameControlId(frame, part); }

class FramesTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved = Seams();
  ~FramesTest() override { Seams() = saved; }

  // Opens the all-frames form on `texts`, runs `script`, presses OK; the slots afterwards.
  std::vector<std::string> Run(const std::vector<const char*>& texts,
                               std::function<void(HWND)> script,
                               const FormSpec& design = AllFrames()) {
    Slots slots(texts);
    FormWatcher watcher([&](HWND form) {
      script(form);
      Click(form, IDB_OK);
    });
    const bool ok = RunForm(design, slots.get().data());
    EXPECT_TRUE(watcher.SawForm());
    EXPECT_TRUE(ok);
    std::vector<std::string> out;
    for (int i = 0; i < kFrames; ++i) out.push_back(slots.Text(i));
    return out;
  }
};

TEST_F(FramesTest, VariablesButtonTakesTheHostsAnswerOrKeepsTheText) {
  host.pickerAnswers = {std::string("[Picked]"), std::string(""), std::nullopt};
  const auto slots = Run({"", "", "", "", "", "", "", "old"}, [](HWND form) {
    Click(form, Button(kEditor, IDB_FRAME_VARIABLES));
    Click(form, Button(kPlain, IDB_FRAME_VARIABLES));
    Click(form, Button(kColor, IDB_FRAME_VARIABLES));
  });
  EXPECT_EQ(slots[kEditor], "[Picked]");
  EXPECT_EQ(slots[kPlain], "old");
  EXPECT_EQ(slots[kColor], "");
  ASSERT_EQ(host.pickerTexts.size(), 3u);
  EXPECT_EQ(host.pickerTexts[1], "old");
  for (const int request : host.requests) EXPECT_NE(request, 2);
}

TEST_F(FramesTest, VariablesButtonOnAVersion4HostShowsTheVersionMessage) {
  host.versionText = "4.0";
  host.pickerAnswers = {std::string("[Picked]")};
  const auto slots = Run({"", "", "", "", "", "", "", "old"},
                         [](HWND form) { Click(form, Button(kPlain, IDB_FRAME_VARIABLES)); });
  EXPECT_EQ(slots[kPlain], "old");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Sorry, this feature need NeoBook version 5 or later");
  EXPECT_TRUE(host.pickerTexts.empty());
}

TEST_F(FramesTest, ActionEditorRoundTripsLineBreaks) {
  host.pickerAnswers = {std::string("x\r\ny")};
  const auto slots =
      Run({"a[#13][#10]b"}, [](HWND form) { Click(form, Button(kEditor, IDB_FRAME_OBJECTS)); });
  ASSERT_EQ(host.pickerTexts.size(), 1u);
  EXPECT_EQ(host.pickerTexts[0], "a\r\nb");
  EXPECT_EQ(slots[kEditor], "x[#13][#10]y");
}

TEST_F(FramesTest, ActionEditorWithAnEmptyAnswerKeepsTheRealLineBreaks) {
  host.pickerAnswers = {std::string("")};
  const auto slots =
      Run({"a[#13][#10]b"}, [](HWND form) { Click(form, Button(kEditor, IDB_FRAME_OBJECTS)); });
  EXPECT_EQ(slots[kEditor], "a\r\nb");
}

TEST_F(FramesTest, ColourAnswersAreWrittenAsRedGreenBlue) {
  const struct {
    const char* answer;
    const char* written;
  } rows[] = {{"clRed", "255,0,0"},
              {"255", "255,0,0"},
              {"$FF0000", "0,0,255"},
              {"", "1,2,3"},
              {"no colour", "1,2,3"}};
  for (const auto& row : rows) {
    host.pickerAnswers = {std::string(row.answer)};
    host.requests.clear();
    const auto slots =
        Run({"", "1,2,3"}, [](HWND form) { Click(form, Button(kColor, IDB_FRAME_COLOR)); });
    EXPECT_EQ(slots[kColor], row.written) << row.answer;
    EXPECT_EQ(host.requests.back(), 10) << row.answer;
  }
}

LOGFONTA g_initialFont;
BOOL WINAPI PickArialBold(LPCHOOSEFONTA dialog) {
  g_initialFont = *dialog->lpLogFont;
  lstrcpyA(dialog->lpLogFont->lfFaceName, "Arial");
  dialog->lpLogFont->lfHeight = -MulDiv(12, ScreenPixelsPerInch(), 72);
  dialog->lpLogFont->lfWeight = FW_BOLD;
  dialog->lpLogFont->lfItalic = FALSE;
  dialog->iPointSize = 120;
  dialog->rgbColors = RGB(0, 0, 255);
  return TRUE;
}
BOOL WINAPI CancelFont(LPCHOOSEFONTA dialog) {
  g_initialFont = *dialog->lpLogFont;
  return FALSE;
}

TEST_F(FramesTest, FontButtonWritesTheChosenFont) {
  Seams().chooseFont = &PickArialBold;
  const auto slots = Run({"", "", "Verdana|9|0,0,0|Italic"},
                         [](HWND form) { Click(form, Button(kFont, IDB_FRAME_FONT)); });
  EXPECT_STREQ(g_initialFont.lfFaceName, "Verdana");
  EXPECT_TRUE(g_initialFont.lfItalic);
  EXPECT_EQ(slots[kFont], "Arial|12|0,0,255|Bold");

  Seams().chooseFont = &CancelFont;
  const auto kept =
      Run({"", "", "  "}, [](HWND form) { Click(form, Button(kFont, IDB_FRAME_FONT)); });
  EXPECT_STREQ(g_initialFont.lfFaceName, "Tahoma");
  EXPECT_EQ(kept[kFont], "  ");
}

// What the stand-in font dialog answers: a character height and the size in tenths of a point.
LONG g_chosenHeight;
INT g_chosenTenths;
BOOL WINAPI PickSize(LPCHOOSEFONTA dialog) {
  dialog->lpLogFont->lfHeight = g_chosenHeight;
  dialog->iPointSize = g_chosenTenths;
  return TRUE;
}

// A form's Font button and kxFontDialog give one size for one choice: the dialog's rounding
// of the character height it chose (a typed 10.5 is 11), its tenths rounded when it set none.
TEST_F(FramesTest, FontSizeIsTheDialogsRoundingInTheFormAndInKxFontDialog) {
  if (ScreenPixelsPerInch() != 96) GTEST_SKIP() << "the heights below are those of 96 DPI";
  const struct {
    LONG height;
    INT tenths;
    const char* size;
  } rows[] = {{-16, 120, "12"}, {-14, 105, "11"}, {-13, 97, "10"},
              {-15, 112, "11"}, {0, 95, "10"},    {20, 104, "10"}};
  Seams().chooseFont = &PickSize;
  for (const auto& row : rows) {
    g_chosenHeight = row.height;
    g_chosenTenths = row.tenths;
    ASSERT_TRUE(host.Exec("kxFontDialog", {"Arial|8|0,0,0", "F"}));
    EXPECT_EQ(host.Value("F2"), row.size) << row.height << " " << row.tenths;
    Slots slots({"Arial|8|0,0,0", "[F]"});
    FormWatcher watcher([](HWND form) {
      Click(form, FrameControlId(0, IDB_FRAME_FONT));
      Click(form, IDB_OK);
    });
    ASSERT_TRUE(host.Edit(40, slots.get()));
    EXPECT_EQ(slots.Text(0), std::string("Arial|") + row.size + "|0,0,0")
        << row.height << " " << row.tenths;
  }
}

DWORD g_fileFlags;
BOOL WINAPI PickTwoFiles(LPOPENFILENAMEA dialog) {
  g_fileFlags = dialog->Flags;
  const char answer[] = "D:\\\0b.txt\0c.txt\0";
  CopyMemory(dialog->lpstrFile, answer, sizeof answer);
  return TRUE;
}
BOOL WINAPI PickOneFile(LPOPENFILENAMEA dialog) {
  lstrcpyA(dialog->lpstrFile, "E:\\new.bmp");
  dialog->lpstrFile[lstrlenA(dialog->lpstrFile) + 1] = '\0';
  return TRUE;
}
BOOL WINAPI CancelFiles(LPOPENFILENAMEA) { return FALSE; }

TEST_F(FramesTest, FileButtonsAppendEveryChosenPath) {
  Seams().getOpenFileName = &PickTwoFiles;
  Seams().getSaveFileName = &PickOneFile;
  const auto slots = Run({"", "", "", "", "C:\\a.txt", ""}, [](HWND form) {
    Click(form, Button(kOpen, IDB_FRAME_FILES));
    Click(form, Button(kSave, IDB_FRAME_FILES));
  });
  EXPECT_TRUE(g_fileFlags & OFN_ALLOWMULTISELECT);
  EXPECT_EQ(slots[kOpen], "C:\\a.txt|D:\\b.txt|D:\\c.txt");
  EXPECT_EQ(slots[kSave], "E:\\new.bmp");

  Seams().getOpenFileName = &CancelFiles;
  const auto kept = Run({"", "", "", "", "C:\\a.txt"},
                        [](HWND form) { Click(form, Button(kOpen, IDB_FRAME_FILES)); });
  EXPECT_EQ(kept[kOpen], "C:\\a.txt");
}

const wchar_t* g_folder = nullptr;
std::wstring g_browseTitle;
PIDLIST_ABSOLUTE WINAPI PickFolder(LPBROWSEINFOW browse) {
  g_browseTitle = browse->lpszTitle ? browse->lpszTitle : L"";
  return g_folder ? ILCreateFromPathW(g_folder) : nullptr;
}

TEST_F(FramesTest, FolderButtonEndsThePathWithOneBackslash) {
  Seams().shBrowseForFolder = &PickFolder;
  const struct {
    const wchar_t* folder;
    const char* written;
  } rows[] = {{L"C:\\windows", "C:\\windows\\"}, {L"C:\\", "C:\\"}, {nullptr, "old"}};
  for (const auto& row : rows) {
    g_folder = row.folder;
    const auto slots = Run({"", "", "", "", "", "", "old"},
                           [](HWND form) { Click(form, Button(kFolder, IDB_FRAME_FILES)); });
    EXPECT_EQ(slots[kFolder], row.written);
    EXPECT_EQ(g_browseTitle, InEdition(L"Выберите папку:", L"Choose a folder:"));
  }
}

TEST_F(FramesTest, ListSelectsItemsFoundInTheSlotAndWritesTheSelection) {
  std::vector<int> selected;
  const auto slots = Run({"", "", "", "EWX_NOFORCE"}, [&](HWND form) {
    HWND list = GetDlgItem(form, Button(kList, IDL_FRAME_LIST));
    for (int i = 0; i < 3; ++i)
      if (SendMessageW(list, LB_GETSEL, i, 0) > 0) selected.push_back(i);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(Button(kList, IDL_FRAME_LIST), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  });
  EXPECT_EQ(selected, std::vector<int>{1});
  EXPECT_EQ(slots[kList], "EWX_FORCE,EWX_FORCEIFHUNG");
}

// An edit takes 30,000 characters unless told otherwise; a variable has no such limit. Pasted
// with Ctrl+V into every kind of input, a combo box's included, and written back whole.
TEST_F(FramesTest, PasteOfMoreThan30000CharactersIsWrittenBackWhole) {
  FormSpec design = AllFrames();
  design.frames[kPlain].kind = FrameKind::Combo;
  design.frames[kPlain].items = &SessionEndOptions;
  design.frames[kPlain].width = 208;
  std::string text(100000, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  const auto slots = Run(
      {},
      [&](HWND form) {
        for (int frame = 0; frame < kFrames; ++frame) {
          HWND input = Input(form, frame);
          PutOnClipboard(form, AnsiToWide(text));
          // The paste replaces the whole text, selected first: a press that another program's
          // window took (or half took, a plain "v") is repeated.
          const auto pasted = [&] { return GetWindowTextLengthW(input) >= 100000; };
          for (int attempt = 0; attempt < 3 && !pasted(); ++attempt) {
            SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(input), TRUE);
            PressWithCtrl(form, 'V');
            WaitUntil(pasted);
          }
        }
      },
      design);
  for (int frame = 0; frame < kFrames; ++frame)
    EXPECT_TRUE(slots[frame] == text) << "frame " << frame << ": " << slots[frame].size();
}

}  // namespace
