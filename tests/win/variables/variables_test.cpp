// kxSetVar, kxClearVariables and kxSaveVariables end to end: the host stand-in runs the
// actions and the scripts they send, and the tests read its variables and files back.
#include <fstream>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

// Parameters as texts (a braced list of literals would fit both Exec overloads).
bool ExecTexts(NbHost& host, int id, const std::vector<std::string>& params) {
  return host.Exec(id, params);
}

constexpr int kSetVar = 24, kClearVariables = 29, kSaveVariables = 30;

// The host's variables in creation order, "name=value" joined by " / ".
std::string Listing(const NbHost& host) {
  std::string out;
  for (const auto& [name, value] : host.Variables()) {
    if (!out.empty()) out += " / ";
    out += name + "=" + value;
  }
  return out;
}

std::string SetCalls(const NbHost& host) {
  std::string out;
  for (const auto& call : host.setCalls) {
    if (!out.empty()) out += " / ";
    out += call.name + "=" + call.value;
  }
  return out;
}

// The temporary path of the first dump the plug-in asked the host for.
std::string DumpPath(const NbHost& host) {
  for (const auto& script : host.scripts) {
    const std::string head = "SaveVariables \"";
    if (script.rfind(head, 0) == 0)
      return script.substr(head.size(), script.size() - head.size() - 1);
  }
  return {};
}

int Count(const std::vector<std::string>& scripts, const std::string& prefix) {
  int n = 0;
  for (const auto& s : scripts) n += s.rfind(prefix, 0) == 0;
  return n;
}

class Variables : public PluginTest {
 protected:
  void Define(const std::vector<std::pair<std::string, std::string>>& vars) {
    for (const auto& [name, value] : vars) host.SetVar(name, value);
  }
};

}  // namespace

TEST_F(Variables, SetVarAssignsPairsOneValueOrArrays) {
  const struct {
    const char *names, *values, *separator, *expected;
  } cases[] = {
      {"a,b", "1|2", "", "a=1 / b=2"},
      {"a,b", "7", "", "a=7 / b=7"},
      {"a,b,c", "1|2", "", "a0=1 / b0=1 / c0=1 / a1=2 / b1=2 / c1=2"},
      {"x", "a||b", "", "x0=a / x1= / x2=b"},
      {"a, b", "1|2", "", "a=1 /  b=2"},
      {"a,b", "1;2", ";", "a=1 / b=2"},
      {"a,b", "1::2", "::", "a=1 / b=2"},
      {"a,b", "1;2", "  ", "a=1;2 / b=1;2"},
      {"a,,b", "1|2|3", "", "a=1 / b=3"},
      {"a,b", " 1 | 2 ", "", "a= 1  / b= 2 "},
      {"[a],b", "1|2", "", "[a]=1 / b=2"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    EXPECT_TRUE(ExecTexts(fresh, kSetVar, {c.names, c.values, c.separator}))
        << c.names << " " << c.values;
    EXPECT_EQ(SetCalls(fresh), c.expected) << c.names << " " << c.values << " sep " << c.separator;
  }
}

TEST_F(Variables, SetVarWithBlankNamesOrValuesFails) {
  const struct {
    const char *names, *values;
  } cases[] = {{"a,b", "   "}, {"a", ""}, {"  ", "1|2"}, {"", ""}, {"a", "\t\r\n"}};
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    EXPECT_FALSE(ExecTexts(fresh, kSetVar, {c.names, c.values, "|"})) << "[" << c.names << "]";
    EXPECT_EQ(SetCalls(fresh), "LastError=Invalid \"kxSetVar\" action arguments")
        << "[" << c.names << "] [" << c.values << "]";
  }
}

// Every name times every value: a pasted megabyte on each side asked the host for
// gigabytes of variables or billions of assignments, and the publication hung.
TEST_F(Variables, SetVarRefusesAssignmentsBeyondWhatAHostCanHold) {
  std::string manyValues;
  for (int i = 0; i < 500001; ++i) manyValues += "x|";
  const std::string names300 = [] {
    std::string list = "n";
    for (int i = 0; i < 299; ++i) list += ",n" + std::to_string(i);
    return list;
  }();
  const struct {
    std::string names, values;
  } cases[] = {
      {"a,b", manyValues},                            // 2 x 500,002 assignments
      {names300, std::string(1 << 20, 'v')},          // 300 x 1 MB
      {"a,b,c", std::string(100 << 20, 'v') + "|x"},  // 3 x 100 MB
  };
  for (const auto& c : cases) {
    host.ClearLogs();
    host.SetVar("LastError", "");
    EXPECT_FALSE(ExecTexts(host, kSetVar, {c.names, c.values, ""})) << c.names.substr(0, 20);
    EXPECT_EQ(LastError(), "Invalid \"kxSetVar\" action arguments");
    EXPECT_EQ(host.setCalls.size(), 1u) << "only LastError";
  }
  // At the limits themselves the assignments are made.
  EXPECT_TRUE(ExecTexts(host, kSetVar, {"a,b", "x|y|z", ""}));
  EXPECT_EQ(host.Value("a2"), "z");
}

TEST_F(Variables, ClearVariablesByNameAndPrefix) {
  const struct {
    const char *list, *remaining;
  } cases[] = {
      {"x|y", "tmpA=1 / tmpB=2 / TmpC=3 / keep=6"},
      {"X, Y", "tmpA=1 / tmpB=2 / TmpC=3 / keep=6"},
      {"tmp*", "TmpC=3 / x=4 / y=5 / keep=6"},
      {"Tmp*|keep", "tmpA=1 / tmpB=2 / x=4 / y=5"},
      {"*", ""},
      {"", ""},
      {"   ", ""},
      {"t*p*", "tmpA=1 / tmpB=2 / TmpC=3 / x=4 / y=5 / keep=6"},
      {"tmpA*,tmp*", "TmpC=3 / x=4 / y=5 / keep=6"},
      {"nothing", "tmpA=1 / tmpB=2 / TmpC=3 / x=4 / y=5 / keep=6"},
      // A stray separator must not turn into the nameless command that clears everything.
      {"x,,y", "tmpA=1 / tmpB=2 / TmpC=3 / keep=6"},
      {"x,", "tmpA=1 / tmpB=2 / TmpC=3 / y=5 / keep=6"},
      {"|", "tmpA=1 / tmpB=2 / TmpC=3 / x=4 / y=5 / keep=6"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    for (const char* name : {"tmpA", "tmpB", "TmpC", "x", "y", "keep"})
      fresh.SetVar(name, std::to_string(fresh.Variables().size() + 1));
    EXPECT_TRUE(ExecTexts(fresh, kClearVariables, {c.list})) << c.list;
    EXPECT_EQ(Listing(fresh), c.remaining) << "list: [" << c.list << "]";
    EXPECT_TRUE(fresh.scriptErrors.empty()) << c.list;
    EXPECT_LE(Count(fresh.scripts, "SaveVariables "), 1) << c.list;
    const std::string dump = DumpPath(fresh);
    if (!dump.empty()) EXPECT_FALSE(FileExists(dump)) << "dump left behind: " << dump;
  }
}

TEST_F(Variables, ClearVariablesWithAQuoteInANameInjectsNothing) {
  host.SetVar("a\"b", "1");
  host.SetVar("keep", "2");
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {"a\"b"}));
  EXPECT_EQ(host.scripts.back(), "ClearVariables \"a[#34]b\"");
  EXPECT_EQ(Listing(host), "keep=2");
  // The same name reached through the dump.
  host.SetVar("q\" \"x", "3");
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {"q*"}));
  EXPECT_EQ(Listing(host), "keep=2");
  EXPECT_TRUE(host.scriptErrors.empty());
}

TEST_F(Variables, ClearAllByWildcardSkipsContinuationLinesOfMultiLineValues) {
  Define({{"Text", "first\r\nsecond"}, {"Odd", "a\r\n=b\r\nc=d"}, {"last", "z"}});
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {"*"}));
  // "c=d" reads like a variable named c: clearing a variable that is not there is harmless.
  EXPECT_EQ(Count(host.scripts, "ClearVariables \"\""), 0);
  EXPECT_EQ(Count(host.scripts, "ClearVariables "), 4);
  EXPECT_EQ(Listing(host), "");
}

// A list that repeats "*" or a name (a user's text pasted in) cost two host scripts per
// repeat and per variable: a megabyte of "*," kept the publication waiting for minutes.
TEST_F(Variables, ClearVariablesClearsEachNameOnceHoweverOftenListed) {
  Define({{"A", "1"}, {"Ab", "2"}, {"B", "3"}});
  std::string list;
  for (int i = 0; i < 5000; ++i) list += "*,A*,B,";
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {list}));
  EXPECT_EQ(Count(host.scripts, "ClearVariables "), 3);
  EXPECT_EQ(Count(host.scripts, "SaveVariables "), 1);
  EXPECT_EQ(Listing(host), "");
}

// Each "*" used to read the lines of its matches again: with a megabyte value in the host,
// thousands of "*" items read gigabytes before the call returned.
TEST_F(Variables, ClearVariablesReadsTheDumpOnceForRepeatedWildcards) {
  Define({{"Big", std::string(1 << 20, 'v')}, {"B2", "x"}, {"C", "y"}});
  std::string list;
  for (int i = 0; i < 5000; ++i) list += "*,B*,";
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {list}));
  EXPECT_EQ(Count(host.scripts, "ClearVariables "), 3);
  EXPECT_EQ(Listing(host), "");
}

// A list repeating "*" over a megabyte value asked for gigabytes: on the shipped 32-bit build
// the size wrapped around, and the copy ran until memory was gone.
TEST_F(Variables, SaveVariablesRefusesAFileTooLargeToBuild) {
  Define({{"Big", std::string(1 << 20, 'v')}});
  ScratchDir dir;
  const std::string out = dir.Write("out.txt", "old");
  std::string list;
  for (int i = 0; i < 300; ++i) list += "*,";
  EXPECT_FALSE(ExecTexts(host, kSaveVariables, {list, out}));
  EXPECT_EQ(LastError(), SystemErrorText(ERROR_FILE_TOO_LARGE));
  EXPECT_EQ(ReadFileBytes(out), "old");
}

TEST_F(Variables, SaveVariablesWritesMatchesInListOrder) {
  const struct {
    const char *list, *expected;
  } cases[] = {
      {"a,b", "a=1\r\n"},
      {"A", "A=1\r\n"},
      {"User*", "UserB=2\r\nUserA=4\r\n"},
      {"user*|a", "user_c=5\r\na=1\r\n"},
      {"a,a,a*", "a=1\r\na=1\r\na=1\r\n"},
      {"eq*,EQ", "eq=x=y\r\nEQ=x=y\r\n"},
      {"Text*", "Text=l1\r\nl2\r\n=l3\r\n"},
      {"TEXT", "TEXT=l1\r\nl2\r\n=l3\r\n"},
      {"*",
       "a=1\r\nUserB=2\r\nother=3\r\nUserA=4\r\nuser_c=5\r\neq=x=y\r\nText=l1\r\nl2\r\n=l3\r\n"
       "empty=\r\n"},
      {"empty", "empty=\r\n"},
      {" other , ", "other=3\r\n"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, std::string>>{{"a", "1"},
                                                          {"UserB", "2"},
                                                          {"other", "3"},
                                                          {"UserA", "4"},
                                                          {"user_c", "5"},
                                                          {"eq", "x=y"},
                                                          {"Text", "l1\r\nl2\r\n=l3"},
                                                          {"empty", ""}})
      fresh.SetVar(name, value);
    ScratchDir dir;
    const std::string out = dir.File("saved.txt");
    EXPECT_TRUE(ExecTexts(fresh, kSaveVariables, {c.list, out})) << c.list;
    EXPECT_EQ(ReadFileBytes(out), c.expected) << "list: [" << c.list << "]";
    EXPECT_FALSE(fresh.Var("LastError")) << c.list;
    EXPECT_FALSE(FileExists(DumpPath(fresh))) << c.list;
  }
}

// A lone CR or LF inside a value reaches the dump as it is; every line the plug-in writes ends
// in CR LF all the same, also when one stretch of the dump is the whole result.
TEST_F(Variables, SaveVariablesEndsEveryLineInCrLf) {
  const struct {
    const char *list, *expected;
  } cases[] = {
      {"*", "Lf=x\r\ny\r\nCr=p\r\nq\r\nz=1\r\nw=2\r\n"},
      {"Cr*", "Cr=p\r\nq\r\n"},
      {"Lf*,z", "Lf=x\r\ny\r\nz=1\r\n"},
      {"z*", "z=1\r\n"},
      {"z*,w*", "z=1\r\nw=2\r\n"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.SetVar("Lf", "x\ny");
    fresh.SetVar("Cr", "p\rq");
    fresh.SetVar("z", "1");
    fresh.SetVar("w", "2");
    ScratchDir dir;
    const std::string out = dir.File("saved.txt");
    ASSERT_TRUE(ExecTexts(fresh, kSaveVariables, {c.list, out})) << c.list;
    EXPECT_EQ(ReadFileBytes(out), c.expected) << "list: [" << c.list << "]";
  }
}

TEST_F(Variables, SaveVariablesNameMatchFollowsTheUserLocale) {
  SKIP_UNLESS_RUSSIAN();
  host.SetVar("\xC8\xEC\xFF", "\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5");  // Имя = значение
  ScratchDir dir;
  const std::string out = dir.File("ru.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"\xC8\xCC\xDF", out}));  // ИМЯ
  EXPECT_EQ(ReadFileBytes(out), "\xC8\xCC\xDF=\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n");
}

TEST_F(Variables, SaveVariablesNameMatchFollowsTheUsLocale) {
  SKIP_UNLESS_US();
  host.SetVar("\xC9t\xE9", "x");  // Été
  ScratchDir dir;
  const std::string out = dir.File("us.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"\xE9T\xC9,\xC9te", out}));  // éTÉ, Éte
  EXPECT_EQ(ReadFileBytes(out), "\xE9T\xC9=x\r\n");
}

TEST_F(Variables, SaveVariablesWithNothingMatchedLeavesTheFileAlone) {
  host.SetVar("a", "1");
  ScratchDir dir;
  const std::string missing = dir.File("new.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"b,c*", missing}));
  EXPECT_FALSE(FileExists(missing));
  const std::string old = dir.Write("old.txt", "keep me");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"nope", old}));
  EXPECT_EQ(ReadFileBytes(old), "keep me");
  EXPECT_FALSE(FileExists(DumpPath(host)));
  EXPECT_FALSE(host.Var("LastError"));
}

TEST_F(Variables, SaveVariablesWithAnEmptyListHandsTheJobToTheHost) {
  host.SetVar("a", "1");
  host.SetVar("b", "2");
  ScratchDir dir;
  const std::string out = dir.File("all.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"  ", out}));
  EXPECT_EQ(host.scripts, std::vector<std::string>{"SaveVariables \"" + out + "\""});
  EXPECT_EQ(ReadFileBytes(out), "a=1\r\nb=2\r\n");
}

TEST_F(Variables, SaveVariablesEscapesAQuoteInThePath) {
  host.scriptHook = [](const std::string&) {};
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"", "x\" \"y.txt"}));
  EXPECT_EQ(host.scripts, std::vector<std::string>{"SaveVariables \"x[#34] [#34]y.txt\""});
}

TEST_F(Variables, SaveVariablesWithoutADumpWritesNothing) {
  host.SetVar("a", "1");
  host.scriptHook = [](const std::string&) {};
  ScratchDir dir;
  const std::string out = dir.File("none.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"a", out}));
  EXPECT_FALSE(FileExists(out));
}

namespace {

// The scripts with the dump's temporary path shown as <dump>.
std::vector<std::string> ScriptsWithDumpMarked(const NbHost& host) {
  const std::string dump = DumpPath(host);
  std::vector<std::string> out;
  for (std::string script : host.scripts) {
    if (!dump.empty())
      for (size_t at; (at = script.find(dump)) != std::string::npos;)
        script.replace(at, dump.size(), "<dump>");
    out.push_back(script);
  }
  return out;
}

std::string DefineScript(const std::string& name) {
  return "DefineVar \"" + name + "\" \"Undefined\" \"\" \"Global\" \"\"";
}
std::string ClearScript(const std::string& name) { return "ClearVariables \"" + name + "\""; }

// A host whose SaveVariables writes `dump` instead of its own variables.
void DumpWrites(NbHost& host, std::string dump, bool readOnly = false) {
  host.scriptHook = [dump, readOnly](const std::string& script) {
    const std::string head = "SaveVariables \"";
    if (script.rfind(head, 0) != 0) return;
    const std::string path = script.substr(head.size(), script.size() - head.size() - 1);
    std::ofstream(path, std::ios::binary).write(dump.data(), std::streamsize(dump.size()));
    if (readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  };
}

}  // namespace

TEST_F(Variables, ClearVariablesSendsTheHostTheseScripts) {
  const struct {
    const char* list;
    bool hostDumps;
    std::vector<std::string> expected;
  } cases[] = {
      {"x", true, {DefineScript("x"), ClearScript("x")}},
      {" x ", true, {DefineScript("x"), ClearScript("x")}},
      {"", true, {DefineScript(""), ClearScript("")}},
      {" \t ", true, {DefineScript(""), ClearScript("")}},
      // Names before the first wildcard go before the dump, which then serves the rest.
      {"x,tmp*,y",
       true,
       {DefineScript("x"), ClearScript("x"), "SaveVariables \"<dump>\"", DefineScript("tmpA"),
        ClearScript("tmpA"), DefineScript("y"), ClearScript("y")}},
      {"x,tmp*,y",
       false,
       {DefineScript("x"), ClearScript("x"), "SaveVariables \"<dump>\"", DefineScript("y"),
        ClearScript("y")}},
      // A variable is cleared once however many items match it: a second clear changes nothing.
      {"tmp*|tmp*|tmpA",
       true,
       {"SaveVariables \"<dump>\"", DefineScript("tmpA"), ClearScript("tmpA")}},
      {"*", false, {"SaveVariables \"<dump>\""}},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    for (const char* name : {"tmpA", "x", "y"}) fresh.SetVar(name, "1");
    if (!c.hostDumps) fresh.scriptHook = [](const std::string&) {};
    EXPECT_TRUE(ExecTexts(fresh, kClearVariables, {c.list})) << c.list;
    EXPECT_EQ(ScriptsWithDumpMarked(fresh), c.expected) << "list: [" << c.list << "]";
    EXPECT_FALSE(fresh.Var("LastError")) << c.list;
  }
}

TEST_F(Variables, TheDumpIsATemporaryGuidFileWithoutExtension) {
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"a", "unused.txt"}));
  char temp[MAX_PATH + 1] = {};
  const std::string folder(temp, GetTempPathA(MAX_PATH, temp));
  const std::string dump = DumpPath(host);
  ASSERT_EQ(dump.size(), folder.size() + 38) << dump;
  EXPECT_EQ(dump.substr(0, folder.size()), folder);
  EXPECT_EQ(dump[folder.size()], '{') << dump;
  EXPECT_EQ(dump.back(), '}') << dump;
  EXPECT_EQ(dump.find('.', folder.size()), std::string::npos) << dump;
}

// A plain name takes its value from the host's variable, a wildcard the dump's own text.
TEST_F(Variables, SaveVariablesReadsNamesFromTheHostAndWildcardsFromTheDump) {
  const struct {
    const char *list, *expected, *reads;
  } cases[] = {
      {"a", "a=live\r\n", "a"},
      {"a*", "a=dump\r\n", ""},
      {"b", "b=liveB\r\n", "b"},
      {"B*", "B=dumpB\r\nB2=x\r\n", ""},
      {"b*", "", ""},
      {"c", "", ""},
      {"a,a*", "a=live\r\na=dump\r\n", "a"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.SetVar("a", "live");
    fresh.SetVar("b", "liveB");
    fresh.SetVar("c", "liveC");
    DumpWrites(fresh, "a=dump\nB=dumpB\r\nB2=x");
    ScratchDir dir;
    const std::string out = dir.File("out.txt");
    EXPECT_TRUE(ExecTexts(fresh, kSaveVariables, {c.list, out})) << c.list;
    EXPECT_EQ(ReadFileBytes(out), c.expected) << "list: [" << c.list << "]";
    if (!*c.expected) EXPECT_FALSE(FileExists(out)) << c.list;
    std::string reads;
    for (const auto& name : fresh.getCalls) reads += (reads.empty() ? "" : ",") + name;
    EXPECT_EQ(reads, c.reads) << c.list;
    EXPECT_FALSE(FileExists(DumpPath(fresh))) << c.list;
  }
}

TEST_F(Variables, TheDumpIsRemovedOnEveryPath) {
  ScratchDir dir;
  const std::string readOnly = dir.Write("ro.txt", "old");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    int id;
    const char* list;
    std::string path;
    bool dumpReadOnly;
  } cases[] = {
      {kSaveVariables, "a", dir.File("saved.txt"), false},
      {kSaveVariables, "zzz", dir.File("none.txt"), false},
      {kSaveVariables, "a", readOnly, false},
      {kSaveVariables, "a*", dir.File("saved2.txt"), true},
      {kClearVariables, "a*", "", false},
      {kClearVariables, "zzz*", "", true},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.SetVar("a", "1");
    DumpWrites(fresh, "a=1\r\n", c.dumpReadOnly);
    ExecTexts(fresh, c.id, {c.list, c.path});
    const std::string dump = DumpPath(fresh);
    ASSERT_FALSE(dump.empty()) << c.list;
    EXPECT_FALSE(FileExists(dump)) << c.id << " " << c.list << " ro " << c.dumpReadOnly;
    SetFileAttributesA(dump.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(dump.c_str());
  }
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A device name anywhere in the path ("AUX", "x\NUL.txt", "\\.\NUL") would put the
// replacement file into the device namespace and open it for writing there.
TEST_F(Variables, SaveVariablesNeverOpensADeviceForWriting) {
  host.SetVar("a", "1");
  ScratchDir dir;
  for (const std::string& path :
       {std::string("AUX"), dir.File("NUL.txt"), dir.File("con"), std::string("\\\\.\\NUL"),
        std::string("\\\\.\\PhysicalDrive0")}) {
    for (const char* list : {"a", ""}) {  // nor handed to the host's SaveVariables
      host.ClearLogs();
      host.SetVar("LastError", "");
      EXPECT_FALSE(ExecTexts(host, kSaveVariables, {list, path})) << path;
      char full[MAX_PATH] = {};
      GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
      EXPECT_EQ(LastError(), CannotCreateFileText(full, ERROR_INVALID_NAME)) << path;
      EXPECT_TRUE(host.scripts.empty()) << path;
    }
  }
}
