// Results on stdout, nothing else there; complaints and notes on stderr.
// Every write to stdout is checked: a script must never take a failed write
// for a result. With --json the run gives exactly one document, written when
// the run ends, with an "error" member when something failed.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "link/line_loss.h"

using Json = nlohmann::ordered_json;

// Whether the run answers in JSON; set once the command line is read.
void SetJsonOutput(bool json);

// The result: as text, written at once; as JSON, the run's document.
void PrintResult(bool json, const std::string& text, const Json& document);
// Bytes for stdout as they are (the settings file, a line of the monitor),
// written at once; false when stdout failed (now or before).
bool WriteOut(const std::string& bytes);
// "zelta-cli: TEXT" on stderr; with --json also the document's "error".
void Complain(const std::string& text);
// Only the document's "error" (for a message already shown another way).
void NoteError(const std::string& text);

// stdout can take nothing more: a full disk, a closed pipe.
bool OutputFailed();
// The reader of stdout went away (EPIPE): the run ends quietly.
bool OutputPipeClosed();
// Writes the JSON document (when asked for) and closes stdout, checked.
// false when stdout failed at any point; the reason is on stderr, except
// for a closed pipe.
bool FinishOutput();
// The "line_lost" member of a result whose port's device went mid-run: the
// address and rate it was lost at (when known) and why, as stderr says it.
Json LineLostJson(const LineLoss* loss);
