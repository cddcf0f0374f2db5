// The system's MD5 behind one small interface: CryptoAPI on Windows, libcrypto elsewhere.
#pragma once

#include <cstddef>
#include <memory>

#include "md5.h"

class Md5Engine {
public:
  // Raises KorvelError when the system offers no MD5.
  Md5Engine();
  ~Md5Engine();
  Md5Engine(const Md5Engine&) = delete;
  Md5Engine& operator=(const Md5Engine&) = delete;

  void Update(const void* bytes, std::size_t count);
  // The digest of everything added; the engine is spent afterwards.
  Digest Finish();

private:
  struct State;
  std::unique_ptr<State> state_;
};
