// The hand-over files shared with the companion program that can start the
// system in a launch mode: "to_cad.atr" (read at start), "from_cad.atr"
// (written after a save) and "hiroisyuukei.csv" (emptied in two modes).
#pragma once

// The launch mode from the first line of "to_cad.atr": 1 -> 99, 2 -> 0,
// 3..7 -> 1..5, 10 -> 10, anything else (or no file) -> -1. With probe = 1
// only tests for the file: 1 present, -1 absent.
int ReadStartModeFile(int probe);

// Creates or empties "from_cad.atr"; failures are ignored.
void CreateFromCadFile();
