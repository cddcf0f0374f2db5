// The system modules' start-up and exit steps. The program entry calls them itself, in this
// order, before it reads the settings file; nothing here runs from a static initialiser.
//
//   1. InitLibraries      keeps kernel32.dll loaded for functions looked up at run time
//   2. InitAppStartPath   (paths.h) the program's directory
//   3. InitOSInfo         (os_info.h) CurrentOS and UserLanguage
//   4. InitRedirection    WOW64 file-system redirection off for the calling (main) thread
//
// At exit: FinishOSInfo, then FinishLibraries. Redirection is never switched on again.
#pragma once

#include "os_info.h"
#include "paths.h"

void InitLibraries();
// Does nothing when kernel32.dll cannot be found or the system has no WOW64; start-up goes on.
void InitRedirection();
void FinishLibraries();

// All four start-up steps in their order, and the exit steps in theirs.
void InitSystemModules();
void FinishSystemModules();
