// Takes the README's pictures of the four steps: the real windows on Qt's
// offscreen platform, driven by mouse events the way a child would, on the
// sample pictures and a fresh word list.
//   make_screenshots SAMPLE_PICTURES OUT_DIR   (writes stepN.png)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "app/pastel_app_view.h"
#include "support/stand_ins.h"

using namespace pastel;

namespace {

[[noreturn]] void die(const char* what) {
  std::fprintf(stderr, "make_screenshots: %s\n", what);
  std::exit(1);
}

QWidget* topLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
}

template <class W = QWidget>
W* find(QWidget* in, const QString& name) {
  W* w = in ? in->findChild<W*>(name) : nullptr;
  if (!w) die(qPrintable(QStringLiteral("no %1").arg(name)));
  return w;
}

void click(QWidget* in, const QString& name) { QTest::mouseClick(find(in, name), Qt::LeftButton); }

void pickColour(QWidget* window, const char* button, int swatch) {
  click(window, QString::fromUtf8(button));
  QWidget* palette = topLevel(QStringLiteral("Form2"));
  click(palette, QStringLiteral("Label3(%1)").arg(swatch));
  click(palette, QStringLiteral("Command12"));
}

// Presses at from inside w, then moves in steps of at most 60 pixels until
// the press point has travelled by, and releases: each move is relative to
// where the widget stands now, as the pointer would be.
void drag(QWidget* w, QPoint from, QPoint by) {
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
  const int steps = std::max(1, int(std::ceil(std::hypot(by.x(), by.y()) / 60.0)));
  QPoint done(0, 0);
  for (int i = 1; i <= steps; ++i) {
    const QPoint next = by * i / steps;
    const QPoint pos = from + (next - done);
    QMouseEvent me(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(w, &me);
    done = next;
  }
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, from);
}

void hover(QWidget* w, QPoint pos) {
  QMouseEvent me(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                 Qt::NoModifier);
  QCoreApplication::sendEvent(w, &me);
}

void shoot(QWidget* window, const QString& out, int step) {
  QCoreApplication::processEvents();
  const QString path = QStringLiteral("%1/step%2.png").arg(out).arg(step);
  if (!window->grab().toImage().save(path, "PNG")) die("cannot write a picture");
  std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) die("usage: make_screenshots SAMPLE_PICTURES OUT_DIR");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pastelboard"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  installJapaneseTranslations();
  const QString samples = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
  QDir().mkpath(out);

  QTemporaryDir appFolder;  // a fresh word list, whatever the build's says
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  PastelApp::Options o;
  o.dialogs = &dialogs;
  o.desktop = &desktop;
  o.executableFolder = appFolder.path();
  if (!QDir::setCurrent(samples)) die("no sample pictures");
  PastelApp pastel(o);
  pastel.start();
  Poster& p = pastel.poster();
  QWidget* w = &pastel.window();

  click(topLevel(QStringLiteral("frmList")), QStringLiteral("Command12"));  // これでよし
  QElapsedTimer waited;
  waited.start();
  while (!p.form.image1[5].picture && waited.elapsed() < 20000) QTest::qWait(20);
  if (!p.form.image1[5].picture) die("the picture strip did not fill");

  // Step 1: a pale yellow paper, a blue wave and a red sun.
  pickColour(w, "Command12", 3);
  pickColour(w, "Command13", 22);
  QWidget* paper = find(w, QStringLiteral("Picture1"));
  QTest::mousePress(paper, Qt::LeftButton, Qt::NoModifier,
                    QPoint(40, 420 + int(18 * std::sin(1.0))));
  for (int x = 40; x <= 660; x += 3)
    QTest::mouseMove(paper, QPoint(x, 420 + int(18 * std::sin(x / 40.0))));
  QTest::mouseRelease(paper, Qt::LeftButton, Qt::NoModifier, QPoint(660, 420));
  pickColour(w, "Command13", 17);
  QTest::mousePress(paper, Qt::LeftButton, Qt::NoModifier, QPoint(640, 70));
  for (int a = 0; a <= 360; a += 4)
    QTest::mouseMove(paper, QPoint(600 + int(40 * std::cos(a * M_PI / 180)),
                                   70 + int(40 * std::sin(a * M_PI / 180))));
  QTest::mouseRelease(paper, Qt::LeftButton, Qt::NoModifier, QPoint(640, 70));
  shoot(w, out, 1);

  // Step 2: three pictures from the strip onto the paper.
  click(w, QStringLiteral("Command11"));
  const QPoint targets[] = {QPoint(40, 210), QPoint(290, 250), QPoint(180, 400)};
  const int thumbs[] = {1, 4, 8};
  for (int k = 0; k < 3; ++k) {
    QWidget* thumb = find(w, QStringLiteral("Image1(%1)").arg(thumbs[k]));
    hover(thumb, QPoint(30, 30));
    QWidget* slot = find(w, QStringLiteral("Image3(%1)").arg(k));
    drag(slot, QPoint(30, 30), targets[k] - slot->pos());
    if (!isPlaced(p.form.image3[k])) die("a picture was not placed");
  }
  click(w, QStringLiteral("Command1"));  // the last one a little smaller
  shoot(w, out, 2);

  // Step 3: three words onto the paper, one in red on a pink frame.
  click(w, QStringLiteral("Command6"));
  const QPoint spots[] = {QPoint(450, 440), QPoint(450, 490), QPoint(240, 660)};
  for (int i = 0; i < 3; ++i) {
    auto* word = find<QPlainTextEdit>(w, QStringLiteral("Text1(%1)").arg(i));
    drag(word->viewport(), QPoint(10, 8), spots[i] - word->pos());
    if (!isPlaced(p.form.text1[i])) die("a word was not placed");
  }
  pickColour(w, "Command17", 17);
  pickColour(w, "Command18", 1);
  shoot(w, out, 3);

  click(w, QStringLiteral("Command4"));
  shoot(w, out, 4);
  return 0;
}
