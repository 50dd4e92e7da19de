#pragma once

// What assistive technology reads of the board: every cell as the game records it (never in the
// colour a show gives it for a moment), and how much room each column has left.

#include <string>

#include "game/record.h"

namespace quorbel {

// "Spalte 4, Reihe 1: rot": the cell's column and row, then "leer", "rot" or "blau"; a cell of the
// winning line adds ", Gewinnreihe".
std::string CellName(const GameRecord& rec, int cell);

// "3 Felder frei", "1 Feld frei" or "voll", for column 1..7.
std::string ColumnDescription(const GameRecord& rec, int column);

// "Computer: Spalte 3, Reihe 1: blau": who put the stone into the cell, and the cell.
std::string StoneAnnouncement(const GameRecord& rec, int cell);

}  // namespace quorbel
