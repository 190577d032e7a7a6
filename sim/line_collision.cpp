#include "sim/line_collision.h"

ReplyFrame CollidedReply(const std::vector<ReplyFrame>& replies) {
  ReplyFrame line;
  line.fill(0xFF);
  for (const ReplyFrame& reply : replies) {
    for (size_t i = 0; i < kFrameSize; ++i) line[i] &= reply[i];
  }
  if (FrameChecksum(line.data()) == line[kFrameSize - 1]) line[kFrameSize - 1] ^= 0x01;
  return line;
}
