// Prints the MIME type Qt's database gives each file named, as a Qt file
// manager would see it: "FILE: TYPE" per line.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QMimeDatabase db;
  QTextStream out(stdout);
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i)
    out << args[i] << ": " << db.mimeTypeForFile(args[i]).name() << '\n';
  return 0;
}
