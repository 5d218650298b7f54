#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/CliApp.h"
#include "fishApi/files/ErrnoText.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/files/ProjectFile.h"
#include "support/EngineTestSupport.h"

using namespace vintaler::cli;
namespace fs = std::filesystem;

namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun cli(const std::vector<std::string>& args, const std::string& separator = ".") {
  std::ostringstream out, err;
  const int status = runCli(args, out, err, separator);
  return {status, out.str(), err.str()};
}

std::string joined(const fish::TStringList& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

std::string lastLine(const std::string& text) {
  std::string t = text;
  if (!t.empty() && t.back() == '\n') t.pop_back();
  const std::size_t nl = t.rfind('\n');
  return nl == std::string::npos ? t : t.substr(nl + 1);
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vintaler-cli-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST(Cli, NewProjectPrintsTheWholeResultsText) {
  const CliRun r = cli({});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, joined(fish::getResultsText(fish::defaultSystemParams(), fish::defaultProParams())));
  EXPECT_NE(r.out.find("Общие габариты (XxY)=191.8x131.5\n"), std::string::npos);
}

TEST(Cli, OptionsOverrideTheProject) {
  fish::TSystemParams sp = fish::defaultSystemParams();
  sp.B = 400;
  sp.A = 250.5L;
  sp.L = -300;
  sp.R = 160;
  sp.X1 = 35;
  sp.Y1 = -20;
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = 24;
  const CliRun r = cli({"--B", "400", "--A=250,5", "--L", "-300", "--R", "1.6e2", "--X1", "35", "--Y1", " -20 ",
                        "--divisions", "24", "--quadrants", "3,4", "--grid"},
                       ",");
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, joined(fish::getResultsText(sp, pp, ",")));
  EXPECT_NE(r.out.find("(XxY)=400x250,5"), std::string::npos) << "printed with the locale's separator";
}

TEST(Cli, EngineFailuresEndWithTheSystemMessage) {
  const struct {
    std::vector<std::string> args;
    const char* message;
    const char* blamed;  // the input the line before the message names
  } cases[] = {
      {{"--divisions", "0"}, "Floating point division by zero", "0 "},
      {{"--B", "1e18"}, "Invalid floating point operation", "B = 1E18 "},
      {{"--L", "0", "--X1", "0.0149"}, "Invalid floating point operation", "X1 = 0.0149 "},
      {{"--L", "0", "--X1", "0.004"}, "Floating point division by zero", "X1 = 0.004 "},
  };
  for (const auto& c : cases) {
    const CliRun r = cli(c.args);
    EXPECT_EQ(r.status, kExitEngineError) << c.message;
    EXPECT_EQ(r.out, "") << "nothing half-printed";
    EXPECT_EQ(lastLine(r.err), c.message);
    EXPECT_NE(r.err.find(c.blamed), std::string::npos) << r.err;
  }
}

TEST(Cli, DivisionsOutsideTheirRangeAreUsageErrors) {
  const struct {
    const char* divisions;
    int status;
    const char* lastLine;  // of standard error
    bool namesTheRange;
  } cases[] = {
      {"100001", kExitUsageOrFile, "Try 'vintaler-cli --help'.", true},
      {"-1", kExitUsageOrFile, "Try 'vintaler-cli --help'.", true},
      {"2147483648", kExitUsageOrFile, "Try 'vintaler-cli --help'.", true},
      {"-99999999999999999999", kExitUsageOrFile, "Try 'vintaler-cli --help'.", true},
      {"2.5", kExitUsageOrFile, "Try 'vintaler-cli --help'.", false},
      {"0", kExitEngineError, "Floating point division by zero", false},
  };
  for (const auto& c : cases) {
    const CliRun r = cli({"--divisions", c.divisions});
    EXPECT_EQ(r.status, c.status) << c.divisions;
    EXPECT_EQ(r.out, "") << c.divisions;
    EXPECT_EQ(lastLine(r.err), c.lastLine) << c.divisions;
    EXPECT_EQ(r.err.find("from 1 to 100000, not '" + std::string(c.divisions) + "'") != std::string::npos,
              c.namesTheRange)
        << r.err;
  }
  // The bounds themselves are accepted (0 is left to the engine).
  for (const char* n : {"0", "1", "100000", " +100000 "}) {
    EXPECT_TRUE(parseArguments({"--divisions", n}, ".").divisions.has_value()) << n;
  }
  EXPECT_EQ(parseArguments({"--divisions=100000"}, ".").divisions, 100000);
}

TEST(Cli, OutputThatCannotBeWrittenIsAFileError) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--help"}, {"--json"}}) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(runCli(args, out, err, "."), kExitUsageOrFile);
    EXPECT_EQ(err.str().rfind("vintaler-cli: cannot write ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find(" to standard output"), std::string::npos) << err.str();
  }
}

// A failed computation is the status and the last word, whatever failed besides.
TEST_F(CliTest, TheComputationsFailureOutranksAFileError) {
  const CliRun r = cli({"--divisions", "0", "--save", Path("missing/p.raz"), "--dxf", Path("p.dxf")});
  EXPECT_EQ(r.status, kExitEngineError);
  EXPECT_NE(r.err.find("vintaler-cli: project file: "), std::string::npos) << r.err;
  EXPECT_EQ(lastLine(r.err), "Floating point division by zero");
}

// The tool itself, its output sent where the shell puts it.
// Descriptor 9 is a pipe nobody reads: a write to it fails with EPIPE (and
// SIGPIPE, which the tool must not die of).
TEST_F(CliTest, TheToolReportsAFullOutputDevice) {
  const std::string failed = "vintaler-cli: cannot write the results to standard output: ";
  const struct {
    const char* device;
    int status;
    std::string err;
  } cases[] = {
      {"/dev/full", kExitUsageOrFile, failed + std::strerror(ENOSPC)},
      {"/dev/null", kExitOk, ""},
      {"&9", kExitUsageOrFile, failed + std::strerror(EPIPE)},
  };
  int unread[2];
  ASSERT_EQ(::pipe(unread), 0);
  ::close(unread[0]);
  ASSERT_EQ(::dup2(unread[1], 9), 9);
  ::close(unread[1]);
  std::signal(SIGPIPE, SIG_DFL);
  for (const auto& c : cases) {
    if (c.device[0] == '/' && !fs::exists(c.device)) GTEST_SKIP() << "no " << c.device << " here";
    const std::string errFile = Path("err.txt");
    const std::string command = std::string("'") + VINTALER_CLI_PATH + "' >" + c.device + " 2> '" + errFile + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.device;
    std::ifstream in(errFile);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, c.err) << c.device;
  }
  ::close(9);
}

TEST(Cli, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"--B"},
      {"--B", "abc"},
      {"--B", "inf"},
      {"--R", "1e5000"},
      {"--divisions", "2.5"},
      {"--divisions", "99999999999"},
      {"--quadrants", "5"},
      {"--quadrants", "1;2"},
      {"--frobnicate"},
      {"a.raz", "b.raz"},
      {"--grid=1"},
      {"--save"},
      {"-x"},
  };
  for (const auto& args : cases) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.status, kExitUsageOrFile) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("vintaler-cli:"), std::string::npos);
  }
  const CliRun help = cli({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("Usage: vintaler-cli"), std::string::npos);
}

TEST_F(CliTest, SaveThenReadBack) {
  const std::string file = Path("p.raz");
  const CliRun saved = cli({"--R", "40", "--divisions", "6", "--quadrants", "2,3", "--grid", "--save", file});
  ASSERT_EQ(saved.status, kExitOk) << saved.err;
  const fish::TProjectData p = fish::readProjectFile(file);
  EXPECT_EQ(p.SystemParams.R, 40);
  EXPECT_EQ(p.ProParams.Divisions, 6);
  EXPECT_EQ(p.ProParams.Quadrants, (std::array<fish::ByteBool, 4>{0, 1, 1, 0}));
  EXPECT_EQ(p.ProParams.ShowGrid, 1);
  EXPECT_EQ(p.Bounds2D, fish::newProjectData().Bounds2D);

  const CliRun reread = cli({file});
  EXPECT_EQ(reread.status, kExitOk);
  EXPECT_EQ(reread.out, saved.out);

  // Options over a file keep the file's other values and its view bounds.
  fish::TProjectData zoomed = p;
  zoomed.Bounds3D[0] = -12.5L;
  fish::writeProjectFile(file, zoomed);
  const std::string copy = Path("copy.raz");
  ASSERT_EQ(cli({file, "--B", "80", "--save", copy}).status, kExitOk);
  const fish::TProjectData c = fish::readProjectFile(copy);
  EXPECT_EQ(c.SystemParams.B, 80);
  EXPECT_EQ(c.SystemParams.R, 40);
  EXPECT_EQ(c.Bounds3D[0], -12.5L);
}

TEST_F(CliTest, FileErrors) {
  const CliRun missing = cli({Path("missing.raz")});
  EXPECT_EQ(missing.status, kExitUsageOrFile);
  EXPECT_NE(missing.err.find(Path("missing.raz")), std::string::npos);

  const CliRun unsaved = cli({"--save", Path("no/such/dir.raz")});
  EXPECT_EQ(unsaved.status, kExitUsageOrFile);
  EXPECT_EQ(unsaved.out, cli({}).out) << "the project is saved after the results are printed";
  EXPECT_EQ(unsaved.err, "vintaler-cli: project file: Не удалось сохранить файл \"" + Path("no/such/dir.raz") +
                             "\": " + fish::errnoText(ENOENT) + "\n");
}

TEST(ErrnoText, EveryCommonReasonHasARussianTextOfItsOwn) {
  std::set<std::string> seen;
  for (int err : {EACCES, EPERM, ENOENT, ENOSPC, EDQUOT, EFBIG, EROFS, EISDIR, ENOTDIR, EEXIST, EPIPE, EIO,
                  ENAMETOOLONG, ELOOP, EMFILE, ETXTBSY}) {
    const std::string text = fish::errnoText(err);
    EXPECT_EQ(text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"), std::string::npos)
        << err << ": " << text;
    EXPECT_TRUE(seen.insert(text).second) << err << " reads like another reason: " << text;
  }
  EXPECT_EQ(fish::errnoText(99999), "системная ошибка 99999");
}

// The tool itself: a drawing too large for its page fails alone, Qt's notes
// about the machine stay off standard error, and the project is saved last.
TEST_F(CliTest, TheToolNamesTheOutputThatFailedAndWritesTheOthers) {
  const std::string tool = VINTALER_CLI_PATH;
  if (!fs::exists(fs::path(tool).parent_path() / "vintaler-painted.so")) GTEST_SKIP() << "a build without drawings";
  const std::string command = "env -u XDG_RUNTIME_DIR '" + tool + "' --B 6000 --A 6000 --R 1000 --L 3000 --pdf '" +
                              Path("p.pdf") + "' --dxf '" + Path("p.dxf") + "' --save '" + Path("p.raz") + "' > '" +
                              Path("out.txt") + "' 2> '" + Path("err.txt") + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitUsageOrFile);
  EXPECT_FALSE(fs::exists(Path("p.pdf")));
  EXPECT_TRUE(fs::exists(Path("p.dxf")) && fs::exists(Path("p.raz")) && fs::file_size(Path("out.txt")) > 0);
  std::ifstream in(Path("err.txt"));
  bool pdfNamed = false;
  for (std::string line; std::getline(in, line);) {
    EXPECT_EQ(line.rfind("vintaler-cli: ", 0), 0u) << line;
    pdfNamed |= line.rfind("vintaler-cli: PDF \"" + Path("p.pdf") + "\": ", 0) == 0;
  }
  EXPECT_TRUE(pdfNamed);
}

TEST_F(CliTest, NonFiniteValuesFromAFileNeverReachTheText) {
  const std::string file = Path("nan.raz");
  fish::TProjectData p = fish::newProjectData();
  fish::TProjectImage img = fish::encodeProject(p);
  img[30 + 9] = 0x7F;  // R := a quiet NaN
  img[30 + 8] = 0xFF;
  img[30 + 7] = 0xC0;
  p = fish::decodeProject(img);
  fish::writeProjectFile(file, p);
  const CliRun r = cli({file});
  EXPECT_EQ(r.status, kExitEngineError);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("R is not a finite number"), std::string::npos) << r.err;
  EXPECT_EQ(lastLine(r.err), "Invalid floating point operation");
  // Overriding the damaged value makes the project usable again.
  EXPECT_EQ(cli({file, "--R", "50"}).status, kExitOk);
}

}  // namespace

namespace {

// Every export option: what it writes, and what a failure leaves.
struct ExportCase {
  const char* name;
  std::vector<std::string> args;  // "@" stands for the scratch folder
  int status;
  std::vector<const char*> written;  // files expected in the folder afterwards
  const char* message;               // part of standard error ("" for none)
  bool resultsPrinted;
};

const ExportCase kExports[] = {
    {"DxfAlongsideTheResults", {"--dxf", "@/p.dxf"}, kExitOk, {"p.dxf"}, "", true},
    {"DxfOfAllQuadrants", {"--quadrants", "1,2,3,4", "--dxf=@/all.dxf"}, kExitOk, {"all.dxf"}, "", true},
    {"NoQuadrantWritesNothing",
     {"--quadrants", "", "--dxf", "@/none.dxf"},
     kExitEngineError,
     {},
     "Не выбран ни один квадрант",
     false},
    {"EngineFailureWritesNothing",
     {"--divisions", "0", "--dxf", "@/zero.dxf"},
     kExitEngineError,
     {},
     "Floating point division by zero",
     false},
    {"UnwritableFolder", {"--dxf", "@/missing/p.dxf"}, kExitUsageOrFile, {}, "p.dxf", true},
    {"FolderAsTarget", {"--dxf", "@"}, kExitUsageOrFile, {}, "", true},
    {"FailedExportLeavesTheProjectToBeSaved",
     {"--dxf", "@/missing/p.dxf", "--save", "@/p.raz"},
     kExitUsageOrFile,
     {"p.raz"},
     "vintaler-cli: DXF",
     true},
    {"PaintedDrawingsNeedTheFullBuild", {"--svg", "@/p.svg", "--dxf", "@/p.dxf"}, kExitUsageOrFile, {}, "--svg", false},
    {"UnknownPaper", {"--tiles", "@/t.pdf", "--paper", "A5"}, kExitUsageOrFile, {}, "A4, A3 or Letter", false},
    {"EmptyFileName", {"--dxf="}, kExitUsageOrFile, {}, "--dxf needs a file name", false},
};

class CliExport : public ::testing::TestWithParam<ExportCase> {};

TEST_P(CliExport, WritesWhatItIsAskedOrNothing) {
  const ExportCase& c = GetParam();
  const fs::path dir = fs::temp_directory_path() / ("vintaler-export-" + std::to_string(::getpid()) + c.name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::vector<std::string> args;
  for (std::string a : c.args) {
    if (const std::size_t at = a.find('@'); at != std::string::npos) a.replace(at, 1, dir.string());
    args.push_back(a);
  }
  const CliRun r = cli(args);
  EXPECT_EQ(r.status, c.status) << r.err;
  EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  EXPECT_EQ(!r.out.empty(), c.resultsPrinted);
  std::vector<std::string> present;
  for (const auto& entry : fs::directory_iterator(dir)) present.push_back(entry.path().filename().string());
  std::sort(present.begin(), present.end());
  std::vector<std::string> expected(c.written.begin(), c.written.end());
  EXPECT_EQ(present, expected) << "a failed export leaves no file, a good one exactly its own";
  for (const std::string& file : present) {
    std::ifstream in(dir / file);
    std::string first;
    std::getline(in, first);
    EXPECT_FALSE(first.empty()) << file;
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Options, CliExport, ::testing::ValuesIn(kExports), vintaler::test::rowName<ExportCase>);

}  // namespace

namespace {

// --version: the tool's name and the program's version, and nothing else is done.
struct VersionCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string out;        // the whole standard output, when `exact`
  bool exact;             // otherwise `out` is a part of it
  const char* errorPart;  // part of standard error ("" for none expected)
};

const std::string kVersionLine = std::string("vintaler-cli ") + VINTALER_VERSION + "\n";

const VersionCase kVersionCases[] = {
    {"VersionAlone", {"--version"}, kExitOk, kVersionLine, true, ""},
    {"VersionReadsNoProject", {"missing.raz", "--version"}, kExitOk, kVersionLine, true, ""},
    {"VersionOverridesNothingElse", {"--R", "40", "--version", "--grid"}, kExitOk, kVersionLine, true, ""},
    {"VersionTakesNoValue", {"--version=2"}, kExitUsageOrFile, "", true, "--version takes no value"},
    {"HelpNamesVersion", {"--help"}, kExitOk, "\n  --version ", false, ""},
    {"HelpComesBeforeVersion", {"--version", "--help"}, kExitOk, "Usage: vintaler-cli", false, ""},
};

class CliVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(CliVersion, PrintsTheVersionOrUsage) {
  const VersionCase& c = GetParam();
  const CliRun r = cli(c.args);
  EXPECT_EQ(r.status, c.status) << r.err;
  if (c.exact) {
    EXPECT_EQ(r.out, c.out);
  } else {
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
  }
  if (*c.errorPart) {
    EXPECT_NE(r.err.find(c.errorPart), std::string::npos) << r.err;
  } else {
    EXPECT_EQ(r.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Options, CliVersion, ::testing::ValuesIn(kVersionCases), vintaler::test::rowName<VersionCase>);

TEST(Cli, TheToolPrintsTheVersionOfTheBuild) {
  const std::string command = std::string("'") + VINTALER_CLI_PATH + "' --version";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[256];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitOk);
  EXPECT_EQ(out, kVersionLine);
  EXPECT_EQ(std::string(VINTALER_VERSION).find_first_not_of("0123456789."), std::string::npos)
      << "the version is CMake's project version, numbers and points";
}

}  // namespace
