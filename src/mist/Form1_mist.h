#pragma once
// The main window's side of a fog run that outlived the program that made it.

class TForm1;

namespace mist {

// When Dump holds the record of a run that was never restored (the program was ended by force),
// shows the completion page for that run, with its summary, so the user can put the files back,
// and tells the user why. Start-up calls it once the main window is shown. Returns whether a run
// was resumed.
bool ResumeUnrestoredRun(TForm1& form);

}  // namespace mist
