#include "program_modules.h"

ModuleSequence::ModuleSequence(std::span<const ProgramModule> modules) : modules_(modules) {
  try {
    for (const ProgramModule& module : modules_) {
      if (module.Initialize) module.Initialize();
      ++done_;
    }
  } catch (...) {
    FinaliseAll();
    throw;
  }
}

ModuleSequence::~ModuleSequence() { FinaliseAll(); }

void ModuleSequence::FinaliseAll() noexcept {
  while (done_ > 0) {
    --done_;
    if (modules_[done_].Finalize) modules_[done_].Finalize();
  }
}
