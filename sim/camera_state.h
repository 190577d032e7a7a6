// zelta-camsim --state-dir: each camera's settings kept in a file of a folder
// between runs, so a camera keeps what was written to it, like a real one.
// "camera-017.txt": a line per item as --set takes it ("SHUTTER=3") and the
// ID memory as --id-hex takes it ("ID-HEX=4C4F..."). Delete the file and the
// camera starts with factory settings; edit it and the camera holds the new
// values at the next start.
#pragma once

#include <cstdint>
#include <string>

#include "sim/camera_config.h"
#include "sim/camera_model.h"

// "camera-017.txt".
std::string CameraStateName(uint8_t address);
// The file's text for what the camera holds now.
std::string CameraStateText(const CameraModel& model);

// Puts the camera's saved settings, when there are any, into its start
// values; empty when fine (no file is fine), else why not.
std::string LoadCameraState(const std::string& folder, TCameraConfig& camera);
// Replaces the camera's file (whole or not at all); empty when saved, else why not.
std::string SaveCameraState(const std::string& folder, const CameraModel& model);
