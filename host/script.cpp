// The host's script interpreter: enough of NeoBook's language for the plug-in's own
// commands (SetVar, DefineVar, ClearVariables, SaveVariables), every catalogue action,
// Loop ... EndLoop, If ... Else ... EndIf, and "." comment lines
// (".==" ones are headings for the listing of the variables).
#include <cctype>
#include <cstdlib>
#include <utility>
#include <vector>

#include "host.h"

namespace {

std::string TrimBlanks(const std::string& text) {
  size_t start = 0, end = text.size();
  while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(start, end - start);
}

// Splits the arguments after the command: "double-quoted" texts (no escapes; [#34] stands
// for a quote) or bare words.
bool SplitArguments(const std::string& text, std::vector<std::string>& args, std::string& error) {
  size_t at = 0;
  while (true) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (at >= text.size()) return true;
    if (text[at] == '"') {
      const size_t end = text.find('"', at + 1);
      if (end == std::string::npos) {
        error = "unterminated quoted parameter";
        return false;
      }
      args.push_back(text.substr(at + 1, end - at - 1));
      at = end + 1;
    } else {
      size_t end = at;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
      args.push_back(text.substr(at, end - at));
      at = end;
    }
  }
}

}  // namespace

// Expands [Var] and [#NN] up to the end of the text or, inside a name, up to the "]" that
// closes it; inner references expand first, so [Drive[i]] reads Drive0, Drive1 ...
std::string NbHost::ExpandFrom(const std::string& text, size_t& at, bool inName) const {
  std::string out;
  while (at < text.size()) {
    const size_t mark = text.find_first_of(inName ? "[]" : "[", at);
    out.append(text, at, mark == std::string::npos ? std::string::npos : mark - at);
    if (mark == std::string::npos) {
      at = text.size();
      break;
    }
    at = mark;
    if (text[at] == ']') return out;  // the caller's name ends here
    ++at;
    const std::string name = ExpandFrom(text, at, true);
    if (at >= text.size()) {  // no closing bracket: the rest as written
      out += '[' + name;
      break;
    }
    ++at;
    if (name.size() > 1 && name.size() <= 4 && name[0] == '#' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos) {
      out += static_cast<char>(std::stoi(name.substr(1)));
    } else if (const std::string* value = Find(name)) {
      out += *value;
    } else {
      out += '[' + name + ']';  // an unknown variable stays as written
    }
  }
  return out;
}

std::string NbHost::Expand(const std::string& text) const {
  size_t at = 0;
  return ExpandFrom(text, at, false);
}

namespace {

enum class Flow { Plain, Loop, EndLoop, If, Else, EndIf };

Flow FlowOf(const std::string& line) {
  const std::string trimmed = TrimBlanks(line);
  const std::string word = trimmed.substr(0, trimmed.find_first_of(" \t"));
  for (const auto& [name, flow] : {std::pair{"Loop", Flow::Loop},
                                   {"EndLoop", Flow::EndLoop},
                                   {"If", Flow::If},
                                   {"Else", Flow::Else},
                                   {"EndIf", Flow::EndIf}})
    if (lstrcmpiA(word.c_str(), name) == 0) return flow;
  return Flow::Plain;
}

// The line that closes the Loop or If at `first` (and an If's Else, or `last`), or false.
bool FindBlockEnd(const std::vector<ScriptLine>& lines, size_t first, size_t last, size_t& elseAt,
                  size_t& end) {
  std::vector<Flow> open{FlowOf(lines[first].text)};
  elseAt = 0;
  for (size_t i = first + 1; i < last; ++i) {
    const Flow flow = FlowOf(lines[i].text);
    if (flow == Flow::Loop || flow == Flow::If) {
      open.push_back(flow);
    } else if (flow == Flow::Else && open.back() == Flow::If && open.size() == 1) {
      elseAt = i;
    } else if (flow == Flow::EndLoop || flow == Flow::EndIf) {
      if (open.back() != (flow == Flow::EndLoop ? Flow::Loop : Flow::If)) return false;
      open.pop_back();
      if (open.empty()) {
        end = i;
        if (!elseAt) elseAt = end;  // no Else: the If's lines run up to its EndIf
        return true;
      }
    }
  }
  return false;
}

bool ParseWhole(const std::string& text, long long& value) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(trimmed.c_str(), &end, 10);
  return *end == '\0';
}

// NeoBook's If: numbers compare as numbers, other texts byte for byte.
bool Compare(const std::string& left, const std::string& op, const std::string& right,
             bool& result) {
  long long a = 0, b = 0;
  const int order =
      ParseWhole(left, a) && ParseWhole(right, b) ? (a > b) - (a < b) : left.compare(right);
  if (op == "=")
    result = order == 0;
  else if (op == "<>")
    result = order != 0;
  else if (op == "<")
    result = order < 0;
  else if (op == ">")
    result = order > 0;
  else if (op == "<=")
    result = order <= 0;
  else if (op == ">=")
    result = order >= 0;
  else
    return false;
  return true;
}

}  // namespace

bool NbHost::RunScript(const std::string& text, std::string* error) {
  std::vector<ScriptLine> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back({text.substr(start, end - start), static_cast<int>(lines.size()) + 1});
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    if (start == text.size()) break;
  }
  std::string lineError;
  int number = 0;
  if (RunLines(lines, 0, lines.size(), number, lineError)) return true;
  if (error) *error = "line " + std::to_string(number) + ": " + lineError;
  return false;
}

// Runs lines [first, last), Loop ... EndLoop and If ... Else ... EndIf included; on failure
// `number` is the line that failed.
bool NbHost::RunLines(const std::vector<ScriptLine>& lines, size_t first, size_t last, int& number,
                      std::string& error) {
  for (size_t i = first; i < last; ++i) {
    number = lines[i].number;
    const Flow flow = FlowOf(lines[i].text);
    if (flow == Flow::Plain) {
      if (!RunLine(lines[i].text, number, &error)) return false;
      continue;
    }
    size_t elseAt = last, end = last;
    if (flow != Flow::Loop && flow != Flow::If) {
      error = TrimBlanks(lines[i].text) + " without its " + (flow == Flow::EndLoop ? "Loop" : "If");
      return false;
    }
    if (!FindBlockEnd(lines, i, last, elseAt, end)) {
      error = flow == Flow::Loop ? "Loop without its EndLoop" : "If without its EndIf";
      return false;
    }
    const std::string line = TrimBlanks(lines[i].text);
    std::vector<std::string> args;
    const size_t space = line.find_first_of(" \t");
    if (space != std::string::npos && !SplitArguments(line.substr(space), args, error))
      return false;
    if (args.size() != 3) {
      error = flow == Flow::Loop ? "Loop needs a start, an end and a variable"
                                 : "If needs a value, an operator and a value";
      return false;
    }
    if (flow == Flow::Loop) {
      long long from = 0, to = 0;
      if (!ParseWhole(Expand(args[0]), from) || !ParseWhole(Expand(args[1]), to)) {
        error = "Loop needs whole numbers";
        return false;
      }
      for (long long counter = from; counter <= to; ++counter) {
        SetVar(StripBrackets(args[2]), std::to_string(counter));
        if (!RunLines(lines, i + 1, end, number, error)) return false;
      }
    } else {
      bool holds = false;
      if (!Compare(Expand(args[0]), args[1], Expand(args[2]), holds)) {
        error = "unknown operator \"" + args[1] + "\"";
        return false;
      }
      const bool ran = holds ? RunLines(lines, i + 1, elseAt, number, error)
                             : elseAt == end || RunLines(lines, elseAt + 1, end, number, error);
      if (!ran) return false;
    }
    i = end;
  }
  return true;
}

bool NbHost::RunLine(const std::string& rawLine, int number, std::string* error) {
  const std::string line = TrimBlanks(rawLine);
  if (line.rfind(".==", 0) == 0) {
    pendingHeadings_.push_back(TrimBlanks(line.substr(3)));
    return true;
  }
  if (line.empty() || line[0] == '.') return true;
  const size_t space = line.find_first_of(" \t");
  const std::string command = line.substr(0, space);
  std::vector<std::string> args;
  if (space != std::string::npos && !SplitArguments(line.substr(space), args, *error)) return false;
  auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::string(); };
  auto is = [&](const char* name) { return lstrcmpiA(command.c_str(), name) == 0; };

  if (is("SetVar")) {
    if (args.size() != 2) {
      *error = "SetVar needs a variable and a value";
      return false;
    }
    // The target names the variable: "[a]" is a, never the variable a's value names.
    SetVar(StripBrackets(arg(0)), Expand(arg(1)));
    return true;
  }
  // Declares a type only; the name is taken as written and no value changes.
  if (is("DefineVar")) return true;
  if (is("ClearVariables")) {
    ClearVariables(Expand(arg(0)));
    return true;
  }
  if (is("SaveVariables")) {
    const std::string path = Expand(arg(0));
    if (!SaveVariables(path)) {
      *error = "SaveVariables cannot write \"" + path + "\"";
      return false;
    }
    return true;
  }
  const CatalogueEntry* entry = FindEntry(command);
  if (!entry) {
    *error = "unknown command \"" + command + "\"";
    return false;
  }
  if (static_cast<int>(args.size()) > entry->count) {
    *error = command + " takes " + std::to_string(entry->count) + " parameters, " +
             std::to_string(args.size()) + " given";
    return false;
  }
  std::vector<std::string> params(static_cast<size_t>(entry->count));
  for (size_t i = 0; i < params.size(); ++i) {
    // Result variables reach the plug-in as written ([Result]); everything else expanded.
    params[i] = entry->kinds[i] == 6 ? arg(i) : Expand(arg(i));
  }
  if (!Exec(entry->id, params)) {
    falseAnswers.push_back("line " + std::to_string(number) + ": " + entry->name +
                           " answered false");
    if (strict) {
      *error = entry->name + " answered false";
      return false;
    }
  }
  return true;
}
