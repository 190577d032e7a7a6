#include "cli/result_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

struct Output {
  bool json = false;
  std::optional<Json> document;
  std::vector<std::string> errors;
  int failure = 0;  // errno of the first failed write to stdout
};

Output& TheOutput() {
  static Output output;
  return output;
}

void Failed(int error) {
  Output& out = TheOutput();
  if (out.failure != 0) return;
  out.failure = error != 0 ? error : EIO;
  if (out.failure != EPIPE) {
    std::fprintf(stderr, "zelta-cli: can not write the result: %s\n", std::strerror(out.failure));
  }
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
  return joined;
}

}  // namespace

void SetJsonOutput(bool json) {
  TheOutput().json = json;
}

bool WriteOut(const std::string& bytes) {
  if (OutputFailed()) return false;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
      std::fflush(stdout) != 0) {
    Failed(errno);
    return false;
  }
  return true;
}

#include "cli/port_problem.h"

void PrintResult(bool json, const std::string& text, const Json& document) {
  if (json) {
    TheOutput().document = document;
  } else {
    WriteOut(text + "\n");
  }
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "zelta-cli: %s\n", text.c_str());
  NoteError(text);
}

void NoteError(const std::string& text) {
  TheOutput().errors.push_back(text);
}

bool OutputFailed() {
  return TheOutput().failure != 0;
}

bool OutputPipeClosed() {
  return TheOutput().failure == EPIPE;
}

bool FinishOutput() {
  Output& out = TheOutput();
  if (out.json) {
    Json document = out.document.value_or(Json::object());
    if (!out.errors.empty()) document["error"] = Joined(out.errors);
    // Camera bytes reach the document as text already made valid; should any
    // other text slip through, a replaced character beats no document.
    WriteOut(document.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n");
  }
  errno = 0;
  if (std::fclose(stdout) != 0) Failed(errno);
  return !OutputFailed();
}

Json LineLostJson(const LineLoss* loss) {
  Json json = Json::object();
  if (loss) {
    json["address"] = loss->address;
    json["baud"] = loss->baud;
  }
  json["message"] = LineLostProblem(loss);
  return json;
}
