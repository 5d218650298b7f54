#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <thread>

#include "fishApi/core/FishMath.h"
#include "fishApi/files/ProjectFile.h"
#include "fishApi/files/SafeFile.h"
#include "support/EngineTestSupport.h"
#include "support/FileSizeLimit.h"

using namespace fish;
namespace fs = std::filesystem;

namespace {

// A new project's file, byte for byte.
const TProjectImage kNewProjectFile = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 000
    0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x04, 0x40, 0x00, 0x00,  // 016
    0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x04, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 032
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 048
    0x0a, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 064
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 080
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 096
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8,  // 112
    0x05, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00,  // 128
    0x00, 0x00, 0x00, 0xc8, 0x05, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40,  // 144
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 160
    0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0xc0, 0x00, 0x00,  // 176
    0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8,  // 192
    0x05, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00,  // 208
    0x00, 0x00, 0x00, 0xc8, 0x05, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc8, 0x05, 0x40,  // 224
};

std::vector<char> slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& p, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

using vintaler::test::sameBits;

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(test.begin(), test.end(), '/', '_');  // "Test/Row" of a table
    dir_ = fs::temp_directory_path() / ("vintaler-test-" + std::to_string(::getpid()) + "-" + test);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::size_t FilesIn() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST(ProjectCodec, NewProjectMatchesTheReferenceDump) { EXPECT_EQ(encodeProject(newProjectData()), kNewProjectFile); }

TEST(ProjectCodec, RecordImagesHaveTheirDefaultBytes) {
  const TSystemParamsImage sys = systemParamsToBytes(defaultSystemParams());
  EXPECT_TRUE(std::equal(sys.begin(), sys.end(), kNewProjectFile.begin()));
  const TProParamsImage pro = proParamsToBytes(defaultProParams());
  EXPECT_TRUE(std::equal(pro.begin(), pro.end(), kNewProjectFile.begin() + 64));
}

TEST(ProjectCodec, FieldsLandAtTheirOffsets) {
  TProjectData p = newProjectData();
  p.SystemParams.Y1 = -7.5L;
  p.ProParams.Divisions = -2;
  p.ProParams.Quadrants = {0, 0, 1, 1};
  p.ProParams.ShowGrid = 1;
  p.ProParams.Reserved1.Z = 3;
  p.Bounds2D[5] = 42;
  const TProjectImage img = encodeProject(p);
  EXPECT_TRUE(sameBits(getExtended(img.data() + 50), -7.5L));
  EXPECT_EQ(img[64], 0xFE);
  EXPECT_EQ(img[67], 0xFF);
  EXPECT_EQ(img[68], 0);
  EXPECT_EQ(img[70], 1);
  EXPECT_EQ(img[71], 1);
  EXPECT_EQ(img[72], 1);
  EXPECT_TRUE(sameBits(getExtended(img.data() + 100), 3));
  EXPECT_TRUE(sameBits(getExtended(img.data() + 230), 42));
  EXPECT_EQ(img[112], 1);
}

// Any 240 bytes are a project: NaN patterns, unnormals, odd Booleans and
// padding all come back out unchanged.
TEST(ProjectCodec, ArbitraryBytesSurviveDecodeAndEncode) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 500; ++round) {
    TProjectImage img{};
    for (auto& b : img) b = static_cast<std::uint8_t>(byte(rng));
    if (round % 5 == 0) {  // a signalling-NaN pattern in B
      img[9] = 0x7F;
      img[8] = 0xFF;
      img[7] = 0x80;
    }
    EXPECT_EQ(encodeProject(decodeProject(img)), img) << "round " << round;
  }
}

TEST_F(ProjectFileTest, WriteThenReadRestoresEveryBit) {
  TProjectData p = newProjectData();
  p.SystemParams.B = 1234.5678L;
  p.SystemParams.X1 = -0.0L;
  p.SystemParams.Padding = {9, 8, 7, 6};
  p.ProParams.Padding1[3] = 0xAA;
  p.ProParams.Reserved2 = 0;
  p.Bounds3D = {-1.1L, 2.2L, -3.3L, 4.4L, -5.5L, 6.6L};
  p.Bounds2D[0] = 1e-4940L;  // a denormal
  const fs::path file = dir_ / "a.raz";
  writeProjectFile(file.string(), p);
  EXPECT_EQ(fs::file_size(file), 240u);
  const TProjectData back = readProjectFile(file.string());
  EXPECT_EQ(encodeProject(back), encodeProject(p));
  EXPECT_TRUE(sameBits(back.SystemParams.X1, -0.0L));
  EXPECT_TRUE(sameBits(back.Bounds2D[0], 1e-4940L));
  EXPECT_EQ(FilesIn(), 1u) << "no temporary file is left beside it";
}

TEST_F(ProjectFileTest, NewProjectFileMatchesTheDump) {
  const fs::path file = dir_ / "new.raz";
  writeProjectFile(file.string(), newProjectData());
  const std::vector<char> bytes = slurp(file);
  ASSERT_EQ(bytes.size(), 240u);
  EXPECT_EQ(std::memcmp(bytes.data(), kNewProjectFile.data(), 240), 0);
}

TEST_F(ProjectFileTest, LongerFilesAreReadUpTo240Bytes) {
  std::vector<std::uint8_t> bytes(kNewProjectFile.begin(), kNewProjectFile.end());
  bytes.resize(300, 0x5A);
  const fs::path file = dir_ / "long.raz";
  spit(file, bytes.data(), bytes.size());
  const TProjectData p = readProjectFile(file.string());
  EXPECT_EQ(encodeProject(p), kNewProjectFile);
  writeProjectFile(file.string(), p);
  EXPECT_EQ(fs::file_size(file), 240u) << "the extra bytes are not written back";
}

TEST_F(ProjectFileTest, ShortOrMissingFilesFailNamingTheFile) {
  for (std::size_t size : {0u, 1u, 120u, 239u}) {
    const fs::path file = dir_ / ("short" + std::to_string(size) + ".raz");
    spit(file, kNewProjectFile.data(), size);
    try {
      readProjectFile(file.string());
      ADD_FAILURE() << size << " bytes were accepted";
    } catch (const EProjectFileError& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("240"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(readProjectFile((dir_ / "missing.raz").string()), EProjectFileError);
  EXPECT_THROW(readProjectFile(dir_.string()), EProjectFileError);
}

TEST_F(ProjectFileTest, FailedWritesLeaveThePreviousFile) {
  const fs::path file = dir_ / "keep.raz";
  writeProjectFile(file.string(), newProjectData());
  TProjectData changed = newProjectData();
  changed.SystemParams.B = 999;

  // A file size limit below 240 bytes makes the write itself fail.
  {
    const vintaler::test::FileSizeLimit tiny(100);
    EXPECT_THROW(writeProjectFile(file.string(), changed), EProjectFileError);
  }

  EXPECT_EQ(encodeProject(readProjectFile(file.string())), kNewProjectFile);
  EXPECT_EQ(FilesIn(), 1u) << "the temporary file is removed";

  // A folder in the way, and a folder that does not exist.
  fs::create_directory(dir_ / "folder.raz");
  EXPECT_THROW(writeProjectFile((dir_ / "folder.raz").string(), changed), EProjectFileError);
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.raz"));
  EXPECT_THROW(writeProjectFile((dir_ / "no" / "such.raz").string(), changed), EProjectFileError);
}

// A save killed after its temporary file took a name of its own and before
// that name replaced the target leaves the target whole and a hidden copy
// beside it. The next save to the target removes the copy, but never the
// temporary file of a save still running.
std::string gSaveTarget;

TEST_F(ProjectFileTest, ASaveKilledBeforeItsRenameLeavesNothingAfterTheNextSave) {
  const fs::path file = dir_ / "kept.raz";
  writeProjectFile(file.string(), newProjectData());
  gSaveTarget = file.string();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    afterTemporaryNamed = [] { ::_exit(0); };
    writeFileAtomically(gSaveTarget, "cut short", 9);
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save did not reach its rename";
  EXPECT_EQ(encodeProject(readProjectFile(file.string())), kNewProjectFile);
  ASSERT_EQ(FilesIn(), 2u) << "a killed save leaves its temporary file";

  // While this save waits between naming and renaming, a second save to the
  // same target runs, sweeps the killed save's copy and must leave this one.
  afterTemporaryNamed = [] {
    afterTemporaryNamed = nullptr;
    writeFileAtomically(gSaveTarget, "inner", 5);
  };
  writeFileAtomically(file.string(), "outer", 5);
  afterTemporaryNamed = nullptr;
  EXPECT_EQ(slurp(file), std::vector<char>({'o', 'u', 't', 'e', 'r'}));
  EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(ProjectFileTest, ReplacingKeepsModeAndFollowsLinks) {
  const fs::path file = dir_ / "target.raz";
  writeProjectFile(file.string(), newProjectData());
  ::chmod(file.c_str(), 0640);
  TProjectData changed = newProjectData();
  changed.ProParams.Divisions = 33;
  const fs::path link = dir_ / "link.raz";
  fs::create_symlink(file, link);
  writeProjectFile(link.string(), changed);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readProjectFile(file.string()).ProParams.Divisions, 33);
  struct stat st {};
  ::stat(file.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// What lies at a path (type, mode, inode, device, link, content), as far as a
// save could change it.
std::string stateOf(const fs::path& p) {
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return "nothing";
  std::string s = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino) + " " + std::to_string(st.st_rdev);
  if (S_ISLNK(st.st_mode)) s += " -> " + fs::read_symlink(p).string();
  if (S_ISREG(st.st_mode)) {
    const std::vector<char> bytes = slurp(p);
    s.append(bytes.begin(), bytes.end());
  }
  return s;
}

mode_t modeOf(const fs::path& p) {  // of the file a link names
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 ? st.st_mode : 0;
}

bool makeFile(const fs::path& p, mode_t mode) {
  spit(p, kNewProjectFile.data(), 100);
  return ::chmod(p.c_str(), mode) == 0;
}

// Expects `call` to fail with the message `prefix` followed by a reason.
void expectFileError(const std::function<void()>& call, const std::string& prefix) {
  try {
    call();
    ADD_FAILURE() << "no failure for " << prefix;
  } catch (const EProjectFileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0u) << e.what();
    EXPECT_GT(std::strlen(e.what()), prefix.size()) << "the reason is given";
  }
}

// Each row puts something at "t.raz" in the folder, or says it cannot here.
struct TargetCase {
  const char* name;
  bool (*make)(const fs::path& dir);
  bool saves;
};

const TargetCase kTargets[] = {
    {"Nothing", [](const fs::path&) { return true; }, true},
    {"PlainFile", [](const fs::path& d) { return makeFile(d / "t.raz", 0640); }, true},
    {"WriteOnlyFile", [](const fs::path& d) { return makeFile(d / "t.raz", 0200); }, true},
    {"LinkToPlainFile",
     [](const fs::path& d) {
       return makeFile(d / "real.raz", 0604) && ::symlink("real.raz", (d / "t.raz").c_str()) == 0;
     },
     true},
    {"Fifo", [](const fs::path& d) { return ::mkfifo((d / "t.raz").c_str(), 0666) == 0; }, false},
    {"CharacterDevice",  // a copy of /dev/null
     [](const fs::path& d) { return ::mknod((d / "t.raz").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, false},
    {"DanglingLink", [](const fs::path& d) { return ::symlink("nowhere.raz", (d / "t.raz").c_str()) == 0; }, false},
    {"LinkLoop", [](const fs::path& d) { return ::symlink("t.raz", (d / "t.raz").c_str()) == 0; }, false},
    {"LinkToFifo",
     [](const fs::path& d) {
       return ::mkfifo((d / "pipe").c_str(), 0666) == 0 && ::symlink("pipe", (d / "t.raz").c_str()) == 0;
     },
     false},
    {"ReadOnlyFile", [](const fs::path& d) { return makeFile(d / "t.raz", 0444); }, false},
    {"Folder", [](const fs::path& d) { return fs::create_directory(d / "t.raz"); }, false},
};

class SaveTargetTest : public ProjectFileTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(SaveTargetTest, OnlyPlainWritableFilesAreReplaced) {
  const TargetCase& c = GetParam();
  if (!c.make(dir_)) GTEST_SKIP() << "cannot make this kind of file here: " << std::strerror(errno);
  const fs::path target = dir_ / "t.raz";
  std::set<std::string> names = namesIn(dir_);
  const std::string before = stateOf(target);
  const mode_t mode = modeOf(target);
  TProjectData p = newProjectData();
  p.ProParams.Divisions = 77;

  if (!c.saves) {
    expectFileError([&] { writeProjectFile(target.string(), p); },
                    "Не удалось сохранить файл \"" + target.string() + "\": ");
    EXPECT_EQ(stateOf(target), before) << "left exactly as it was";
    EXPECT_EQ(namesIn(dir_), names) << "nothing created beside it";
    return;
  }
  ASSERT_NO_THROW(writeProjectFile(target.string(), p));
  EXPECT_EQ(readProjectFile(target.string()).ProParams.Divisions, 77);
  names.insert("t.raz");
  EXPECT_EQ(namesIn(dir_), names) << "no temporary file is left";
  EXPECT_EQ(fs::is_symlink(target), before.find(" -> ") != std::string::npos) << "a link stays a link";
  if (mode != 0) {
    EXPECT_EQ(modeOf(target), mode) << "the mode is kept";
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetTest, ::testing::ValuesIn(kTargets), vintaler::test::rowName<TargetCase>);

TEST_F(ProjectFileTest, AnyNameTheFileSystemTakesIsSaved) {
  std::set<std::string> saved;
  for (const std::size_t bytes : {254u, 255u, 256u}) {
    const std::string name = std::string(bytes - 4, 'n') + ".raz";
    const std::string path = (dir_ / name).string();
    TProjectData p = newProjectData();
    p.SystemParams.R = static_cast<Extended>(bytes);
    if (bytes > 255) {
      EXPECT_THROW(writeProjectFile(path, p), EProjectFileError) << "longer than the file system takes";
      continue;
    }
    writeProjectFile(path, newProjectData());  // a new file, then one replaced
    writeProjectFile(path, p);
    EXPECT_EQ(readProjectFile(path).SystemParams.R, p.SystemParams.R) << bytes;
    saved.insert(name);
  }
  EXPECT_EQ(namesIn(dir_), saved);
}

TEST_F(ProjectFileTest, OnlyPlainFilesAreRead) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe.raz").c_str(), 0666), 0);
  for (const std::string& path : {(dir_ / "pipe.raz").string(), std::string("/dev/zero"), dir_.string()}) {
    // First in a child process, killed if the read blocks (on a pipe with no writer).
    const pid_t child = ::fork();
    if (child == 0) {
      try {
        readProjectFile(path);
      } catch (const EProjectFileError&) {
      }
      ::_exit(0);
    }
    int status = -1;
    for (int i = 0; i < 500 && ::waitpid(child, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (status == -1) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << path << " is waited on";
    expectFileError([&] { readProjectFile(path); }, "Не удалось прочитать файл \"" + path + "\": ");
  }
}

// The extension block after the 240 bytes: the plate.

// CRC-32 of IEEE 802.3 bit by bit, straight from the reflected polynomial,
// for checking the checksum the file carries.
std::uint32_t bitwiseCrc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

using TBlock = std::array<std::uint8_t, 36>;

// The block laid out field by field, version and length as given.
TBlock blockOf(const TPlateParams& p, std::uint16_t version = 1, std::uint16_t length = 24) {
  TBlock b = {'V',
              'N',
              'T',
              'X',
              std::uint8_t(version),
              std::uint8_t(version >> 8),
              std::uint8_t(length),
              std::uint8_t(length >> 8)};
  putExtended(b.data() + 8, p.Thickness);
  b[18] = static_cast<std::uint8_t>(p.RectFaces);
  b[19] = static_cast<std::uint8_t>(p.RoundFaces);
  b[20] = static_cast<std::uint8_t>(p.Material);
  putExtended(b.data() + 22, p.Density);
  const std::uint32_t crc = bitwiseCrc32(b.data(), 32);
  for (int i = 0; i < 4; ++i) b[32 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
  return b;
}

// The new project's 240 bytes followed by `tail`.
std::vector<std::uint8_t> newProjectWith(const std::uint8_t* tail, std::size_t size) {
  std::vector<std::uint8_t> bytes(240 + size);
  std::copy(kNewProjectFile.begin(), kNewProjectFile.end(), bytes.begin());
  std::copy(tail, tail + size, bytes.begin() + 240);
  return bytes;
}

std::vector<std::uint8_t> fileOf(const TBlock& block) { return newProjectWith(block.data(), block.size()); }

bool samePlate(const TPlateParams& a, const TPlateParams& b) {
  return sameBits(a.Thickness, b.Thickness) && a.RectFaces == b.RectFaces && a.RoundFaces == b.RoundFaces &&
         a.Material == b.Material && sameBits(a.Density, b.Density);
}

const std::string kDamaged =
    "Дополнительные данные проекта (толщина листа, материал) повреждены и не прочитаны: взяты значения по умолчанию";
const std::string kTooNew =
    "Дополнительные данные проекта (толщина листа, материал) записаны более новой версией программы и не прочитаны: "
    "взяты значения по умолчанию";

TEST(ProjectBlock, ChecksumIsIeeeCrc32) {
  const char* check = "123456789";
  EXPECT_EQ(bitwiseCrc32(reinterpret_cast<const std::uint8_t*>(check), 9), 0xCBF43926u);
  TProjectData p = newProjectData();
  p.Plate.Thickness = 3;
  const std::vector<std::uint8_t> bytes = encodeProjectFile(p);
  ASSERT_EQ(bytes.size(), 276u);
  std::uint32_t stored = 0;
  for (int i = 3; i >= 0; --i) stored = stored << 8 | bytes[static_cast<std::size_t>(272 + i)];
  EXPECT_EQ(stored, bitwiseCrc32(bytes.data() + 240, 32));
}

TEST(ProjectBlock, DefaultPlateWritesThePlain240Bytes) {
  EXPECT_EQ(encodeProjectFile(newProjectData()),
            std::vector<std::uint8_t>(kNewProjectFile.begin(), kNewProjectFile.end()));
}

struct PlateCase {
  const char* name;
  TPlateParams plate;
};

const PlateCase kPlates[] = {
    {"ThinSteelInsideRectangle", {0.75L, TFaces::Inside, TFaces::Mean, TMaterial::Steel, 7850}},
    {"StainlessOutsideBoth", {2, TFaces::Outside, TFaces::Outside, TMaterial::Stainless, 7900}},
    {"ThickAluminiumInsideCircle", {12.5L, TFaces::Mean, TFaces::Inside, TMaterial::Aluminium, 2700}},
    {"CopperOnMeanFaces", {2, TFaces::Mean, TFaces::Mean, TMaterial::Copper, 8940}},
    {"GalvanisedFacesWithoutThickness", {0, TFaces::Outside, TFaces::Inside, TMaterial::Galvanised, 7850}},
    {"OtherMaterialOwnDensity", {12.5L, TFaces::Inside, TFaces::Outside, TMaterial::Other, 7930}},
};

class PlateBlockTest : public ProjectFileTest, public ::testing::WithParamInterface<PlateCase> {};

TEST_P(PlateBlockTest, PlateSurvivesEncodingAndTheFile) {
  TProjectData p = newProjectData();
  p.SystemParams.B = 1234.5L;
  p.Plate = GetParam().plate;
  const TProjectImage image = encodeProject(p);
  const std::vector<std::uint8_t> bytes = encodeProjectFile(p);
  ASSERT_EQ(bytes.size(), 276u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin()));
  const TBlock block = blockOf(p.Plate);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 240)) << "laid out field by field";

  std::string notice = "unset";
  TProjectData back = decodeProjectFile(bytes.data(), bytes.size(), &notice);
  EXPECT_EQ(encodeProject(back), image);
  EXPECT_TRUE(samePlate(back.Plate, p.Plate));
  EXPECT_EQ(notice, "");

  const fs::path file = dir_ / "plate.raz";
  writeProjectFile(file.string(), p);
  EXPECT_EQ(fs::file_size(file), 276u);
  back = readProjectFile(file.string(), &notice);
  EXPECT_EQ(encodeProject(back), image);
  EXPECT_TRUE(samePlate(back.Plate, p.Plate));
  EXPECT_EQ(notice, "");
}

INSTANTIATE_TEST_SUITE_P(Plates, PlateBlockTest, ::testing::ValuesIn(kPlates), vintaler::test::rowName<PlateCase>);

TEST(ProjectBlock, BytesAfterTheBlockAreIgnored) {
  const TPlateParams plate{2, TFaces::Inside, TFaces::Inside, TMaterial::Copper, 8940};
  std::vector<std::uint8_t> bytes = fileOf(blockOf(plate));
  bytes.insert(bytes.end(), {'V', 'N', 'T', 'X', 0xFF});
  std::string notice;
  EXPECT_TRUE(samePlate(decodeProjectFile(bytes.data(), bytes.size(), &notice).Plate, plate));
  EXPECT_EQ(notice, "");
}

// A well-formed block of a 2 mm outside-faced copper plate, then spoilt.
const TPlateParams kSpoilt{2, TFaces::Outside, TFaces::Inside, TMaterial::Copper, 8940};

struct DamageCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> bytes;
  bool tooNew;
};

std::vector<std::uint8_t> cut(std::size_t size) {
  std::vector<std::uint8_t> b = fileOf(blockOf(kSpoilt));
  b.resize(size);
  return b;
}

std::vector<std::uint8_t> flip(std::size_t at, std::uint8_t bit) {
  std::vector<std::uint8_t> b = fileOf(blockOf(kSpoilt));
  b[240 + at] ^= bit;
  return b;
}

std::vector<std::uint8_t> with(TPlateParams plate, std::uint16_t version = 1, std::uint16_t length = 24) {
  return fileOf(blockOf(plate, version, length));
}

// A version 2 block: the plate's fields, the pattern's code and 7 zeros, the
// checksum after them.
std::vector<std::uint8_t> cuttingFile(const TPlateParams& plate, std::uint8_t patternCode) {
  const TBlock plateBlock = blockOf(plate, 2, 32);
  std::vector<std::uint8_t> block(plateBlock.begin(), plateBlock.begin() + 32);
  block.push_back(patternCode);
  block.resize(40, 0);
  const std::uint32_t crc = bitwiseCrc32(block.data(), block.size());
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return newProjectWith(block.data(), block.size());
}

// A version 3 block: the plate's fields, the pattern's code, the seams, the
// bend marks' code, the angles' flag, 4 zeros, the four widths, the tick
// length, the checksum after them. Version 4 (inches, or `unitCode`) has
// the unit's code in the first of the zeros.
std::vector<std::uint8_t> seamsFile(const TPlateParams& plate, const TCuttingParams& c, int unitCode = -1) {
  if (unitCode < 0 && c.Units != TUnits::Millimetres) unitCode = static_cast<int>(c.Units);
  const TBlock head = blockOf(plate, unitCode < 0 ? 3 : 4, 82);
  std::vector<std::uint8_t> block(head.begin(), head.begin() + 32);
  block.insert(block.end(), {static_cast<std::uint8_t>(c.Pattern), c.Seams, static_cast<std::uint8_t>(c.BendMarks),
                             static_cast<std::uint8_t>(c.BendAngles),
                             static_cast<std::uint8_t>(std::max(unitCode, 0)), 0, 0, 0});
  for (const Extended w : {c.SeamFirst, c.SeamSecond, c.RectAllowance, c.RoundAllowance, c.TickLength}) {
    block.resize(block.size() + 10);
    putExtended(block.data() + block.size() - 10, w);
  }
  const std::uint32_t crc = bitwiseCrc32(block.data(), block.size());
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return newProjectWith(block.data(), block.size());
}

TPlateParams spoilt(void (*change)(TPlateParams&)) {
  TPlateParams p = kSpoilt;
  change(p);
  return p;
}

// A later version with 16 more bytes of fields, its checksum after them.
std::vector<std::uint8_t> longerLaterBlock() {
  std::vector<std::uint8_t> block = {'V', 'N', 'T', 'X', 5, 0, 88, 0};
  block.resize(96, 0x11);
  const std::uint32_t crc = bitwiseCrc32(block.data(), block.size());
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return newProjectWith(block.data(), block.size());
}

const DamageCase kDamages[] = {
    {"CutAfterTag", [] { return cut(244); }, false},
    {"CutInHeader", [] { return cut(247); }, false},
    {"CutInThickness", [] { return cut(253); }, false},
    {"CutBeforeChecksum", [] { return cut(272); }, false},
    {"CutInChecksum", [] { return cut(275); }, false},
    {"FlippedVersionBit", [] { return flip(4, 0x02); }, false},
    {"FlippedLengthBit", [] { return flip(7, 0x01); }, false},
    {"FlippedThicknessBit", [] { return flip(12, 0x10); }, false},
    {"FlippedFacesBit", [] { return flip(19, 0x01); }, false},
    {"FlippedMaterialBit", [] { return flip(20, 0x04); }, false},
    {"FlippedDensityBit", [] { return flip(31, 0x01); }, false},
    {"FlippedChecksumBit", [] { return flip(34, 0x80); }, false},
    {"Version5", [] { return with(kSpoilt, 5); }, true},
    {"Version5WithMoreFields", longerLaterBlock, true},
    {"Version4WithThePlatesLength", [] { return with(kSpoilt, 4); }, false},
    {"Version4UnitCode2", [] { return seamsFile(kSpoilt, {TPatternKind::Table}, 2); }, false},
    {"Version3WithoutSeams", [] { return seamsFile(kSpoilt, {TPatternKind::Precise, 0}); }, false},
    {"Version3NegativeWidth", [] { return seamsFile(kSpoilt, {TPatternKind::Table, 1, 5, 0, -1}); }, false},
    {"Version3MarksCode2",
     [] { return seamsFile(kSpoilt, {TPatternKind::Table, 1, 0, 0, 0, 0, static_cast<TBendMarks>(2)}); }, false},
    {"Version3ZeroTick", [] { return seamsFile(kSpoilt, {TPatternKind::Table, 1, 0, 0, 0, 0, TBendMarks::Ticks, 0}); },
     false},
    {"Version2WithThePlatesLength", [] { return with(kSpoilt, 2); }, false},
    {"PatternCode2", [] { return cuttingFile(kSpoilt, 2); }, false},
    {"Length23", [] { return with(kSpoilt, 1, 23); }, false},
    {"FacesCode7", [] { return with(spoilt([](TPlateParams& p) { p.RectFaces = static_cast<TFaces>(7); })); }, false},
    {"NegativeThickness", [] { return with(spoilt([](TPlateParams& p) { p.Thickness = -2; })); }, false},
    {"NanThickness",
     [] { return with(spoilt([](TPlateParams& p) { p.Thickness = std::numeric_limits<Extended>::quiet_NaN(); })); },
     false},
    {"CopperWithSteelDensity", [] { return with(spoilt([](TPlateParams& p) { p.Density = 7850; })); }, false},
};

// The tables' pattern chosen for cutting goes into a version 2 block, with
// the plate or without one; the precise pattern, the default, writes the
// file of the plate alone.
TEST(ProjectBlock, TheTablesPatternIsKeptInAVersion2Block) {
  for (const TPlateParams& plate : {TPlateParams{}, kSpoilt}) {
    TProjectData p = newProjectData();
    p.Plate = plate;
    p.Cutting.Pattern = TPatternKind::Table;
    const std::vector<std::uint8_t> bytes = encodeProjectFile(p);
    EXPECT_EQ(bytes, cuttingFile(plate, 1)) << "laid out field by field";
    std::string notice;
    const TProjectData back = decodeProjectFile(bytes.data(), bytes.size(), &notice);
    EXPECT_EQ(back.Cutting.Pattern, TPatternKind::Table);
    EXPECT_TRUE(samePlate(back.Plate, plate));
    EXPECT_EQ(notice, "");
    p.Cutting.Pattern = TPatternKind::Precise;
    EXPECT_EQ(encodeProjectFile(p).size(), isDefaultPlate(plate) ? 240u : 276u);
  }
}

// Seams of their own, any allowance or bend marks other than full lines go
// into a version 3 block, every width kept to the bit.
TEST(ProjectBlock, SeamsAndAllowancesAreKeptInAVersion3Block) {
  for (const TCuttingParams& cutting : {TCuttingParams{TPatternKind::Precise, seamBit(TSeamAt::PlusY)},
                                        TCuttingParams{TPatternKind::Table, 0xFF, 0.1L, 7.5L, 0.3L, 1e-30L},
                                        TCuttingParams{TPatternKind::Precise, kDefaultSeams, 0, 0, 12.25L},
                                        TCuttingParams{TPatternKind::Precise, kDefaultSeams, 0, 0, 0, 0,
                                                       TBendMarks::Ticks, 7.25L},
                                        TCuttingParams{TPatternKind::Table, kDefaultSeams, 0, 0, 0, 0,
                                                       TBendMarks::Full, 12},
                                        TCuttingParams{TPatternKind::Precise, kDefaultSeams, 0, 0, 0, 0,
                                                       TBendMarks::Full, kDefaultTickLength, true},
                                        TCuttingParams{TPatternKind::Precise, kDefaultSeams, 0, 0, 0, 0,
                                                       TBendMarks::Full, defaultTickLength(TUnits::Inches), false,
                                                       TUnits::Inches},
                                        TCuttingParams{TPatternKind::Table, seamBit(TSeamAt::C2), 0.25L, 0, 0, 0.5L,
                                                       TBendMarks::Ticks, 0.375L, true, TUnits::Inches}}) {
    TProjectData p = newProjectData();
    p.Cutting = cutting;
    // An inch project with the default plate still needs its block.
    if (cutting.Units == TUnits::Inches) {
      EXPECT_EQ(encodeProjectFile(p), seamsFile(TPlateParams{}, cutting));
    }
    p.Plate = kSpoilt;
    p.Cutting = cutting;
    const std::vector<std::uint8_t> bytes = seamsFile(kSpoilt, cutting);
    EXPECT_EQ(encodeProjectFile(p), bytes) << "laid out field by field";
    std::string notice;
    EXPECT_EQ(encodeProjectFile(decodeProjectFile(bytes.data(), bytes.size(), &notice)), bytes);
    EXPECT_EQ(notice, "");
  }
}

class DamagedBlockTest : public ProjectFileTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedBlockTest, KeepsTheProjectWithTheDefaultPlateAndSaysWhy) {
  const std::vector<std::uint8_t> bytes = GetParam().bytes();
  const std::string expected = GetParam().tooNew ? kTooNew : kDamaged;
  std::string notice;
  TProjectData p = decodeProjectFile(bytes.data(), bytes.size(), &notice);
  EXPECT_EQ(encodeProject(p), kNewProjectFile);
  EXPECT_TRUE(isDefaultPlate(p.Plate));
  EXPECT_EQ(notice, expected);

  const fs::path file = dir_ / "damaged.raz";
  spit(file, bytes.data(), bytes.size());
  notice.clear();
  p = readProjectFile(file.string(), &notice);
  EXPECT_TRUE(isDefaultPlate(p.Plate));
  EXPECT_EQ(notice, expected);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedBlockTest, ::testing::ValuesIn(kDamages), vintaler::test::rowName<DamageCase>);

// Only the plate's block is written after the 240 bytes: a tail without its
// tag is a block whose tag was damaged or cut, and the plate it held is lost.
TEST(ProjectBlock, TailsWithoutTheTagAreReportedAsDamaged) {
  std::mt19937 rng(20260311);
  std::vector<std::uint8_t> random(64);
  for (auto& b : random) b = static_cast<std::uint8_t>(rng());
  random[0] = 'v';
  const std::vector<std::vector<std::uint8_t>> tails = {
      random, {'V'}, {'V', 'N', 'T'}, {'V', 'N', 'T', 'Y', 1, 0, 24, 0}, {0, 'V', 'N', 'T', 'X'}};
  std::vector<std::uint8_t> flippedTag = fileOf(blockOf(kSpoilt));
  flippedTag[241] ^= 0x01;
  for (const auto& tail : tails) {
    const std::vector<std::uint8_t> bytes = newProjectWith(tail.data(), tail.size());
    std::string notice;
    const TProjectData p = decodeProjectFile(bytes.data(), bytes.size(), &notice);
    EXPECT_EQ(encodeProject(p), kNewProjectFile) << tail.size();
    EXPECT_TRUE(isDefaultPlate(p.Plate)) << tail.size();
    EXPECT_EQ(notice, kDamaged) << tail.size();
  }
  std::string notice;
  EXPECT_TRUE(isDefaultPlate(decodeProjectFile(flippedTag.data(), flippedTag.size(), &notice).Plate));
  EXPECT_EQ(notice, kDamaged);
}

}  // namespace
