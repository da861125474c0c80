#pragma once
// Starts the desktop's text editor on a file and does not wait for it: the program that
// $KEDRUS_TEXT_EDITOR names, else xdg-open. False when no process could be started for it.
#include <string>

bool StartTextEditor(const std::string& path);
