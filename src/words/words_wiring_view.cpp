#include "app/pastel_app_view.h"

namespace pastel {

void wireWords(MainWindowView&, Poster&) {}

}  // namespace pastel
