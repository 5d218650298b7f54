// What the tool says, and in which language: the system's reasons in
// Russian after the engine's Russian messages, and every failed output named.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/CliApp.h"
#include "fishApi/ErrnoText.h"

using namespace vintaler::cli;
namespace fs = std::filesystem;

namespace {

TEST(ErrnoText, EveryCommonReasonHasARussianTextOfItsOwn) {
  std::set<std::string> seen;
  for (int err : {EACCES, EPERM, ENOENT, ENOSPC, EDQUOT, EFBIG, EROFS, EISDIR, ENOTDIR, EEXIST, EPIPE, EIO,
                  ENAMETOOLONG, ELOOP, EMFILE, ETXTBSY}) {
    const std::string text = fish::errnoText(err);
    EXPECT_EQ(text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"), std::string::npos)
        << err << ": " << text;
    EXPECT_TRUE(seen.insert(text).second) << err << " reads like another reason: " << text;
  }
  EXPECT_EQ(fish::errnoText(ENFILE), fish::errnoText(EMFILE));
  EXPECT_EQ(fish::errnoText(99999), "системная ошибка 99999");
}

struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("vintaler-messages-" + std::to_string(::getpid()));
  Scratch() { fs::create_directories(dir); }
  ~Scratch() { fs::remove_all(dir); }
  std::string operator/(const char* name) const { return (dir / name).string(); }
};

TEST(CliMessages, AFileErrorGivesItsReasonInTheMessagesLanguage) {
  const Scratch scratch;
  std::ofstream(scratch / "plain") << "not a folder";
  const std::string target = scratch / "plain/p.raz";
  std::ostringstream out, err;
  EXPECT_EQ(runCli({"--save", target}, out, err, "."), kExitUsageOrFile);
  EXPECT_EQ(err.str(), "vintaler-cli: project file: Не удалось сохранить файл \"" + target +
                           "\": " + fish::errnoText(ENOTDIR) + "\n");
  EXPECT_FALSE(out.str().empty()) << "the results are printed before the project is saved";
}

// The tool itself: a drawing too large for its page fails alone, Qt's notes
// about the machine stay off standard error, and the project is saved last.
TEST(CliMessages, TheToolNamesTheOutputThatFailedAndWritesTheOthers) {
  const std::string tool = VINTALER_CLI_PATH;
  if (!fs::exists(fs::path(tool).parent_path() / "vintaler-painted.so")) GTEST_SKIP() << "a build without drawings";
  const Scratch scratch;
  const std::string command = "env -u XDG_RUNTIME_DIR '" + tool + "' --B 6000 --A 6000 --R 1000 --L 3000 --pdf '" +
                              (scratch / "p.pdf") + "' --dxf '" + (scratch / "p.dxf") + "' --save '" +
                              (scratch / "p.raz") + "' > '" + (scratch / "out.txt") + "' 2> '" + (scratch / "err.txt") +
                              "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitUsageOrFile);
  EXPECT_FALSE(fs::exists(scratch / "p.pdf"));
  EXPECT_TRUE(fs::exists(scratch / "p.dxf") && fs::exists(scratch / "p.raz"));
  EXPECT_GT(fs::file_size(scratch / "out.txt"), 0u);
  std::ifstream in(scratch / "err.txt");
  bool pdfNamed = false;
  for (std::string line; std::getline(in, line);) {
    EXPECT_EQ(line.rfind("vintaler-cli: ", 0), 0u) << line;
    pdfNamed |= line.rfind("vintaler-cli: PDF \"" + (scratch / "p.pdf") + "\": ", 0) == 0;
  }
  EXPECT_TRUE(pdfNamed);
}

}  // namespace
