#include "app/pastel_app_view.h"

namespace pastel {

void wireCanvas(MainWindowView&, Poster&) {}

}  // namespace pastel
