#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace pastel {

ColourValue resolveColour(ColourValue c) {
  if (!isSystemColour(c)) return c;
  QPalette::ColorRole role = QPalette::Base;
  switch (c) {
    case kSysWindowBackground: role = QPalette::Base; break;
    case kSysWindowText: role = QPalette::Text; break;
    case kSysButtonFace: role = QPalette::Button; break;
    case kSysButtonText: role = QPalette::ButtonText; break;
    default: role = QPalette::Window; break;
  }
  if (!qGuiApp) {
    return role == QPalette::Text || role == QPalette::ButtonText ? kBlack
           : role == QPalette::Base                               ? kWhite
                                                                  : rgb(0xef, 0xef, 0xef);
  }
  const QColor q = QGuiApplication::palette().color(role);
  return rgb(q.red(), q.green(), q.blue());
}

}  // namespace pastel
