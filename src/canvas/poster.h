#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>

#include "canvas/poster_kinds.h"
#include "form/main_form.h"
#include "form/palette_form.h"
#include "platform/services.h"

namespace pastel {

// The poster: the main window's elements plus the module and window state
// every handler shares, each kind's own (its files, colour codes, stack
// order) among it. One copy for the program.
struct Poster : PosterKinds::States {
  MainForm form;
  PaletteForm palette;  // Form2: its pick lives as long as the process
  Services svc;

  // As recorded for the poster files.
  QString paperColourCode = QStringLiteral("#ffffff");

  std::int16_t selectedIndex = 0;  // 0..10
  SelectedKind selectedKind = SelectedKind::None;
  std::int16_t selectionActive = 0;
  std::int16_t grabOffsetX = 0, grabOffsetY = 0;

  QStringList pictureFiles;  // full paths, at most 32001
  std::int16_t thumbnailCount = 0;
  // The folder and drive of the settings dialog's last confirmation (the
  // folder ending in exactly one "/"); empty before.
  QString pictureFolderPath;
  QString settingsDrive;

  std::int16_t penDown = 0;
  // The last dot of the stroke under way, which the next one joins.
  const PaperSurface* strokeSurface = nullptr;
  QPoint strokeEnd;
  QString wordEditMode;  // "3" until the editor first opens

  QString appFolder;  // computed once at start-up

  // Set to cancel the picture strip's running fill when another starts.
  std::shared_ptr<std::atomic<bool>> stripFill;
  // Photos of the strip's page decoded for hovering, by file; null while
  // the loader is at it. Emptied when the page changes.
  std::map<QString, PictureRef> stripPhotos;
  // Held weakly by what is handed back later, which this outlives no longer.
  std::shared_ptr<int> lifetime = std::make_shared<int>();

  // Where the save and open dialogs start: the folder of the last save or
  // open in this run (empty before).
  QString saveFolder;

  // Word editor: the last kana typed on the pad (for ゛ ゜ and small kana),
  // and whether the next-key option holds character keys back.
  QString lastKana;
  std::int16_t awaitingNext = 0;
  // The system name of the element the view gives the keyboard focus at its
  // next sync; empty when none is asked for.
  QString focusRequest;

  // The start values of the poster state (the loop over the ten slots).
  void setStartValues();
};

// Lowest PhotoSlot 0..9 whose left is 9300 or more; 10 when all are placed.
int firstFreePhotoSlot(const Poster& p);

// No frame on PhotoSlots 0..9 and WordSlots 0..9.
void clearFrames(Poster& p);

// Where a word goes when it is parked: it stays where it is, goes to its
// place in the word column, or to its home above it (WordHomeTop).
using WordPark = Park;
// Word i at its parked size and font, moved as asked. Visibility is the
// caller's.
void parkWord(Poster& p, int i, WordPark where);
// Photo i at its parked size; toParkingLeft also moves it to left 9500.
void parkPhoto(Poster& p, int i, bool toParkingLeft);

// Moves i to the end of a stack order (the most recently pressed is last).
void moveToTopOfStack(std::array<std::int16_t, 21>& order, std::int16_t i);
void bringPhotoToTop(Poster& p, int i);
void bringWordToTop(Poster& p, int i);

// The step the window shows, read from the StepTitle caption: 1..4.
int currentStep(const Poster& p);

// The folder with exactly one trailing "/" ("/" stays "/").
QString appFolderFrom(const QString& folder);

// AppFolder: computed from the program's folder on first call, then kept.
QString appFolderPath(Poster& p);

// Yields to the event loop when one is wired (tests may leave it out).
void yieldToEvents(Poster& p);

}  // namespace pastel
