// The report checker for a user who has no console to read: started by a double-click, with a
// report dropped on it, or from its Start menu entry, Windows gives it a console of its own that
// closes with it. It then checks the report with its own command and shows the outcome in
// windows: the page in the default browser and a short summary in a message box.
#pragma once

namespace checker::win32 {

// Whether the checker was started that way: the only process on its console, with no argument
// or with one that is not an option (the report). From a command prompt the console has the
// prompt's process too; a command line with options is never a double-click.
bool StartedWithoutConsole(int argc, char** argv);

// Lets go of the console, then checks the report named on the command line, or chosen in a file
// dialog when there is none, with the checker of the command (checker/command.h): the page goes
// beside the report (the report's name with ".html"), or into the temporary folder when it
// cannot be written there; it is opened with the default browser, and a message box says how
// many findings and hints there are, names the findings, and says where the page is or that it
// could not be written. Returns the command's exit status (2 also when no report was chosen or
// read, or the page could not be written).
int RunWithoutConsole();

} // namespace checker::win32
