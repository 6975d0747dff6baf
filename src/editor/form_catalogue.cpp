#include "editor/form_catalogue.h"

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

constexpr FrameSpec Text(int slot, UINT caption) {
  FrameSpec frame;
  frame.slot = static_cast<std::int8_t>(slot);
  frame.caption = static_cast<std::uint16_t>(caption);
  return frame;
}
constexpr FrameSpec Result(int slot) { return Text(slot, IDS_FORM_RESULT); }

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
  flag.items = {IDS_ITEMS_EWX, 3};
  flag.defaultItem = 1;  // EWX_NOFORCE
  form.frames[0] = flag;
  form.frames[1] = Result(1);
  form.frameCount = 2;
  return form;
}

using K = FormKind;
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
    Generic(29, K::OneParam, kVariableList),
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
    Generic(62, K::OneParamWithOneResult, kShortcutPath),
    Generic(63, K::OneParamWithOneResult, kExecutable),
    Generic(67, K::OneResultVar),
    Generic(68, K::OneResultVar),
    Generic(73, K::OneParamWithOneResult, kFileExtension),
    Generic(75, K::OneParamWithOneResult, kFilePath),
    Generic(76, K::OneParamWithOneResult, kFilePath),
    Generic(77, K::OneParamWithOneResult, kFilePath),
    Generic(78, K::OneParamWithOneResult, kFilePath),
    Generic(80, K::OneParamWithOneResult, kFolderOrFilePath),
    Generic(81, K::OneParamWithOneResult, kFolderPath),
    Generic(82, K::TwoParamsWithOneResult, kHostName, kWaitMs),
    Generic(83, K::OneParamWithOneResult, kTextToEncode),
    Generic(84, K::OneParamWithOneResult, kTextToDecode),
    Generic(85, K::OneParamWithOneResult, kSourceText),
    Generic(86, K::OneParamWithOneResult, kBase64Text),
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
