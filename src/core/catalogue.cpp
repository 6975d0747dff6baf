#include "core/catalogue.h"

#include "actions/actions.h"
#include "core/host.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

using enum ParamKind;

constexpr CatalogueRow Heading(int category) {
  return {0, {}, static_cast<std::uint16_t>(IDS_CATEGORY_BASE + category), {}, nullptr};
}
constexpr CatalogueRow Action(int id, std::string_view name, ParamKinds kinds, RunRoutine run) {
  return {id, name, static_cast<std::uint16_t>(IDS_ACTION_HINT_BASE + id), kinds, run};
}

// Registration order is what the host lists. The action ids are stored in authors' documents
// and the names are what their scripts call: neither ever changes.
constexpr std::array<CatalogueRow, kCatalogueRows> kCatalogue = {{
    Heading(0),  // Строки
    Action(1, "kxStartsStr", {Text, Text, Variable}, &RunStartsStr),
    Action(2, "kxEndsStr", {Text, Text, Variable}, &RunEndsStr),
    Action(3, "kxQuotedStr", {Text, Text, Variable}, &RunQuotedStr),
    Action(4, "kxDequotedStr", {Text, Text, Variable}, &RunDequotedStr),
    Action(5, "kxDupeStr", {Text, Number, Variable}, &RunDupeStr),
    Action(6, "kxReverseStr", {Text, Variable}, &RunReverseStr),
    Action(7, "kxLeftStr", {Text, Number, Variable}, &RunLeftStr),
    Action(8, "kxRightStr", {Text, Number, Variable}, &RunRightStr),
    Action(9, "kxMidStr", {Text, Number, Number, Variable}, &RunMidStr),
    Action(10, "kxTrimStr", {Text, Variable}, &RunTrimStr),
    Action(11, "kxTrimLeftStr", {Text, Variable}, &RunTrimLeftStr),
    Action(12, "kxTrimRightStr", {Text, Variable}, &RunTrimRightStr),
    Action(13, "kxGUIDStr", {Variable}, &RunGUIDStr),
    Action(14, "kxRandomFromStr", {Text, Variable}, &RunRandomFromStr),
    Action(15, "kxIfThenStr", {Text, Text, Text, Variable}, &RunIfThenStr),
    Action(16, "kxIfAppendStr", {Text, Text, Variable}, &RunIfAppendStr),
    Action(17, "kxIfPrependStr", {Text, Text, Variable}, &RunIfPrependStr),
    Action(18, "kxExtractChars", {Text, Text, Variable}, &RunExtractChars),
    Action(19, "kxExtractAlphas", {Text, Variable}, &RunExtractAlphas),
    Action(20, "kxExtractNumber", {Text, Variable}, &RunExtractNumber),
    Action(21, "kxExtractAlphaNum", {Text, Variable}, &RunExtractAlphaNum),
    Action(22, "kxNumberToRoman", {Number, Variable}, &RunNumberToRoman),
    Action(23, "kxRomanToNumber", {Text, Variable}, &RunRomanToNumber),
    Heading(1),  // Приложения
    Action(24, "kxSetVar", {Text, Text, Text}, &RunSetVar),
    Action(25, "kxHideCursor", {}, &RunHideCursor),
    Action(26, "kxShowCursor", {}, &RunShowCursor),
    Action(27, "kxExecAction", {Text}, &RunExecAction),
    Action(28, "kxExecActions", {Text}, &RunExecActions),
    Action(29, "kxClearVariables", {Text}, &RunClearVariables),
    Action(30, "kxSaveVariables", {Text, Text}, &RunSaveVariables),
    Action(31, "kxHidePublication", {}, &RunHidePublication),
    Action(32, "kxShowPublication", {}, &RunShowPublication),
    Action(33, "kxHideFromTaskbar", {}, &RunHideFromTaskbar),
    Action(34, "kxShowOnTaskbar", {}, &RunShowOnTaskbar),
    Heading(2),  // Приложения Справка
    Action(35, "kxOpenHelpToc", {Text, Variable}, &RunOpenHelpToc),
    Action(36, "kxOpenHelpIndex", {Text, Text, Variable}, &RunOpenHelpIndex),
    Action(37, "kxOpenHelpSearch", {Text, Variable}, &RunOpenHelpSearch),
    Action(38, "kxOpenHelpTheme", {Text, Text, Variable}, &RunOpenHelpTheme),
    Action(39, "kxCloseHelpFile", {Text, Variable}, &RunCloseHelpFile),
    Heading(3),  // Диалоги
    Action(40, "kxFontDialog", {Text, Variable}, &RunFontDialog),
    Action(41, "kxColorDialog", {Text, Text, Variable, Variable}, &RunColorDialog),
    Action(42, "kxOpenFileDialog", {Text, Text, Text, Number, Text, Text, Text, Variable},
           &RunOpenFileDialog),
    Action(43, "kxSaveFileDialog", {Text, Text, Text, Number, Text, Text, Text, Variable},
           &RunSaveFileDialog),
    Action(44, "kxOpenImageDialog", {Text, Text, Text, Number, Text, Text, Text, Variable},
           &RunOpenImageDialog),
    Action(45, "kxSaveImageDialog", {Text, Text, Text, Number, Text, Text, Text, Variable},
           &RunSaveImageDialog),
    Heading(4),  // Система
    Action(46, "kxShellAbout", {Text, Text, Text, Variable}, &RunShellAbout),
    Action(47, "kxLogOff", {Text, Variable}, &RunLogOff),
    Action(48, "kxPowerOff", {Text, Variable}, &RunPowerOff),
    Action(49, "kxReboot", {Text, Variable}, &RunReboot),
    Action(50, "kxRestart", {Text, Variable}, &RunRestart),
    Action(51, "kxShutdown", {Text, Variable}, &RunShutdown),
    Action(52, "kxSuspend", {Variable}, &RunSuspend),
    Action(53, "kxHibernate", {Variable}, &RunHibernate),
    Action(54, "kxCanSuspend", {Variable}, &RunCanSuspend),
    Action(55, "kxCanPowerOff", {Variable}, &RunCanPowerOff),
    Action(56, "kxCanHibernate", {Variable}, &RunCanHibernate),
    Action(57, "kxErrorMessage", {Number, Variable}, &RunErrorMessage),
    Action(58, "kxDisableSleep", {Variable}, &RunDisableSleep),
    Action(59, "kxEnableSleep", {Variable}, &RunEnableSleep),
    Action(60, "kxMemoryStatus", {Variable}, &RunMemoryStatus),
    Action(61, "kxAddShortcut", {Text, Text, Text, Text, Text, Variable}, &RunAddShortcut),
    Action(62, "kxGetShortcut", {Text, Variable}, &RunGetShortcut),
    Action(63, "kxKillProgram", {Text, Variable}, &RunKillProgram),
    Heading(5),  // Скриншот
    Action(64, "kxActiveShot", {Text, Variable}, &RunActiveShot),
    Action(65, "kxHandleShot", {Text, Number, Variable}, &RunHandleShot),
    Action(66, "kxScreenShot", {Text, Variable}, &RunScreenShot),
    Heading(6),  // Дисплей
    Action(67, "kxMonitorOff", {Variable}, &RunMonitorOff),
    Action(68, "kxMonitorOn", {Variable}, &RunMonitorOn),
    Heading(7),  // Файлы
    Action(69, "kxWipeFile", {Text, Number, Variable}, &RunWipeFile),
    Action(70, "kxFileSize", {Text, Variable}, &RunFileSize),
    Action(71, "kxDriveType", {Text, Variable}, &RunDriveType),
    Action(72, "kxFileOperation", {Text, Text, Text, Text, Text, Variable}, &RunFileOperation),
    Action(73, "kxTempFilePath", {Text, Variable}, &RunTempFilePath),
    Action(74, "kxSystemDrives", {Text, Variable, Variable}, &RunSystemDrives),
    Action(75, "kxFileLongPath", {Text, Variable}, &RunFileLongPath),
    Action(76, "kxFileShortPath", {Text, Variable}, &RunFileShortPath),
    Action(77, "kxFileTypeName", {Text, Variable}, &RunFileTypeName),
    Action(78, "kxFileSystem", {Text, Variable}, &RunFileSystem),
    Action(79, "kxFileDate", {Text, Text, Variable}, &RunFileDate),
    Heading(8),  // Папки
    Action(80, "kxParentDir", {Text, Variable}, &RunParentDir),
    Action(81, "kxDirIsEmpty", {Text, Variable}, &RunDirIsEmpty),
    Heading(9),  // Интернет
    Action(82, "kxIsHostAlive", {Text, Number, Variable}, &RunIsHostAlive),
    Action(83, "kxUrlEncode", {Text, Variable}, &RunUrlEncode),
    Action(84, "kxUrlDecode", {Text, Variable}, &RunUrlDecode),
    Action(85, "kxBase64EncodeStr", {Text, Variable}, &RunBase64EncodeStr),
    Action(86, "kxBase64DecodeStr", {Text, Variable}, &RunBase64DecodeStr),
    Action(87, "kxBase64EncodeFile", {Text, Variable}, &RunBase64EncodeFile),
    Action(88, "kxBase64DecodeFile", {Text, Text, Variable}, &RunBase64DecodeFile),
    Heading(10),  // Окна
    Action(89, "kxHideAppCaption", {Number, Variable}, &RunHideAppCaption),
    Action(90, "kxShowAppCaption", {Number, Variable}, &RunShowAppCaption),
    Heading(11),  // Дата и время
    Action(91, "kxEncodeDate", {Number, Number, Number, Variable}, &RunEncodeDate),
    Action(92, "kxIsValidDate", {Number, Number, Number, Variable}, &RunIsValidDate),
    Action(93, "kxIsValidTime", {Number, Number, Number, Variable}, &RunIsValidTime),
    Action(94, "kxDaysBetween", {Text, Text, Variable}, &RunDaysBetween),
    Action(95, "kxDaysBetweenEx", {Text, Text, Variable}, &RunDaysBetweenEx),
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
      if (row.text != IDS_CATEGORY_BASE + headings++ || row.kinds.count() != 0 ||
          !row.name.empty() || row.run)
        return false;
      continue;
    }
    if (row.id < 1 || row.id > kActionCount || seen[row.id]++ || !row.run ||
        !row.name.starts_with("kx"))
      return false;
  }
  for (int id = 1; id <= kActionCount; ++id) {
    if (seen[id] != 1) return false;
  }
  return headings == kCatalogueRows - kActionCount;
}
static_assert(IdsAreDenseAndUnique(),
              "catalogue ids must be 1..95 once each with a name and a run routine, headings "
              "numbered");

constexpr auto kIndex = BuildIndex();

}  // namespace

const CatalogueRow* FindAction(int id) {
  if (id < 1 || id > kActionCount) return nullptr;
  return kIndex[id];
}

void RegisterCatalogue() {
  const auto add = Host().addAction;
  if (!add) return;
  for (const auto& row : kCatalogue) {
    // Loaded just before each call: the host copies the texts during the call.
    const std::string text = LoadResString(row.text);
    const std::string name = row.id ? std::string(row.name) : text;
    const std::string hint = row.id ? text : std::string();
    const int count = row.kinds.count();
    CallAddAction(add, row.id, name.c_str(), hint.c_str(), row.kinds.bytes(), count ? count - 1 : 0,
                  count);
  }
}

std::string ActionCall::Param(int index) const { return Text(index); }

std::string ActionCall::ResultVariable() const {
  const int slot = row.ResultSlot();
  return slot >= 0 ? Param(slot) : std::string();
}
