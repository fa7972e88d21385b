#pragma once

namespace tv {

class MainMenu;

// Starts the program: the application object, the database file brought up to date, the main window.
int runApplication(int argc, char** argv);

// Brings the database file of the application folder up to date with the program's schema scripts.
// Reports a failure to the user; a missing file is left to the windows' bindings to report.
void prepareDatabaseFile();

// The main window, loading it if needed.
MainMenu* mainMenu();

} // namespace tv
