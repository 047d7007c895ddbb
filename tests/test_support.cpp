#include "test_support.h"

#include "steps/startup.h"

namespace pastel::test {

PosterFixture::PosterFixture() {
  poster.svc.dialogs = &dialogs;
  poster.svc.loop = &loop;
  poster.svc.desktop = &desktop;
  poster.svc.executableFolder = dir.path();
  startUpBeforeShow(poster);
  startUpAfterShow(poster);
}

}  // namespace pastel::test
