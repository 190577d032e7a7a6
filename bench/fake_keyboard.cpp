#include "bench/fake_keyboard.h"

#include <dlfcn.h>

FakeKeyboard::FakeKeyboard() {
  x11_ = ::dlopen("libX11.so.6", RTLD_NOW);
  xtst_ = ::dlopen("libXtst.so.6", RTLD_NOW);
  if (x11_ == nullptr || xtst_ == nullptr) return;
  open_ = reinterpret_cast<OpenFn>(::dlsym(x11_, "XOpenDisplay"));
  close_ = reinterpret_cast<CloseFn>(::dlsym(x11_, "XCloseDisplay"));
  flush_ = reinterpret_cast<CloseFn>(::dlsym(x11_, "XFlush"));
  keysym_ = reinterpret_cast<KeysymFn>(::dlsym(x11_, "XStringToKeysym"));
  keycode_ = reinterpret_cast<KeycodeFn>(::dlsym(x11_, "XKeysymToKeycode"));
  width_ = reinterpret_cast<SizeFn>(::dlsym(x11_, "XDisplayWidth"));
  height_ = reinterpret_cast<SizeFn>(::dlsym(x11_, "XDisplayHeight"));
  key_ = reinterpret_cast<KeyFn>(::dlsym(xtst_, "XTestFakeKeyEvent"));
  motion_ = reinterpret_cast<MotionFn>(::dlsym(xtst_, "XTestFakeMotionEvent"));
}

FakeKeyboard::~FakeKeyboard() {
  if (xtst_ != nullptr) ::dlclose(xtst_);
  if (x11_ != nullptr) ::dlclose(x11_);
}

bool FakeKeyboard::Usable() const {
  return open_ && close_ && flush_ && keysym_ && keycode_ && width_ && height_ && key_ && motion_;
}

bool FakeKeyboard::Type(const std::string& display, const std::vector<std::string>& keys) {
  void* d = open_(display.c_str());
  if (d == nullptr) return false;
  motion_(d, 0, width_(d, 0) / 2, height_(d, 0) / 2, 0);
  for (const std::string& name : keys) {
    const unsigned char code = keycode_(d, keysym_(name.c_str()));
    key_(d, code, 1, 0);
    key_(d, code, 0, 0);
  }
  flush_(d);
  close_(d);
  return true;
}
