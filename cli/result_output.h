// Results on stdout, nothing else there; complaints and notes on stderr.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "link/line_loss.h"

using Json = nlohmann::ordered_json;

// The result as a line of text, or as one JSON document, as asked.
void PrintResult(bool json, const std::string& text, const Json& document);
// "zelta-cli: TEXT" on stderr.
void Complain(const std::string& text);
// The "line_lost" member of a result whose port's device went mid-run: the
// address and rate it was lost at (when known) and why, as stderr says it.
Json LineLostJson(const LineLoss* loss);
