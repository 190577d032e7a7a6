// zelta-cli against the camera simulator: each command once in text and in
// JSON, judged by what a script sees (stdout, stderr, exit status) and by
// the frames the camera heard.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/sim_process.h"
#include "bench/sim_trace.h"
#include "settings/settings_reader.h"

namespace {

const char kGoodFile[] =
    "K5 CASE FUNCTION\r\nD/N MODE&1\r\nD/N LEVEL&1\r\nD/N FIL&1\r\nSHUTTER&4\r\nGAIN&1\r\n"
    "SYNC&0\r\nBLC&2\r\nAPERTURE&1\r\nWHITE BAL&0\r\nID.&GATE-7\r\nID. POS&1\r\nRED&15\r\n"
    "Blue&15\r\nColToWb&1\r\nWbToCol&1\r\nGAMMA&1\r\nPREDTMSP&0\r\n";

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class Folder {
 public:
  Folder() {
    char name[] = "/tmp/zelta-cli-test-XXXXXX";
    if (::mkdtemp(name) != nullptr) path_ = name;
  }
  ~Folder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string File(const std::string& name, const std::string& text) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

struct Outcome {
  int status = -1;
  std::string out, err;
};

pid_t StartCli(const std::vector<std::string>& args, const Folder& folder) {
  std::vector<std::string> a = {ZELTA_CLI_PATH};
  a.insert(a.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : a) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string out = folder.Path() + "/stdout", err = folder.Path() + "/stderr";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

Outcome WaitCli(pid_t pid, const Folder& folder) {
  const std::string out = folder.Path() + "/stdout", err = folder.Path() + "/stderr";
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole(out), ReadWhole(err)};
}

Outcome RunCli(const std::vector<std::string>& args, const Folder& folder) {
  return WaitCli(StartCli(args, folder), folder);
}

std::vector<SimTraceLine> Heard(const SimProcess& sim) {
  long offset = 0;
  std::vector<SimTraceLine> heard;
  for (SimTraceLine& line : ReadSimTrace(sim.TracePath(), offset)) {
    if (!line.tx) heard.push_back(std::move(line));
  }
  return heard;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char byte[4];
  for (const uint8_t b : bytes) {
    std::snprintf(byte, sizeof byte, "%02X", b);
    text += (text.empty() ? "" : " ") + std::string(byte);
  }
  return text;
}

enum class Match { Exact, Prefix, Contains };

struct Case {
  const char* name;
  std::vector<std::string> sim;
  // "FILE": a good settings file, "AUTO": one with SHUTTER AUTO, "BAD": a bad one
  std::vector<std::string> cli;
  int status;
  Match match;
  std::string out;
  std::string err = {};
  bool framesHeard = false;  // each output line is a frame the camera heard
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class Command : public testing::TestWithParam<Case> {};

TEST_P(Command, AnswersAsAScriptExpects) {
  const Case& c = GetParam();
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, c.sim);
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty()) << sim.Output();
  std::vector<std::string> args = {"--port", pty};
  for (const std::string& arg : c.cli) {
    if (arg == "FILE") {
      args.push_back(folder.File("good.txt", kGoodFile));
    } else if (arg == "AUTO") {
      std::string automatic = kGoodFile;
      automatic.replace(automatic.find("SHUTTER&4"), 9, "SHUTTER&0");
      args.push_back(folder.File("auto.txt", automatic));
    } else if (arg == "BAD") {
      std::string bad = kGoodFile;
      bad.replace(bad.find("GAIN&1"), 6, "GAIN&x1");
      args.push_back(folder.File("bad.txt", bad));
    } else {
      args.push_back(arg);
    }
  }
  const Outcome run = RunCli(args, folder);
  EXPECT_EQ(run.status, c.status) << run.err;
  switch (c.match) {
    case Match::Exact:
      EXPECT_EQ(run.out, c.out);
      break;
    case Match::Prefix:
      EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
      break;
    case Match::Contains:
      EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
      break;
  }
  if (!c.err.empty()) {
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  const std::vector<SimTraceLine> heard = Heard(sim);
  if (c.status == 2) {
    EXPECT_TRUE(heard.empty()) << "a refused command sent nothing";
  }
  if (c.framesHeard) {
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
      bool found = false;
      for (const SimTraceLine& frame : heard) found = found || Hex(frame.bytes) == line;
      EXPECT_TRUE(found) << line;
    }
  }
}

const std::vector<std::string> kCamera37 = {"--address", "37",         "--baud",
                                            "9600",      "--protocol", "pelco-d"};

INSTANTIATE_TEST_SUITE_P(
    Cli, Command,
    testing::Values(
        Case{
            "StateText", kCamera37, {"state"}, 0, Match::Exact, "address 37, 9600 baud, pelco-d\n"},
        Case{"StateJson",
             kCamera37,
             {"--json", "state"},
             0,
             Match::Exact,
             "{\"address\":37,\"baud\":9600,\"protocol\":\"pelco-d\"}\n"},
        Case{"ReadJson",
             {"--set", "SHUTTER=3", "--id", "LOBBY-2"},
             {"--json", "read"},
             0,
             Match::Exact,
             "{\"D/N MODE\":0,\"D/N LEVEL\":1,\"D/N FIL\":1,\"SHUTTER\":3,\"GAIN\":0,\"SYNC\":0,"
             "\"BLC\":0,\"APERTURE\":2,\"WHITE BAL\":0,\"ID.\":\"LOBBY-2         \",\"ID. "
             "POS\":0,\"RED\":15,\"Blue\":15,\"ColToWb\":1,\"WbToCol\":1,\"GAMMA\":1,"
             "\"PREDTMSP\":0}\n"},
        Case{"WriteText", {}, {"write", "FILE"}, 0, Match::Exact, "1 ok\n"},
        Case{"WriteJsonToTwo",
             {},
             {"--json", "write", "FILE", "--to", "1-2"},
             1,
             Match::Exact,
             "{\"results\":[{\"address\":1,\"result\":\"ok\"},{\"address\":2,\"result\":\"no "
             "answer\"}]}\n"},
        Case{"WriteRefused",
             {"--refuse", "SHUTTER"},
             {"write", "FILE"},
             1,
             Match::Exact,
             "1 refused SHUTTER\n"},
        // The camera answers SHUTTER AUTO with its own value: a refusal, as
        // the window's list of cameras shows it, and no notice.
        Case{"WriteAiLens",
             {"--ai-lens", "--iris"},
             {"write", "AUTO"},
             1,
             Match::Exact,
             "1 refused SHUTTER\n"},
        Case{"WriteToALine",
             {"--cameras", "1-3", "--silent", "3", "--refuse", "2:SHUTTER"},
             {"write", "FILE", "--to", "1-4"},
             1,
             Match::Exact,
             "1 ok\n2 refused SHUTTER\n3 no answer\n4 no answer\n"},
        Case{"WriteBadList",
             {},
             {"write", "FILE", "--to", "3-x"},
             2,
             Match::Exact,
             "",
             "--to: \"3-x\" is not an address or a range like 2-32"},
        Case{"WriteBadFile",
             {},
             {"write", "BAD"},
             2,
             Match::Exact,
             "",
             "'x1' is not a valid integer value"},
        Case{"BadSpeed", {}, {"--baud", "1300", "state"}, 2, Match::Exact, "", "1200, 2400"},
        Case{"DelayReadText",
             {"--delay-code", "2"},
             {"delay", "read"},
             0,
             Match::Exact,
             "col-to-wb 2 wb-to-col 2\n"},
        Case{"DelayWriteJson",
             {},
             {"--json", "delay", "write", "0", "3"},
             0,
             Match::Exact,
             "{\"col_to_wb\":0,\"wb_to_col\":3}\n"},
        Case{"PtzText", {}, {"ptz", "up"}, 0, Match::Prefix, "A0 00 00 08", {}, true},
        Case{"PtzJson",
             kCamera37,
             {"--baud", "9600", "--address", "37", "--protocol", "pelco-d", "--json", "ptz", "osd"},
             0,
             Match::Prefix,
             "{\"button\":\"osd\",\"frames\":[\"FF 25 00 03 00 5F"},
        Case{"MonitorText",
             {},
             {"monitor", "--seconds", "1"},
             0,
             Match::Contains,
             " RX CC 01 01 01 82 00 00 00 00 85 poll reply addr 1\n"},
        Case{"MonitorJson",
             {},
             {"--json", "monitor", "--seconds", "1"},
             0,
             Match::Contains,
             "\"direction\":\"RX\",\"bytes\":\"CC 01 01 01 82 00 00 00 00 85\",\"meaning\":"
             "\"poll reply addr 1\"}"},
        Case{"ScanText",
             {"--cameras", "1-3", "--duplicate", "2"},
             {"scan", "--bauds", "4800", "--from", "1", "--to", "4"},
             1,
             Match::Exact,
             "1 4800\n2 4800 two cameras on this address?\n3 4800\n"},
        Case{"ScanJson",
             {"--cameras", "2,4", "--baud", "9600"},
             {"--json", "scan", "--bauds", "4800,9600", "--from", "1", "--to", "4"},
             0,
             Match::Exact,
             "{\"cameras\":[{\"address\":2,\"baud\":9600},{\"address\":4,\"baud\":9600}]}\n"},
        Case{"ScanFindsNobody",
             {"--address", "9"},
             {"scan", "--bauds", "4800", "--from", "1", "--to", "3"},
             1,
             Match::Exact,
             "",
             "no camera answered"},
        Case{"ScanBadSpeed",
             {},
             {"scan", "--bauds", "4800,1300"},
             2,
             Match::Exact,
             "",
             "1200, 2400"}),
    [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(CliRead, GivesAFileTheSettingsReaderTakesWithTheCamerasValues) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {"--set", "SHUTTER=3", "--set", "GAIN=1", "--id", "LOBBY-2"});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const Outcome run = RunCli({"--port", pty, "read"}, folder);
  ASSERT_EQ(run.status, 0) << run.err;
  SettingsValues values;
  SettingsFileError error;
  ASSERT_TRUE(CheckSettingsLines(SplitSettingsLines(run.out, 18), values, error));
  EXPECT_EQ(values.numbers[3], 3);  // SHUTTER
  EXPECT_EQ(values.numbers[4], 1);  // GAIN
  EXPECT_EQ(values.id, "LOBBY-2         ");
}

TEST(CliPort, HeldByAnotherProgramIsBusy) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  // Held as the window holds it.
  const int fd = ::open(pty.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const Outcome run = RunCli({"--port", pty, "state"}, folder);
  ::close(fd);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("port busy"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

// The simulator goes mid-run (its pseudo-terminal hangs up, as an unplugged
// adapter does): the command ends at once with the port's status and says
// where, on stderr and in JSON; what a scan found before stands.
TEST(CliPort, ALineLostMidRunEndsItWithThePortsStatus) {
  const struct {
    std::vector<std::string> cli;
    size_t framesBeforeLoss;
    std::string out;
  } cases[] = {
      {{"--json", "scan", "--bauds", "4800"}, 30, "{\"cameras\":[{\"address\":1,\"baud\":4800},"},
      {{"--json", "write", "FILE", "--to", "1-8"}, 40, "{\"results\":[{\"address\":1,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cli[1]);
    Folder folder;
    SimProcess sim(ZELTA_CAMSIM_PATH, {"--cameras", "1-8", "--line-timing"});
    const std::string pty = sim.WaitReady();
    ASSERT_FALSE(pty.empty()) << sim.Output();
    std::vector<std::string> args = {"--port", pty};
    for (const std::string& arg : c.cli)
      args.push_back(arg == "FILE" ? folder.File("good.txt", kGoodFile) : arg);
    const pid_t cli = StartCli(args, folder);
    for (int i = 0; i < 1000 && Heard(sim).size() < c.framesBeforeLoss; ++i) ::usleep(20000);
    ASSERT_TRUE(sim.Stop());
    const Outcome run = WaitCli(cli, folder);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("zelta-cli: the line was lost at address "), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
    EXPECT_NE(run.out.find(",\"line_lost\":{\"address\":"), std::string::npos) << run.out;
  }
}

TEST(CliPort, MissingIsNamed) {
  Folder folder;
  const Outcome run = RunCli({"--port", folder.Path() + "/none", "read"}, folder);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("port missing"), std::string::npos) << run.err;
}

}  // namespace
