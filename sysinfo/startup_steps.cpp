#include "startup_steps.h"

#include "platform.h"

void InitLibraries() { Platform::Current().HoldKernelLibrary(); }

void InitRedirection() {
  // On 32-bit Windows there is nothing to redirect and the call is missing or refused.
  Platform::Current().DisableFileSystemRedirection();
}

void FinishLibraries() { Platform::Current().ReleaseKernelLibrary(); }

void InitSystemModules() {
  InitLibraries();
  InitAppStartPath();
  InitOSInfo();
  InitRedirection();
}

void FinishSystemModules() {
  FinishOSInfo();
  FinishLibraries();
}
