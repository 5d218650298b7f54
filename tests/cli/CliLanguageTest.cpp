// The tool in English: the same page with English words, chosen by --lang or
// by the system's locale, and failures said again in the other language.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "fishApi/files/SafeFile.h"
#include "fishApi/shop/PlateParams.h"
#include "language/Language.h"

namespace {

struct Ran {
  int status;
  std::string text;  // standard output, then standard error
};

Ran tool(const std::string& environment, const std::string& args) {
  const std::string command = "env -u LC_ALL -u LC_MESSAGES " + environment + " '" + VINTALER_CLI_PATH + "' " + args +
                              " 2>&1";
  Ran ran{-1, {}};
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return ran;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) ran.text.append(buffer, n);
  const int status = ::pclose(pipe);
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
    lines.push_back(text.substr(from, end - from));
  }
  return lines;
}

bool cyrillic(const std::string& text) { return text.find('\xD0') != std::string::npos || text.find('\xD1') != std::string::npos; }

// Each number of a line with the character (not byte) column it starts at.
std::vector<std::pair<std::string, std::size_t>> numbersOf(const std::string& line) {
  static const std::regex number(R"(-?\d+(\.\d+)?(E[-+]\d+)?)");
  std::vector<std::pair<std::string, std::size_t>> found;
  for (auto it = std::sregex_iterator(line.begin(), line.end(), number); it != std::sregex_iterator(); ++it) {
    const std::string before = line.substr(0, static_cast<std::size_t>(it->position()));
    std::size_t column = 0;
    for (char c : before) column += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    found.emplace_back(it->str(), column);
  }
  return found;
}

struct Project {
  const char* name;
  const char* args;
};

class EnglishPage : public testing::TestWithParam<Project> {};

// Every line keeps its numbers in order; a table row (the points' tables,
// padded to columns) keeps them at their columns too.
TEST_P(EnglishPage, HasTheRussianNumbersInTheirPlaces) {
  const Ran ru = tool("LANG=C.UTF-8", std::string("--lang ru ") + GetParam().args);
  const Ran en = tool("LANG=C.UTF-8", std::string("--lang en ") + GetParam().args);
  EXPECT_EQ(en.status, ru.status);
  EXPECT_TRUE(cyrillic(ru.text));
  EXPECT_FALSE(cyrillic(en.text)) << en.text;
  const auto ruLines = linesOf(ru.text), enLines = linesOf(en.text);
  ASSERT_EQ(enLines.size(), ruLines.size());
  bool inTables = false;
  for (std::size_t i = 0; i < ruLines.size(); ++i) {
    auto ruNumbers = numbersOf(ruLines[i]), enNumbers = numbersOf(enLines[i]);
    inTables = inTables || (ruLines[i].rfind("Координаты", 0) == 0);
    if (!inTables || ruLines[i].rfind("Квадрант", 0) == 0) {
      for (auto& n : ruNumbers) n.second = 0;
      for (auto& n : enNumbers) n.second = 0;
    }
    EXPECT_EQ(enNumbers, ruNumbers) << "line " << i + 1 << ":\n" << ruLines[i] << "\n" << enLines[i];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Projects, EnglishPage,
    testing::Values(Project{"NewProject", ""}, Project{"Plate", "--thickness 2.5 --rect-faces inside --divisions 7"},
                    Project{"Offset", "--X1 120 --Y1 -35.5 --B 300 --A 180 --R 60 --divisions 13"},
                    Project{"TooThick", "--thickness 5000"}, Project{"Degenerate", "--B 0 --A 0 --R 0 --L 0"},
                    Project{"FigureSeams", "--json --seams +y,c1 --seam-allowance 5,2"}),
    [](const testing::TestParamInfo<Project>& p) { return std::string(p.param.name); });

TEST(CliLanguage, TheOptionOrTheSystemChoosesIt) {
  const Ran english = tool("LANG=C.UTF-8", "--lang en --divisions 4");
  const Ran russian = tool("LANG=C.UTF-8", "--divisions 4");
  EXPECT_EQ(tool("LANG=en_US.UTF-8", "--divisions 4").text, english.text);
  EXPECT_EQ(tool("LANG=ru_RU.UTF-8", "--divisions 4").text, russian.text);
  EXPECT_EQ(tool("LANG=C.UTF-8", "--lang ru --divisions 4").text, russian.text);
  EXPECT_EQ(tool("LANG=en_US.UTF-8", "--lang ru --divisions 4").text, russian.text);
  EXPECT_NE(english.text, russian.text);
  for (const char* wrong : {"--lang xx", "--lang", "--lang=EN"}) EXPECT_EQ(tool("LANG=C.UTF-8", wrong).status, 2) << wrong;
}

// A failure kept by its id is said in the language chosen when it is said,
// whole: the size a plate refusal names, the unit, a file failure's reason.
TEST(CliLanguage, AFailureIsSaidAgainInTheOtherLanguage) {
  fish::TPlateParams light, thick;
  light.Density = 1;
  thick.Thickness = 5000;
  thick.RectFaces = fish::TFaces::Outside;
  const std::pair<const char*, std::function<void()>> failures[] = {
      {"Density", [&] { fish::checkPlate(light); }},
      {"SideInInches", [&] { fish::developedParams(fish::defaultSystemParams(), thick, fish::TUnits::Inches); }},
      {"FileReason", [] { fish::openPlainFile("/nonexistent/project.raz"); }},
      {"FolderReason", [] { fish::writeFileAtomically("/", "", 0); }}};
  for (const auto& [name, fail] : failures) {
    ASSERT_TRUE(vintaler::applyLanguage(vintaler::TLanguage::English));
    try {
      fail();
      ADD_FAILURE() << name << " passed";
    } catch (const fish::EFishError& e) {
      EXPECT_FALSE(cyrillic(e.what())) << name << ": " << e.what();
      vintaler::applyLanguage(vintaler::TLanguage::Russian);
      const std::string russian = e.message().text();
      try {
        fail();
      } catch (const fish::EFishError& again) {
        EXPECT_EQ(russian, again.what()) << name;
      }
      vintaler::applyLanguage(vintaler::TLanguage::English);
      EXPECT_EQ(e.message().text(), e.what()) << name;
    }
  }
  vintaler::applyLanguage(vintaler::TLanguage::Russian);
}

}  // namespace
