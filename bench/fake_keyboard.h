// The few X calls needed to type into a window, loaded at run time so the
// benchmark needs no X headers or libraries to build.
#pragma once

#include <string>
#include <vector>

class FakeKeyboard {
 public:
  FakeKeyboard();
  ~FakeKeyboard();
  FakeKeyboard(const FakeKeyboard&) = delete;
  FakeKeyboard& operator=(const FakeKeyboard&) = delete;

  // Whether libX11 and libXtst are there with every call needed.
  bool Usable() const;

  // Points at the middle of the screen (where the dialog is centred) and
  // types the keys, by X key names.
  bool Type(const std::string& display, const std::vector<std::string>& keys);

 private:
  using OpenFn = void* (*)(const char*);
  using CloseFn = int (*)(void*);
  using KeysymFn = unsigned long (*)(const char*);
  using KeycodeFn = unsigned char (*)(void*, unsigned long);
  using SizeFn = int (*)(void*, int);
  using KeyFn = int (*)(void*, unsigned int, int, unsigned long);
  using MotionFn = int (*)(void*, int, int, int, unsigned long);
  void* x11_ = nullptr;
  void* xtst_ = nullptr;
  OpenFn open_ = nullptr;
  CloseFn close_ = nullptr;
  CloseFn flush_ = nullptr;
  KeysymFn keysym_ = nullptr;
  KeycodeFn keycode_ = nullptr;
  SizeFn width_ = nullptr;
  SizeFn height_ = nullptr;
  KeyFn key_ = nullptr;
  MotionFn motion_ = nullptr;
};
