#pragma once

class MainWindow;

// Creates the settings dialog as a child of the main window (it lives as long as the window),
// applies its texts once and makes the popup menu's settings command show it modally. Call
// after the main window's start-up, before the message loop.
void InstallOptionDialog(MainWindow& window);
// Makes the popup menu's version command show the version box.
void InstallAboutBox(MainWindow& window);
