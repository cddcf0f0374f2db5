#include <windows.h>

#include <wincrypt.h>

#include "errors.h"
#include "md5_engine.h"

struct Md5Engine::State {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  ~State() {
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
  }
};

Md5Engine::Md5Engine() : state_(std::make_unique<State>()) {
  // A verify context needs no key container: nothing is stored, nothing is asked of the user.
  if (!CryptAcquireContextW(&state_->provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) ||
      !CryptCreateHash(state_->provider, CALG_MD5, 0, 0, &state_->hash)) {
    throw KorvelError(u"EOSError", u"MD5 ist auf diesem System nicht verfügbar.");
  }
}

Md5Engine::~Md5Engine() = default;

void Md5Engine::Update(const void* bytes, std::size_t count) {
  const BYTE* data = static_cast<const BYTE*>(bytes);
  while (count) {
    const DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (!CryptHashData(state_->hash, data, chunk, 0)) {
      throw KorvelError(u"EOSError", u"MD5-Berechnung fehlgeschlagen.");
    }
    data += chunk;
    count -= chunk;
  }
}

Digest Md5Engine::Finish() {
  Digest digest{};
  DWORD length = static_cast<DWORD>(digest.size());
  if (!CryptGetHashParam(state_->hash, HP_HASHVAL, digest.data(), &length, 0) || length != digest.size()) {
    throw KorvelError(u"EOSError", u"MD5-Berechnung fehlgeschlagen.");
  }
  return digest;
}
