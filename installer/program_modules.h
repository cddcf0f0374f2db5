// The program's modules start in a fixed order before the program body runs and finish in the
// reverse order when it ends:
//   InitLibraries, funktionen, OSInfo, x64Redir, LoadScreen, GUI.
#pragma once

#include <cstddef>
#include <span>

struct ProgramModule {
  const char* Name;
  void (*Initialize)();  // may be null: nothing to do at start
  void (*Finalize)();    // may be null: nothing to do at exit
};

// Initialises the modules in order for its lifetime and finalises them in reverse order at its
// end. When a module's initialisation raises, the modules initialised before it are finalised
// (in reverse order) and the error passes on; the failing module itself is not finalised.
// Finalisers must not raise.
class ModuleSequence {
public:
  explicit ModuleSequence(std::span<const ProgramModule> modules);
  ~ModuleSequence();
  ModuleSequence(const ModuleSequence&) = delete;
  ModuleSequence& operator=(const ModuleSequence&) = delete;

  // Number of modules initialised so far.
  std::size_t Initialised() const { return done_; }

private:
  void FinaliseAll() noexcept;
  std::span<const ProgramModule> modules_;
  std::size_t done_ = 0;
};
