#pragma once
#include "canvas/poster.h"

namespace pastel {

// Marks printing or saving as an image as running for one handler call.
class OutputGuard {
 public:
  explicit OutputGuard(Poster& p) : p_(p), owns_(!p.outputRunning) { p.outputRunning = true; }
  ~OutputGuard() {
    if (owns_) p_.outputRunning = false;
  }
  OutputGuard(const OutputGuard&) = delete;
  OutputGuard& operator=(const OutputGuard&) = delete;
  bool owns() const { return owns_; }

 private:
  Poster& p_;
  bool owns_;
};

}  // namespace pastel
