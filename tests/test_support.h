#pragma once
#include <QTemporaryDir>

#include "canvas/poster.h"
#include "platform/dialogs.h"

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
