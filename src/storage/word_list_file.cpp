#include "storage/word_list_file.h"

#include "app/startup.h"
#include "storage/template_db.h"

namespace pastel {

QString wordListFile(Poster& p) { return templateDatabasePath(appFolderPath(p)); }

}  // namespace pastel
