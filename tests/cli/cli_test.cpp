// zelta-cli against the camera simulator: each command once in text and in
// JSON, judged by what a script sees (stdout, stderr, exit status) and by
// the frames the camera heard.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/sim_process.h"
#include "bench/sim_trace.h"
#include "settings/settings_reader.h"
#include "tests/settings/csv_table.h"
#include "tests/settings/settings_file_fixture.h"

namespace {

const std::string kGoodFile = SettingsFileFrom({{kItemDNMode, "1"},
                                                {kItemShutter, "4"},
                                                {kItemGain, "1"},
                                                {kItemBlc, "2"},
                                                {kItemAperture, "1"},
                                                {kItemId, "GATE-7"},
                                                {kItemIdPos, "1"}});

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

// Starts zelta-cli with stdout to `out` (a file of the folder unless given)
// and stderr to a file of the folder.
pid_t StartCli(const std::vector<std::string>& args, const Folder& folder, std::string out = {}) {
  std::vector<std::string> a = {ZELTA_CLI_PATH};
  a.insert(a.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : a) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (out.empty()) out = folder.Path() + "/stdout";
  const std::string err = folder.Path() + "/stderr";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

Outcome Finished(pid_t pid, const Folder& folder) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole(folder.Path() + "/stdout"),
          ReadWhole(folder.Path() + "/stderr")};
}

Outcome RunCli(const std::vector<std::string>& args, const Folder& folder,
               const std::string& out = {}) {
  return Finished(StartCli(args, folder, out), folder);
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
  // "FILE": a good settings file, "AUTO": one with SHUTTER AUTO, "BAD": a bad
  // one, "FIFO": a named pipe, "DIR": a line book's folder
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
    } else if (arg == "DIR") {
      args.push_back(folder.Path() + "/book");
    } else if (arg == "FIFO") {
      args.push_back(folder.Path() + "/out.fifo");
      ASSERT_EQ(::mkfifo(args.back().c_str(), 0600), 0);
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
             "bytes\":\"4C 4F 42 42 59 2D 32 20 20 20 20 20 20 20 20 20\",\"ID. "
             "POS\":0,\"RED\":15,\"Blue\":15,\"ColToWb\":1,\"WbToCol\":1,\"GAMMA\":1,"
             "\"PREDTMSP\":0}\n"},
        // Bytes outside the ID set (NUL ends the text) give valid JSON.
        Case{"ReadJsonOddId",
             {"--id-hex", "41FF0D0A260042"},
             {"--json", "read"},
             0,
             Match::Contains,
             "\"ID.\":\"A\xC3\xBF\\r\\n&\",\"ID. bytes\":\"41 FF 0D 0A 26 00 42 20 20 20 20 20 "
             "20 20 20 20\""},
        Case{"ReadToAFolderThatIsNot",
             {},
             {"read", "/nonexistent-zelta-folder/x.TXT"},
             2,
             Match::Exact,
             "",
             "No such file or directory"},
        Case{"ReadToADevice", {}, {"read", "/dev/null"}, 2, Match::Exact, "", "Not a regular file"},
        Case{"WriteText", {}, {"write", "FILE"}, 0, Match::Exact, "1 ok\n"},
        // Every camera counts, not only the last.
        Case{"WriteFailedThenGood",
             {"--cameras", "1-2", "--silent", "1"},
             {"write", "FILE", "--to", "1-2"},
             1,
             Match::Exact,
             "1 no answer\n2 ok\n",
             "not every camera is ok"},
        Case{"WriteToNoCamera",
             {},
             {"--json", "write", "FILE", "--to", ""},
             2,
             Match::Exact,
             "{\"error\":\"--to: No addresses given\"}\n"},
        Case{"WriteCommaDash",
             {},
             {"write", "FILE", "--to", "2,- 4"},
             2,
             Match::Exact,
             "",
             "A dash right after a comma at position 3 of \"2,- 4\""},
        Case{"WriteJsonToTwo",
             {},
             {"--json", "write", "FILE", "--to", "1-2"},
             1,
             Match::Exact,
             "{\"results\":[{\"address\":1,\"result\":\"ok\"},{\"address\":2,\"result\":\"no "
             "answer\"}],\"error\":\"not every camera is ok\"}\n"},
        Case{"WriteRefused",
             {"--refuse", "SHUTTER"},
             {"write", "FILE"},
             1,
             Match::Exact,
             "1 refused SHUTTER; not written: " + ItemsAfter(kItemShutter, ", ") + "\n"},
        // A lens that keeps the shutter on IRIS: the state the panel shows
        // for it, a note and no failure, and no notice.
        Case{"WriteAiLens",
             {"--ai-lens", "--iris"},
             {"write", "AUTO"},
             0,
             Match::Exact,
             "1 ok; fixed: SHUTTER IRIS\n"},
        // An AI lens that keeps a shutter speed of its own is a refusal.
        Case{"WriteAiLensSpeed",
             {"--ai-lens", "--set", "SHUTTER=5"},
             {"--json", "write", "AUTO"},
             1,
             Match::Exact,
             "{\"results\":[{\"address\":1,\"result\":\"refused\",\"items\":[\"SHUTTER\"]}],"
             "\"error\":\"not every camera is ok\"}\n"},
        // SYNC fixed by the power supply reads back "---": a note, no difference.
        Case{"WriteDcSync",
             {"--dc-sync"},
             {"write", "FILE"},
             0,
             Match::Exact,
             "1 ok; fixed: SYNC ---\n"},
        // A GAIN refused in the middle of the order: the rest never written.
        Case{"WriteCutShortJson",
             {"--refuse", "GAIN", "--dc-sync"},
             {"--json", "write", "FILE"},
             1,
             Match::Exact,
             "{\"results\":[{\"address\":1,\"result\":\"refused\",\"items\":[\"GAIN\"],"
             "\"stopped_at\":\"GAIN\",\"not_written\":[" +
                 ItemsAfter(kItemGain, ",", "\"") + "]}],\"error\":\"not every camera is ok\"}\n"},
        Case{"WriteToALine",
             {"--cameras", "1-3", "--silent", "3", "--refuse", "2:SHUTTER"},
             {"write", "FILE", "--to", "1-4"},
             1,
             Match::Exact,
             "1 ok\n2 refused SHUTTER; not written: " + ItemsAfter(kItemShutter, ", ") +
                 "\n3 no answer\n4 no answer\n"},
        Case{"WriteBadList",
             {},
             {"write", "FILE", "--to", "3-x"},
             2,
             Match::Exact,
             "",
             "--to: \"3-x\" is not an address or a range like 2-32"},
        Case{"WriteReportNotAFile",
             {},
             {"write", "FILE", "--report", "/dev/null"},
             2,
             Match::Exact,
             "",
             "can not save the report \"/dev/null\": Not a regular file: a device"},
        Case{"WriteReportEmpty",
             {},
             {"write", "FILE", "--report", ""},
             2,
             Match::Exact,
             "",
             "can not save the report \"\": No such file or directory"},
        Case{"WriteReportNoFolder",
             {},
             {"write", "FILE", "--report", "/nonexistent-zelta/report.csv"},
             2,
             Match::Exact,
             "",
             "No such file or directory"},
        Case{"WriteBadFile",
             {},
             {"write", "BAD"},
             2,
             Match::Exact,
             "",
             "'x1' is not a valid integer value"},
        // Refused before the camera is read; the FIFO stays.
        Case{"ReadToFifo", {}, {"read", "FIFO"}, 2, Match::Exact, "", "Not a regular file: a FIFO"},
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
        // A dome that speaks only Pelco is steered all the same.
        Case{"PtzWithoutPollAnswer",
             {"--silent-after", "0"},
             {"ptz", "down"},
             0,
             Match::Prefix,
             "A0 00 00 10",
             {},
             true},
        Case{"PtzChecked",
             {"--silent-after", "0"},
             {"ptz", "--check", "up"},
             1,
             Match::Exact,
             "",
             "no answer from camera 1"},
        // Every camera answers address 0 at once.
        Case{"StateCollided",
             {"--cameras", "1-3"},
             {"--json", "state"},
             1,
             Match::Prefix,
             "{\"error\":\"several cameras answered at once and their replies collided"},
        Case{"UnknownCommand", {}, {"frob"}, 2, Match::Exact, "", "unknown command frob"},
        Case{"MonitorZeroSeconds",
             {},
             {"monitor", "--seconds", "0"},
             2,
             Match::Exact,
             "",
             "must be from 0.001 to 86400 seconds (one day), not 0"},
        Case{"MonitorNanSeconds", {}, {"monitor", "--seconds", "nan"}, 2, Match::Exact, ""},
        Case{"MonitorSecondsPastADay", {}, {"monitor", "--seconds", "1e10"}, 2, Match::Exact, ""},
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
        Case{"ScanOneAddressAtARateGivenTwice",
             {"--cameras", "2,3"},
             {"scan", "--bauds", "4800,4800", "--from", "2", "--to", "2"},
             0,
             Match::Exact,
             "2 4800\n"},
        Case{"BackupScansFirst",
             kCamera37,
             {"--baud", "9600", "--protocol", "pelco-d", "backup", "DIR"},
             0,
             Match::Exact,
             "37 saved 037.TXT\n"},
        Case{"RestoreWithoutABook",
             {},
             {"restore", "DIR"},
             2,
             Match::Exact,
             "",
             "can not read the line book"},
        Case{"DiffJson",
             {},
             {"--json", "diff", "FILE"},
             1,
             Match::Prefix,
             "{\"address\":1,\"agree\":false,\"items\":[{\"item\":\"D/N MODE\",\"file\":\"1\","},
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
  ASSERT_TRUE(CheckSettingsLines(SplitSettingsLines(run.out, kSettingsFileLines), values, error));
  EXPECT_EQ(values.numbers[3], 3);  // SHUTTER
  EXPECT_EQ(values.numbers[4], 1);  // GAIN
  EXPECT_EQ(values.id, "LOBBY-2         ");
}

TEST(CliWrite, ReportIsTheWindowsCsvTable) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const std::string settings = folder.File("site 7, east.txt", kGoodFile);
  const std::string report = folder.Path() + "/report.csv";
  const Outcome run =
      RunCli({"--port", pty, "write", settings, "--to", "1-2", "--report", report}, folder);
  EXPECT_EQ(run.status, 1) << run.err;
  const auto table = CsvTable(report);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0][0], "Address");
  EXPECT_EQ(table[1][1], "OK");
  EXPECT_EQ(table[2][1], "No answer");
  for (size_t row = 1; row < table.size(); ++row) {
    EXPECT_EQ(table[row][0], std::to_string(row));
    EXPECT_EQ(std::vector<std::string>(table[row].begin() + 4, table[row].end()),
              (std::vector<std::string>{pty, "4800", settings}));
  }
}

// The final status counts: a camera gone mid-read leaves no file of defaults.
TEST(CliRead, CameraThatStopsAnsweringLeavesNoFile) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {"--silent-after", "5"});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const std::string file = folder.Path() + "/camera.TXT";
  const Outcome run = RunCli({"--port", pty, "read", file}, folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("camera 1 stopped answering"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(file).good());
}

// Bytes outside the ID set are saved as blanks: the file goes back to a camera.
TEST(CliRead, OddIdBytesGiveAFileThatWritesAgain) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {"--id-hex", "41FF0D0A2642"});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const std::string file = folder.Path() + "/camera.TXT";
  ASSERT_EQ(RunCli({"--port", pty, "read", file}, folder).status, 0);
  EXPECT_NE(ReadWhole(file).find("\r\nID.&A    B          \r\nID. POS&"), std::string::npos)
      << ReadWhole(file);
  const Outcome run = RunCli({"--port", pty, "write", file}, folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1 ok\n");
}

TEST(CliOutput, AFullDiskIsAFailure) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"read"}, {"--json", "scan", "--bauds", "4800", "--to", "2"}}) {
    std::vector<std::string> args = {"--port", pty};
    args.insert(args.end(), command.begin(), command.end());
    const Outcome run = RunCli(args, folder, "/dev/full");
    EXPECT_EQ(run.status, 5) << command[0];
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
  }
}

// `zelta-cli monitor | head -1`: the reader leaves, the monitor ends as a
// writer to a closed pipe does, without a word.
TEST(CliOutput, AClosedPipeEndsTheMonitorQuietly) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const std::string fifo = folder.Path() + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const pid_t pid = StartCli({"--port", pty, "monitor"}, folder, fifo);
  {
    std::ifstream reader(fifo);
    std::string line;
    ASSERT_TRUE(std::getline(reader, line));
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
  EXPECT_EQ(ReadWhole(folder.Path() + "/stderr"), "");
}

// Waits until the camera has heard `frames` frames (the command is under way).
void WaitHeard(const SimProcess& sim, size_t frames) {
  for (int i = 0; i < 500 && Heard(sim).size() < frames; ++i) ::usleep(10000);
}

// A hang-up ends the monitor as Ctrl+C does: in order, the port given back.
TEST(CliSignal, HangUpEndsTheMonitorInOrder) {
  Folder folder;
  SimProcess sim(ZELTA_CAMSIM_PATH, {});
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty());
  const pid_t pid = StartCli({"--port", pty, "--json", "monitor"}, folder);
  WaitHeard(sim, 2);
  ::kill(pid, SIGHUP);
  const Outcome run = Finished(pid, folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("{\"frames\":[", 0), 0u) << run.out;
}

// Stopped is not "two cameras at an address": its own status, said in the JSON.
TEST(CliSignal, AnInterruptedWriteOrScanSaysSo) {
  Folder folder;
  const std::string file = folder.File("good.txt", kGoodFile);
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"write", file, "--to", "1-3"}, {"scan", "--bauds", "4800"}}) {
    SimProcess sim(ZELTA_CAMSIM_PATH, {"--cameras", "1-3"});
    const std::string pty = sim.WaitReady();
    ASSERT_FALSE(pty.empty());
    std::vector<std::string> args = {"--port", pty, "--json"};
    args.insert(args.end(), command.begin(), command.end());
    const pid_t pid = StartCli(args, folder);
    WaitHeard(sim, 4);
    ::kill(pid, SIGINT);
    const Outcome run = Finished(pid, folder);
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.out.find(",\"error\":\"stopped\"}\n"), std::string::npos) << run.out;
  }
}

TEST(CliPort, SomethingElseIsNotASerialDevice) {
  Folder folder;
  for (const char* path : {"/tmp", "/etc/passwd", "/dev/null"}) {
    const Outcome run = RunCli({"--port", path, "state"}, folder);
    EXPECT_EQ(run.status, 3) << path;
    EXPECT_NE(run.err.find(std::string("not a serial device: ") + path), std::string::npos)
        << run.err;
  }
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
      {{"--json", "backup", "DIR", "--to", "1-8"}, 40, "{\"folder\":\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cli[1]);
    Folder folder;
    SimProcess sim(ZELTA_CAMSIM_PATH, {"--cameras", "1-8", "--line-timing"});
    const std::string pty = sim.WaitReady();
    ASSERT_FALSE(pty.empty()) << sim.Output();
    std::vector<std::string> args = {"--port", pty};
    for (const std::string& arg : c.cli)
      args.push_back(arg == "FILE"  ? folder.File("good.txt", kGoodFile)
                     : arg == "DIR" ? folder.Path() + "/book"
                                    : arg);
    const pid_t cli = StartCli(args, folder);
    for (int i = 0; i < 1000 && Heard(sim).size() < c.framesBeforeLoss; ++i) ::usleep(20000);
    ASSERT_TRUE(sim.Stop());
    const Outcome run = Finished(cli, folder);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("zelta-cli: the line was lost at address "), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
    EXPECT_NE(run.out.find(",\"line_lost\":{\"address\":"), std::string::npos) << run.out;
  }
}

// The adapter pulled out under any command (the simulator closes its
// pseudo-terminal after its first reply): the command does not wait for it
// and ends with the port's status.
TEST(CliPort, AnUnpluggedAdapterEndsEveryCommandAtOnce) {
  const std::vector<std::string> commands[] = {{"read"},
                                               {"state"},
                                               {"delay", "read"},
                                               {"ptz", "--check", "up"},
                                               {"monitor", "--seconds", "60"}};
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command[0]);
    Folder folder;
    SimProcess sim(ZELTA_CAMSIM_PATH, {"--unplug-after", "1"});
    const std::string pty = sim.WaitReady();
    ASSERT_FALSE(pty.empty()) << sim.Output();
    std::vector<std::string> args = {"--port", pty};
    args.insert(args.end(), command.begin(), command.end());
    const Outcome run = RunCli(args, folder);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("zelta-cli: the port has gone"), std::string::npos) << run.err;
  }
}

// What a camera's simulator state says it holds for a key ("SHUTTER", "ID-HEX").
std::string Held(const std::string& state, int address, const std::string& key) {
  char name[32];
  std::snprintf(name, sizeof name, "/camera-%03d.txt", address);
  const std::string text = ReadWhole(state + name);
  const size_t at = text.find("\n" + key + "=");
  return at == std::string::npos
             ? ""
             : text.substr(at + key.size() + 2, text.find('\n', at + 1) - at - key.size() - 2);
}

// A whole line backed up, three cameras changed behind ZELTA's back (one
// back to factory settings), one compared, the line restored: every camera
// holds its own values again. Address 9 is silent.
TEST(CliLineBook, BackUpCompareAndRestoreAWholeLine) {
  Folder folder;
  const std::string state = folder.Path() + "/state";
  const std::string book = folder.Path() + "/book";
  ASSERT_EQ(::mkdir(state.c_str(), 0700), 0);
  const std::vector<std::string> line = {"--cameras",   "1-8", "--line-timing", "--baud", "9600",
                                         "--state-dir", state};
  std::vector<std::string> own = line;
  for (int a = 1; a <= 8; ++a) {
    own.insert(own.end(), {"--set", std::to_string(a) + ":SHUTTER=" + std::to_string(a - 1), "--id",
                           std::to_string(a) + ":CAM-" + std::to_string(a)});
  }
  std::string heldId[9];
  {
    SimProcess sim(ZELTA_CAMSIM_PATH, own);
    const std::string pty = sim.WaitReady();
    ASSERT_FALSE(pty.empty()) << sim.Output();
    const Outcome run =
        RunCli({"--port", pty, "--baud", "9600", "backup", book, "--to", "1-9"}, folder);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out,
              "1 saved 001.TXT\n2 saved 002.TXT\n3 saved 003.TXT\n4 saved 004.TXT\n5 saved "
              "005.TXT\n6 saved 006.TXT\n7 saved 007.TXT\n8 saved 008.TXT\n9 no answer\n");
  }
  for (int a = 1; a <= 8; ++a) heldId[a] = Held(state, a, "ID-HEX");
  EXPECT_EQ(heldId[3].substr(0, 10), "43414D2D33");  // "CAM-3"
  std::ofstream(state + "/camera-002.txt", std::ios::app) << "SHUTTER=6\n";
  std::ofstream(state + "/camera-005.txt", std::ios::app)
      << "ID-HEX=" << std::string(32, '5') << "\n";
  std::remove((state + "/camera-007.txt").c_str());

  SimProcess sim(ZELTA_CAMSIM_PATH, line);
  const std::string pty = sim.WaitReady();
  ASSERT_FALSE(pty.empty()) << sim.Output();
  Outcome run = RunCli(
      {"--port", pty, "--baud", "9600", "--address", "2", "diff", book + "/002.TXT"}, folder);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "SHUTTER file 1 camera 6\n");
  run = RunCli({"--port", pty, "--baud", "9600", "--json", "restore", book}, folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("{\"results\":[{\"address\":1,\"result\":\"ok\"}", 0), 0u) << run.out;
  ASSERT_TRUE(sim.Stop());
  for (int a = 1; a <= 8; ++a) {
    EXPECT_EQ(Held(state, a, "SHUTTER"), std::to_string(a - 1)) << a;
    EXPECT_EQ(Held(state, a, "ID-HEX"), heldId[a]) << a;
  }
}

TEST(CliPort, MissingIsNamed) {
  Folder folder;
  for (const char* command : {"read", "scan"}) {
    const Outcome run = RunCli({"--port", folder.Path() + "/none", command}, folder);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("port missing"), std::string::npos) << run.err;
  }
}

}  // namespace
