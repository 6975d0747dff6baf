// The special property forms through the real nbEditAction: their fixed texts, which frame
// writes which slot, the combo and list defaults, and the Test buttons.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "editor/form_catalogue.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "resources/resource.h"
#include "watcher.h"

namespace {

struct FrameRow {
  EditionText<wchar_t> caption;
  int slot;
};
struct SpecialForm {
  int id;
  EditionText<wchar_t> caption;
  EditionText<wchar_t> description;
  std::vector<FrameRow> frames;  // top to bottom
};

constexpr EditionText<wchar_t> R{L"Сохранить результат в переменной:",
                                 L"Store the result in variable:"};
constexpr EditionText<wchar_t> kFile{L"Путь к файлу:", L"File path:"};
constexpr EditionText<wchar_t> kHelp{L"Путь к файлу справки:", L"Help file path:"};
constexpr EditionText<wchar_t> kArray{L"Сохранить в массив на основе переменной:",
                                      L"Store in array based on variable:"};
constexpr EditionText<wchar_t> kInVariable{L"Сохранить в переменной:", L"Store in variable:"};
#define SECOND_LINE \
  L"\nПри успешном выполнении вернет в указанную переменную True, в противном случае False."

std::vector<FrameRow> FileDialogFrames(EditionText<wchar_t> filter, EditionText<wchar_t> options) {
  return {{{L"Имя файла по умолчанию:", L"Default file name:"}, 0},
          {{L"Расширение по умолчанию:", L"Default extension:"}, 1},
          {filter, 2},
          {{L"Индекс фильтра:", L"Filter index:"}, 3},
          {{L"Начальная папка:", L"Initial folder:"}, 4},
          {{L"Заголовок окна:", L"Window title:"}, 5},
          {R, 7},
          {options, 6}};
}
constexpr EditionText<wchar_t> kFilterB{L"Маска файлов (пример: Все файлы|*.*):",
                                        L"File filter (e.g. All files|*.*):"};
constexpr EditionText<wchar_t> kFilterC{L"Маска файлов (напр. Все файлы|*.*):",
                                        L"File filter (e.g. All files|*.*):"};

const std::vector<SpecialForm> kSpecialForms = {
    {27,
     {L"kxExecAction свойства", L"kxExecAction properties"},
     {L"Выполнить команды NeoBook (или плагина NeoBook) на основе подпрограммы. Например: GoSub "
      L"\"MySub\".",
      L"Run NeoBook (or NeoBook plugin) actions, for example a subroutine: GoSub \"MySub\"."},
     {{{L"Команды NeoBook:", L"NeoBook actions:"}, 0}}},
    {28,
     {L"kxExecActions свойства", L"kxExecActions properties"},
     {L"Выполнить команды NeoBook (или плагина NeoBook) из файла. Каждая команда должна "
      L"находится в отдельной строке.",
      L"Run NeoBook (or NeoBook plugin) actions from a file. Each action must be on a line of its "
      L"own."},
     {{kFile, 0}}},
    {30,
     {L"kxSaveVariables свойства", L"kxSaveVariables properties"},
     {L"Сохранить одну или несколько переменных в файл.", L"Save one or more variables to a file."},
     {{{L"Список переменных:", L"Variable names:"}, 0}, {kFile, 1}}},
    {35,
     {L"kxOpenHelpToc свойства", L"kxOpenHelpToc properties"},
     {L"Открыть файл справки CHM в разделе \"Содержание\"." SECOND_LINE,
      L"Open a CHM help file on its \"Contents\" tab.\nReturns True on success, otherwise False."},
     {{kHelp, 0}, {R, 1}}},
    {36,
     {L"kxOpenHelpIndex свойства", L"kxOpenHelpIndex properties"},
     {L"Открыть файл справки CHM в разделе \"Указатель\". Ключевое слово указывать не "
      L"обязательно." SECOND_LINE,
      L"Open a CHM help file on its \"Index\" tab. The keyword is optional.\nReturns True on "
      L"success, otherwise False."},
     {{kHelp, 0}, {{L"Ключевое слово:", L"Keyword:"}, 1}, {R, 2}}},
    {37,
     {L"kxOpenHelpSearch свойства", L"kxOpenHelpSearch properties"},
     {L"Открыть файл справки CHM в разделе \"Поиск\"." SECOND_LINE,
      L"Open a CHM help file on its \"Search\" tab.\nReturns True on success, otherwise False."},
     {{kHelp, 0}, {R, 1}}},
    {38,
     {L"kxOpenHelpTheme свойства", L"kxOpenHelpTheme properties"},
     {L"Открыть файл справки CHM на конкретной теме по ID или URL." SECOND_LINE,
      L"Open a CHM help file at a given topic, by ID or URL.\nReturns True on success, otherwise "
      L"False."},
     {{kHelp, 0}, {{L"ID темы или URL:", L"Topic ID or URL:"}, 1}, {R, 2}}},
    {39,
     {L"kxCloseHelpFile свойства", L"kxCloseHelpFile properties"},
     {L"Закрыть ранее открытый файл справки CHM." SECOND_LINE,
      L"Close the CHM help windows opened earlier.\nReturns True on success, otherwise False."},
     {{kHelp, 0}, {R, 1}}},
    {40,
     {L"kxFontDialog свойства", L"kxFontDialog properties"},
     {L"Отобразить стандартное диалоговое окно выбора шрифта.",
      L"Show the standard Windows font dialog."},
     {{{L"Первоначальный шрифт:", L"Initial font:"}, 0}, {kArray, 1}}},
    {41,
     {L"kxColorDialog свойства", L"kxColorDialog properties"},
     {L"Отобразить стандартное диалоговое окно выбора цвета и сохранить результат в переменной в "
      L"формате (RGB).",
      L"Show the standard Windows color dialog and store the result in a variable in RGB format."},
     {{{L"Первоначальный цвет:", L"Initial color:"}, 0},
      {{L"Параметры окна:", L"Dialog options:"}, 1},
      {{L"Дополнительные цвета:", L"Custom colors:"}, 2},
      {{L"Сохранить выбранный цвет в переменной:", L"Store the selected color in variable:"}, 3}}},
    {42,
     {L"kxOpenFileDialog свойства", L"kxOpenFileDialog properties"},
     {L"Определить имя файла или файлов из стандартного диалогового окна Windows.",
      L"Ask for one or more file names with the standard Windows Open dialog."},
     FileDialogFrames(kFilterB, {L"Параметры окна:", L"Dialog options:"})},
    {43,
     {L"kxSaveFileDialog свойства", L"kxSaveFileDialog properties"},
     {L"Определить имя сохраняемого файла при помощи стандартного диалогового окна Windows.",
      L"Ask for the name of a file to save with the standard Windows Save dialog."},
     FileDialogFrames(kFilterC, {L"Параметр окна:", L"Dialog options:"})},
    {44,
     {L"kxOpenImageDialog свойства", L"kxOpenImageDialog properties"},
     {L"Определить имя файла или файлов изображений из стандартного диалогового окна Windows.",
      L"Ask for one or more image file names with the standard Windows Open dialog."},
     FileDialogFrames(kFilterC, {L"Параметры окна:", L"Dialog options:"})},
    {45,
     {L"kxSaveImageDialog свойства", L"kxSaveImageDialog properties"},
     {L"Определить имя сохраняемого файла изображения при помощи стандартного диалогового окна "
      L"Windows.",
      L"Ask for the name of an image file to save with the standard Windows Save dialog."},
     FileDialogFrames(kFilterC, {L"Параметры окна:", L"Dialog options:"})},
    {46,
     {L"kxShellAbout свойства", L"kxShellAbout properties"},
     {L"Показать диалоговое окно о версии Windows. Значок подставляется автоматически из "
      L"исполняемого файла приложения.\nПри успешном выполнении команды возвращает в переменную "
      L"True, в противном случае False.",
      L"Show the Windows About dialog. The icon is taken automatically from the publication's "
      L"executable file.\nReturns True on success, otherwise False."},
     {{{L"Заголовок:", L"First line:"}, 0},
      {{L"Первая строка:", L"Title bar:"}, 1},
      {{L"Вторая строка:", L"Additional text:"}, 2},
      {R, 3}}},
    {61,
     {L"kxAddShortcut", L"kxAddShortcut"},
     {L"Создать ярлык для файла или папки." SECOND_LINE,
      L"Create a shortcut to a file or folder.\nReturns True on success, otherwise False."},
     {{{L"Сохранить ярлык:", L"Save the shortcut in:"}, 2},
      {{L"Путь к файлу или папке:", L"File or folder path:"}, 0},
      {{L"Аргументы:", L"Arguments:"}, 1},
      {{L"Имя ярлыка:", L"Shortcut name:"}, 3},
      {{L"Комментарий:", L"Comment:"}, 4},
      {R, 5}}},
    {64,
     {L"kxActiveShot", L"kxActiveShot"},
     {L"Сделать снимок активного окна. " SECOND_LINE,
      L"Save a screenshot of the active window as a BMP file.\nReturns True on success, otherwise "
      L"False."},
     {{kFile, 0}, {R, 1}}},
    {65,
     {L"kxHandleShot свойства", L"kxHandleShot properties"},
     {L"Сделать снимок окна по его дескриптору." SECOND_LINE,
      L"Save a screenshot of a window, given by its handle, as a BMP file.\nReturns True on "
      L"success, otherwise False."},
     {{kFile, 0}, {{L"Дескриптор окна:", L"Window handle:"}, 1}, {R, 2}}},
    {66,
     {L"kxScreenShot свойства", L"kxScreenShot properties"},
     {L"Сделать снимок всего экрана." SECOND_LINE,
      L"Save a screenshot of the whole screen as a BMP file.\nReturns True on success, otherwise "
      L"False."},
     {{kFile, 0}, {R, 1}}},
    {69,
     {L"kxWipeFile свойства", L"kxWipeFile properties"},
     {L"Надежное удаление файлов.\nЗатереть файл заданное количество циклов и удалить из файловой "
      L"системы.",
      L"Secure file deletion.\nOverwrite a file for a given number of cycles, then delete it from "
      L"the file system."},
     {{kFile, 0}, {{L"Количество циклов:", L"Number of cycles:"}, 1}, {R, 2}}},
    {70,
     {L"kxFileSize свойства", L"kxFileSize properties"},
     {L"Получить размер файла (в байтах).", L"Get the size of a file (in bytes)."},
     {{kFile, 0}, {R, 1}}},
    {71,
     {L"kxDriveType свойства", L"kxDriveType properties"},
     {L"Определить тип диска.", L"Get the type of a drive."},
     {{{L"Буква диска:", L"Drive letter:"}, 0}, {kInVariable, 1}}},
    {72,
     {L"kxFileOperation свойства", L"kxFileOperation properties"},
     {L"Копировать, переместить, удалить или переименовать один или несколько файлов или папок. "
      L"См. Справку." SECOND_LINE,
      L"Copy, move, delete or rename one or more files or folders. See Help.\nReturns True on "
      L"success, Cancel if the user cancelled, otherwise False."},
     {{{L"Файловые операции:", L"File operation:"}, 0},
      {{L"Имя исходного файла или папки:", L"Source file or folder:"}, 1},
      {{L"Имя конечного файла или папки:", L"Destination file or folder:"}, 2},
      {{L"Заголовок окна:", L"Window title:"}, 3},
      {R, 5},
      {{L"Операции:", L"Flags:"}, 4}}},
    {74,
     {L"kxSystemDrives", L"kxSystemDrives"},
     {L"Получить определенного типа или все доступные диски в системе.",
      L"Get the drives of the system: all of them, or those of one type."},
     {{{L"Тип диска:", L"Drive type:"}, 0},
      {kArray, 1},
      {{L"Сохранить количество дисков в переменную:", L"Store the highest index in variable:"},
       2}}},
    {79,
     {L"kxFileDate свойства", L"kxFileDate properties"},
     {L"Получить информацию о файле.\nКогда был создан, изменен и последний доступ к файлу. См. "
      L"Справку.",
      L"Get information about a file.\nWhen it was created, last modified and last accessed. See "
      L"Help."},
     {{kFile, 0}, {{L"Формат даты (опционально):", L"Date format (optional):"}, 1}, {kArray, 2}}},
    {87,
     {L"kxBase64EncodeFile свойства", L"kxBase64EncodeFile properties"},
     {L"Кодировать текст из файла в Base 64 и сохранить в переменной.",
      L"Encode the contents of a file as Base64 and store the result in a variable."},
     {{kFile, 0}, {kInVariable, 1}}},
    {88,
     {L"kxBase64DecodeFile свойства", L"kxBase64DecodeFile properties"},
     {L"Декодировать текст Base 64 в файл." SECOND_LINE,
      L"Decode a Base64 text into a file.\nReturns True on success, otherwise False."},
     {{{L"Текст в кодировке Base 64:", L"Base64 text:"}, 0}, {kFile, 1}, {R, 2}}},
};

class SpecialFormTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved = Seams();
  ~SpecialFormTest() override { Seams() = saved; }
};

bool HasFocus(HWND form, HWND input) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
  return gui.hwndFocus && (gui.hwndFocus == input || GetParent(gui.hwndFocus) == input);
}

TEST_F(SpecialFormTest, EverySpecialFormShowsItsTextsAndWritesEachSlotFromItsFrame) {
  for (const auto& row : kSpecialForms) {
    const size_t count = row.frames.size();
    const std::wstring name = AnsiToWide(FindAction(row.id)->name);
    for (const bool ok : {true, false}) {
      Slots slots({"s0", "s1", "s2", "s3", "s4", "s5", "s6", "s7"});
      std::wstring caption, shownName, description;
      std::vector<std::wstring> labels;
      bool focused = false, extra = false;
      FormWatcher watcher([&](HWND form) {
        caption = TextOf(form);
        shownName = ItemText(form, IDT_ACTION_NAME);
        description = ItemText(form, IDT_ACTION_DESC);
        focused = HasFocus(form, Input(form, 0));
        extra = Input(form, static_cast<int>(count)) != nullptr;
        for (size_t i = 0; i < count; ++i) {
          const int frame = static_cast<int>(i);
          labels.push_back(ItemText(form, FrameControlId(frame, IDT_FRAME_LABEL)));
          SetInput(form, frame, "n" + std::to_string(row.frames[i].slot));
        }
        Click(form, ok ? IDB_OK : IDB_CANCEL);
      });
      EXPECT_EQ(host.Edit(row.id, slots.get()), ok) << "id " << row.id;
      ASSERT_TRUE(watcher.SawForm()) << "id " << row.id;
      for (size_t slot = 0; slot < 8; ++slot) {
        if (ok && slot < count) {
          EXPECT_EQ(slots.Text(slot), "n" + std::to_string(slot)) << "id " << row.id;
          EXPECT_TRUE(slots.HandedOver(slot)) << "id " << row.id << " slot " << slot;
        } else {
          EXPECT_TRUE(slots.Untouched(slot)) << "id " << row.id << " slot " << slot;
        }
      }
      if (!ok) continue;
      EXPECT_EQ(caption, row.caption()) << "id " << row.id;
      EXPECT_EQ(shownName, name) << "id " << row.id;
      EXPECT_EQ(description, row.description()) << "id " << row.id;
      EXPECT_TRUE(focused) << "id " << row.id;
      EXPECT_FALSE(extra) << "id " << row.id;
      ASSERT_EQ(labels.size(), count) << "id " << row.id;
      for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(labels[i], row.frames[i].caption()) << "id " << row.id << " frame " << i;
      EXPECT_EQ(static_cast<size_t>(host.FindEntry(WideToAnsi(name))->count), count)
          << "id " << row.id;
    }
  }
}

// What a new action (every slot empty) shows in its first frames and writes on OK.
TEST_F(SpecialFormTest, NewActionsShowTheirDefaults) {
  const struct {
    int id;
    int frame;
    const char* shown;
  } rows[] = {
      {74, 0, "DRIVE_ALL"}, {71, 0, "A"}, {72, 0, "FO_MOVE"}, {69, 1, ""}, {72, 5, ""},
  };
  for (const auto& row : rows) {
    Slots slots({});
    std::string shown;
    FormWatcher watcher([&](HWND form) {
      shown = InputAnsi(form, row.frame);
      Click(form, IDB_OK);
    });
    ASSERT_TRUE(host.Edit(row.id, slots.get())) << row.id;
    EXPECT_EQ(shown, row.shown) << row.id << " frame " << row.frame;
  }
  Slots drives({nullptr, "[D]", "[N]"});
  FormWatcher watcher([](HWND form) { Click(form, IDB_OK); });
  ASSERT_TRUE(host.Edit(74, drives.get()));
  EXPECT_EQ(drives.Text(0), "DRIVE_ALL");
}

std::vector<std::wstring> SelectedItems(HWND list) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(list, LB_GETSEL, i, 0) <= 0) continue;
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    items.push_back(text);
  }
  return items;
}

TEST_F(SpecialFormTest, OptionListsPreselectFromTheSlotAndWriteTheTextFieldBack) {
  const struct {
    int id, frame, slot;
    const char* text;
    std::vector<std::wstring> selected;
    int items;
  } rows[] = {
      {42, 7, 6, "ofNoChangeDir,ofEnableSizing", {L"ofNoChangeDir", L"ofEnableSizing"}, 17},
      {43, 7, 6, "ofOverwritePrompt", {L"ofOverwritePrompt"}, 14},
      {72, 5, 4, "[Flags]FOF_SILENT+FOF_NO_UI", {L"FOF_NO_UI", L"FOF_SILENT"}, 13},
      {41, 1, 1, "cdFullOpen", {L"cdFullOpen"}, 4},
  };
  for (const auto& row : rows) {
    std::vector<const char*> texts(8, "x");
    texts[static_cast<size_t>(row.slot)] = row.text;
    Slots slots(texts);
    std::vector<std::wstring> selected;
    int items = 0;
    FormWatcher watcher([&](HWND form) {
      HWND list = GetDlgItem(form, FrameControlId(row.frame, IDL_FRAME_LIST));
      selected = SelectedItems(list);
      items = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
      Click(form, IDB_OK);
    });
    ASSERT_TRUE(host.Edit(row.id, slots.get())) << row.id;
    EXPECT_EQ(selected, row.selected) << row.id;
    EXPECT_EQ(items, row.items) << row.id;
    EXPECT_EQ(slots.Text(static_cast<size_t>(row.slot)), row.text) << row.id;
  }
}

// Each plain click toggles its item, as in a set of flags; the text lists the chosen items in
// list order, whatever the order of the clicks. Clicked with the mouse, at the item.
TEST_F(SpecialFormTest, PlainClicksInAnOptionListKeepTheEarlierChoice) {
  const struct {
    int id, frame, slot;
    const char* text;
    std::vector<int> clicks;
    const char* written;
  } rows[] = {
      {42, 7, 6, "", {3, 1}, "ofNoValidate,ofPathMustExist"},
      {43, 7, 6, "ofOverwritePrompt", {3, 1}, "ofOverwritePrompt,ofNoChangeDir,ofShareAware"},
      {44, 7, 6, "", {1, 3}, "ofNoValidate,ofPathMustExist"},
      {45, 7, 6, "", {3, 1}, "ofNoChangeDir,ofShareAware"},
      {72, 5, 4, "", {3, 1}, "FOF_FILESONLY,FOF_NOCONFIRMATION"},
      {41, 1, 1, "", {1, 3, 1}, "cdPreventFullOpen"},
  };
  for (const auto& row : rows) {
    std::vector<const char*> texts(8, "x");
    texts[static_cast<size_t>(row.slot)] = row.text;
    Slots slots(texts);
    FormWatcher watcher([&](HWND form) {
      HWND list = GetDlgItem(form, FrameControlId(row.frame, IDL_FRAME_LIST));
      for (const int item : row.clicks) {
        RECT box{};
        SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&box));
        POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        ClientToScreen(list, &centre);
        const std::string before = InputAnsi(form, row.frame);
        ClickAt(centre);
        EXPECT_TRUE(WaitUntil([&] { return InputAnsi(form, row.frame) != before; }))
            << row.id << " item " << item;
      }
      Click(form, IDB_OK);
    });
    ASSERT_TRUE(host.Edit(row.id, slots.get())) << row.id;
    EXPECT_EQ(slots.Text(static_cast<size_t>(row.slot)), row.written) << row.id;
  }
}

// Each text frame's variables button stands at one x in its column of the form, whatever
// buttons follow it (a combo box keeps its own short width).
TEST_F(SpecialFormTest, VariablesButtonsLineUpInEveryForm) {
  std::array<int, 96> ids{};
  const int count = FormIds(ids);
  for (int i = 0; i < count; ++i) {
    const FormSpec& design = *FindForm(ids[i]);
    std::array<std::vector<LONG>, 2> lefts;
    Slots slots({});
    FormWatcher watcher([&](HWND form) {
      for (int frame = 0; frame < design.frameCount; ++frame) {
        if (design.frames[frame].kind == FrameKind::Combo) continue;
        RECT box{};
        GetWindowRect(GetDlgItem(form, FrameControlId(frame, IDB_FRAME_VARIABLES)), &box);
        lefts[design.frames[frame].column ? 1 : 0].push_back(box.left);
      }
    });
    host.Edit(design.id, slots.get());
    for (const auto& column : lefts)
      for (const LONG left : column) EXPECT_EQ(left, column.front()) << "id " << design.id;
  }
}

// Nothing but the form's own disabled state keeps the author from a second Test, or from OK,
// while the picture save dialog (which has no owner) is open.
std::vector<BOOL> g_formEnabled;
HWND g_testedForm = nullptr, g_dialogOwner = nullptr;
template <typename Dialog>
BOOL WINAPI NoteWhetherTheFormIsEnabled(Dialog dialog) {
  g_formEnabled.push_back(IsWindowEnabled(g_testedForm));
  g_dialogOwner = dialog->hwndOwner;
  return FALSE;
}

TEST_F(SpecialFormTest, TestButtonDisablesTheFormWhileTheDialogIsOpen) {
  Seams().chooseFont = &NoteWhetherTheFormIsEnabled<LPCHOOSEFONTA>;
  Seams().chooseColor = &NoteWhetherTheFormIsEnabled<LPCHOOSECOLORA>;
  Seams().getOpenFileName = &NoteWhetherTheFormIsEnabled<LPOPENFILENAMEA>;
  Seams().getSaveFileName = &NoteWhetherTheFormIsEnabled<LPOPENFILENAMEA>;
  for (const int id : {40, 41, 42, 43, 44, 45}) {
    g_formEnabled.clear();
    BOOL enabledAfter = FALSE;
    Slots slots({});
    FormWatcher watcher([&](HWND form) {
      g_testedForm = form;
      Click(form, IDB_TEST);
      enabledAfter = IsWindowEnabled(form);
    });
    host.Edit(id, slots.get());
    EXPECT_EQ(g_formEnabled, std::vector<BOOL>{FALSE}) << id;
    EXPECT_TRUE(enabledAfter) << id;
    // The disabled form is still the active window that owns the dialog; only the picture
    // save dialog has none.
    EXPECT_EQ(g_dialogOwner, id == 45 ? nullptr : g_testedForm) << id;
  }
}

struct FileDialogSeen {
  int calls = 0;
  std::string file, title, folder, extension;
  DWORD flags = 0, filterIndex = 0;
} g_fileDialog;
BOOL WINAPI PickAFile(LPOPENFILENAMEA dialog) {
  ++g_fileDialog.calls;
  g_fileDialog.file = dialog->lpstrFile;
  g_fileDialog.title = dialog->lpstrTitle ? dialog->lpstrTitle : "";
  g_fileDialog.folder = dialog->lpstrInitialDir ? dialog->lpstrInitialDir : "";
  g_fileDialog.extension = dialog->lpstrDefExt ? dialog->lpstrDefExt : "";
  g_fileDialog.flags = dialog->Flags;
  g_fileDialog.filterIndex = dialog->nFilterIndex;
  const char answer[] = "C:\\picked\0a.txt\0b.txt\0";
  CopyMemory(dialog->lpstrFile, answer, sizeof answer);
  return TRUE;
}

TEST_F(SpecialFormTest, OpenFileTestShowsTheDialogAsEnteredAndStoresNothing) {
  Seams().getOpenFileName = &PickAFile;
  g_fileDialog = {};
  Slots slots({"old.txt", "txt", "Text|*.txt", "1", "C:\\old", "Old", "", "[Files]"});
  bool open = false;
  std::vector<std::string> after;
  FormWatcher watcher([&](HWND form) {
    const char* typed[] = {"a.txt", "log",     "Logs|*.log|All|*.*", "2", "C:\\logs",
                           "Pick",  "[Files]", "ofAllowMultiSelect"};
    for (int i = 0; i < 8; ++i) SetInput(form, i, typed[i]);
    Click(form, IDB_TEST);
    open = IsWindowVisible(form);
    for (int i = 0; i < 8; ++i) after.push_back(InputAnsi(form, i));
    Click(form, IDB_CANCEL);
  });
  EXPECT_FALSE(host.Edit(42, slots.get()));
  EXPECT_EQ(g_fileDialog.calls, 1);
  EXPECT_EQ(g_fileDialog.file, "a.txt");
  EXPECT_EQ(g_fileDialog.extension, "log");
  EXPECT_EQ(g_fileDialog.filterIndex, 2u);
  EXPECT_EQ(g_fileDialog.folder, "C:\\logs");
  EXPECT_EQ(g_fileDialog.title, "Pick");
  EXPECT_TRUE(g_fileDialog.flags & OFN_ALLOWMULTISELECT);
  EXPECT_TRUE(open);
  EXPECT_EQ(after[6], "[Files]");
  EXPECT_EQ(after[7], "ofAllowMultiSelect");
  EXPECT_TRUE(host.setCalls.empty());
  for (size_t i = 0; i < 8; ++i) EXPECT_TRUE(slots.Untouched(i)) << i;
}

bool g_confirmColor = false;
COLORREF g_firstCustom = 0;
BOOL WINAPI ChangeCustomColors(LPCHOOSECOLORA dialog) {
  g_firstCustom = dialog->lpCustColors[0];
  dialog->lpCustColors[0] = RGB(0x12, 0x34, 0x56);
  dialog->rgbResult = RGB(1, 2, 3);
  return g_confirmColor;
}

TEST_F(SpecialFormTest, ColourTestWritesTheCustomColoursOnOkOnly) {
  Seams().chooseColor = &ChangeCustomColors;
  for (const bool confirm : {false, true}) {
    g_confirmColor = confirm;
    host.SetVar("Custom0", "FF");
    host.setCalls.clear();
    Slots slots({"", "", "", "[Chosen]"});
    FormWatcher watcher([](HWND form) {
      SetInput(form, 2, "Custom");
      Click(form, IDB_TEST);
    });
    EXPECT_FALSE(host.Edit(41, slots.get()));
    EXPECT_EQ(g_firstCustom, static_cast<COLORREF>(0xFF)) << confirm;
    EXPECT_EQ(host.setCalls.size(), confirm ? 16u : 0u);
    EXPECT_FALSE(host.Var("Chosen").has_value());
    EXPECT_EQ(host.Value("Custom0"), confirm ? "563412" : "FF");
  }
}

}  // namespace
