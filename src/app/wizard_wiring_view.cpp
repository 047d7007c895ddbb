#include "app/pastel_app_view.h"

namespace pastel {

void wireWizard(MainWindowView&, Poster&) {}

}  // namespace pastel
