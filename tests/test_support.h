#pragma once
#include <QTemporaryDir>

#include "canvas/poster.h"
#include "support/stand_ins.h"

namespace pastel::test {

// A poster after start-up, with scripted dialogs, a counting event loop and
// a fixed 1920 x 1080 screen; AppFolder is a fresh temporary folder.
struct PosterFixture {
  PosterFixture();
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  CountingLoop loop;
  FixedDesktop desktop;
  Poster poster;
};

}  // namespace pastel::test

namespace pastel::test {

// Stands in for the window's paper grab: the paper surface as it is now,
// counting the grabs.
class SurfaceCapture : public PaperCapture {
 public:
  explicit SurfaceCapture(const Poster& p) : p_(p) {}
  QImage grabPaper() override {
    ++grabs;
    return p_.form.paper.image().copy();
  }
  int grabs = 0;

 private:
  const Poster& p_;
};

}  // namespace pastel::test
