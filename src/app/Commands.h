// What the user can do: open, refresh, select all, about, and change the row width.
#pragma once

#include <windows.h>

#include <cstdint>

struct MainWindow;

// File > Open: asks for a chunk file and loads it into the tree.
void onOpen(MainWindow& state);

// File > Refresh: reads the open file again into the same tree items.
void onRefresh(MainWindow& state);

// Edit > Select All: selects the whole text of the focused edit control, if any.
void selectAll();

// Help > About: names the program and what it does.
void showAbout(MainWindow& state);

// The width edit's text changed: shows the selected chunk with the typed width.
void onWidthTyped(MainWindow& state);

// Shows the selected data chunk with `width` bytes per row; leaves the pane alone when
// nothing or a container is selected.
void showWithWidth(MainWindow& state, int32_t width);

// The width typed as text, converted as the C library's strtoul with automatic base
// does on a 32-bit host, read as a signed number.
int32_t parseWidthText(const char* text);
