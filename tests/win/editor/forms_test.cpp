// Every generic property form through the real nbEditAction: what it shows, what OK writes
// back, and that every way of cancelling writes nothing.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "editor/form_catalogue.h"
#include "fixture.h"
#include "guarded_block.h"
#include "inprocess.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "resources/resource.h"
#include "watcher.h"

namespace {

struct GenericForm {
  int id;
  std::vector<EditionText<wchar_t>> captions;  // slot order, result frame included
};

constexpr EditionText<wchar_t> R{L"Сохранить результат в переменной:",
                                 L"Store the result in variable:"};
constexpr EditionText<wchar_t> kSource{L"Исходный текст:", L"Source text:"};
constexpr EditionText<wchar_t> kFile{L"Путь к файлу:", L"File path:"};

const std::vector<GenericForm> kGenericForms = {
    {1, {kSource, {L"Начало текста:", L"Starts with:"}, R}},
    {2, {kSource, {L"Конец текста:", L"Ends with:"}, R}},
    {3, {{L"Текст:", L"Text:"}, {L"Символ:", L"Quote character:"}, R}},
    {4, {{L"Текст:", L"Text:"}, {L"Символ:", L"Quote character:"}, R}},
    {5, {{L"Текст:", L"Text:"}, {L"Количество:", L"Number of times:"}, R}},
    {6, {{L"Текст:", L"Text:"}, R}},
    {7, {kSource, {L"Количество символов:", L"Number of characters:"}, R}},
    {8, {kSource, {L"Количество символов:", L"Number of characters:"}, R}},
    {9,
     {kSource,
      {L"Позиция первого символа:", L"Position of the first character:"},
      {L"Количество символов:", L"Number of characters:"},
      R}},
    {10, {{L"Текст:", L"Text:"}, R}},
    {11, {{L"Текст:", L"Text:"}, R}},
    {12, {{L"Текст:", L"Text:"}, R}},
    {13, {R}},
    {14, {{L"Значения разделенные \"|\":", L"Values separated by \"|\":"}, R}},
    {15,
     {{L"Значение для проверки:", L"Value to test:"},
      {L"Верная строка:", L"Text if true:"},
      {L"Не верная строка:", L"Text if false:"},
      R}},
    {16, {kSource, {L"Добавляемый текст:", L"Text to add:"}, R}},
    {17, {kSource, {L"Добавляемый текст:", L"Text to add:"}, R}},
    {18, {kSource, {L"Разрешенные символы:", L"Allowed characters:"}, R}},
    {19, {kSource, R}},
    {20, {kSource, R}},
    {21, {kSource, R}},
    {22, {{L"Десятичные цифры:", L"Decimal number:"}, R}},
    {23, {{L"Римские цифры:", L"Roman numeral:"}, R}},
    {24,
     {{L"Список переменных:", L"Variable names:"},
      {L"Значение (значения):", L"Value(s):"},
      {L"Разделитель значений:", L"Value separator:"}}},
    {29, {{L"Список переменных:", L"Variable names:"}}},
    {47, {{L"Флаг:", L"Flag:"}, R}},
    {48, {{L"Флаг:", L"Flag:"}, R}},
    {49, {{L"Флаг:", L"Flag:"}, R}},
    {50, {{L"Флаг:", L"Flag:"}, R}},
    {51, {{L"Флаг:", L"Flag:"}, R}},
    {52, {R}},
    {53, {R}},
    {54, {R}},
    {55, {R}},
    {56, {R}},
    {57, {{L"Error code", L"Error code"}, R}},
    {58, {R}},
    {59, {R}},
    {60, {R}},
    {62, {{L"Путь к файлу ярлыка:", L"Shortcut file path:"}, R}},
    {63, {{L"Исполняемый файл (например calc.exe):", L"Executable file (e.g. calc.exe):"}, R}},
    {67, {R}},
    {68, {R}},
    {73, {{L"Расширение файла:", L"File extension:"}, R}},
    {75, {kFile, R}},
    {76, {kFile, R}},
    {77, {kFile, R}},
    {78, {kFile, R}},
    {80, {{L"Папка или путь к файлу:", L"Folder or file path:"}, R}},
    {81, {{L"Путь к папке:", L"Folder path:"}, R}},
    {82, {{L"Имя хоста:", L"Host name:"}, {L"Пауза (мс):", L"Time-out (ms):"}, R}},
    {83, {{L"Строка для кодирования:", L"Text to encode:"}, R}},
    {84, {{L"Строка для декодирования:", L"Text to decode:"}, R}},
    {85, {kSource, R}},
    {86, {{L"Текст в кодировке Base 64:", L"Base64 text:"}, R}},
    {89, {{L"Дескриптор главного окна:", L"Main window handle:"}, R}},
    {90, {{L"Дескриптор главного окна:", L"Main window handle:"}, R}},
    {91,
     {{L"Год (гггг):", L"Year (yyyy):"},
      {L"Месяц (м):", L"Month (m):"},
      {L"День (д):", L"Day (d):"},
      R}},
    {92,
     {{L"Год (Например: 2012):", L"Year (e.g. 2012):"},
      {L"Номер месяца (Например: 12):", L"Month number (e.g. 12):"},
      {L"Число (Например: 1 или 01):", L"Day (e.g. 1 or 01):"},
      R}},
    {93,
     {{L"Часы (от 0 до 23):", L"Hours (0 to 23):"},
      {L"Минуты (от 0 до 59):", L"Minutes (0 to 59):"},
      {L"Секунды (от 0 до 59):", L"Seconds (0 to 59):"},
      R}},
    {94, {{L"Начальная дата:", L"Start date:"}, {L"Конечная дата:", L"End date:"}, R}},
    {95, {{L"Начальная дата:", L"Start date:"}, {L"Конечная дата:", L"End date:"}, R}},
};

class EditFormTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
};

// What a form showed, read by the watcher.
struct Seen {
  bool firstInputFocused = false;
  std::wstring caption, name, description;
  std::vector<std::wstring> labels, inputs;
  bool extraFrame = false;
};

Seen ReadForm(HWND form, size_t frames) {
  Seen seen;
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
  // A combo box's focus is on the edit field inside it.
  seen.firstInputFocused = gui.hwndFocus && (gui.hwndFocus == Input(form, 0) ||
                                             GetParent(gui.hwndFocus) == Input(form, 0));
  seen.caption = TextOf(form);
  seen.name = ItemText(form, IDT_ACTION_NAME);
  seen.description = ItemText(form, IDT_ACTION_DESC);
  for (size_t i = 0; i < frames; ++i) {
    seen.labels.push_back(ItemText(form, FrameControlId(static_cast<int>(i), IDT_FRAME_LABEL)));
    seen.inputs.push_back(TextOf(Input(form, static_cast<int>(i))));
  }
  seen.extraFrame = Input(form, static_cast<int>(frames)) != nullptr;
  return seen;
}

TEST_F(EditFormTest, EveryGenericFormShowsItsActionAndWritesEverySlotOnOk) {
  for (const auto& row : kGenericForms) {
    const size_t count = row.captions.size();
    const std::wstring name = AnsiToWide(FindAction(row.id)->name);
    std::vector<std::string> initial, typed;
    for (size_t i = 0; i < count; ++i) {
      initial.push_back("s" + std::to_string(i));
      typed.push_back("n" + std::to_string(i));
    }
    std::vector<const char*> texts;
    for (const auto& text : initial) texts.push_back(text.c_str());
    Slots slots(texts);
    Seen seen;
    FormWatcher watcher([&](HWND form) {
      seen = ReadForm(form, count);
      for (size_t i = 0; i < count; ++i) SetInput(form, static_cast<int>(i), typed[i]);
      Click(form, IDB_OK);
    });
    const bool ok = host.Edit(row.id, slots.get());
    ASSERT_TRUE(watcher.SawForm()) << "id " << row.id;
    EXPECT_TRUE(ok) << "id " << row.id;
    EXPECT_EQ(seen.caption, name + InEdition(L" свойства", L" properties")) << "id " << row.id;
    EXPECT_EQ(seen.name, name) << "id " << row.id;
    EXPECT_EQ(seen.description, LoadResWide(IDS_ACTION_HINT_BASE + row.id)) << "id " << row.id;
    EXPECT_FALSE(seen.extraFrame) << "id " << row.id;
    EXPECT_TRUE(seen.firstInputFocused) << "id " << row.id;
    const CatalogueEntry* entry = host.FindEntry(WideToAnsi(name));
    ASSERT_NE(entry, nullptr) << "id " << row.id;
    EXPECT_EQ(static_cast<size_t>(entry->count), count) << "id " << row.id;
    ASSERT_EQ(seen.labels.size(), count);
    for (size_t i = 0; i < count; ++i) {
      EXPECT_EQ(seen.labels[i], row.captions[i]()) << "id " << row.id << " slot " << i;
      EXPECT_EQ(seen.inputs[i], AnsiToWide(initial[i])) << "id " << row.id << " slot " << i;
      EXPECT_EQ(slots.Text(i), typed[i]) << "id " << row.id << " slot " << i;
      EXPECT_TRUE(slots.HandedOver(i)) << "id " << row.id << " slot " << i;
    }
    EXPECT_TRUE(slots.Untouched(count)) << "id " << row.id << ": a slot beyond the action's";
  }
}

// The generic rows and the special ones: every action with parameters has exactly one form.
TEST_F(EditFormTest, EveryActionWithParametersHasAFormRow) {
  std::array<int, 96> ids{};
  const int count = FormIds(ids);
  std::vector<int> rows, expected;
  for (int i = 0; i < count; ++i) rows.push_back(ids[i]);
  for (int id = 1; id <= 95; ++id)
    if (id != 25 && id != 26 && (id < 31 || id > 34)) expected.push_back(id);
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(count, 89);
}

TEST_F(EditFormTest, CancelEscapeAndCloseBoxWriteNothing) {
  const struct {
    const char* how;
    std::function<void(HWND)> close;
  } ways[] = {
      {"Cancel button", [](HWND form) { Click(form, IDB_CANCEL); }},
      {"Esc", [](HWND form) { PostMessageW(Input(form, 0), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
      {"close box", [](HWND form) { PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& row : kGenericForms) {
    const auto& way = ways[row.id % 3];
    Slots slots({"a\"b", "x", "[Result]", "y"});
    FormWatcher watcher([&](HWND form) {
      SetInput(form, 0, "changed");
      way.close(form);
      for (int i = 0; i < 200 && IsWindow(form); ++i) Sleep(10);
    });
    EXPECT_FALSE(host.Edit(row.id, slots.get())) << "id " << row.id << ", " << way.how;
    ASSERT_TRUE(watcher.SawForm());
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_TRUE(slots.Untouched(i)) << "id " << row.id << ", " << way.how;
    }
    EXPECT_EQ(slots.Text(0), "a\"b") << "id " << row.id << ", " << way.how;
  }
}

TEST_F(EditFormTest, OkQuotesFieldsAndNullSlotsBecomeEmptyTexts) {
  Slots slots({"say \"hi\"", nullptr, "[Result]"});
  FormWatcher watcher([&](HWND form) { Click(form, IDB_OK); });
  ASSERT_TRUE(host.Edit(1, slots.get()));
  EXPECT_EQ(slots.Text(0), "say [#34]hi[#34]");
  EXPECT_EQ(slots.Text(1), "");
  EXPECT_EQ(GlobalSize(slots.get()[1]), 1u);
  EXPECT_EQ(slots.Text(2), "[Result]");
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(slots.HandedOver(i)) << i;
}

// The host's block ends at its highest index: a form with more fields than that writes only
// the slots the host has. The block ends a page whose successor is inaccessible, so a write
// past it faults.
TEST_F(EditFormTest, OkWritesNoSlotPastTheHostsHighestIndex) {
  const GuardedBlock guarded;
  ASSERT_NE(guarded.end(), nullptr);
  char** const block = guarded.end() - 1;
  *block = nullptr;
  FormWatcher watcher([&](HWND form) {
    SetInput(form, 0, " a ");
    SetInput(form, 1, "[Result]");
    Click(form, IDB_OK);
  });
  EXPECT_TRUE(nbEditAction(10, block, 0));  // kxTrimStr: a text and a result variable
  ASSERT_NE(*block, nullptr);
  EXPECT_STREQ(*block, " a ");
  GlobalFree(*block);
}

TEST_F(EditFormTest, EnterInAFieldIsOk) {
  Slots slots({"a", "[R]"});
  FormWatcher watcher([&](HWND form) {
    PostMessageW(Input(form, 0), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    for (int i = 0; i < 200 && IsWindow(form); ++i) Sleep(10);
  });
  EXPECT_TRUE(host.Edit(6, slots.get()));
  EXPECT_TRUE(slots.HandedOver(0));
}

TEST_F(EditFormTest, PowerStateFlagKeepsItsDefaultForABlankSlot) {
  const struct {
    const char* slot;
    const char* written;
  } rows[] = {
      {nullptr, "EWX_NOFORCE"}, {"", "EWX_NOFORCE"},          {" \t", "EWX_NOFORCE"},
      {"[MyFlag]", "[MyFlag]"}, {" EWX_FORCE", " EWX_FORCE"},
  };
  for (const auto& row : rows) {
    Slots slots({row.slot, "[R]"});
    std::string shown;
    FormWatcher watcher([&](HWND form) {
      shown = InputAnsi(form, 0);
      Click(form, IDB_OK);
    });
    ASSERT_TRUE(host.Edit(47, slots.get())) << (row.slot ? row.slot : "<null>");
    EXPECT_EQ(shown, row.written) << (row.slot ? row.slot : "<null>");
    EXPECT_EQ(slots.Text(0), row.written) << (row.slot ? row.slot : "<null>");
  }
}

TEST_F(EditFormTest, HelpWithoutAHelpFileShowsTheMessageAndStaysOpen) {
  const std::string missing = LoadResString(IDS_HELP_MISSING);
  for (const bool f1 : {true, false}) {
    host.messages.clear();
    Slots slots({"x", "[R]"});
    bool open = false;
    FormWatcher watcher([&](HWND form) {
      if (f1) {
        PostMessageW(Input(form, 0), WM_KEYUP, VK_F1, 0xC03B0001);
        Sleep(300);  // the posted release goes through the form's loop
      } else {
        Click(form, IDB_HELP);
      }
      open = IsWindowVisible(form);
      Click(form, IDB_CANCEL);
    });
    EXPECT_FALSE(host.Edit(75, slots.get()));
    ASSERT_TRUE(watcher.SawForm());
    EXPECT_TRUE(open) << (f1 ? "F1" : "Help button");
    ASSERT_EQ(host.messages.size(), 1u) << (f1 ? "F1" : "Help button");
    EXPECT_EQ(host.messages[0], missing);
  }
}

std::string g_helpTarget;
HWND WINAPI RecordHelp(HWND, LPCSTR target, UINT, DWORD_PTR) {
  g_helpTarget = target;
  return reinterpret_cast<HWND>(1);
}

TEST_F(EditFormTest, HelpOpensTheTopicOfTheFormsOwnAction) {
  ScratchDir dir;
  const std::string helpFile = dir.Write("zaDode.chm", "help");
  ASSERT_TRUE(RegisterHelpFile(helpFile));
  const MachineSeams saved = Seams();
  Seams().htmlHelp = &RecordHelp;
  for (const int id : {75, 4, 95}) {
    g_helpTarget.clear();
    Slots slots({"x", "y", "[R]"});
    FormWatcher watcher([&](HWND form) {
      Click(form, IDB_HELP);
      Click(form, IDB_CANCEL);
    });
    host.Edit(id, slots.get());
    EXPECT_EQ(g_helpTarget, helpFile + "::\\index.html#" + std::string(FindAction(id)->name));
  }
  Seams() = saved;
  RegisterHelpFile("");
  EXPECT_TRUE(host.messages.empty());
}

int g_windowsCreated = 0;
LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) ++g_windowsCreated;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(EditFormTest, IdsWithoutAFormAnswerFalseWithNoWindow) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, &CountCreations, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  for (const int id : {0, 25, 26, 31, 32, 33, 34, 96, -1}) {
    g_windowsCreated = 0;
    Slots slots({"x"});
    EXPECT_FALSE(host.Edit(id, slots.get())) << id;
    EXPECT_EQ(g_windowsCreated, 0) << id;
    EXPECT_TRUE(slots.Untouched(0)) << id;
  }
  UnhookWindowsHookEx(hook);
}

}  // namespace
