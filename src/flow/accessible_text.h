#pragma once

// What assistive technology reads of the game: every cell as the game records it (never in the
// colour a show gives it for a moment), how much room each column has left, what is said as the
// game goes on, and what the reading keys answer.
//
// Spoken texts, the cells' names among them, avoid colons, which screen readers read out as a
// word.

#include <string>

#include "game/record.h"

namespace quorbel {

// "Spalte 4, Reihe 1, rot": the cell's column and row, then "leer", "rot" or "blau"; a cell of the
// winning line adds ", Gewinnreihe".
std::string CellName(const GameRecord& rec, int cell);

// "3 Felder frei", "1 Feld frei" or "voll", for column 1..7.
std::string ColumnDescription(const GameRecord& rec, int column);

// What is said as the game goes on.
// "Computer, Spalte 3, Reihe 1": who put the stone into the cell, and where.
std::string StoneAnnouncement(const GameRecord& rec, int cell);
// "Spalte 4 ist voll": a stone refused.
std::string FullColumnAnnouncement(int column);
// "Zurückgenommen, Spalte 3, Reihe 1".
std::string TakeBackAnnouncement(int cell);
// "Mensch spielt rot, Computer blau".
std::string SidesText(const GameRecord& rec);
// "Gewinnreihe von Spalte 2, Reihe 1 bis Spalte 5, Reihe 4", its ends as the scan met them.
std::string WinningLineText(const GameRecord& rec);
// "Spalte 4, 5 Felder frei" or "Spalte 4 voll": a column's room after a move.
std::string RoomText(const GameRecord& rec, int column);

// What the reading keys answer; they read the record as it stands, also during a show or a think.
// The whole board, column by column, bottom up: "Spalte 1 leer. Spalte 2 rot, blau. ..."
std::string BoardText(const GameRecord& rec);
// One column, bottom up, and its room: "Spalte 4 rot, blau, 4 Felder frei."
std::string ColumnText(const GameRecord& rec, int column);
// One row, from the left: "Reihe 1 von links leer, rot, blau, leer, leer, leer, leer."
std::string RowText(const GameRecord& rec, int row);
// The two diagonals through a cell, each from its left end: "Steigend ab Spalte 2, Reihe 1 rot,
// leer, blau. Fallend ab Spalte 1, Reihe 4 leer, rot, leer, leer."
std::string DiagonalsText(const GameRecord& rec, int column, int row);
// The last stone and the one before: "Zuletzt blau, Spalte 5, Reihe 1. Davor rot, Spalte 4,
// Reihe 1."
std::string LastMovesText(const GameRecord& rec);
// Whose turn and the move number, or the result; who plays which colour; the level.
std::string StateText(const GameRecord& rec, int level, bool computerBegins);
// The empty cells where one more stone of a colour makes four in a line, red's first, each in
// column then row order and told whether a stone dropped into its column lands there now: "Rot
// droht in Spalte 6, Reihe 3, spielbar. Blau droht in Spalte 2, Reihe 4, noch nicht spielbar;
// Spalte 5, Reihe 1, spielbar." Or "Keine Drohung."
std::string ThreatsText(const GameRecord& rec);

// The row a stone dropped into the column lands in, or the top row of a full column.
int LandingRow(const GameRecord& rec, int column);
// The stones on the board.
int StonesOnTheBoard(const GameRecord& rec);

}  // namespace quorbel
