#pragma once

namespace pastel {

struct Poster;

// The word editor Text3 with its kana pad: "もじ の へんしゅう" opens it on the
// selected word, "はりつけ に もどる" writes the text back and closes it.

// Command21: opens ("3" first time, "0" again) or closes ("1") the editor.
void wordEditorClick(Poster& p);

// Check1: the next-key option, value 1 when ticked.
void nextKeyOptionClick(Poster& p, int value);

// Writes the editor's text into the word it edits, when the editor is open.
void commitWordEditor(Poster& p);

bool wordEditorOpen(const Poster& p);

}  // namespace pastel
