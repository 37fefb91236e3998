// The main window's menu, toolbar and title, and the two dialog templates.
#pragma once

// Registers them with the window system; bitmap 128 must be among the pictures.
void RegisterGameResources();
