// Start-up: the command line, the swatch table, the icons and the settings, before any dialog.
#ifndef TINTWELL_APPLICATION_H
#define TINTWELL_APPLICATION_H

// Copies the command line into the swatch path: one path, at most 511 characters. A text wholly
// enclosed in one pair of double quotes (how Windows passes a dropped file with blanks in its
// path) is taken without them; anything else is taken as it stands.
void TakeCommandLine(const char* commandLine);

// 1 when the run can go on; 0 when the swatch table could not be made.
int StartApplication();

// Everything from the command line to the end of the run; the process exit code.
int RunApplication(const char* commandLine);

#endif
