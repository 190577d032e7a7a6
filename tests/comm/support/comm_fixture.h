// A component on a pseudo-terminal with a hand-over that the test pumps.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "comm/comm.h"
#include "tests/comm/support/pseudo_terminal.h"
#include "tests/comm/support/pump_hand_over.h"

class CommFixture : public ::testing::Test {
 protected:
  CommFixture() : handOver(std::make_shared<PumpHandOver>()), comm(handOver) {
    comm.SetDeviceName(pty.SlavePath());
  }
  ~CommFixture() override {
    comm.Close();
    handOver->Shutdown();
  }

  void OpenOrFail() {
    comm.Open();
    ASSERT_TRUE(comm.Enabled());
  }
  bool PumpUntil(const std::function<bool()>& pred, int ms = 2000) {
    return handOver->PumpUntil(pred, std::chrono::milliseconds(ms));
  }

  PseudoTerminal pty;
  std::shared_ptr<PumpHandOver> handOver;
  TComm comm;
};
