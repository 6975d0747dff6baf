// The host's script interpreter: enough of NeoBook's language for the plug-in's own
// commands (SetVar, DefineVar, ClearVariables, SaveVariables), every catalogue action,
// and "." comment lines (".==" ones are headings for the listing of the variables).
#include <cctype>

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

std::string NbHost::Expand(const std::string& text) const {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find('[', at);
    if (open == std::string::npos) break;
    const size_t close = text.find(']', open + 1);
    if (close == std::string::npos) break;
    out.append(text, at, open - at);
    const std::string inner = text.substr(open + 1, close - open - 1);
    if (inner.size() > 1 && inner[0] == '#' &&
        inner.find_first_not_of("0123456789", 1) == std::string::npos && inner.size() <= 4) {
      out += static_cast<char>(std::stoi(inner.substr(1)));
    } else if (const std::string* value = Find(inner)) {
      out += *value;
    } else {
      out.append(text, open, close - open + 1);  // an unknown variable stays as written
    }
    at = close + 1;
  }
  out.append(text, at, std::string::npos);
  return out;
}

bool NbHost::RunScript(const std::string& text, std::string* error) {
  size_t start = 0;
  int number = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    ++number;
    std::string lineError;
    if (!RunLine(text.substr(start, end - start), number, &lineError)) {
      if (error) *error = "line " + std::to_string(number) + ": " + lineError;
      return false;
    }
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    if (start == text.size()) break;
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
