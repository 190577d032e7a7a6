// Splits the bytes of one direction of the line into frames: settings frames
// (start byte 0xCC, ten bytes) and PTZ frames of the protocols it is told to
// know. Bytes that start neither are garbage, handed on in pieces of at most
// kGarbagePieceBytes so that a chattering line neither hides nor hoards them;
// a frame whose bytes stop for 200 ms is dropped, as the link's receiver drops
// it. The simulated camera hears the tool through one, and the line monitor
// reads each direction with one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/camera_frames.h"
#include "link/ptz_frames.h"
#include "link/qam_intervals.h"

enum class LinePieceKind : uint8_t {
  Frame,    // a complete 10-byte settings frame
  Ptz,      // a complete PTZ frame
  Garbage,  // bytes outside any frame
  Partial,  // a frame cut off by 200 ms without a byte
};

struct LinePiece {
  LinePieceKind kind;
  std::vector<uint8_t> bytes;
  PtzProtocol protocol = kProtocolPelcoP;  // of a Ptz piece
};

constexpr int64_t kInterByteTimeoutUs = int64_t{kInterByteMs} * 1000;
// A settings frame's length: a piece of garbage fills a line of the monitor as a frame does.
constexpr size_t kGarbagePieceBytes = kFrameSize;

// What a PTZ frame that fails its form or checksum is.
enum class BadPtzFrames : uint8_t {
  Dropped,  // a frame, dropped: the sender is the program or the tool, and framing holds
  Reread,   // no frame: its start byte is garbage and the bytes after it are read again
            // (a line other controllers share, where the start bytes also come as noise)
};

// Every protocol of link/ptz_protocols.cpp, for a splitter that reads them all.
std::vector<PtzProtocol> AllPtzProtocols();

class LineSplitter {
 public:
  // `ptz`: the PTZ protocols whose frames it collects (none for the camera's
  // replies). Where several share a start byte, a frame is the one whose
  // form and checksum hold.
  explicit LineSplitter(std::vector<PtzProtocol> ptz = {},
                        BadPtzFrames badPtz = BadPtzFrames::Dropped)
      : ptz_(std::move(ptz)), badPtz_(badPtz) {}

  // Takes bytes that arrived at `nowUs`, in chunks of any size; returns what they completed.
  std::vector<LinePiece> Feed(const uint8_t* data, size_t count, int64_t nowUs);
  // Drops a partial frame (and reports garbage) once 200 ms have passed.
  std::vector<LinePiece> Expire(int64_t nowUs);
  // When Expire has something to do; -1 when nothing waits.
  int64_t Deadline() const;
  // Gives up a frame in progress at once (returned as a Partial piece).
  std::vector<LinePiece> Abandon();

 private:
  void Take(uint8_t byte, std::vector<LinePiece>& pieces);
  LinePieceKind KindStartedBy(uint8_t byte);
  bool Rereads() const;
  void Reread(std::vector<LinePiece>& pieces);
  void AddGarbage(uint8_t byte, std::vector<LinePiece>& pieces);
  size_t ExpectedLength() const;
  void FlushGarbage(std::vector<LinePiece>& pieces);
  void Close(LinePieceKind kind, std::vector<LinePiece>& pieces);
  std::vector<LinePiece> Drain();

  bool Completes(PtzProtocol& protocol) const;

  std::vector<PtzProtocol> ptz_;
  BadPtzFrames badPtz_;
  LinePieceKind collecting_ = LinePieceKind::Garbage;  // Frame or Ptz while a frame is open
  // The protocols the open PTZ frame may be in (those of its start byte), in row order.
  std::vector<PtzProtocol> candidates_;
  PtzProtocol protocol_ = kProtocolPelcoP;
  std::vector<uint8_t> frame_;
  std::vector<uint8_t> garbage_;
  int64_t lastByteUs_ = 0;
};
