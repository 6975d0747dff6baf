// The catalogue as the host receives it through the real exports of zaDode.nbp.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "encoding.h"
#include "fixture.h"
#include "guarded_block.h"
#include "hints.h"

namespace {

// Registration order: 0 marks a category heading.
constexpr int kOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                          18, 19, 20, 21, 22, 23, 0,  24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,
                          0,  35, 36, 37, 38, 39, 0,  40, 41, 42, 43, 44, 45, 0,  46, 47, 48, 49,
                          50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 0,  64, 65, 66,
                          0,  67, 68, 0,  69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 0,  80, 81,
                          0,  82, 83, 84, 85, 86, 87, 88, 0,  89, 90, 0,  91, 92, 93, 94, 95};

const EditionText<char> kCategories[] = {{"Строки", "Strings"},
                                         {"Приложения", "Application"},
                                         {"Приложения Справка", "Application Help"},
                                         {"Диалоги", "Dialogs"},
                                         {"Система", "System"},
                                         {"Скриншот", "Screenshot"},
                                         {"Дисплей", "Display"},
                                         {"Файлы", "Files"},
                                         {"Папки", "Folders"},
                                         {"Интернет", "Internet"},
                                         {"Окна", "Windows"},
                                         {"Дата и время", "Date and Time"}};
const EditionText<char> kPluginHint{
    "Этот плагин содержит много полезных команд. Работа со строками, создание ярлыка и т.д.",
    "This plugin adds many useful actions: working with strings, creating shortcuts and more."};

struct KindsRow {
  int id;
  const char* name;
  std::vector<unsigned char> kinds;
};
const KindsRow kKinds[] = {
    {1, "kxStartsStr", {1, 1, 6}},
    {5, "kxDupeStr", {1, 3, 6}},
    {9, "kxMidStr", {1, 3, 3, 6}},
    {13, "kxGUIDStr", {6}},
    {15, "kxIfThenStr", {1, 1, 1, 6}},
    {22, "kxNumberToRoman", {3, 6}},
    {24, "kxSetVar", {1, 1, 1}},
    {27, "kxExecAction", {1}},
    {30, "kxSaveVariables", {1, 1}},
    {41, "kxColorDialog", {1, 1, 6, 6}},
    {42, "kxOpenFileDialog", {1, 1, 1, 3, 1, 1, 1, 6}},
    {45, "kxSaveImageDialog", {1, 1, 1, 3, 1, 1, 1, 6}},
    {61, "kxAddShortcut", {1, 1, 1, 1, 1, 6}},
    {65, "kxHandleShot", {1, 3, 6}},
    {72, "kxFileOperation", {1, 1, 1, 1, 1, 6}},
    {74, "kxSystemDrives", {1, 6, 6}},
    {82, "kxIsHostAlive", {1, 3, 6}},
    {89, "kxHideAppCaption", {3, 6}},
    {91, "kxEncodeDate", {3, 3, 3, 6}},
    {95, "kxDaysBetweenEx", {1, 1, 6}},
};

// Whether `block` is an allocated block of the process heap, where GMEM_FIXED memory lives.
bool HeapBlockInUse(const void* block) {
  const HANDLE heap = GetProcessHeap();
  if (!HeapLock(heap)) return false;
  PROCESS_HEAP_ENTRY entry{};
  bool inUse = false;
  while (HeapWalk(heap, &entry)) {
    if (entry.lpData == block) {
      inUse = (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
      break;
    }
  }
  HeapUnlock(heap);
  return inUse;
}

}  // namespace

TEST_F(PluginTest, RegistersAllRowsInOrder) {
  const auto& rows = host.Catalogue();
  ASSERT_EQ(rows.size(), std::size(kOrder));
  int heading = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(rows[i].id, kOrder[i]);
    if (rows[i].id == 0) {
      EXPECT_EQ(rows[i].name, Ansi(kCategories[heading++]()));
      EXPECT_EQ(rows[i].hint, "");
    } else {
      EXPECT_EQ(rows[i].name.rfind("kx", 0), 0u) << rows[i].name;
      EXPECT_FALSE(rows[i].hint.empty());
    }
  }
  EXPECT_EQ(heading, 12);
}

TEST_F(PluginTest, FirstRowIsTheStringsHeadingInCp1251) {
  SKIP_UNLESS_RUSSIAN();
  const auto& first = host.Catalogue().at(0);
  EXPECT_EQ(first.id, 0);
  EXPECT_EQ(first.name, "\xD1\xF2\xF0\xEE\xEA\xE8");  // "Строки" in CP1251
  EXPECT_EQ(first.count, 0);
  EXPECT_EQ(host.Catalogue().at(1).name, "kxStartsStr");
}

TEST_F(PluginTest, RussianHintsArriveAsCp1251WithRealLineFeeds) {
  SKIP_UNLESS_RUSSIAN();
  const auto* startsStr = host.FindEntry("kxStartsStr");
  ASSERT_NE(startsStr, nullptr);
  EXPECT_EQ(startsStr->hint,
            Cp1251("Сравнить строку с началом текста.\nПри совпадении возвращает True, в противном "
                   "случае False. Регистр имеет значение."));
  EXPECT_EQ(host.FindEntry("kxRandomFromStr")->hint,
            Cp1251("Получить случайное значение из различных значений разделенных \"|\"."));
  EXPECT_EQ(host.FindEntry("kxUrlEncode")->hint,
            Cp1251("Кодировать URL адрес для безопасного использования.\nНапример: Кириллица = "
                   "%CA%E8%F0%E8%EB%EB%E8%F6%E0"));
  EXPECT_EQ(host.hint, Cp1251("Этот плагин содержит много полезных команд. Работа со строками, "
                              "создание ярлыка и т.д."));
}

// Each edition in its own locale, where every hint is representable; a row whose text drifted
// (a stray fragment, a lost line feed) shows here with its id.
TEST_F(PluginTest, EveryHintReadsExactlyAsTheHostShouldShowIt) {
  for (const auto& row : kHints) {
    const CatalogueEntry* entry = host.FindEntry(row.name);
    ASSERT_NE(entry, nullptr) << row.name;
    EXPECT_EQ(entry->id, row.id) << row.name;
    EXPECT_EQ(entry->hint, Ansi(row.hint())) << row.id << " " << row.name;
  }
  EXPECT_EQ(host.hint, Ansi(kPluginHint()));
  const std::string ping = host.FindEntry("kxIsHostAlive")->hint;
  const std::string secondLine = Ansi(InEdition(
      "\nЕсли хост рабочий вернет в переменную время ожидания ответа, в противном случае "
      "False.",
      "\nReturns the response time in milliseconds if the host answers, otherwise -1 or False."));
  ASSERT_GT(ping.size(), secondLine.size());
  EXPECT_EQ(ping.substr(ping.size() - secondLine.size()), secondLine);
  EXPECT_EQ(std::count(ping.begin(), ping.end(), '\n'), 1);
}

TEST_F(PluginTest, RowFifteenHintIsEnglishInEveryLocale) {
  EXPECT_EQ(host.FindEntry("kxIfThenStr")->hint,
            "Check a value and set the result variable to one string when its true or another "
            "string when its false.");
}

TEST_F(PluginTest, ParameterlessRowsPassOnePlaceholderByte) {
  for (const char* name : {"kxHideCursor", "kxShowCursor", "kxHidePublication", "kxShowPublication",
                           "kxHideFromTaskbar", "kxShowOnTaskbar"}) {
    SCOPED_TRACE(name);
    const auto* entry = host.FindEntry(name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->count, 0);
    EXPECT_EQ(entry->highIndex, 0);
    EXPECT_EQ(entry->kinds, std::vector<unsigned char>{0});
  }
  int parameterless = 0;
  for (const auto& row : host.Catalogue()) parameterless += row.id != 0 && row.count == 0;
  EXPECT_EQ(parameterless, 6);
}

TEST_F(PluginTest, KindsOfListedRows) {
  for (const auto& expected : kKinds) {
    SCOPED_TRACE(expected.name);
    const auto* entry = host.FindEntry(expected.name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->id, expected.id);
    EXPECT_EQ(entry->kinds, expected.kinds);
    EXPECT_EQ(entry->count, static_cast<int>(expected.kinds.size()));
    EXPECT_EQ(entry->highIndex, entry->count - 1);
  }
}

TEST_F(PluginTest, OnlyTheScriptAndVariableActionsLackAResultVariable) {
  const std::vector<int> withoutResult = {24, 27, 28, 29, 30};
  for (const auto& row : host.Catalogue()) {
    if (row.id == 0 || row.count == 0) continue;
    SCOPED_TRACE(row.name);
    for (int k = 0; k < row.count; ++k) {
      const unsigned char kind = row.kinds[k];
      EXPECT_TRUE(kind == 1 || kind == 3 || kind == 6) << int(kind);
    }
    const bool hasResult = std::find(row.kinds.begin(), row.kinds.end(), 6) != row.kinds.end();
    const bool listed =
        std::find(withoutResult.begin(), withoutResult.end(), row.id) != withoutResult.end();
    EXPECT_EQ(hasResult, !listed);
    if (!listed) EXPECT_EQ(row.kinds.back(), 6);
  }
}

TEST_F(PluginTest, IdsOutsideTheCatalogueAnswerFalseAndTouchNothing) {
  host.SetVar("Result", "before");
  for (int id : {0, 96, -1, 1000, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(host.Exec(id, std::vector<std::string>{"a", "b", "[Result]"}));
  }
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_TRUE(host.scripts.empty());
  EXPECT_TRUE(host.requests.empty());
  EXPECT_EQ(host.Value("Result"), "before");
}

TEST_F(PluginTest, EditOfAParameterlessActionAnswersFalse) {
  const auto edit =
      reinterpret_cast<EditActionProc>(reinterpret_cast<void*>(host.Export("nbEditAction")));
  for (int id : {25, 26, 31, 32, 33, 34, 0, 96, -1}) {
    SCOPED_TRACE(id);
    char* slots[8] = {};
    EXPECT_EQ(edit(id, slots, 7), FALSE);
    EXPECT_TRUE(std::all_of(std::begin(slots), std::end(slots), [](char* s) { return !s; }));
  }
  EXPECT_TRUE(host.setCalls.empty());
}

TEST_F(PluginTest, SecondInitReleasesTheTextsItHandedOverBefore) {
  char* title = nullptr;
  char* publisher = nullptr;
  char* hint = nullptr;
  host.Init(&title, &publisher, &hint);
  ASSERT_NE(title, nullptr);
  EXPECT_STREQ(title, "zaDode");
  EXPECT_STREQ(publisher, "Tessoran");
  EXPECT_EQ(std::string(hint), Ansi(kPluginHint()));
  // Blocks of the host's own: the plug-in must free them (GlobalFree) and hand over new ones.
  char* const oldTitle = title;
  char* const oldPublisher = publisher;
  char* const oldHint = hint;
  ASSERT_TRUE(HeapBlockInUse(oldTitle));
  void* probe = GlobalAlloc(GMEM_FIXED, 16);  // the detector itself must see a free
  ASSERT_TRUE(HeapBlockInUse(probe));
  GlobalFree(probe);
  ASSERT_FALSE(HeapBlockInUse(probe));
  host.Init(&title, &publisher, &hint);
  EXPECT_STREQ(title, "zaDode");
  EXPECT_STREQ(publisher, "Tessoran");
  EXPECT_TRUE(HeapBlockInUse(title));
  for (char* old : {oldTitle, oldPublisher, oldHint}) {
    if (old != title && old != publisher && old != hint) EXPECT_FALSE(HeapBlockInUse(old));
  }
  for (char* block : {title, publisher, hint}) GlobalFree(block);
}

TEST_F(PluginTest, MessagesHaveNoEffect) {
  const auto message =
      reinterpret_cast<MessageProc>(reinterpret_cast<void*>(host.Export("nbMessage")));
  for (int code : {0, 1, 2, 100, -1, INT_MAX}) message(code, code * 3);
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_TRUE(host.getCalls.empty());
  EXPECT_TRUE(host.scripts.empty());
  EXPECT_TRUE(host.requests.empty());
}

TEST(PluginExports, AllEightFoundByName) {
  const HMODULE module = LoadLibraryA(NbHost::DefaultPluginPath().c_str());
  ASSERT_NE(module, nullptr);
  for (const char* name :
       {"nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterScriptProcessor",
        "nbRegisterInterfaceAccess", "nbExecAction", "nbEditAction", "nbMessage", "nbAbout"})
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  FreeLibrary(module);
}

// The host passes its highest slot index: the plug-in must not read beyond it. The block sits
// at the very end of a page whose successor is inaccessible, so a read past it faults.
TEST_F(PluginTest, SlotsPastTheHostsHighestIndexReadAsEmpty) {
  const auto exec =
      reinterpret_cast<ExecActionProc>(reinterpret_cast<void*>(host.Export("nbExecAction")));
  const GuardedBlock guarded;
  char** const end = guarded.end();
  ASSERT_NE(end, nullptr);
  std::string text = " a ", result = "[Result]";
  end[-2] = text.data();
  end[-1] = result.data();
  EXPECT_EQ(exec(10, end - 2, 0), TRUE);  // kxTrimStr without its result slot: nothing written
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_EQ(exec(10, end - 2, 1), TRUE);
  EXPECT_EQ(host.Value("Result"), "a");
  host.ClearLogs();
  EXPECT_EQ(exec(15, end - 2, 1), TRUE);  // kxIfThenStr: four slots declared, two passed
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_EQ(exec(13, end, -1), TRUE);  // kxGUIDStr with an empty block
  EXPECT_EQ(exec(1, end - 1, 0), TRUE);
}

TEST_F(PluginTest, ANullParameterBlockReadsAsEmptyTexts) {
  const auto exec =
      reinterpret_cast<ExecActionProc>(reinterpret_cast<void*>(host.Export("nbExecAction")));
  EXPECT_EQ(exec(10, nullptr, 1), TRUE);   // kxTrimStr: nothing to trim, no variable named
  EXPECT_EQ(exec(22, nullptr, 1), FALSE);  // kxNumberToRoman: "" is not an integer
  EXPECT_EQ(host.Value("LastError"), "Invalid \"kxNumberToRoman\" action arguments");
  char* nulls[8] = {};
  EXPECT_EQ(exec(70, nulls, 7), FALSE);  // kxFileSize of the empty path
  EXPECT_EQ(exec(91, nulls, 7), FALSE);  // kxEncodeDate of three empty numbers
}
