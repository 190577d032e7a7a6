// Two cameras answering at once on an RS-485 line: both drivers are on, and
// the tool hears one garbled frame.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/camera_frames.h"

using ReplyFrame = std::array<uint8_t, kFrameSize>;

// The frame the tool hears when all `replies` (two or more) go out together.
// A driven 0 wins over a 1 on the line, so the bytes are ANDed: start byte,
// bytes 1 and 2 and a shared address survive. The drivers never start at the
// same instant, so the frame never checks: when the ANDed bytes would still
// add up (identical replies), the skew has flipped the checksum's lowest bit.
ReplyFrame CollidedReply(const std::vector<ReplyFrame>& replies);
