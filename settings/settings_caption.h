// The main window's caption names the settings file last saved or opened.
#pragma once

#include <string>

// The caption after start-up.
extern const char* const kUntitledCaption;  // " - Untitled.TXT"

// " - " and the part of the path after its last "/".
std::string FileCaption(const std::string& path);

// The file's name the caption shows, blanks and all: the caption without its " - ".
std::string CaptionFileName(const std::string& caption);

// The name Save As proposes: the caption's text after its last blank, or the
// whole caption when it has none.
std::string ProposedFileName(const std::string& caption);
