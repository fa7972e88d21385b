#pragma once

namespace tv {

class MainMenu;

// Runs the program: the application object, then startApplication(), then the event loop.
int runApplication(int argc, char** argv);

// Sets up the running application object: names and icon, the database file brought up to date, the main
// window shown. Closing the main window quits the event loop.
MainMenu* startApplication();

// Brings the database file of the application folder up to date with the program's schema scripts.
// Reports a failure to the user; a missing file is left to the windows' bindings to report.
void prepareDatabaseFile();

// The main window, loading it if needed.
MainMenu* mainMenu();

} // namespace tv
