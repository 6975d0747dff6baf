#include "core/catalogue.h"

#include <string>

#include "core/host.h"
#include "platform/resources.h"
#include "resources/resource.h"

using namespace std::string_view_literals;

namespace {

constexpr CatalogueRow Heading(int category) { return {0, category, ""sv, nullptr, nullptr}; }
constexpr CatalogueRow Action(int id, std::string_view kinds, RunRoutine run,
                              EditRoutine edit = nullptr) {
  return {id, -1, kinds, run, edit ? edit : FormEditRoutine(id)};
}

// Registration order is what the host lists; action ids are stored in authors' documents
// and never change.
constexpr std::array<CatalogueRow, kCatalogueRows> kCatalogue = {{
    Heading(0),  // Строки
    Action(1, "\1\1\6"sv, &RunStartsStr),
    Action(2, "\1\1\6"sv, &RunEndsStr),
    Action(3, "\1\1\6"sv, &RunQuotedStr),
    Action(4, "\1\1\6"sv, &RunDequotedStr),
    Action(5, "\1\3\6"sv, &RunDupeStr),
    Action(6, "\1\6"sv, &RunReverseStr),
    Action(7, "\1\3\6"sv, &RunLeftStr),
    Action(8, "\1\3\6"sv, &RunRightStr),
    Action(9, "\1\3\3\6"sv, &RunMidStr),
    Action(10, "\1\6"sv, &RunTrimStr),
    Action(11, "\1\6"sv, &RunTrimLeftStr),
    Action(12, "\1\6"sv, &RunTrimRightStr),
    Action(13, "\6"sv, &RunGUIDStr),
    Action(14, "\1\6"sv, &RunRandomFromStr),
    Action(15, "\1\1\1\6"sv, &RunIfThenStr),
    Action(16, "\1\1\6"sv, &RunIfAppendStr),
    Action(17, "\1\1\6"sv, &RunIfPrependStr),
    Action(18, "\1\1\6"sv, &RunExtractChars),
    Action(19, "\1\6"sv, &RunExtractAlphas),
    Action(20, "\1\6"sv, &RunExtractNumber),
    Action(21, "\1\6"sv, &RunExtractAlphaNum),
    Action(22, "\3\6"sv, &RunNumberToRoman),
    Action(23, "\1\6"sv, &RunRomanToNumber),
    Heading(1),  // Приложения
    Action(24, "\1\1\1"sv, &RunSetVar),
    Action(25, ""sv, &RunHideCursor),
    Action(26, ""sv, &RunShowCursor),
    Action(27, "\1"sv, &RunExecAction),
    Action(28, "\1"sv, &RunExecActions),
    Action(29, "\1"sv, &RunClearVariables),
    Action(30, "\1\1"sv, &RunSaveVariables),
    Action(31, ""sv, &RunHidePublication),
    Action(32, ""sv, &RunShowPublication),
    Action(33, ""sv, &RunHideFromTaskbar),
    Action(34, ""sv, &RunShowOnTaskbar),
    Heading(2),  // Приложения Справка
    Action(35, "\1\6"sv, &RunOpenHelpToc),
    Action(36, "\1\1\6"sv, &RunOpenHelpIndex),
    Action(37, "\1\6"sv, &RunOpenHelpSearch),
    Action(38, "\1\1\6"sv, &RunOpenHelpTheme),
    Action(39, "\1\6"sv, &RunCloseHelpFile),
    Heading(3),  // Диалоги
    Action(40, "\1\6"sv, &RunFontDialog),
    Action(41, "\1\1\6\6"sv, &RunColorDialog),
    Action(42, "\1\1\1\3\1\1\1\6"sv, &RunOpenFileDialog),
    Action(43, "\1\1\1\3\1\1\1\6"sv, &RunSaveFileDialog),
    Action(44, "\1\1\1\3\1\1\1\6"sv, &RunOpenImageDialog),
    Action(45, "\1\1\1\3\1\1\1\6"sv, &RunSaveImageDialog),
    Heading(4),  // Система
    Action(46, "\1\1\1\6"sv, &RunShellAbout),
    Action(47, "\1\6"sv, &RunLogOff),
    Action(48, "\1\6"sv, &RunPowerOff),
    Action(49, "\1\6"sv, &RunReboot),
    Action(50, "\1\6"sv, &RunRestart),
    Action(51, "\1\6"sv, &RunShutdown),
    Action(52, "\6"sv, &RunSuspend),
    Action(53, "\6"sv, &RunHibernate),
    Action(54, "\6"sv, &RunCanSuspend),
    Action(55, "\6"sv, &RunCanPowerOff),
    Action(56, "\6"sv, &RunCanHibernate),
    Action(57, "\3\6"sv, &RunErrorMessage),
    Action(58, "\6"sv, &RunDisableSleep),
    Action(59, "\6"sv, &RunEnableSleep),
    Action(60, "\6"sv, &RunMemoryStatus),
    Action(61, "\1\1\1\1\1\6"sv, &RunAddShortcut),
    Action(62, "\1\6"sv, &RunGetShortcut),
    Action(63, "\1\6"sv, &RunKillProgram),
    Heading(5),  // Скриншот
    Action(64, "\1\6"sv, &RunActiveShot),
    Action(65, "\1\3\6"sv, &RunHandleShot),
    Action(66, "\1\6"sv, &RunScreenShot),
    Heading(6),  // Дисплей
    Action(67, "\6"sv, &RunMonitorOff),
    Action(68, "\6"sv, &RunMonitorOn),
    Heading(7),  // Файлы
    Action(69, "\1\3\6"sv, &RunWipeFile),
    Action(70, "\1\6"sv, &RunFileSize),
    Action(71, "\1\6"sv, &RunDriveType),
    Action(72, "\1\1\1\1\1\6"sv, &RunFileOperation),
    Action(73, "\1\6"sv, &RunTempFilePath),
    Action(74, "\1\6\6"sv, &RunSystemDrives),
    Action(75, "\1\6"sv, &RunFileLongPath),
    Action(76, "\1\6"sv, &RunFileShortPath),
    Action(77, "\1\6"sv, &RunFileTypeName),
    Action(78, "\1\6"sv, &RunFileSystem),
    Action(79, "\1\1\6"sv, &RunFileDate),
    Heading(8),  // Папки
    Action(80, "\1\6"sv, &RunParentDir),
    Action(81, "\1\6"sv, &RunDirIsEmpty),
    Heading(9),  // Интернет
    Action(82, "\1\3\6"sv, &RunIsHostAlive),
    Action(83, "\1\6"sv, &RunUrlEncode),
    Action(84, "\1\6"sv, &RunUrlDecode),
    Action(85, "\1\6"sv, &RunBase64EncodeStr),
    Action(86, "\1\6"sv, &RunBase64DecodeStr),
    Action(87, "\1\6"sv, &RunBase64EncodeFile),
    Action(88, "\1\1\6"sv, &RunBase64DecodeFile),
    Heading(10),  // Окна
    Action(89, "\3\6"sv, &RunHideAppCaption),
    Action(90, "\3\6"sv, &RunShowAppCaption),
    Heading(11),  // Дата и время
    Action(91, "\3\3\3\6"sv, &RunEncodeDate),
    Action(92, "\3\3\3\6"sv, &RunIsValidDate),
    Action(93, "\3\3\3\6"sv, &RunIsValidTime),
    Action(94, "\1\1\6"sv, &RunDaysBetween),
    Action(95, "\1\1\6"sv, &RunDaysBetweenEx),
}};

constexpr std::array<const CatalogueRow*, kActionCount + 1> BuildIndex() {
  std::array<const CatalogueRow*, kActionCount + 1> index{};
  for (const auto& row : kCatalogue) {
    if (row.id != 0) index[row.id] = &row;
  }
  return index;
}

constexpr bool IdsAreDenseAndUnique() {
  std::array<int, kActionCount + 1> seen{};
  int headings = 0;
  for (const auto& row : kCatalogue) {
    if (row.id == 0) {
      if (row.category != headings++ || !row.kinds.empty()) return false;
      continue;
    }
    if (row.id < 1 || row.id > kActionCount || seen[row.id]++ || row.kinds.size() > 8) return false;
  }
  for (int id = 1; id <= kActionCount; ++id) {
    if (seen[id] != 1) return false;
  }
  return headings == kCatalogueRows - kActionCount;
}
static_assert(IdsAreDenseAndUnique(), "catalogue ids must be 1..95 once each, headings numbered");

constexpr auto kIndex = BuildIndex();

}  // namespace

const std::array<CatalogueRow, kCatalogueRows>& Catalogue() { return kCatalogue; }

const CatalogueRow* FindAction(int id) {
  if (id < 1 || id > kActionCount) return nullptr;
  return kIndex[id];
}

void RegisterCatalogue() {
  const auto add = Host().addAction;
  if (!add) return;
  static const unsigned char kNoParameters[1] = {0};
  for (const auto& row : kCatalogue) {
    // Loaded just before each call: the host copies the texts during the call.
    const std::string name =
        LoadResString(row.id ? IDS_ACTION_NAME_BASE + row.id : IDS_CATEGORY_BASE + row.category);
    const std::string hint = row.id ? LoadResString(IDS_ACTION_HINT_BASE + row.id) : std::string();
    const int count = static_cast<int>(row.kinds.size());
    const auto* kinds =
        count ? reinterpret_cast<const unsigned char*>(row.kinds.data()) : kNoParameters;
    CallAddAction(add, row.id, name.c_str(), hint.c_str(), kinds, count ? count - 1 : 0, count);
  }
}
