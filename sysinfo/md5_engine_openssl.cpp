#include <openssl/evp.h>

#include "errors.h"
#include "md5_engine.h"

struct Md5Engine::State {
  EVP_MD_CTX* context = nullptr;
  ~State() { EVP_MD_CTX_free(context); }
};

Md5Engine::Md5Engine() : state_(std::make_unique<State>()) {
  state_->context = EVP_MD_CTX_new();
  if (!state_->context || EVP_DigestInit_ex(state_->context, EVP_md5(), nullptr) != 1) {
    throw KorvelError(u"EOSError", u"MD5 ist auf diesem System nicht verfügbar.");
  }
}

Md5Engine::~Md5Engine() = default;

void Md5Engine::Update(const void* bytes, std::size_t count) {
  if (count) EVP_DigestUpdate(state_->context, bytes, count);
}

Digest Md5Engine::Finish() {
  Digest digest{};
  unsigned int length = 0;
  EVP_DigestFinal_ex(state_->context, digest.data(), &length);
  return digest;
}
