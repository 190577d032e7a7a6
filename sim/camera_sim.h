// The simulated cameras on one line, driven by bytes and a clock from outside:
// they receive frames, answer the settings protocol, obey PTZ frames, and
// hand back the bytes that are due on the line. Each camera has its own
// settings and answers its own address; cameras that answer the same request
// collide. It never reads a clock or
// touches a descriptor itself, so it runs the same on a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/line_splitter.h"
#include "sim/camera_config.h"
#include "sim/camera_model.h"
#include "sim/frame_damage.h"
#include "sim/line_collision.h"
#include "sim/osd_menu.h"
#include "sim/output_queue.h"
#include "sim/trace.h"

class CameraSim {
 public:
  // One camera, or several on one line: the line's speed, PTZ protocol and
  // reply timing are those of the first.
  CameraSim(const TCameraConfig& config, const SimTrace& trace);
  CameraSim(const std::vector<TCameraConfig>& cameras, const SimTrace& trace);

  // Bytes that arrived at `nowUs` while the line ran at `lineBaud`. The camera
  // only understands bytes sent at its own rate.
  void OnBytes(const uint8_t* data, size_t count, int lineBaud, int64_t nowUs);
  // Lets time pass: drops a partial frame after 200 ms.
  void OnTime(int64_t nowUs);
  // When OnTime or TakeDueBytes next has work; -1 when only new bytes can bring any.
  int64_t NextDeadline() const;
  // Bytes due on the line by `nowUs`.
  std::vector<uint8_t> TakeDueBytes(int64_t nowUs);

  // The camera in place `index` (the order they were given in).
  const CameraModel& Model(size_t index = 0) const { return cameras_[index]->model; }
  const OsdMenu& Menu(size_t index = 0) const { return cameras_[index]->menu; }
  long Replies(size_t index = 0) const { return cameras_[index]->replies; }
  long AllReplies() const;
  // Told after each write request or PTZ frame a camera took, with the
  // camera as it then stands (its values may or may not have changed).
  void SetOnChange(std::function<void(const CameraModel&)> onChange) {
    onChange_ = std::move(onChange);
  }

 private:
  struct Camera {
    explicit Camera(const TCameraConfig& c) : config(c), model(c), menu(model) {}
    // Whether it leaves a request that comes at `nowUs` unanswered.
    bool Silent(int64_t nowUs);

    TCameraConfig config;
    CameraModel model;
    OsdMenu menu;
    long replies = 0;
    int64_t silentSinceUs = -1;  // the first request it left unanswered
    bool restarted = false;      // back after --silent-for
  };

  void Handle(const LinePiece& piece, int64_t nowUs);
  void HandleCommand(const std::vector<uint8_t>& frame, int64_t nowUs);
  void HandlePtz(const std::vector<uint8_t>& frame, int64_t nowUs);
  // The cameras a request is for: the one at its address, or every one.
  std::vector<Camera*> Addressed(uint8_t address, bool everyCamera) const;
  // Puts the replies on the line: one camera's, or the collision of several.
  void ScheduleReplies(const std::vector<ReplyFrame>& replies, int64_t nowUs);
  // The reply of one camera to a request it takes.
  ReplyFrame Reply(Camera& camera, const uint8_t* request);
  // "camera is addr 1", or "no camera at addr 9" on a line of several.
  std::string NotHere(int address) const;

  TCameraConfig config_;  // the line's: speed, PTZ protocol, reply timing
  const SimTrace& trace_;
  std::vector<std::unique_ptr<Camera>> cameras_;
  LineSplitter receiver_;
  OutputQueue output_;
  FrameDamage replyDamage_;
  FrameDamage requestDamage_;
  // With line timing: when the last byte from the tool has crossed the line.
  int64_t rxBusyUntilUs_ = 0;
  std::function<void(const CameraModel&)> onChange_;
};
