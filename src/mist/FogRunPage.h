#pragma once
// The main window's side of a fog run that outlived the program that made it.

class MainWindow;

namespace mist {

// When Dump holds the record of a run that was never restored (the program was ended by force),
// puts the completion page for that run in place, with its summary, so the user can put the files
// back. Returns whether there was such a run. Start-up calls it before the main window is first
// shown, so the window never changes its border icons while shown.
bool OpenUnrestoredRun(MainWindow& form);

// Tells the user that the run opened by OpenUnrestoredRun still has to be restored.
void ReportUnrestoredRun(const MainWindow& form);

// OpenUnrestoredRun, then ReportUnrestoredRun when there was a run.
bool ResumeUnrestoredRun(MainWindow& form);

}  // namespace mist
