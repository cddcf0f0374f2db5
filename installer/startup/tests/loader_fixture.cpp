#include "loader_fixture.h"

#include "os_info.h"
#include "paths.h"

void StartSystemDescription() {
  InitAppStartPath();
  FinishOSInfo();
  InitOSInfo();
}
