// kxExecAction, kxExecActions: host script text built at run time. The plug-in neither
// parses nor changes it; the host runs each text to completion before the call returns.
#include "actions/actions.h"
#include "core/failures.h"
#include "core/host.h"
#include "core/host_io.h"
#include "pure/variable_lists.h"

// The host's own text goes straight back to it, the same pointer and not a copy, in one
// call however many lines it holds.
bool RunExecAction(const ActionCall& call) {
  const char* script = call.Text(0);
  if (const auto play = Host().scriptProcessor) play(script);
  return true;
}

// Plays the file one line per call, empty lines included and nothing trimmed. A missing file
// (or a folder) is ignored; one that exists but cannot be read, or a device, is reported in
// LastError with a false result rather than passed over as if it had run.
bool RunExecActions(const ActionCall& call) {
  const std::string path = call.Param(0);
  if (!FileExists(path)) return true;
  std::string bytes;
  if (const FileFailure failure = ReadAll(path, bytes)) return ReportFileFailure("", failure);
  for (const std::string_view line : SplitLines(bytes)) PlayScript(line);
  return true;
}
