#include "editor/form_catalogue.h"

#include <initializer_list>

#include "actions/system/power.h"
#include "pure/dialog_options.h"
#include "pure/drive_names.h"
#include "pure/file_operations.h"
#include "resources/resource.h"

namespace {

// Frame captions, numbered as their string-table entries (IDS_CAPTION_BASE + n).
enum Caption : UINT {
  kVariableList = IDS_CAPTION_BASE,
  kValues,
  kValueSeparator,
  kText,
  kBarSeparatedValues,
  kSourceText,
  kDecimalDigits,
  kRomanDigits,
  kErrorCode,
  kShortcutPath,
  kExecutable,
  kFileExtension,
  kFilePath,
  kFolderOrFilePath,
  kFolderPath,
  kTextToEncode,
  kTextToDecode,
  kBase64Text,
  kMainWindowHandle,
  kTextStart,
  kTextEnd,
  kCharacter,
  kCount,
  kCharCount,
  kTextToAdd,
  kAllowedChars,
  kHostName,
  kWaitMs,
  kStartDate,
  kEndDate,
  kFirstCharPosition,
  kValueToTest,
  kTextIfTrue,
  kTextIfFalse,
  kYear,
  kMonth,
  kDay,
  kYearExample,
  kMonthExample,
  kDayExample,
  kHours,
  kMinutes,
  kSeconds,
  kFlag,
};

// Frame captions of the special forms (IDS_SPECIAL_FRAME_BASE + n).
enum SpecialCaption : UINT {
  kHostActions = IDS_SPECIAL_FRAME_BASE,
  kHelpFilePath,
  kKeyword,
  kTopic,
  kInitialFont,
  kStoreInArray,
  kInitialColor,
  kDialogOptions,
  kCustomColors,
  kStoreColor,
  kDefaultFileName,
  kDefaultExtension,
  kFilterExample,
  kFilterShort,
  kFilterIndex,
  kInitialFolder,
  kWindowTitle,
  kDialogOption,
  kTitle,
  kFirstLine,
  kSecondLine,
  kShortcutFolder,
  kFileOrFolderPath,
  kArguments,
  kShortcutName,
  kComment,
  kWindowHandle,
  kPasses,
  kDriveLetter,
  kStoreInVariable,
  kFileOperations,
  kSourceName,
  kTargetName,
  kOperations,
  kDriveType,
  kStoreDriveCount,
  kDateFormat,
};

constexpr ItemList kOpenOptions = [] { return FileDialogKeywords(false); };
constexpr ItemList kSaveOptions = [] { return FileDialogKeywords(true); };

constexpr FrameSpec Text(int slot, UINT caption) {
  FrameSpec frame;
  frame.slot = static_cast<std::int8_t>(slot);
  frame.caption = static_cast<std::uint16_t>(caption);
  return frame;
}
constexpr FrameSpec Result(int slot, UINT caption = IDS_FORM_RESULT) { return Text(slot, caption); }

constexpr FrameSpec Files(int slot, UINT caption, FilesButton files) {
  FrameSpec frame = Text(slot, caption);
  frame.files = files;
  return frame;
}
constexpr FrameSpec Path(int slot, UINT caption = kFilePath) {
  return Files(slot, caption, FilesButton::Open);
}

constexpr FrameSpec Of(FrameKind kind, int slot, UINT caption) {
  FrameSpec frame = Text(slot, caption);
  frame.kind = kind;
  return frame;
}

constexpr FrameSpec Combo(int slot, UINT caption, ItemList items, int defaultItem) {
  FrameSpec frame = Of(FrameKind::Combo, slot, caption);
  frame.items = items;
  frame.defaultItem = static_cast<std::int8_t>(defaultItem);
  frame.width = 208;
  return frame;
}

// An option list; `column` 1 puts it in the right column of a two-column form.
constexpr FrameSpec List(int slot, UINT caption, ItemList items, int width = 0, int height = 0,
                         int column = 0) {
  FrameSpec frame = Of(FrameKind::List, slot, caption);
  frame.items = items;
  frame.width = static_cast<std::int16_t>(width);
  frame.listHeight = static_cast<std::int16_t>(height);
  frame.column = static_cast<std::uint8_t>(column);
  return frame;
}

// The text field of a generic form is 292 px wide, with the variables button at its end.
constexpr int kGenericFrameWidth = 292 + 2 + 27;

constexpr int HeightOf(FormKind kind) {
  switch (kind) {
    case FormKind::OneParam:
      return 220;
    case FormKind::ThreeParams:
      return 344;
    case FormKind::OneResultVar:
      return 222;
    case FormKind::OneParamWithOneResult:
      return 285;
    case FormKind::TwoParamsWithOneResult:
      return 345;
    case FormKind::ThreeParamsWithOneResult:
      return 405;
    case FormKind::PowerState:
      return 284;
    case FormKind::Special:
      return 0;
  }
  return 0;
}

// A generic form: the parameter captions in slot order, then the result frame when the form
// kind has one.
constexpr FormSpec Generic(int id, FormKind kind, UINT c0 = 0, UINT c1 = 0, UINT c2 = 0) {
  FormSpec form;
  form.id = static_cast<std::int16_t>(id);
  form.kind = kind;
  form.height = static_cast<std::int16_t>(HeightOf(kind));
  form.frameWidth = kGenericFrameWidth;
  const UINT captions[] = {c0, c1, c2};
  int params = 0;
  switch (kind) {
    case FormKind::OneParam:
      params = 1;
      break;
    case FormKind::ThreeParams:
      params = 3;
      break;
    case FormKind::OneParamWithOneResult:
      params = 1;
      break;
    case FormKind::TwoParamsWithOneResult:
      params = 2;
      break;
    case FormKind::ThreeParamsWithOneResult:
      params = 3;
      break;
    default:
      break;
  }
  for (int i = 0; i < params; ++i) form.frames[i] = Text(i, captions[i]);
  int count = params;
  if (kind != FormKind::OneParam && kind != FormKind::ThreeParams) {
    form.frames[count] = Result(count);
    ++count;
  }
  form.frameCount = static_cast<std::uint8_t>(count);
  return form;
}

constexpr FormSpec PowerState(int id) {
  FormSpec form;
  form.id = static_cast<std::int16_t>(id);
  form.kind = FormKind::PowerState;
  form.height = static_cast<std::int16_t>(HeightOf(FormKind::PowerState));
  form.frameWidth = kGenericFrameWidth;
  FrameSpec flag = Text(0, kFlag);
  flag.kind = FrameKind::Combo;
  flag.width = 208;
  flag.items = &SessionEndOptions;
  flag.defaultItem = 1;  // EWX_NOFORCE
  form.frames[0] = flag;
  form.frames[1] = Result(1);
  form.frameCount = 2;
  return form;
}

// The text field of a special form keeps the generic width also beside a files button.
constexpr int kSpecialFrameWidth = 292 + 2 + 27 + 8 + 27;

// A special form: its own window caption and description, frames top to bottom (the first has
// the focus).
constexpr FormSpec Special(int id, int width, int height, std::initializer_list<FrameSpec> frames,
                           FormHandler test = nullptr, int frameWidth = kSpecialFrameWidth) {
  FormSpec form;
  form.id = static_cast<std::int16_t>(id);
  form.kind = FormKind::Special;
  form.width = width;
  form.height = height;
  form.frameWidth = frameWidth;
  form.caption = static_cast<std::uint16_t>(IDS_SPECIAL_CAPTION_BASE + id);
  form.description = static_cast<std::uint16_t>(IDS_SPECIAL_DESC_BASE + id);
  form.test = test;
  for (const FrameSpec& frame : frames) form.frames[form.frameCount++] = frame;
  return form;
}

constexpr FormSpec HelpFile(int id, int height, std::initializer_list<FrameSpec> between = {}) {
  FormSpec form = Special(id, 441, height, {Path(0, kHelpFilePath)});
  for (const FrameSpec& frame : between) form.frames[form.frameCount++] = frame;
  form.frames[form.frameCount] = Result(form.frameCount);
  ++form.frameCount;
  return form;
}

// The four file dialogs: six settings on the left, the option list with the Test button on the
// right.
constexpr FormSpec FileDialog(int id, UINT filterCaption, UINT optionsCaption, ItemList options) {
  return Special(id, 565, 592,
                 {Text(0, kDefaultFileName), Text(1, kDefaultExtension), Text(2, filterCaption),
                  Text(3, kFilterIndex), Text(4, kInitialFolder), Text(5, kWindowTitle), Result(7),
                  List(6, optionsCaption, options, 226, 439, 1)},
                 &RunWithFieldTexts, 273);
}

constexpr FormSpec FontDialog() {
  FormSpec form =
      Special(40, 441, 283, {Of(FrameKind::Font, 0, kInitialFont), Result(1, kStoreInArray)},
              &RunWithFieldTexts);
  form.frames[1].separatorAlone = true;
  return form;
}

using K = FormKind;
using F = FilesButton;
constexpr FormSpec kForms[] = {
    Generic(1, K::TwoParamsWithOneResult, kSourceText, kTextStart),
    Generic(2, K::TwoParamsWithOneResult, kSourceText, kTextEnd),
    Generic(3, K::TwoParamsWithOneResult, kText, kCharacter),
    Generic(4, K::TwoParamsWithOneResult, kText, kCharacter),
    Generic(5, K::TwoParamsWithOneResult, kText, kCount),
    Generic(6, K::OneParamWithOneResult, kText),
    Generic(7, K::TwoParamsWithOneResult, kSourceText, kCharCount),
    Generic(8, K::TwoParamsWithOneResult, kSourceText, kCharCount),
    Generic(9, K::ThreeParamsWithOneResult, kSourceText, kFirstCharPosition, kCharCount),
    Generic(10, K::OneParamWithOneResult, kText),
    Generic(11, K::OneParamWithOneResult, kText),
    Generic(12, K::OneParamWithOneResult, kText),
    Generic(13, K::OneResultVar),
    Generic(14, K::OneParamWithOneResult, kBarSeparatedValues),
    Generic(15, K::ThreeParamsWithOneResult, kValueToTest, kTextIfTrue, kTextIfFalse),
    Generic(16, K::TwoParamsWithOneResult, kSourceText, kTextToAdd),
    Generic(17, K::TwoParamsWithOneResult, kSourceText, kTextToAdd),
    Generic(18, K::TwoParamsWithOneResult, kSourceText, kAllowedChars),
    Generic(19, K::OneParamWithOneResult, kSourceText),
    Generic(20, K::OneParamWithOneResult, kSourceText),
    Generic(21, K::OneParamWithOneResult, kSourceText),
    Generic(22, K::OneParamWithOneResult, kDecimalDigits),
    Generic(23, K::OneParamWithOneResult, kRomanDigits),
    Generic(24, K::ThreeParams, kVariableList, kValues, kValueSeparator),
    Special(27, 441, 220, {Of(FrameKind::Editor, 0, kHostActions)}),
    Special(28, 471, 220, {Path(0)}, nullptr, kSpecialFrameWidth + 30),
    Generic(29, K::OneParam, kVariableList),
    Special(30, 441, 287, {Text(0, kVariableList), Path(1)}),
    HelpFile(35, 287),
    HelpFile(36, 348, {Text(1, kKeyword)}),
    HelpFile(37, 287),
    HelpFile(38, 348, {Text(1, kTopic)}),
    HelpFile(39, 287),
    FontDialog(),
    Special(41, 441, 483,
            {Of(FrameKind::Color, 0, kInitialColor),
             List(1, kDialogOptions, &ColorDialogKeywords, 0, 96), Text(2, kCustomColors),
             Result(3, kStoreColor)},
            &RunWithFieldTexts),
    FileDialog(42, kFilterExample, kDialogOptions, kOpenOptions),
    FileDialog(43, kFilterShort, kDialogOption, kSaveOptions),
    FileDialog(44, kFilterShort, kDialogOptions, kOpenOptions),
    FileDialog(45, kFilterShort, kDialogOptions, kSaveOptions),
    Special(46, 441, 408, {Text(0, kTitle), Text(1, kFirstLine), Text(2, kSecondLine), Result(3)}),
    PowerState(47),
    PowerState(48),
    PowerState(49),
    PowerState(50),
    PowerState(51),
    Generic(52, K::OneResultVar),
    Generic(53, K::OneResultVar),
    Generic(54, K::OneResultVar),
    Generic(55, K::OneResultVar),
    Generic(56, K::OneResultVar),
    Generic(57, K::OneParamWithOneResult, kErrorCode),
    Generic(58, K::OneResultVar),
    Generic(59, K::OneResultVar),
    Generic(60, K::OneResultVar),
    // The folder comes first although it is the third parameter.
    Special(61, 441, 527,
            {Files(2, kShortcutFolder, F::Folder), Text(0, kFileOrFolderPath), Text(1, kArguments),
             Text(3, kShortcutName), Text(4, kComment), Result(5)}),
    Generic(62, K::OneParamWithOneResult, kShortcutPath),
    Generic(63, K::OneParamWithOneResult, kExecutable),
    Special(64, 441, 282, {Files(0, kFilePath, F::Save), Result(1)}),
    Special(65, 441, 341, {Files(0, kFilePath, F::Save), Text(1, kWindowHandle), Result(2)}),
    Special(66, 441, 282, {Files(0, kFilePath, F::Save), Result(1)}),
    Generic(67, K::OneResultVar),
    Generic(68, K::OneResultVar),
    Special(69, 441, 346, {Path(0), Text(1, kPasses), Result(2)}),
    Special(70, 441, 285, {Path(0), Result(1)}),
    Special(71, 441, 280, {Combo(0, kDriveLetter, &DriveLetters, 0), Result(1, kStoreInVariable)}),
    Special(72, 686, 471,
            {Combo(0, kFileOperations, &ShellOperationNames, 0), Text(1, kSourceName),
             Text(2, kTargetName), Text(3, kWindowTitle), Result(5),
             List(4, kOperations, &ShellOperationFlagNames, 285, 310, 1)},
            nullptr, 370),
    Generic(73, K::OneParamWithOneResult, kFileExtension),
    Special(74, 441, 342,
            {Combo(0, kDriveType, &DriveTypeFilters, 0), Result(1, kStoreInArray),
             Result(2, kStoreDriveCount)}),
    Generic(75, K::OneParamWithOneResult, kFilePath),
    Generic(76, K::OneParamWithOneResult, kFilePath),
    Generic(77, K::OneParamWithOneResult, kFilePath),
    Generic(78, K::OneParamWithOneResult, kFilePath),
    Special(79, 441, 352, {Path(0), Text(1, kDateFormat), Result(2, kStoreInArray)}),
    Generic(80, K::OneParamWithOneResult, kFolderOrFilePath),
    Generic(81, K::OneParamWithOneResult, kFolderPath),
    Generic(82, K::TwoParamsWithOneResult, kHostName, kWaitMs),
    Generic(83, K::OneParamWithOneResult, kTextToEncode),
    Generic(84, K::OneParamWithOneResult, kTextToDecode),
    Generic(85, K::OneParamWithOneResult, kSourceText),
    Generic(86, K::OneParamWithOneResult, kBase64Text),
    Special(87, 441, 288, {Path(0), Result(1, kStoreInVariable)}),
    Special(88, 441, 355, {Text(0, kBase64Text), Path(1), Result(2)}),
    Generic(89, K::OneParamWithOneResult, kMainWindowHandle),
    Generic(90, K::OneParamWithOneResult, kMainWindowHandle),
    Generic(91, K::ThreeParamsWithOneResult, kYear, kMonth, kDay),
    Generic(92, K::ThreeParamsWithOneResult, kYearExample, kMonthExample, kDayExample),
    Generic(93, K::ThreeParamsWithOneResult, kHours, kMinutes, kSeconds),
    Generic(94, K::TwoParamsWithOneResult, kStartDate, kEndDate),
    Generic(95, K::TwoParamsWithOneResult, kStartDate, kEndDate),
};

constexpr bool AscendingAndWellFormed() {
  int last = 0;
  for (const auto& form : kForms) {
    if (form.id <= last || form.id > 95 || form.frameCount == 0 || form.height == 0) return false;
    last = form.id;
    // Every slot from 0 to frameCount-1 exactly once.
    unsigned seen = 0;
    for (int i = 0; i < form.frameCount; ++i) {
      const int slot = form.frames[i].slot;
      if (slot < 0 || slot >= form.frameCount || (seen & (1u << slot))) return false;
      seen |= 1u << slot;
      if (form.frames[i].caption == 0) return false;
    }
  }
  return true;
}
static_assert(AscendingAndWellFormed(), "form rows: ascending ids, each slot once, captions set");

}  // namespace

const FormSpec* FindForm(int id) {
  for (const auto& form : kForms) {
    if (form.id == id) return &form;
  }
  return nullptr;
}

int FormIds(std::array<int, 96>& ids) {
  int count = 0;
  for (const auto& form : kForms) ids[count++] = form.id;
  return count;
}
